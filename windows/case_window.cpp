#include "windows/case_window.h"

#include <array>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/generators.h"
#include "windows/print_window.h"
#include "ui/look.h"
#include "ui/picture_box.h"
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
const std::vector<const char*> tabOrderOfCasesIItoIV = {"cmdinventa", "cmdstampa", "list",  "Label1", "Picture1",
                                                        "cmdfine",    "cmdvedi",   "cmdok", "txtris", "Frame1",
                                                        "optrnd",     "opt2",      "opt1",  "txt"};

const CaseLook looks[] = {
    {"frm1caso",
     "I caso",
     "I caso: dividendo decimale, divisore intero",
     {240, 360, 6855, 495},
     {3600, 3120, 3495, 2415},
     {"cmdinventa", "cmdstampa", "cmdfine", "Label1", "Picture1", "txtris", "list", "cmdok", "cmdvedi", "Frame1",
      "opt1", "opt2", "optrnd", "txt"},
     ":/drawings/ladybird.svg",
     "Coccinella",
     "Una coccinella con il guscio rosa a pois gialli e la testa verde sorridente"},
    {"frm2caso",
     "II caso",
     "II caso: dividendo decimale e minore del divisore, divisore intero",
     {240, 360, 6855, 855},
     {4080, 2520, 3135, 3255},
     tabOrderOfCasesIItoIV,
     ":/drawings/mouse.svg",
     "Topo",
     "Un topo grigio con la cravatta verde che salta a braccia aperte"},
    {"frm3caso",
     "III caso",
     "III caso: dividendo intero, divisore decimale",
     {240, 360, 6855, 495},
     {4440, 2160, 2775, 3375},
     tabOrderOfCasesIItoIV,
     ":/drawings/cat.svg",
     "Gatto",
     "Un gatto arancione che esulta con le braccia alzate"},
    {"frm4caso",
     "IV caso",
     "IV caso: dividendo e divisore decimali",
     {240, 360, 6855, 495},
     {4200, 2400, 3015, 3255},
     tabOrderOfCasesIItoIV,
     ":/drawings/dog_collar.svg",
     "Cane con il collare",
     "Un cane marrone con il collare rosso che apre le braccia e scodinzola"},
    {"frm5caso",
     "V caso",
     "V caso: dividendo e divisore interi, risultato decimale",
     {960, 360, 5415, 855},
     {4080, 2160, 3135, 3495},
     {"cmdinventa", "cmdstampa", "list", "Label1", "Picture1", "cmdfine", "cmdvedi", "cmdok", "txtris", "Frame1",
      "opt1", "opt2", "optrnd", "txt"},
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
            made[static_cast<std::size_t>(each) - 1] = {look.name,
                                                        look.title,
                                                        FrameKind::Dialog,
                                                        {7365, 6630},
                                                        {{"Picture1", look.pictureBox},
                                                         {"Label1", look.headingBox, look.heading},
                                                         {"list", {600, 1560, 2295, 3060}},
                                                         {"Frame1", {3120, 1560, 1335, 1455}, "Divisore"},
                                                         {"opt1", {120, 360, 975, 255}, "1 cifra", "Frame1"},
                                                         {"opt2", {120, 720, 975, 255}, "2 cifre", "Frame1"},
                                                         {"optrnd", {120, 1080, 975, 255}, "Misto", "Frame1"},
                                                         {"cmdinventa", {600, 4680, 2295, 495}, "Inventa !"},
                                                         {"cmdok", {120, 5280, 495, 1215}, "OK"},
                                                         {"txtris", {600, 5280, 2655, 1215}},
                                                         {"cmdvedi", {5160, 5880, 615, 615}},
                                                         {"cmdstampa", {5880, 5880, 615, 615}},
                                                         {"cmdfine", {6600, 5880, 615, 615}},
                                                         {"txt", {4440, 6120, 615, 285}}},
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
    place<PictureBox>("Picture1", QLatin1String(art.drawing), look::pink, QString::fromUtf8(art.drawingName),
                      QString::fromUtf8(art.drawingDescription))
        ->setFocusPolicy(Qt::StrongFocus);

    auto* heading = place<QLabel>("Label1");
    heading->setFont(look::comicFont(15.75));
    heading->setWordWrap(true);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    look::paintBackground(*heading, look::pink, look::blue);

    list_ = placeField<QListWidget>("list", QStringLiteral("Divisioni inventate"));
    list_->setFont(look::systemFont(12));

    auto* frame = place<QGroupBox>("Frame1");
    frame->setFont(look::systemFont(9.75, true));
    look::paintBackground(*frame, look::pink, look::darkRed);
    opt1_ = placeOption("opt1");
    opt2_ = placeOption("opt2");
    optrnd_ = placeOption("optrnd");
    optrnd_->setChecked(true);

    QPushButton* cmdinventa = placeCaptionButton("cmdinventa");
    cmdok_ = placeCaptionButton("cmdok");
    cmdok_->setToolTip(QStringLiteral("Chiude la finestra per la copia"));
    txtris_ = placeField<QPlainTextEdit>("txtris", QStringLiteral("Divisioni da copiare"));
    txtris_->setWordWrapMode(QTextOption::WordWrap);
    txtris_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtris_->setTabChangesFocus(true);

    cmdvedi_ = placePictureButton("cmdvedi", look::magnifierIcon, QStringLiteral("Visualizza per copiare"));
    // Only case I's print button has a tooltip; a screen reader names it in every case.
    cmdstampa_ =
        placePictureButton("cmdstampa", look::printerIcon, QStringLiteral("Stampa"), divisionCase == DivisionCase::I);
    QPushButton* cmdfine = placePictureButton("cmdfine", look::roadSignIcon, QStringLiteral("Fine"));
    txt_ = place<QLineEdit>("txt");
    txt_->setFocusPolicy(Qt::NoFocus);  // never shown, so never in the keyboard's way

    for (QWidget* hidden : std::initializer_list<QWidget*>{cmdok_, txtris_, cmdvedi_, cmdstampa_, txt_})
        hidden->hide();
    connect(cmdinventa, &QPushButton::clicked, this, &CaseWindow::onInventaClicked);
    connect(cmdok_, &QPushButton::clicked, this, &CaseWindow::onOkClicked);
    connect(cmdvedi_, &QPushButton::clicked, this, &CaseWindow::onVediClicked);
    connect(cmdstampa_, &QPushButton::clicked, this, &CaseWindow::onStampaClicked);
    connect(cmdfine, &QPushButton::clicked, this, &CaseWindow::onFineClicked);
    setCancelButton(*cmdfine);
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

QString CaseWindow::printMark() const { return txt_->text(); }

DivisorDigits CaseWindow::divisorDigits() const
{
    if (opt1_->isChecked())
        return DivisorDigits::OneDigit;
    if (opt2_->isChecked())
        return DivisorDigits::TwoDigits;
    return DivisorDigits::Mixed;
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
