#include "windows/start_window.h"

#include <utility>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "printing/print_window.h"
#include "windows/case_window.h"
#include "windows/look.h"
#include "windows/picture_box.h"
#include "windows/program_windows.h"
#include "windows/window_frame.h"

namespace ripartino {

namespace {

constexpr QSize clientTwips{7365, 6630};

struct CaseRow {
    DivisionCase divisionCase;
    const char* button;
    const char* caption;
    QColor colour;
    const char* label;
    const char* description;
    QRect labelBox;  // twips
};

// The case buttons in a column, each with its description to the right.
const CaseRow caseRows[] = {
    {DivisionCase::I, "cmd1", "I caso", look::orange, "Label1", "Dividendo decimale, divisore intero",
     {4320, 1800, 1935, 495}},
    {DivisionCase::II, "cmd2", "II caso", look::periwinkle, "Label2",
     "Dividendo decimale e minore del divisore, divisore intero", {4320, 2640, 2655, 615}},
    {DivisionCase::III, "cmd3", "III caso", look::lightGreen, "Label3", "Dividendo intero, divisore decimale",
     {4320, 3480, 1695, 495}},
    {DivisionCase::IV, "cmd4", "IV caso", look::salmon, "Label4", "Dividendo e divisore decimali",
     {4320, 4320, 1935, 495}},
    {DivisionCase::V, "cmd5", "V caso", look::lightYellow, "Label5",
     "Dividendo e divisore interi, risultato decimale", {4320, 5160, 2535, 495}},
};
constexpr int caseButtonLeft = 3120;
constexpr int caseButtonWidth = 1095;
constexpr int caseButtonHeight = 495;

QRect pixelsOf(const QRect& twips)
{
    return look::twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

}  // namespace

StartWindow::StartWindow(ProgramWindows& windows, QWidget* parent) : QWidget(parent), windows_(windows)
{
    setObjectName(QStringLiteral("frminizio"));
    setUpFixedWindow(*this, FrameKind::Dialog, QStringLiteral("Ripartino"), clientTwips);
    look::paintBackground(*this, look::pink);

    auto* banner = new PictureBox(QStringLiteral(":/drawings/banner.svg"), look::pink, QStringLiteral("Ripartino"),
                                  QStringLiteral("Il nome del programma, Ripartino, in lettere gialle da fumetto "
                                                 "con un'ombra scura"),
                                  this);
    banner->setObjectName(QStringLiteral("Picture1"));
    banner->setGeometry(look::twipsRect(240, 240, 6855, 975));

    auto* dog = new PictureBox(QStringLiteral(":/drawings/dog_glasses.svg"), look::pink,
                               QStringLiteral("Cane con gli occhiali"),
                               QStringLiteral("Un cane in piedi con gli occhiali rotondi e una cravatta blu a righe"),
                               this);
    dog->setObjectName(QStringLiteral("Picture2"));
    dog->setGeometry(look::twipsRect(600, 1680, 2055, 4215));

    for (const CaseRow& row : caseRows) {
        auto* button = new QPushButton(QString::fromUtf8(row.caption), this);
        button->setObjectName(QLatin1String(row.button));
        button->setGeometry(look::twipsRect(caseButtonLeft, row.labelBox.y(), caseButtonWidth, caseButtonHeight));
        button->setFont(look::systemFont(8.25, true));
        button->setAutoDefault(true);
        // The description stands in a label, which the focus never reaches; a screen reader
        // hears it with the button.
        button->setAccessibleDescription(QString::fromUtf8(row.description));
        look::paintBackground(*button, row.colour);
        connect(button, &QPushButton::clicked, this, [this, row] { onCaseClicked(row.divisionCase); });

        auto* label = new QLabel(QString::fromUtf8(row.description), this);
        label->setObjectName(QLatin1String(row.label));
        label->setGeometry(pixelsOf(row.labelBox));
        label->setFont(look::comicFont(9.75));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        look::paintBackground(*label, look::pink, look::blue);
    }

    cmdesci_ = new QPushButton(this);
    cmdesci_->setObjectName(QStringLiteral("cmdesci"));
    cmdesci_->setGeometry(look::twipsRect(6600, 5880, 615, 615));
    cmdesci_->setIcon(look::icon(QLatin1String(look::exitDoorIcon)));
    cmdesci_->setIconSize(look::iconSize);
    cmdesci_->setToolTip(QStringLiteral("Esci"));
    cmdesci_->setAccessibleName(cmdesci_->toolTip());
    cmdesci_->setAutoDefault(true);
    look::paintBackground(*cmdesci_, look::magenta);
    connect(cmdesci_, &QPushButton::clicked, this, &StartWindow::onEsciClicked);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, cmdesci_, &QPushButton::click);

    auto* signature = new PictureBox(QStringLiteral(":/drawings/signature.svg"), QColor(), QStringLiteral("Firma"),
                                     QStringLiteral("Una riga di scrittura a mano in nero"), this);
    signature->setObjectName(QStringLiteral("Image1"));
    signature->setGeometry(look::twipsRect(120, 6360, 1230, 165));

    banner->setFocusPolicy(Qt::StrongFocus);
    dog->setFocusPolicy(Qt::StrongFocus);
    setTabOrderByNames(*this, {"cmdesci", "cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "Label1", "Label2", "Label3",
                        "Label4", "Label5", "Picture1", "Picture2"});
    hideFromTaskbar(*this);
}

void StartWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!std::exchange(loaded_, true))
        onLoad();
}

void StartWindow::onLoad()
{
    centreOnScreen(*this);
    windows_.setPrintWindowIcon(windowIcon());
}

void StartWindow::onCaseClicked(DivisionCase divisionCase)
{
    windows_.caseWindow(divisionCase).show();
    close();
}

void StartWindow::onEsciClicked()
{
    // Ends the program at once: QCoreApplication::quit would first offer every window a close.
    QCoreApplication::exit(0);
}

}  // namespace ripartino
