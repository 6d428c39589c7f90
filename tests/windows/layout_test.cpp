#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include "windows/look.h"
#include "windows/window_frame.h"
#include "support/windows_fixture.h"

namespace ripartino {
namespace {

struct Placed {
    const char* control;
    QRect twips;  // left, top, width, height within the window or its frame
};

struct WindowLayout {
    const char* window;
    std::vector<Placed> controls;
    std::vector<const char*> tabOrder;  // the controls that take the focus, in tab order
};

std::vector<Placed> caseControls(QRect heading, QRect picture)
{
    return {{"Label1", heading},
            {"Picture1", picture},
            {"list", {600, 1560, 2295, 3060}},
            {"Frame1", {3120, 1560, 1335, 1455}},
            {"opt1", {120, 360, 975, 255}},
            {"opt2", {120, 720, 975, 255}},
            {"optrnd", {120, 1080, 975, 255}},
            {"cmdinventa", {600, 4680, 2295, 495}},
            {"cmdok", {120, 5280, 495, 1215}},
            {"txtris", {600, 5280, 2655, 1215}},
            {"cmdvedi", {5160, 5880, 615, 615}},
            {"cmdstampa", {5880, 5880, 615, 615}},
            {"cmdfine", {6600, 5880, 615, 615}},
            {"txt", {4440, 6120, 615, 285}}};
}

const std::vector<const char*> tabOrderIIToIV = {"cmdinventa", "cmdstampa", "list",   "Picture1", "cmdfine", "cmdvedi",
                                                 "cmdok",      "txtris",    "optrnd", "opt2",     "opt1",    "txt"};

const WindowLayout layouts[] = {
    {"frminizio",
     {{"Picture1", {240, 240, 6855, 975}},
      {"Picture2", {600, 1680, 2055, 4215}},
      {"cmd1", {3120, 1800, 1095, 495}},
      {"cmd2", {3120, 2640, 1095, 495}},
      {"cmd3", {3120, 3480, 1095, 495}},
      {"cmd4", {3120, 4320, 1095, 495}},
      {"cmd5", {3120, 5160, 1095, 495}},
      {"Label1", {4320, 1800, 1935, 495}},
      {"Label2", {4320, 2640, 2655, 615}},
      {"Label3", {4320, 3480, 1695, 495}},
      {"Label4", {4320, 4320, 1935, 495}},
      {"Label5", {4320, 5160, 2535, 495}},
      {"cmdesci", {6600, 5880, 615, 615}},
      {"Image1", {120, 6360, 1230, 165}}},
     {"cmdesci", "cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "Picture1", "Picture2"}},
    {"frm1caso",
     caseControls({240, 360, 6855, 495}, {3600, 3120, 3495, 2415}),
     {"cmdinventa", "cmdstampa", "cmdfine", "Picture1", "txtris", "list", "cmdok", "cmdvedi", "opt1", "opt2", "optrnd",
      "txt"}},
    {"frm2caso", caseControls({240, 360, 6855, 855}, {4080, 2520, 3135, 3255}), tabOrderIIToIV},
    {"frm3caso", caseControls({240, 360, 6855, 495}, {4440, 2160, 2775, 3375}), tabOrderIIToIV},
    {"frm4caso", caseControls({240, 360, 6855, 495}, {4200, 2400, 3015, 3255}), tabOrderIIToIV},
    {"frm5caso",
     caseControls({960, 360, 5415, 855}, {4080, 2160, 3135, 3495}),
     {"cmdinventa", "cmdstampa", "list", "Picture1", "cmdfine", "cmdvedi", "cmdok", "txtris", "opt1", "opt2", "optrnd",
      "txt"}},
};

// Every control of every window at its place, and the focus passing through them in order.
TEST_F(WindowsTest, EveryControlStandsAtItsPlaceAndTakesTheFocusInTabOrder)
{
    for (const WindowLayout& layout : layouts) {
        SCOPED_TRACE(layout.window);
        QWidget* window = &windows.startWindow();
        for (const DivisionCase divisionCase : allCases) {
            if (windows.caseWindow(divisionCase).objectName() == QLatin1String(layout.window))
                window = &windows.caseWindow(divisionCase);
        }
        ASSERT_EQ(window->objectName(), QLatin1String(layout.window));
        EXPECT_EQ(window->minimumSize(), QSize(491, 442));
        EXPECT_EQ(window->maximumSize(), QSize(491, 442));

        for (const Placed& placed : layout.controls) {
            SCOPED_TRACE(placed.control);
            const QRect& t = placed.twips;
            EXPECT_EQ(control(window, placed.control)->geometry(), look::twipsRect(t.x(), t.y(), t.width(), t.height()));
        }

        std::vector<QString> chain;
        QWidget* first = control(window, layout.tabOrder.front());
        QWidget* next = first;
        do {
            if (next->window() == window && (next->focusPolicy() & Qt::TabFocus))
                chain.push_back(next->objectName());
            next = next->nextInFocusChain();
        } while (next != first);
        EXPECT_EQ(chain, std::vector<QString>(layout.tabOrder.begin(), layout.tabOrder.end()));
    }
}

TEST_F(WindowsTest, FontsColoursAndTooltipsAreTheWindowsOwn)
{
    const StartWindow& start = windows.startWindow();
    const QFontInfo description(control(&start, "Label2")->font());
    EXPECT_EQ(description.family(), QStringLiteral("Comic Neue"));
    EXPECT_DOUBLE_EQ(control(&start, "Label2")->font().pointSizeF(), 9.75);
    EXPECT_EQ(control<QLabel>(&start, "Label2")->palette().color(QPalette::WindowText), look::blue);
    EXPECT_EQ(control<QLabel>(&start, "Label2")->palette().color(QPalette::Window), look::pink);
    EXPECT_TRUE(control<QLabel>(&start, "Label2")->wordWrap());
    EXPECT_EQ(QFontInfo(control(&start, "cmd1")->font()).family(), QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(control(&start, "cmd1")->font().bold());
    EXPECT_EQ(control(&start, "cmd3")->palette().color(QPalette::Button), QColor(128, 255, 128));
    EXPECT_EQ(control(&start, "cmdesci")->toolTip(), QStringLiteral("Esci"));
    EXPECT_EQ(start.palette().color(QPalette::Window), look::pink);

    for (const DivisionCase divisionCase : allCases) {
        const CaseWindow& window = windows.caseWindow(divisionCase);
        SCOPED_TRACE(window.objectName().toStdString());
        EXPECT_EQ(control(&window, "cmdstampa")->toolTip(),
                  divisionCase == DivisionCase::I ? QStringLiteral("Stampa") : QString());
        EXPECT_EQ(control(&window, "cmdvedi")->toolTip(), QStringLiteral("Visualizza per copiare"));
        EXPECT_EQ(control(&window, "cmdfine")->toolTip(), QStringLiteral("Fine"));
        EXPECT_EQ(control(&window, "cmdok")->toolTip(), QStringLiteral("Chiude la finestra per la copia"));
        EXPECT_EQ(QFontInfo(control(&window, "Label1")->font()).family(), QStringLiteral("Comic Neue"));
        EXPECT_DOUBLE_EQ(control(&window, "Label1")->font().pointSizeF(), 15.75);
        EXPECT_EQ(control<QLabel>(&window, "Label1")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(control<QGroupBox>(&window, "Frame1")->palette().color(QPalette::WindowText), look::darkRed);
        EXPECT_EQ(control(&window, "list")->palette().color(QPalette::Base), look::paleYellow);
        EXPECT_EQ(control(&window, "list")->palette().color(QPalette::Text), look::inkBlue);
        EXPECT_DOUBLE_EQ(control(&window, "list")->font().pointSizeF(), 12);
        EXPECT_EQ(control(&window, "cmdinventa")->palette().color(QPalette::Button), look::lavender);
        EXPECT_EQ(QFontInfo(control(&window, "txtris")->font()).family(), QStringLiteral("Liberation Sans"));
    }
}

TEST_F(WindowsTest, WindowsHaveACloseBoxButNoOtherAndTheProgramIcon)
{
    for (QWidget* window : {static_cast<QWidget*>(&windows.startWindow()),
                            static_cast<QWidget*>(&windows.caseWindow(DivisionCase::II)),
                            static_cast<QWidget*>(&windows.printWindow())}) {
        SCOPED_TRACE(window->objectName().toStdString());
        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(window->windowIcon().isNull());
    }
    EXPECT_EQ(windows.printWindow().size(), QSize(274, 218));
    EXPECT_EQ(windows.printWindow().windowTitle(), QStringLiteral("Stampa"));
}

TEST(CentredPosition, IsWorkedOutInTwipsAndNeverClamped)
{
    struct Row {
        QSize screen, frame;
        QPoint expected;
    };
    const Row rows[] = {
        {{1280, 1024}, {491, 442}, {395, 291}},      // 5917.5 twips is 394.5 pixels, rounded up
        {{1280, 1024}, {274, 218}, {503, 403}},
        {{800, 600}, {1000, 700}, {-100, -50}},      // larger than the screen
        {{640, 480}, {641, 481}, {-1, -1}},          // half a pixel left of the edge
    };
    for (const Row& row : rows)
        EXPECT_EQ(centredPosition(row.screen, row.frame), row.expected) << row.frame.width();
}

}  // namespace
}  // namespace ripartino
