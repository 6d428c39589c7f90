// What the window system decides (stacking, focus, a held key's repeats, the toolkit's own
// texts), on a real X server with openbox and real input. The offscreen run starts them
// and runs each test again there.

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include "support/desktop.h"
#include "support/windows_fixture.h"
#include "windows/print_window.h"

namespace ripartino {
namespace {

class DesktopTest : public WindowsTest {
protected:
    // Case window I with its ten exercises, and in front of it the print window opened from it.
    CaseWindow& printFromCaseI()
    {
        CaseWindow& window = openCase(DivisionCase::I);
        click(&window, "inventButton");
        click(&window, "printButton");
        EXPECT_TRUE(QTest::qWaitForWindowActive(windows.openPrintWindow()));
        return window;
    }

    // Waits for `window` to stand framed in the middle of the screen, where it goes once the
    // window manager has said what frame it gives.
    static bool centred(const QWidget* window)
    {
        return QTest::qWaitFor(
            [&] {
                return window->frameGeometry() != window->geometry()
                    && window->pos() == centredPosition(window->screen()->size(), window->frameGeometry().size());
            },
            10000);
    }

    // Whether the print window stands in front of `other` for the window manager.
    bool printInFront(const QWidget* other) const
    {
        return desktop::place(other) >= 0 && desktop::place(windows.openPrintWindow()) > desktop::place(other);
    }
};

// Esc held in the print window closes it; its repeats press nothing in the case window that
// comes to the front, while an Esc pressed afresh there goes back to the start window.
TEST_F(DesktopTest, EscHeldClosesThePrintWindowAlone)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    printFromCaseI();
    desktop::xdotool("keydown Escape");
    QTest::qWait(1500);  // held as a hand holds it, while the server repeats it
    desktop::xdotool("keyup Escape");
    // Input arrives in order: once this click is heard, every repeat has been.
    QPointer<CaseWindow> window = windows.openCaseWindow(DivisionCase::I);
    ASSERT_TRUE(window);
    desktop::clickAt(control(window, "viewButton"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window || control(window, "copyView")->isVisible(); }, 10000));
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(control<QListWidget>(window, "exerciseList")->count(), 10);
    EXPECT_FALSE(windows.openPrintWindow());
    desktop::xdotool("key Escape");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window && windows.openStartWindow(); }, 10000));
}

// X repeats a held key as a release and a press of one time stamp, which Qt at times fails to
// call a repeat. After Esc has closed the print window such a press presses nothing in the
// case window come to the front, while an Esc pressed afresh there goes back.
TEST_F(DesktopTest, AnUnmarkedRepeatOfEscPressesNothingBelow)
{
    CaseWindow& window = printFromCaseI();
    const auto esc = [](QEvent::Type type, ulong stamp) {
        QWidget* to = QApplication::focusWidget();
        if (!to)
            return;
        if (type == QEvent::KeyPress && qt_sendShortcutOverrideEvent(to, stamp, Qt::Key_Escape, {}))
            return;
        QKeyEvent key(type, Qt::Key_Escape, {});
        key.setTimestamp(stamp);
        QApplication::sendEvent(to, &key);
    };
    esc(QEvent::KeyPress, 100);
    window.activateWindow();
    ASSERT_TRUE(!windows.openPrintWindow() && QTest::qWaitForWindowActive(&window));
    esc(QEvent::KeyRelease, 140), esc(QEvent::KeyPress, 140), esc(QEvent::KeyRelease, 180);
    ASSERT_TRUE(windows.openCaseWindow(DivisionCase::I));
    esc(QEvent::KeyPress, 400);
    EXPECT_FALSE(windows.openCaseWindow(DivisionCase::I));
}

