// Drives the program's own windows, offscreen, from "I caso" through "Inventa !" and the
// print button to "&OK", printing on the system's default printer:
//   print_from_windows COLUMNS OPERATIONS COPIES
// Says on stdout whether a message came up and whether the print window stayed open.
// Exit status: 0 printed and closed, 3 a message and the window open, 4 anything else.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "windows/case_window.h"
#include "windows/look.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

using namespace ripartino;

namespace {

void click(const QWidget* window, const char* name)
{
    auto* control = window->findChild<QWidget*>(QLatin1String(name));
    if (!control) {
        std::fprintf(stderr, "no control %s\n", name);
        std::exit(4);
    }
    QTest::mouseClick(control, Qt::LeftButton);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setWindowIcon(look::applicationIcon());
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: print_from_windows COLUMNS OPERATIONS COPIES\n", stderr);
        return 2;
    }

    RandomSource source;
    ProgramWindows windows(source, systemDecimalSeparator());
    windows.startWindow().show();
    if (!QTest::qWaitForWindowExposed(&windows.startWindow()))
        return 4;
    click(windows.openStartWindow(), "cmd1");
    CaseWindow* caseWindow = windows.openCaseWindow(DivisionCase::I);
    if (!caseWindow || !QTest::qWaitForWindowExposed(caseWindow))
        return 4;
    click(caseWindow, "cmdinventa");
    click(caseWindow, "cmdstampa");
    PrintWindow* printWindow = windows.openPrintWindow();
    if (!printWindow || !QTest::qWaitForWindowExposed(printWindow))
        return 4;

    click(printWindow, ("opt" + arguments[2]).toLatin1().constData());
    if (arguments[1] != "0")
        click(printWindow, ("optc" + arguments[1]).toLatin1().constData());
    auto* copies = printWindow->findChild<QLineEdit*>(QStringLiteral("txtcop"));
    copies->clear();
    QTest::keyClicks(copies, arguments[3]);

    QString message;
    QTimer::singleShot(0, [&message] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });
    click(printWindow, "cmdok");
    QApplication::processEvents();

    const bool open = windows.openPrintWindow() && windows.openPrintWindow()->isVisible();
    std::printf("message: %s\nprint window: %s\n", qPrintable(message), open ? "open" : "closed");
    if (message.isEmpty() && !open)
        return 0;
    return !message.isEmpty() && open ? 3 : 4;
}
