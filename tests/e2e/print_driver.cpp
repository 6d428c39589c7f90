// The end-to-end print test's hands: opens case I, invents, opens the print window and presses
// "&OK" on the system's default printer under the caller's settings, "Copie &diverse" and
// "&Soluzioni" ticked when asked.
//   print_driver COLUMNS OPERATIONS COPIES [cancel | save:FILE] [diverse] [soluzioni]
// Says every message that came up, whether the print window stayed open, how long the job took
// and how often a 100 ms timer fired meanwhile (the windows kept painting).

#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>

#include "support/dialog_answerer.h"
#include "ui/look.h"
#include "windows/case_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

using namespace ripartino;

namespace {

// Clicks controls in turn as a user would, or says why it cannot.
bool click(const QWidget* window, const QStringList& names)
{
    for (const QString& name : names) {
        auto* control = window ? window->findChild<QWidget*>(name) : nullptr;
        if (!control || !control->isVisible() || !control->isEnabled()) {
            std::fprintf(stderr, "cannot click %s\n", qPrintable(name));
            return false;
        }
        // A check box takes a click on its box or caption only, which may be narrower than it.
        const bool box = qobject_cast<QCheckBox*>(control);
        QTest::mouseClick(control, Qt::LeftButton, {}, box ? QPoint(4, control->height() / 2) : QPoint());
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    look::speakItalian();
    const QStringList job = app.arguments().mid(1);
    if (job.size() < 3) {
        std::fprintf(stderr,
                     "usage: print_driver COLUMNS OPERATIONS COPIES [cancel | save:FILE] [diverse] [soluzioni]\n");
        return 2;
    }
    RandomSource source;
    source.useClock([] { return std::uint64_t{20261208}; });  // the same sheets in every run
    ProgramWindows windows(source, systemDecimalSeparator());
    windows.startWindow().show();
    DialogAnswerer hands;
    QStringList rest = job.mid(3);
    QStringList options{"operations" + job[1] + "Option", job[0] == "2" ? "twoColumnsOption" : "oneColumnOption"};
    for (const auto& [word, box] : {std::pair("diverse", "differentOption"), std::pair("soluzioni", "solutionsOption")})
        if (rest.removeAll(word))
            options << box;
    hands.answer = rest.value(0);
    if (!click(&windows.startWindow(), {"case1Button"})
        || !click(windows.openCaseWindow(DivisionCase::I), {"inventButton", "printButton"}))
        return 1;
    PrintWindow* print = windows.openPrintWindow();
    if (!click(print, options))
        return 1;
    print->findChild<QLineEdit*>("copiesField")->setText(job[2]);

    QTimer ticker;
    QSignalSpy ticks(&ticker, &QTimer::timeout);
    ticker.start(100);
    QElapsedTimer clock;
    clock.start();
    if (!click(print, {"okButton"}) || !QTest::qWaitFor([&] { return !windows.printService().running(); }, 180000))
        return 1;
    for (const QString& message : hands.said.isEmpty() ? QStringList{""} : hands.said)
        std::printf("message: %s\n", qPrintable(message));
    std::printf("print window: %s\nmilliseconds: %lld\nticks: %d\n",
                windows.openPrintWindow() && windows.openPrintWindow()->isVisible() ? "open" : "closed",
                clock.elapsed(), static_cast<int>(ticks.count()));
    return hands.stuck.isEmpty() ? 0 : 1;
}
