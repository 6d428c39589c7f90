#include "windows/case_window.h"

#include <utility>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include "core/generators.h"
#include "printing/print_window.h"
#include "windows/look.h"
#include "windows/picture_box.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"
#include "windows/window_frame.h"

namespace ripartino {

namespace {

constexpr QSize clientTwips{7365, 6630};

// What differs from one case window to the next. Boxes are in twips.
struct CaseLook {
    const char* title;
    const char* heading;
    QRect headingBox;
    QRect pictureBox;
    const char* drawing;
    const char* drawingName;
    const char* drawingDescription;
    std::initializer_list<const char*> tabOrder;
};

constexpr std::initializer_list<const char*> tabOrderOfCaseI = {
    "cmdinventa", "cmdstampa", "cmdfine", "Label1", "Picture1", "txtris", "list",
    "cmdok",      "cmdvedi",   "Frame1",  "opt1",   "opt2",     "optrnd", "txt"};
constexpr std::initializer_list<const char*> tabOrderOfCasesIItoIV = {
    "cmdinventa", "cmdstampa", "list",   "Label1", "Picture1", "cmdfine", "cmdvedi",
    "cmdok",      "txtris",    "Frame1", "optrnd", "opt2",     "opt1",    "txt"};
constexpr std::initializer_list<const char*> tabOrderOfCaseV = {
    "cmdinventa", "cmdstampa", "list",   "Label1", "Picture1", "cmdfine", "cmdvedi",
    "cmdok",      "txtris",    "Frame1", "opt1",   "opt2",     "optrnd",  "txt"};

const CaseLook& caseLook(DivisionCase divisionCase)
{
    static const CaseLook looks[] = {
        {"I caso", "I caso: dividendo decimale, divisore intero", {240, 360, 6855, 495},
         {3600, 3120, 3495, 2415}, ":/drawings/ladybird.svg", "Coccinella",
         "Una coccinella con il guscio rosa a pois gialli e la testa verde sorridente", tabOrderOfCaseI},
        {"II caso", "II caso: dividendo decimale e minore del divisore, divisore intero", {240, 360, 6855, 855},
         {4080, 2520, 3135, 3255}, ":/drawings/mouse.svg", "Topo",
         "Un topo grigio con la cravatta verde che salta a braccia aperte", tabOrderOfCasesIItoIV},
        {"III caso", "III caso: dividendo intero, divisore decimale", {240, 360, 6855, 495},
         {4440, 2160, 2775, 3375}, ":/drawings/cat.svg", "Gatto",
         "Un gatto arancione che esulta con le braccia alzate", tabOrderOfCasesIItoIV},
        {"IV caso", "IV caso: dividendo e divisore decimali", {240, 360, 6855, 495},
         {4200, 2400, 3015, 3255}, ":/drawings/dog_collar.svg", "Cane con il collare",
         "Un cane marrone con il collare rosso che apre le braccia e scodinzola", tabOrderOfCasesIItoIV},
        {"V caso", "V caso: dividendo e divisore interi, risultato decimale", {960, 360, 5415, 855},
         {4080, 2160, 3135, 3495}, ":/drawings/seal.svg", "Foca",
         "Una foca con il papillon rosso che saluta con la pinna", tabOrderOfCaseV},
    };
    return looks[static_cast<int>(divisionCase) - 1];
}

QRect pixelsOf(const QRect& twips)
{
    return look::twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

// A button that shows only a picture; `says` is what a screen reader reads for it, the same
// words as its tooltip.
QPushButton* pictureButton(QWidget* window, const char* name, const QRect& twips, const char* icon,
                           const QString& says)
{
    auto* button = new QPushButton(window);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(says);
    button->setGeometry(pixelsOf(twips));
    button->setIcon(look::icon(QLatin1String(icon)));
    button->setIconSize(look::iconSize);
    button->setAutoDefault(true);
    look::paintBackground(*button, look::magenta);
    return button;
}

QPushButton* captionButton(QWidget* window, const char* name, const QRect& twips, const QString& caption)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(pixelsOf(twips));
    button->setFont(look::comicFont(12));
    button->setAutoDefault(true);
    look::paintBackground(*button, look::lavender);
    return button;
}

QRadioButton* divisorOption(QGroupBox* frame, const char* name, int top, const QString& caption)
{
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(QLatin1String(name));
    option->setGeometry(look::twipsRect(120, top, 975, 255));
    option->setFont(look::systemFont(9.75, true));
    look::paintBackground(*option, look::pink, look::blue);
    return option;
}

}  // namespace

CaseWindow::CaseWindow(ProgramWindows& windows, DivisionCase divisionCase, QWidget* parent)
    : QWidget(parent), windows_(windows), divisionCase_(divisionCase)
{
    const CaseLook& caseLook = ripartino::caseLook(divisionCase);
    setObjectName(QStringLiteral("frm%1caso").arg(static_cast<int>(divisionCase)));
    setUpFixedWindow(*this, FrameKind::Dialog, QString::fromUtf8(caseLook.title), clientTwips);
    look::paintBackground(*this, look::pink);

    // Made before the frame, so that where they overlap the frame lies in front.
    auto* picture = new PictureBox(QLatin1String(caseLook.drawing), look::pink, QString::fromUtf8(caseLook.drawingName),
                                   QString::fromUtf8(caseLook.drawingDescription), this);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(pixelsOf(caseLook.pictureBox));
    picture->setFocusPolicy(Qt::StrongFocus);

    auto* heading = new QLabel(QString::fromUtf8(caseLook.heading), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setGeometry(pixelsOf(caseLook.headingBox));
    heading->setFont(look::comicFont(15.75));
    heading->setWordWrap(true);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    look::paintBackground(*heading, look::pink, look::blue);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("list"));
    list_->setGeometry(look::twipsRect(600, 1560, 2295, 3060));
    list_->setFont(look::systemFont(12));
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setAccessibleName(QStringLiteral("Divisioni inventate"));
    look::setFieldColours(*list_, look::paleYellow, look::inkBlue);

    auto* frame = new QGroupBox(QStringLiteral("Divisore"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(look::twipsRect(3120, 1560, 1335, 1455));
    frame->setFont(look::systemFont(9.75, true));
    look::paintBackground(*frame, look::pink, look::darkRed);
    opt1_ = divisorOption(frame, "opt1", 360, QStringLiteral("1 cifra"));
    opt2_ = divisorOption(frame, "opt2", 720, QStringLiteral("2 cifre"));
    optrnd_ = divisorOption(frame, "optrnd", 1080, QStringLiteral("Misto"));
    optrnd_->setChecked(true);

    auto* cmdinventa = captionButton(this, "cmdinventa", {600, 4680, 2295, 495}, QStringLiteral("Inventa !"));
    connect(cmdinventa, &QPushButton::clicked, this, &CaseWindow::onInventaClicked);

    cmdok_ = captionButton(this, "cmdok", {120, 5280, 495, 1215}, QStringLiteral("OK"));
    cmdok_->setToolTip(QStringLiteral("Chiude la finestra per la copia"));
    cmdok_->hide();
    connect(cmdok_, &QPushButton::clicked, this, &CaseWindow::onOkClicked);

    txtris_ = new QPlainTextEdit(this);
    txtris_->setObjectName(QStringLiteral("txtris"));
    txtris_->setGeometry(look::twipsRect(600, 5280, 2655, 1215));
    txtris_->setWordWrapMode(QTextOption::WordWrap);
    txtris_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtris_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtris_->setTabChangesFocus(true);
    txtris_->setAccessibleName(QStringLiteral("Divisioni da copiare"));
    look::setFieldColours(*txtris_, look::paleYellow, look::inkBlue);
    txtris_->hide();

    cmdvedi_ = pictureButton(this, "cmdvedi", {5160, 5880, 615, 615}, look::magnifierIcon,
                             QStringLiteral("Visualizza per copiare"));
    cmdvedi_->setToolTip(cmdvedi_->accessibleName());
    cmdvedi_->hide();
    connect(cmdvedi_, &QPushButton::clicked, this, &CaseWindow::onVediClicked);

    // Only case I's print button has a tooltip; a screen reader names it in every case.
    cmdstampa_ = pictureButton(this, "cmdstampa", {5880, 5880, 615, 615}, look::printerIcon, QStringLiteral("Stampa"));
    if (divisionCase == DivisionCase::I)
        cmdstampa_->setToolTip(cmdstampa_->accessibleName());
    cmdstampa_->hide();
    connect(cmdstampa_, &QPushButton::clicked, this, &CaseWindow::onStampaClicked);

    cmdfine_ = pictureButton(this, "cmdfine", {6600, 5880, 615, 615}, look::roadSignIcon, QStringLiteral("Fine"));
    cmdfine_->setToolTip(cmdfine_->accessibleName());
    connect(cmdfine_, &QPushButton::clicked, this, &CaseWindow::onFineClicked);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, cmdfine_, &QPushButton::click);

    txt_ = new QLineEdit(this);
    txt_->setObjectName(QStringLiteral("txt"));
    txt_->setGeometry(look::twipsRect(4440, 6120, 615, 285));
    txt_->hide();

    setTabOrderByNames(*this, caseLook.tabOrder);
    hideFromTaskbar(*this);
}

QString CaseWindow::printMark() const
{
    return txt_->text();
}

DivisorDigits CaseWindow::divisorDigits() const
{
    if (opt1_->isChecked())
        return DivisorDigits::OneDigit;
    if (opt2_->isChecked())
        return DivisorDigits::TwoDigits;
    return DivisorDigits::Mixed;
}

void CaseWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!std::exchange(loaded_, true))
        onLoad();
}

void CaseWindow::onLoad()
{
    centreOnScreen(*this);
}

void CaseWindow::onInventaClicked()
{
    windows_.randomSource().reseedFromClock();
    cmdstampa_->show();
    cmdvedi_->show();
    txtris_->clear();
    list_->clear();

    const ExerciseSet exercises =
        CaseGenerator(divisionCase_).invent(divisorDigits(), windows_.randomSource(), windows_.decimalSeparator());
    QString text;
    for (const Exercise& exercise : exercises) {
        const QString line = QString::fromStdString(exercise.line);
        text += line;
        list_->addItem(line);
    }
    txtris_->setPlainText(text);
}

void CaseWindow::onVediClicked()
{
    cmdok_->show();
    txtris_->show();
}

void CaseWindow::onOkClicked()
{
    cmdok_->hide();
    txtris_->hide();
}

void CaseWindow::onStampaClicked()
{
    txt_->setText(QString::fromStdString(caseDigit(divisionCase_)));
    PrintWindow& printWindow = windows_.printWindow();
    printWindow.show();
    printWindow.raise();
    printWindow.activateWindow();
}

void CaseWindow::onFineClicked()
{
    windows_.startWindow().show();
    close();
}

}  // namespace ripartino
