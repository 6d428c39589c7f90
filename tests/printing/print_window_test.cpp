#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "support/windows_fixture.h"
#include "printing/print_window.h"
#include "support/recording_printer.h"

namespace ripartino {

namespace {

// Every job the windows print, as the recording printer wrote it down.
struct PrintedJobs {
    std::vector<std::vector<std::string>> jobs;
    PrinterStatus failure = PrinterStatus::Ready;
};

class LoggedPrinter : public RecordingPrinter {
public:
    explicit LoggedPrinter(PrintedJobs& log) : log_(log) { failure = log.failure; }
    ~LoggedPrinter() override { log_.jobs.push_back(calls); }

private:
    PrintedJobs& log_;
};

long count(const std::vector<std::string>& calls, const std::string& call)
{
    return std::count(calls.begin(), calls.end(), call);
}

class PrintWindowTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        windows.setPrinterFactory([this] { return std::make_unique<LoggedPrinter>(printed); });
    }

    // Case window I after "Inventa !", with the print window opened from it.
    PrintWindow& openPrintWindow(DivisionCase divisionCase = DivisionCase::I)
    {
        CaseWindow& caseWindow = windows.openCaseWindow(divisionCase) ? *windows.openCaseWindow(divisionCase)
                                                                       : openCase(divisionCase);
        click(&caseWindow, "cmdinventa");
        click(&caseWindow, "cmdstampa");
        PrintWindow* window = windows.openPrintWindow();
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        return *window;
    }

    static void setCopies(PrintWindow& window, const QString& text)
    {
        auto* copies = control<QLineEdit>(&window, "txtcop");
        copies->clear();
        QTest::keyClicks(copies, text);
    }

    // Clicks "&OK" and answers the message box it may raise; returns the message.
    QString pressOk(PrintWindow& window)
    {
        QString message;
        QTimer::singleShot(0, [&message] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                message = box->text();
                box->accept();
            }
        });
        click(&window, "cmdok");
        QApplication::processEvents();
        return message;
    }

    bool printWindowOpen() const { return windows.openPrintWindow() && windows.openPrintWindow()->isVisible(); }

    PrintedJobs printed;
};

TEST_F(PrintWindowTest, OpensInItsLoadStateAndOkWaitsForAnOperationsChoice)
{
    for (int opening = 0; opening < 2; ++opening) {
        PrintWindow& window = openPrintWindow();
        EXPECT_EQ(window.windowTitle(), "Stampa");
        EXPECT_FALSE(window.windowIcon().isNull());
        EXPECT_FALSE(window.windowFlags().testFlag(Qt::Tool));  // it has a taskbar button
        for (const char* name : {"opt10", "opt20", "opt30", "opt40", "optc1", "optc2"})
            EXPECT_FALSE(control<QRadioButton>(&window, name)->isChecked()) << name;
        EXPECT_EQ(control<QLineEdit>(&window, "txtcop")->text(), "1");
        EXPECT_EQ(control<QLineEdit>(&window, "txtcom")->text(), "Calcola le seguenti operazioni:");
        auto* ok = control<QPushButton>(&window, "cmdok");
        EXPECT_FALSE(ok->isEnabled());
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(&window, "cmdannulla"));

        // A columns choice or a typed heading does not make the window ready.
        click(&window, "optc2");
        QTest::keyClicks(control<QLineEdit>(&window, "txtcom"), " x");
        EXPECT_FALSE(ok->isEnabled());
        click(&window, opening == 0 ? "opt10" : "opt40");
        EXPECT_TRUE(ok->isEnabled());
        // Alt+O presses "&OK", which clicks a moment later: the job prints and closes the window.
        QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !printWindowOpen(); }, 2000));
    }
    ASSERT_EQ(printed.jobs.size(), 2u);
    // "10" then "40" in two columns: headings up to 2) and up to 8).
    EXPECT_EQ(count(printed.jobs[0], "line \"   1)\" >> \"2)\""), 1);
    EXPECT_EQ(count(printed.jobs[0], "line \"   3)\" >> \"4)\""), 0);
    EXPECT_EQ(count(printed.jobs[1], "line \"   7)\" >> \"8)\""), 1);
    EXPECT_EQ(count(printed.jobs[1], "line \"  Calcola le seguenti operazioni: x\""), 1);
}

TEST_F(PrintWindowTest, EscAnnullaAndTheCloseBoxCloseWithoutPrinting)
{
    for (int way = 0; way < 4; ++way) {
        PrintWindow& window = openPrintWindow();
        click(&window, "opt20");
        if (way == 0) {
            QTest::keyClick(&window, Qt::Key_Escape);
        } else if (way == 1) {
            click(&window, "cmdannulla");
        } else if (way == 2) {
            window.close();
        } else {
            // Alt+O clicks a moment later; Esc in between has cancelled the window.
            QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
            QTest::keyClick(&window, Qt::Key_Escape);
            QTest::qWait(300);
        }
        EXPECT_FALSE(printWindowOpen());
    }
    EXPECT_TRUE(printed.jobs.empty());
    // The case window keeps its mark and its list.
    CaseWindow* caseWindow = windows.openCaseWindow(DivisionCase::I);
    ASSERT_NE(caseWindow, nullptr);
    EXPECT_EQ(caseWindow->printMark(), "1");
    EXPECT_EQ(listed(*caseWindow).size(), 10);
}

