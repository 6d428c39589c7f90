#pragma once

#include <functional>

#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "core/random_source.h"
#include "windows/case_window.h"
#include "windows/print_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace ripartino {

// How long a test waits for what must come: a loaded X server and the sanitized build are
// slow, and a wait ends as soon as its event comes.
constexpr int waitLimit = 20000;

// Runs the event loop until the program ends, or gives up after a while; returns the exit code.
inline int runUntilTheProgramEnds(const std::function<void()>& action)
{
    QTimer::singleShot(0, action);
    QTimer::singleShot(waitLimit, [] { QCoreApplication::exit(-1); });
    return QCoreApplication::exec();
}

// The program's windows with the start window on screen, as the program starts.
class WindowsTest : public testing::Test {
protected:
    void SetUp() override
    {
        windows.startWindow().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&windows.startWindow(), waitLimit));
    }

    template <typename Control = QWidget> static Control* control(const QWidget* window, const char* name)
    {
        auto* found = window->findChild<Control*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // In turn, as a user would: a hidden or disabled control cannot be clicked, and trying fails the test.
    template <typename... Names> static void click(const QWidget* window, Names... names)
    {
        for (const char* name : {names...}) {
            QWidget* target = control(window, name);
            if (target && target->isVisible() && target->isEnabled())
                QTest::mouseClick(target, Qt::LeftButton);
            else if (target)
                ADD_FAILURE() << name << (target->isVisible() ? " is disabled" : " is hidden");
        }
    }

    // Opens case window `divisionCase` with its button in the start window.
    CaseWindow& openCase(DivisionCase divisionCase)
    {
        const QByteArray button = "case" + QByteArray::number(static_cast<int>(divisionCase)) + "Button";
        click(windows.openStartWindow(), button.constData());
        CaseWindow* window = windows.openCaseWindow(divisionCase);
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window, waitLimit));
        return *window;
    }

    // The print window, opened from case window `divisionCase` after "Inventa !", and active.
    PrintWindow& openPrintWindow(DivisionCase divisionCase = DivisionCase::I)
    {
        CaseWindow* caseWindow = windows.openCaseWindow(divisionCase);
        click(caseWindow ? caseWindow : &openCase(divisionCase), "inventButton", "printButton");
        EXPECT_TRUE(QTest::qWaitForWindowActive(windows.openPrintWindow(), waitLimit));
        return *windows.openPrintWindow();
    }

    // Every invention of a test's reseeds from a clock that counts, so each run shows the same.
    RandomSource source = [] {
        RandomSource counted;
        counted.useClock([tick = std::uint64_t{0}]() mutable { return ++tick; });
        return counted;
    }();
    ProgramWindows windows{source, systemDecimalSeparator()};
};

}  // namespace ripartino
