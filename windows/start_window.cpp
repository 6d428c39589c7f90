#include "windows/start_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "windows/case_window.h"
#include "ui/look.h"
#include "ui/picture_box.h"
#include "windows/program_windows.h"

namespace ripartino {

namespace {

const WindowLayout startLayout{
    "frminizio",
    "Ripartino",
    FrameKind::Dialog,
    {7365, 6630},
    {{"Picture1", {240, 240, 6855, 975}},
     {"Picture2", {600, 1680, 2055, 4215}},
     {"cmd1", {3120, 1800, 1095, 495}, "I caso"},
     {"cmd2", {3120, 2640, 1095, 495}, "II caso"},
     {"cmd3", {3120, 3480, 1095, 495}, "III caso"},
     {"cmd4", {3120, 4320, 1095, 495}, "IV caso"},
     {"cmd5", {3120, 5160, 1095, 495}, "V caso"},
     {"Label1", {4320, 1800, 1935, 495}, "Dividendo decimale, divisore intero"},
     {"Label2", {4320, 2640, 2655, 615}, "Dividendo decimale e minore del divisore, divisore intero"},
     {"Label3", {4320, 3480, 1695, 495}, "Dividendo intero, divisore decimale"},
     {"Label4", {4320, 4320, 1935, 495}, "Dividendo e divisore decimali"},
     {"Label5", {4320, 5160, 2535, 495}, "Dividendo e divisore interi, risultato decimale"},
     {"cmdesci", {6600, 5880, 615, 615}},
     {"Image1", {120, 6360, 1230, 165}}},
    {"cmdesci", "cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "Label1", "Label2", "Label3", "Label4", "Label5", "Picture1",
     "Picture2"}};

}  // namespace

StartWindow::StartWindow(ProgramWindows& windows, QWidget* parent) : FixedWindow(startLayout, parent), windows_(windows)
{
    look::paintBackground(*this, look::pink);
    place<PictureBox>(
        "Picture1", QStringLiteral(":/drawings/banner.svg"), look::pink, QStringLiteral("Ripartino"),
        QStringLiteral("Il nome del programma, Ripartino, in lettere gialle da fumetto con un'ombra scura"))
        ->setFocusPolicy(Qt::StrongFocus);
    place<PictureBox>("Picture2", QStringLiteral(":/drawings/dog_glasses.svg"), look::pink,
                      QStringLiteral("Cane con gli occhiali"),
                      QStringLiteral("Un cane in piedi con gli occhiali rotondi e una cravatta blu a righe"))
        ->setFocusPolicy(Qt::StrongFocus);

    placeCase("cmd1", "Label1", look::orange, DivisionCase::I);
    placeCase("cmd2", "Label2", look::periwinkle, DivisionCase::II);
    placeCase("cmd3", "Label3", look::lightGreen, DivisionCase::III);
    placeCase("cmd4", "Label4", look::salmon, DivisionCase::IV);
    placeCase("cmd5", "Label5", look::lightYellow, DivisionCase::V);

    QPushButton* cmdesci = placePictureButton("cmdesci", look::exitDoorIcon, QStringLiteral("Esci"));
    connect(cmdesci, &QPushButton::clicked, this, &StartWindow::onEsciClicked);
    setCancelButton(*cmdesci);

    place<PictureBox>("Image1", QStringLiteral(":/drawings/signature.svg"), QColor(), QStringLiteral("Firma"),
                      QStringLiteral("Una riga di scrittura a mano in nero"));
    finishLayout();
}

// A case button and the description beside it.
void StartWindow::placeCase(const char* button, const char* label, const QColor& colour, DivisionCase divisionCase)
{
    auto* caseButton = place<QPushButton>(button);
    caseButton->setFont(look::systemFont(8.25, true));
    caseButton->setAutoDefault(true);
    look::paintBackground(*caseButton, colour);
    connect(caseButton, &QPushButton::clicked, this, [this, divisionCase] { onCaseClicked(divisionCase); });

    auto* description = place<QLabel>(label);
    description->setFont(look::comicFont(9.75));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    look::paintBackground(*description, look::pink, look::blue);
    // The focus never reaches a label; a screen reader hears the description with the button.
    caseButton->setAccessibleDescription(description->text());
}

void StartWindow::onLoad()
{
    FixedWindow::onLoad();
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
