// A random user does what a user can do at each moment (clicks and double clicks, Esc, Alt+letters,
// close boxes, any text typed or pasted into the print window, "OK" to every message), and after
// every action the program's rules are checked; when the program ends, it starts again.
// The test command runs a fixed seed for 1,500 actions (the least a run does). A long run with a fresh seed, printed so
// that RIPARTINO_MONKEY_SEED=<seed> replays its choices and the exercises (how fast a print job's
// thread goes still varies what they meet):
//   RIPARTINO_MONKEY_SEED=random RIPARTINO_MONKEY_ACTIONS=20000 build/tests/monkey/monkey_test
// with QT_QPA_PLATFORM=offscreen in front, as the test command sets it.

#include <random>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/recording_printer.h"
#include "windows/case_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace ripartino {
namespace {

class Monkey {
public:
    // One run of the program each, until the actions are done.
    void run()
    {
        while (performed_ < wanted_ && !failed_) {
            RandomSource source;
            source.useClock([this] { return seed_ + ++reseeds_; });
            ProgramWindows windows(source, ",");  // the Italian decimal comma
            windows.setPrinterFactory([this] {
                const QWidget* print = windows_->openPrintWindow();
                expect(print && print->isVisible(), "a job began without an open print window");
                return std::make_unique<RecordingPrinter>();
            });
            windows_ = &windows;
            windows.startWindow().show();
            QTimer::singleShot(0, [this, run = ++runs_] { step(run); });
            QApplication::exec();
        }
    }

    const QString seedText_ = qEnvironmentVariable("RIPARTINO_MONKEY_SEED", "20261207");
    const std::uint64_t seed_ = seedText_ == "random" ? std::random_device{}() : seedText_.toULongLong();
    const int wanted_ = std::max(qEnvironmentVariableIntValue("RIPARTINO_MONKEY_ACTIONS"), 1500);
    int performed_ = 0, runs_ = 0;
    std::uint64_t reseeds_ = 0;

private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    template <typename List> auto pick(const List& from) { return from[below(static_cast<int>(from.size()))]; }

    void step(int run)
    {
        if (run != runs_)
            return;  // left over from an ended run
        if (performed_ >= wanted_)
            return QApplication::exit();
        // Scheduled first: a message box runs its own loop inside an action, and must be answered.
        QTimer::singleShot(0, [this, run] { step(run); });
        // The modal dialog if one is up, else the program's windows on screen.
        QWidgetList windows = QApplication::topLevelWidgets();
        windows.removeIf([](QWidget* w) { return !w->isVisible() || !w->objectName().contains("Window"); });
        if (QWidget* modal = QApplication::activeModalWidget())
            windows = {modal};
        if (windows.isEmpty())  // the program is about to end
            return expect(++idleSteps_ < 1000, "no window is shown, yet the program goes on");
        idleSteps_ = 0;
        // A job may run on while the windows stay live: let it end or show a message first (a
        // job that hangs meets the test's time limit); not from inside an action, though, where a
        // message's own loop holds the job.
        if (windows_->printService().running() && acting_ == 0
            && !qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            return;
        ++acting_;
        act(pick(windows));
        --acting_;
        ++performed_;
        // The start window and the case windows are open one at a time; numbers carry the
        // decimal comma.
        int open = windows_->openStartWindow() != nullptr;
        for (const DivisionCase divisionCase : allCases) {
            const CaseWindow* window = windows_->openCaseWindow(divisionCase);
            open += window != nullptr;
            expect(!window
                       || window->findChild<QListWidget*>("exerciseList")->findItems(".", Qt::MatchContains).isEmpty(),
                   "a number has a decimal point");
        }
        expect(open <= 1, QString::number(open) + " start and case windows are open");
        const std::optional<MarkedCase> marked = windows_->markedCase();
        expect(!marked || windows_->openCaseWindow(marked->divisionCase), "a closed case window is marked");
    }

    void act(QWidget* window)
    {
        if (qobject_cast<QMessageBox*>(window))  // Enter: its one button, "OK"
            return QTest::keyClick(window, Qt::Key_Return);
        QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
        QList<QLineEdit*> fields = window->findChildren<QLineEdit*>();
        const auto unusable = [](const QWidget* w) { return !w->isVisible() || !w->isEnabled(); };
        buttons.removeIf(unusable), fields.removeIf(unusable);
        // The file dialog stays in the test's own home: no way up out of it.
        if (qobject_cast<QFileDialog*>(window))
            buttons.removeIf([](const QWidget* w) {
                return QStringList{"toParentButton", "backButton"}.contains(w->objectName());
            });
        QApplication::setActiveWindow(window);
        const int roll = below(100);
        if (roll < 25 && !fields.isEmpty()) {
            type(pick(fields));
        } else if (roll < 80 && !buttons.isEmpty()) {
            QAbstractButton* button = pick(buttons);
            // Leaving a window less often than anything else, so that runs get as far as printing.
            if (QString("exitButton backButton cancelButton").contains(button->objectName()) && below(3))
                button = pick(buttons);
            // Near the left edge: beside the caption of a wide option button a click misses.
            const QPoint where(std::min(8, button->width() / 2), button->height() / 2);
            below(8) ? QTest::mouseClick(button, Qt::LeftButton, {}, where)
                     : QTest::mouseDClick(button, Qt::LeftButton, {}, where);
        } else if (roll < 97) {
            // Esc, or Alt with mostly the print window's access keys ("&OK", "&Annulla"), else any letter.
            const char letter = below(3) ? "OA"[below(2)] : static_cast<char>('A' + below(26));
            QWidget* focus = window->focusWidget() ? window->focusWidget() : window;
            below(3) ? QTest::keyClick(focus, static_cast<Qt::Key>(letter), Qt::AltModifier)
                     : QTest::keyClick(focus, Qt::Key_Escape);
        } else if (window->objectName() != "startWindow" || !below(4)) {
            window->close();  // its close box
        }
    }

    void type(QLineEdit* field)
    {
        static const QString alphabets[] = {"0123456789", "0123456789.,+-eEdD&HhOo \t\n", "Calcola: àèìòù",
                                            "тетрадь 算术练习 حساب ٣٤ \u200F\u202E\x01\x7f"};
        const QString& from = alphabets[below(4)];
        QString text;
        for (int n = below(8) ? below(12) : below(5000); n > 0; --n)
            text += pick(from);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        if (field->text() == "..")  // the file dialog's way up, out of the test's home
            QTest::keyClick(field, Qt::Key_0);
    }

    void expect(bool holds, const QString& what)
    {
        if (holds || std::exchange(failed_, true))
            return;
        ADD_FAILURE() << what.toStdString() << " (seed " << seed_ << ", action " << performed_ << ")";
        QApplication::exit(1);
    }

    std::mt19937_64 random_{seed_};
    ProgramWindows* windows_ = nullptr;
    bool failed_ = false;
    int idleSteps_ = 0, acting_ = 0;
};

TEST(Monkey, RandomUserActionsKeepEveryRule)
{
    Monkey monkey;
    monkey.run();
    std::printf("monkey seed %llu: %d actions in %d runs of the program\n",
                static_cast<unsigned long long>(monkey.seed_), monkey.performed_, monkey.runs_);
}

}  // namespace
}  // namespace ripartino
