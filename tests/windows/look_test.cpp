#include <QMessageBox>

#include "printing/print_window.h"
#include "support/windows_fixture.h"

namespace ripartino {
namespace {

// Each window as a user meets it: the start window, case windows I to V with every button
// shown, the print window.
class EveryWindow : public WindowsTest, public testing::WithParamInterface<int> {
protected:
    QWidget* reach()
    {
        if (GetParam() == 0)
            return windows.openStartWindow();
        CaseWindow& window = openCase(static_cast<DivisionCase>(GetParam() == 6 ? 1 : GetParam()));
        click(&window, "cmdinventa");
        click(&window, "cmdvedi");
        if (GetParam() < 6)
            return &window;
        click(&window, "cmdstampa");
        return windows.openPrintWindow();
    }
};
INSTANTIATE_TEST_SUITE_P(Windows, EveryWindow, testing::Range(0, 7), [](const auto& row) {
    return std::string(std::array{"start", "caseI", "caseII", "caseIII", "caseIV", "caseV", "print"}[row.param]);
});

TEST_P(EveryWindow, GraphicalButtonsShowExactlyTheirColourAndTheOthersTheSystemLook)
{
    QWidget* window = reach();
    if (GetParam() == 6) {
        // "&OK" and "&Annulla" look like any plain button of the same caption and state.
        QTest::mouseClick(control(window, "txtcom"), Qt::LeftButton);
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            QPushButton plain(button->text(), window);
            plain.setGeometry(button->geometry());
            plain.setEnabled(button->isEnabled());
            EXPECT_EQ(plain.grab().toImage(), button->grab().toImage()) << button->objectName().toStdString();
        }
        return;
    }
    const std::map<QString, QColor> specified = {
        {"cmd1", {255, 192, 128}},      {"cmd2", {128, 128, 255}},      {"cmd3", {128, 255, 128}},
        {"cmd4", {255, 128, 128}},      {"cmd5", {255, 255, 128}},      {"cmdesci", {255, 128, 255}},
        {"cmdinventa", {192, 192, 255}}, {"cmdok", {192, 192, 255}},    {"cmdvedi", {255, 128, 255}},
        {"cmdstampa", {255, 128, 255}}, {"cmdfine", {255, 128, 255}}};
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        ASSERT_TRUE(specified.count(button->objectName())) << button->objectName().toStdString();
        const QColor colour = specified.at(button->objectName());
        // The face just inside the border, along every side, where no caption or picture goes.
        const QImage face = button->grab().toImage();
        const int right = face.width() - 3, bottom = face.height() - 3;
        for (const QPoint at : {QPoint(2, 2), QPoint(right / 2, 2), QPoint(right, 2), QPoint(2, bottom / 2),
                                QPoint(right, bottom / 2), QPoint(2, bottom), QPoint(right / 2, bottom),
                                QPoint(right, bottom)})
            EXPECT_EQ(face.pixelColor(at), colour) << button->objectName().toStdString();
        // Pressed, it plainly changes.
        button->setDown(true);
        EXPECT_NE(button->grab().toImage().pixelColor(right / 2, 2), colour) << button->objectName().toStdString();
        button->setDown(false);
    }
}

TEST_P(EveryWindow, AMinimisedWindowComesBack)
{
    QWidget* window = reach();
    window->setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(!window->isMinimized());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowsTest, ThePrintWindowClosingLastBringsBackTheStartWindow)
{
    CaseWindow& window = openCase(DivisionCase::I);
    click(&window, "cmdinventa");
    click(&window, "cmdstampa");
    PrintWindow* print = windows.openPrintWindow();
    window.windowHandle()->close();  // the close box
    QObject scope;
    bool ended = false;
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &scope, [&] { ended = true; });
    QString told;
    QTimer::singleShot(0, &scope, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        told = box->text();
        box->close();
    });
    click(print, "opt10");
    click(print, "cmdok");
    EXPECT_TRUE(told.contains(QStringLiteral("\"Inventa !\""))) << told.toStdString();
    QCoreApplication::processEvents();
    ASSERT_NE(windows.openStartWindow(), nullptr);
    EXPECT_TRUE(windows.openStartWindow()->isVisible());
    EXPECT_FALSE(ended);
}

}  // namespace
}  // namespace ripartino
