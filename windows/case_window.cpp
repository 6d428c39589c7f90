#include "windows/case_window.h"

#include <array>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/generators.h"
#include "ui/look.h"
#include "ui/picture_box.h"
#include "windows/print_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace ripartino {

namespace {

// What differs from one case window to the next. Boxes are in twips.
struct CaseLook {
    const char* name;
    const char* title;
    const char* heading;
    QRect headingBox;
    QRect pictureBox;
    std::vector<const char*> tabOrder;
    const char* drawing;
    const char* drawingName;
    const char* drawingDescription;
};

// Cases II to IV share one tab order.
const std::vector<const char*> tabOrderOfCasesIItoIV = {
    "inventButton", "printButton", "exerciseList", "heading",     "picture",         "backButton",     "viewButton",
    "okButton",     "copyView",    "divisorGroup", "mixedOption", "twoDigitsOption", "oneDigitOption", "printMark"};

const CaseLook looks[] = {
    {"caseWindow1",
     "I caso",
     "I caso: dividendo decimale, divisore intero",
     {240, 360, 6855, 495},
     {3600, 3120, 3495, 2415},
     {"inventButton", "printButton", "backButton", "heading", "picture", "copyView", "exerciseList", "okButton",
      "viewButton", "divisorGroup", "oneDigitOption", "twoDigitsOption", "mixedOption", "printMark"},
     ":/drawings/ladybird.svg",
     "Coccinella",
     "Una coccinella con il guscio rosa a pois gialli e la testa verde sorridente"},
    {"caseWindow2",
     "II caso",
     "II caso: dividendo decimale e minore del divisore, divisore intero",
     {240, 360, 6855, 855},
     {4080, 2520, 3135, 3255},
     tabOrderOfCasesIItoIV,
     ":/drawings/mouse.svg",
     "Topo",
     "Un topo grigio con la cravatta verde che salta a braccia aperte"},
    {"caseWindow3",
     "III caso",
     "III caso: dividendo intero, divisore decimale",
     {240, 360, 6855, 495},
     {4440, 2160, 2775, 3375},
     tabOrderOfCasesIItoIV,
     ":/drawings/cat.svg",
     "Gatto",
     "Un gatto arancione che esulta con le braccia alzate"},
    {"caseWindow4",
     "IV caso",
     "IV caso: dividendo e divisore decimali",
     {240, 360, 6855, 495},
     {4200, 2400, 3015, 3255},
     tabOrderOfCasesIItoIV,
     ":/drawings/dog_collar.svg",
     "Cane con il collare",
     "Un cane marrone con il collare rosso che apre le braccia e scodinzola"},
    {"caseWindow5",
     "V caso",
     "V caso: dividendo e divisore interi, risultato decimale",
     {960, 360, 5415, 855},
     {4080, 2160, 3135, 3495},
     {"inventButton", "printButton", "exerciseList", "heading", "picture", "backButton", "viewButton", "okButton",
      "copyView", "divisorGroup", "oneDigitOption", "twoDigitsOption", "mixedOption", "printMark"},
     ":/drawings/seal.svg",
     "Foca",
     "Una foca con il papillon rosso che saluta con la pinna"},
};

const CaseLook& caseLook(DivisionCase divisionCase) { return looks[static_cast<int>(divisionCase) - 1]; }

// The five windows share their layout but for the heading, the picture and the tab order.
const WindowLayout& caseLayout(DivisionCase divisionCase)
{
    static const std::array<WindowLayout, 5> layouts = [] {
        std::array<WindowLayout, 5> made;
        for (const DivisionCase each : allCases) {
            const CaseLook& look = caseLook(each);
            made[static_cast<std::size_t>(each) - 1] = {
                look.name,
                look.title,
                FrameKind::Dialog,
                {7365, 6630},
                {{"picture", look.pictureBox},
                 {"heading", look.headingBox, look.heading},
                 {"exerciseList", {600, 1560, 2295, 3060}},
                 {"divisorGroup", {3120, 1560, 1335, 1455}, "Divisore"},
                 {"oneDigitOption", {120, 360, 975, 255}, "1 cifra", "divisorGroup"},
                 {"twoDigitsOption", {120, 720, 975, 255}, "2 cifre", "divisorGroup"},
                 {"mixedOption", {120, 1080, 975, 255}, "Misto", "divisorGroup"},
                 {"inventButton", {600, 4680, 2295, 495}, "Inventa !"},
                 {"okButton", {120, 5280, 495, 1215}, "OK"},
                 {"copyView", {600, 5280, 2655, 1215}},
                 {"viewButton", {5160, 5880, 615, 615}},
                 {"printButton", {5880, 5880, 615, 615}},
                 {"backButton", {6600, 5880, 615, 615}},
                 {"printMark", {4440, 6120, 615, 285}}},
                look.tabOrder};
        }
        return made;
    }();
    return layouts[static_cast<std::size_t>(divisionCase) - 1];
}

}  // namespace