// While the print window is open it stands in front of the case and start windows, however
// they are clicked: twice in the case window's list, after a message of its own, after "Fine"
// and in the start window.
TEST_F(DesktopTest, ThePrintWindowStaysInFront)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    CaseWindow& window = printFromCaseI();
    PrintWindow& print = *windows.openPrintWindow();
    ASSERT_TRUE(centred(&window) && centred(&print));
    print.move(0, 0);  // aside, as a user would drag it, off the list and the start window's labels
    ASSERT_TRUE(QTest::qWaitFor([&] { return print.frameGeometry().topLeft() == QPoint(0, 0); }, 10000));
    auto* list = control<QListWidget>(&window, "exerciseList");
    // Rows clear of the print window, clicked in turn.
    const auto clickRows = [&](int clicks) {
        for (int row = 0; row < list->count() && clicks > 0; ++row) {
            const QPoint at = list->visualItemRect(list->item(row)).center();
            if (print.frameGeometry().contains(list->viewport()->mapToGlobal(at)) || list->currentRow() == row)
                continue;
            desktop::clickAt(list->viewport(), at);
            ASSERT_TRUE(QTest::qWaitFor([&] { return list->currentRow() == row; }, 10000)) << row;
            --clicks;
        }
        ASSERT_EQ(clicks, 0) << "no row of the list stands clear of the print window";
    };
    clickRows(2);
    EXPECT_TRUE(printInFront(&window));

    QTimer answer;  // Enter on the message once it has the focus; a test never waits for ever
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box->isActiveWindow())
            answer.stop(), desktop::xdotool("key Return");
    });
    answer.start(50);
    QTimer::singleShot(20000, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    control<QLineEdit>(&print, "copiesField")->setText("0");
    for (const char* button : {"operations10Option", "oneColumnOption", "okButton"})
        click(&print, button);
    EXPECT_FALSE(answer.isActive());
    clickRows(1);
    EXPECT_TRUE(printInFront(&window));

    // A real click: the window manager puts a window in front only for a fresh user action.
    desktop::clickAt(control(&window, "backButton"), {20, 20});
    ASSERT_TRUE(QTest::qWaitFor([&] { return windows.openStartWindow() && printInFront(windows.openStartWindow()); }, 20000));
    ASSERT_TRUE(centred(windows.openStartWindow()));
    desktop::clickAt(control(windows.openStartWindow(), "case1Label"));
    desktop::clickAt(control(windows.openStartWindow(), "case2Label"));
    EXPECT_TRUE(QTest::qWaitForWindowActive(windows.openStartWindow()));
    EXPECT_TRUE(printInFront(windows.openStartWindow()));
}

// Qt's own texts are Italian whatever the locale: a text box's menu, the save dialog and
// its question.
TEST_F(DesktopTest, TheToolkitSpeaksItalian)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    printFromCaseI();
    auto* heading = control<QLineEdit>(windows.openPrintWindow(), "headingField");
    const QPoint at = heading->mapToGlobal(QPoint(20, 8));
    desktop::xdotool(QString("mousemove %1 %2 click 3").arg(at.x()).arg(at.y()));
    QPointer<QMenu> menu;
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 10000));
    QStringList said;
    for (const QAction* action : menu->actions())
        said << action->text();
    menu->close();

    QFileDialog save(nullptr, QStringLiteral("Salva come PDF"));
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
        said << save.findChild<QLabel*>(QLatin1String(label))->text();
    for (const QAbstractButton* button : save.findChild<QDialogButtonBox*>()->buttons())
        said << button->text();
    said << QFileDialog::tr("%1 already exists.\nDo you want to replace it?");
    said << QMessageBox::tr("Show Details...");
    EXPECT_EQ(said.join('|'), "Ann&ulla\tCtrl+Z|&Rifai\tCtrl+Shift+Z||&Taglia\tCtrl+X|&Copia\tCtrl+C|&Incolla\tCtrl+V|"
                              "Elimina||Seleziona tutto\tCtrl+A|Cerca in:|&Nome del file:|File di tipo:|&Salva|"
                              "Annulla|%1 esiste già.\nVuoi sostituirlo?|Mostra dettagli...");
}

}  // namespace
}  // namespace ripartino