TEST_F(PrintWindowTest, ShowingItAgainKeepsTheOneWindowAndItsChoices)
{
    PrintWindow& window = openPrintWindow();
    click(&window, "opt30");
    click(&window, "optc1");
    click(windows.openCaseWindow(DivisionCase::I), "cmdstampa");
    EXPECT_EQ(windows.openPrintWindow(), &window);
    const auto topLevels = QApplication::topLevelWidgets();
    EXPECT_EQ(std::count_if(topLevels.begin(), topLevels.end(),
                            [](const QWidget* w) { return w->objectName() == "frmstampa" && w->isVisible(); }),
              1);
    EXPECT_TRUE(control<QRadioButton>(&window, "opt30")->isChecked());
    EXPECT_TRUE(control<QPushButton>(&window, "cmdok")->isEnabled());
}

TEST_F(PrintWindowTest, TheCopiesBoxDecidesHowManySheets)
{
    struct Row {
        QString text;
        long sheets;
    };
    const Row rows[] = {{"3", 3}, {"", 0}, {"abc", 0}, {"2,5", 2}, {"2.5", 2}, {" 1 0", 10}, {"-1", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        PrintWindow& window = openPrintWindow();
        click(&window, "opt10");
        click(&window, "optc1");
        setCopies(window, row.text);
        EXPECT_EQ(pressOk(window), "");
        EXPECT_FALSE(printWindowOpen());
        ASSERT_FALSE(printed.jobs.empty());
        EXPECT_EQ(count(printed.jobs.back(), "page"), row.sheets);
        EXPECT_EQ(printed.jobs.back().back(), "end");
    }
}

TEST_F(PrintWindowTest, AbsurdCopiesAndPrinterFailuresKeepTheWindowOpenWithAMessage)
{
    PrintWindow& window = openPrintWindow();
    click(&window, "opt10");
    for (const QString& absurd : {QStringLiteral("1000"), QStringLiteral("1E400"), QStringLiteral("&HFFFF")}) {
        setCopies(window, absurd);
        EXPECT_TRUE(pressOk(window).contains("999"));
        EXPECT_TRUE(printWindowOpen());
    }
    // Refused before anything reached a printer.
    EXPECT_TRUE(std::all_of(printed.jobs.begin(), printed.jobs.end(), [](const auto& job) { return job.empty(); }));

    setCopies(window, "2");
    printed.failure = PrinterStatus::NoDefaultPrinter;
    EXPECT_TRUE(pressOk(window).contains("stampante predefinita"));
    EXPECT_TRUE(printWindowOpen());
    printed.failure = PrinterStatus::JobRefused;
    EXPECT_TRUE(pressOk(window).contains("non ha accettato"));
    EXPECT_TRUE(printWindowOpen());

    // Once the printer is back, the same window prints.
    printed.failure = PrinterStatus::Ready;
    printed.jobs.clear();
    EXPECT_EQ(pressOk(window), "");
    EXPECT_FALSE(printWindowOpen());
    ASSERT_EQ(printed.jobs.size(), 1u);
    EXPECT_EQ(count(printed.jobs[0], "page"), 2);
}

TEST_F(PrintWindowTest, WithTheCaseWindowClosedItReprintsTheLastSheetOrSaysThereIsNone)
{
    // No job yet: nothing to print, a message, and the window closes.
    PrintWindow& first = openPrintWindow();
    click(windows.openCaseWindow(DivisionCase::I), "cmdfine");
    click(&first, "opt10");
    EXPECT_TRUE(pressOk(first).contains("Non ci sono esercizi"));
    EXPECT_FALSE(printWindowOpen());
    ASSERT_EQ(printed.jobs.size(), 1u);
    EXPECT_TRUE(printed.jobs[0].empty());

    // After a job, the same sheet again, with nothing invented.
    PrintWindow& second = openPrintWindow(DivisionCase::III);
    click(&second, "opt20");
    click(&second, "optc2");
    pressOk(second);
    PrintWindow& third = openPrintWindow(DivisionCase::III);
    click(windows.openCaseWindow(DivisionCase::III), "cmdfine");
    click(&third, "opt20");
    click(&third, "optc2");
    EXPECT_EQ(pressOk(third), "");
    ASSERT_EQ(printed.jobs.size(), 3u);
    EXPECT_EQ(printed.jobs[2], printed.jobs[1]);
}

}  // namespace

}  // namespace ripartino