CaseWindow::CaseWindow(ProgramWindows& windows, DivisionCase divisionCase, QWidget* parent)
    : FixedWindow(caseLayout(divisionCase), parent), windows_(windows), divisionCase_(divisionCase)
{
    const CaseLook& art = caseLook(divisionCase);
    look::paintBackground(*this, look::pink);

    // Made before the frame, so that where they overlap the frame lies in front.
    place<PictureBox>("picture", QLatin1String(art.drawing), look::pink, QString::fromUtf8(art.drawingName),
                      QString::fromUtf8(art.drawingDescription))
        ->setFocusPolicy(Qt::StrongFocus);

    auto* heading = place<QLabel>("heading");
    heading->setFont(look::comicFont(15.75));
    heading->setWordWrap(true);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    look::paintBackground(*heading, look::pink, look::blue);

    exerciseList_ = placeField<QListWidget>("exerciseList", QStringLiteral("Divisioni inventate"));
    exerciseList_->setFont(look::systemFont(12));
    exerciseList_->setToolTip(QStringLiteral("Doppio clic su una divisione per vederla svolta"));
    auto* workOut = new QAction(QStringLiteral("Svolgi la divisione"), exerciseList_);
    exerciseList_->addAction(workOut);
    exerciseList_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(workOut, &QAction::triggered, this, &CaseWindow::onExerciseActivated);
    connect(exerciseList_, &QListWidget::itemActivated, this, &CaseWindow::onExerciseActivated);

    auto* frame = place<QGroupBox>("divisorGroup");
    frame->setFont(look::systemFont(9.75, true));
    look::paintBackground(*frame, look::pink, look::darkRed);
    oneDigitOption_ = placeOption("oneDigitOption");
    twoDigitsOption_ = placeOption("twoDigitsOption");
    mixedOption_ = placeOption("mixedOption");
    mixedOption_->setChecked(true);

    QPushButton* inventButton = placeCaptionButton("inventButton");
    okButton_ = placeCaptionButton("okButton");
    okButton_->setToolTip(QStringLiteral("Chiude la finestra per la copia"));
    copyView_ = placeField<QPlainTextEdit>("copyView", QStringLiteral("Divisioni da copiare"));
    copyView_->setWordWrapMode(QTextOption::WordWrap);
    copyView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    copyView_->setTabChangesFocus(true);

    viewButton_ = placePictureButton("viewButton", look::magnifierIcon, QStringLiteral("Visualizza per copiare"));
    // Only case I's print button has a tooltip; a screen reader names it in every case.
    printButton_ =
        placePictureButton("printButton", look::printerIcon, QStringLiteral("Stampa"), divisionCase == DivisionCase::I);
    QPushButton* backButton = placePictureButton("backButton", look::roadSignIcon, QStringLiteral("Fine"));
    printMark_ = place<QLineEdit>("printMark");
    printMark_->setFocusPolicy(Qt::NoFocus);  // never shown, so never in the keyboard's way

    for (QWidget* hidden : std::initializer_list<QWidget*>{okButton_, copyView_, viewButton_, printButton_, printMark_})
        hidden->hide();
    connect(inventButton, &QPushButton::clicked, this, &CaseWindow::onInventClicked);
    connect(okButton_, &QPushButton::clicked, this, &CaseWindow::onOkClicked);
    connect(viewButton_, &QPushButton::clicked, this, &CaseWindow::onViewClicked);
    connect(printButton_, &QPushButton::clicked, this, &CaseWindow::onPrintClicked);
    connect(backButton, &QPushButton::clicked, this, &CaseWindow::onBackClicked);
    setCancelButton(*backButton);
    finishLayout();
}

// The exercise list and the copy text: pale yellow fields in blue ink that never scroll sideways.
template <typename Field> Field* CaseWindow::placeField(const char* name, const QString& says)
{
    auto* field = place<Field>(name);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setAccessibleName(says);
    look::setFieldColours(*field, look::paleYellow, look::inkBlue);
    return field;
}

QRadioButton* CaseWindow::placeOption(const char* name)
{
    auto* option = place<QRadioButton>(name);
    option->setFont(look::systemFont(9.75, true));
    look::paintBackground(*option, look::pink, look::blue);
    return option;
}

QPushButton* CaseWindow::placeCaptionButton(const char* name)
{
    auto* button = place<QPushButton>(name);
    button->setFont(look::comicFont(12));
    button->setAutoDefault(true);
    look::paintBackground(*button, look::lavender);
    return button;
}

QString CaseWindow::printMark() const { return printMark_->text(); }

DivisorDigits CaseWindow::divisorDigits() const
{
    if (oneDigitOption_->isChecked())
        return DivisorDigits::OneDigit;
    if (twoDigitsOption_->isChecked())
        return DivisorDigits::TwoDigits;
    return DivisorDigits::Mixed;
}

void CaseWindow::onInventClicked()
{
    windows_.closeWorkedDivision();
    windows_.randomSource().reseedFromClock();
    printButton_->show();
    viewButton_->show();
    copyView_->clear();
    exerciseList_->clear();

    const ExerciseSet exercises =
        CaseGenerator(divisionCase_).invent(divisorDigits(), windows_.randomSource(), windows_.decimalSeparator());
    QString text;
    for (const Exercise& exercise : exercises) {
        const QString line = QString::fromStdString(exercise.line);
        text += line;
        exerciseList_->addItem(line);
    }
    copyView_->setPlainText(text);
}

void CaseWindow::onViewClicked()
{
    okButton_->show();
    copyView_->show();
}

void CaseWindow::onOkClicked()
{
    okButton_->hide();
    copyView_->hide();
}

void CaseWindow::onPrintClicked()
{
    printMark_->setText(QString::fromStdString(caseDigit(divisionCase_)));
    PrintWindow& printWindow = windows_.printWindow();
    printWindow.show();
    printWindow.raise();
    printWindow.activateWindow();
}

void CaseWindow::onExerciseActivated()
{
    if (const QListWidgetItem* item = exerciseList_->currentItem())
        windows_.showWorkedDivision(*this, item->text());
}

void CaseWindow::onBackClicked()
{
    windows_.startWindow().show();
    close();
}

}  // namespace ripartino
