#include "windows/start_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "ui/look.h"
#include "ui/picture_box.h"
#include "windows/case_window.h"
#include "windows/program_windows.h"

namespace ripartino {

namespace {

const WindowLayout startLayout{
    "startWindow",
    "Ripartino",
    FrameKind::Dialog,
    {7365, 6630},
    {{"banner", {240, 240, 6855, 975}},
     {"picture", {600, 1680, 2055, 4215}},
     {"case1Button", {3120, 1800, 1095, 495}, "I caso"},
     {"case2Button", {3120, 2640, 1095, 495}, "II caso"},
     {"case3Button", {3120, 3480, 1095, 495}, "III caso"},
     {"case4Button", {3120, 4320, 1095, 495}, "IV caso"},
     {"case5Button", {3120, 5160, 1095, 495}, "V caso"},
     {"case1Label", {4320, 1800, 1935, 495}, "Dividendo decimale, divisore intero"},
     {"case2Label", {4320, 2640, 2655, 615}, "Dividendo decimale e minore del divisore, divisore intero"},
     {"case3Label", {4320, 3480, 1695, 495}, "Dividendo intero, divisore decimale"},
     {"case4Label", {4320, 4320, 1935, 495}, "Dividendo e divisore decimali"},
     {"case5Label", {4320, 5160, 2535, 495}, "Dividendo e divisore interi, risultato decimale"},
     {"exitButton", {6600, 5880, 615, 615}},
     {"signature", {120, 6360, 1230, 165}}},
    {"exitButton", "case1Button", "case2Button", "case3Button", "case4Button", "case5Button", "case1Label",
     "case2Label", "case3Label", "case4Label", "case5Label", "banner", "picture"}};

}  // namespace

StartWindow::StartWindow(ProgramWindows& windows, QWidget* parent) : FixedWindow(startLayout, parent), windows_(windows)
{
    look::paintBackground(*this, look::pink);
    place<PictureBox>(
        "banner", QStringLiteral(":/drawings/banner.svg"), look::pink, QStringLiteral("Ripartino"),
        QStringLiteral("Il nome del programma, Ripartino, in lettere gialle da fumetto con un'ombra scura"))
        ->setFocusPolicy(Qt::StrongFocus);
    place<PictureBox>("picture", QStringLiteral(":/drawings/dog_glasses.svg"), look::pink,
                      QStringLiteral("Cane con gli occhiali"),
                      QStringLiteral("Un cane in piedi con gli occhiali rotondi e una cravatta blu a righe"))
        ->setFocusPolicy(Qt::StrongFocus);

    placeCase("case1Button", "case1Label", look::orange, DivisionCase::I);
    placeCase("case2Button", "case2Label", look::periwinkle, DivisionCase::II);
    placeCase("case3Button", "case3Label", look::lightGreen, DivisionCase::III);
    placeCase("case4Button", "case4Label", look::salmon, DivisionCase::IV);
    placeCase("case5Button", "case5Label", look::lightYellow, DivisionCase::V);

    QPushButton* exitButton = placePictureButton("exitButton", look::exitDoorIcon, QStringLiteral("Esci"));
    connect(exitButton, &QPushButton::clicked, this, &StartWindow::onExitClicked);
    setCancelButton(*exitButton);

    place<PictureBox>("signature", QStringLiteral(":/drawings/signature.svg"), look::pink, QStringLiteral("Firma"),
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

void StartWindow::onExitClicked()
{
    // Ends the program at once: QCoreApplication::quit would first offer every window a close.
    QCoreApplication::exit(0);
}

}  // namespace ripartino
