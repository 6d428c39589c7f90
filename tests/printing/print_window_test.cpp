#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSignalSpy>

#include <algorithm>
#include <functional>
#include <cstdio>

#include "support/recording_printer.h"
#include "support/windows_fixture.h"

namespace ripartino {

namespace {

using Jobs = std::vector<std::vector<std::string>>;

// Writes every job it prints down in `jobs`, as the recording printer wrote it.
struct LoggedPrinter : RecordingPrinter {
    LoggedPrinter(Jobs& jobs, PrinterStatus fails) : jobs(jobs) { failure = fails; }
    ~LoggedPrinter() override { jobs.push_back(calls); }
    Jobs& jobs;
};

long count(const std::vector<std::string>& calls, const std::string& call) { return std::count(calls.begin(), calls.end(), call); }

QAbstractButton* button(const QWidget* dialog, const QString& text)
{
    for (auto* push : dialog->findChildren<QAbstractButton*>())
        if (push->text() == text)
            return push;
    return nullptr;
}

// With RIPARTINO_PRINT set (by tests/e2e/print_through_cups.sh), jobs go to the system printer.
const QStringList systemJob = qEnvironmentVariable("RIPARTINO_PRINT").split(' ', Qt::SkipEmptyParts);

class PrintWindowTest : public WindowsTest {
protected:
    void SetUp() override
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        WindowsTest::SetUp();
        if (systemJob.isEmpty())
            windows.setPrinterFactory([this] { return std::make_unique<LoggedPrinter>(jobs, failure); });
        // Dialogs run their own loops: answer them from there, as the user would. A message
        // gets "OK", or "Salva come PDF..." when `answer` is "save:FILE", and then the save
        // dialog gets FILE typed; "cancel" presses "Annulla" in the progress dialog.
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                message = box->text();
                for (QAbstractButton* choice : box->buttons())
                    message += " [" + choice->text() + "]";
                button(box, answer.startsWith("save:") ? "Salva come PDF..." : "OK")->click();
            } else if (auto* save = qobject_cast<QFileDialog*>(dialog)) {
                std::printf("proposed: %s\n", qPrintable(save->selectedFiles().value(0)));
                auto* name = save->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                name->clear();
                QTest::keyClicks(name, answer.mid(5));
                QTest::keyClick(name, Qt::Key_Return);
            } else if (qobject_cast<QProgressDialog*>(dialog) && answer == "cancel") {
                QTest::mouseClick(button(dialog, "Annulla"), Qt::LeftButton);
            }
        });
        answerer.start(20);
    }

    // Case window `divisionCase` after "Inventa !", with the print window opened from it.
    PrintWindow& openPrintWindow(DivisionCase divisionCase = DivisionCase::I)
    {
        CaseWindow& caseWindow = windows.openCaseWindow(divisionCase) ? *windows.openCaseWindow(divisionCase)
                                                                       : openCase(divisionCase);
        click(&caseWindow, "cmdinventa");
        click(&caseWindow, "cmdstampa");
        EXPECT_TRUE(QTest::qWaitForWindowActive(windows.openPrintWindow()));
        return *windows.openPrintWindow();
    }

    // Chooses the options, clicks "&OK" and returns the message it raised, with its buttons.
    std::string print(PrintWindow& window, const QString& operations, const QString& columns,
                      const QString& copies = "1")
    {
        click(&window, operations.toLatin1().constData());
        click(&window, columns.toLatin1().constData());
        auto* box = control<QLineEdit>(&window, "txtcop");
        box->clear();
        QTest::keyClicks(box, copies);
        message.clear();
        click(&window, "cmdok");
        return message.toStdString();
    }

    bool printWindowOpen() const { return windows.openPrintWindow() && windows.openPrintWindow()->isVisible(); }

    Jobs jobs;
    PrinterStatus failure = PrinterStatus::Ready;
    QTimer answerer;
    QString answer;
    QString message;
};

// The end-to-end print test's hands: RIPARTINO_PRINT="COLUMNS OPERATIONS COPIES [cancel | save:FILE]".
// Says what message came up, whether the print window stayed open, how long "&OK" took
// and how often a 100 ms timer fired meanwhile (the windows kept painting).
TEST_F(PrintWindowTest, OnTheSystemPrinter)
{
    if (systemJob.size() < 3)
        GTEST_SKIP() << "run by tests/e2e/print_through_cups.sh";
    answer = systemJob.value(3);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
    ticker.start(100);
    QElapsedTimer clock;
    clock.start();
    const std::string said = print(openPrintWindow(), "opt" + systemJob[1], "optc" + systemJob[0], systemJob[2]);
    std::printf("message: %s\nprint window: %s\nmilliseconds: %lld\nticks: %d\n", said.c_str(),
                printWindowOpen() ? "open" : "closed", clock.elapsed(), ticks);
}

TEST_F(PrintWindowTest, OpensInItsLoadStateAndOkWaitsForAnOperationsChoice)
{
    for (const char* operations : {"opt10", "opt40"}) {
        PrintWindow& window = openPrintWindow();
        for (const char* name : {"opt10", "opt20", "opt30", "opt40", "optc1", "optc2"})
            EXPECT_FALSE(control<QRadioButton>(&window, name)->isChecked()) << name;
        EXPECT_EQ(control<QLineEdit>(&window, "txtcop")->text(), "1");
        EXPECT_EQ(control<QLineEdit>(&window, "txtcom")->text(), "Calcola le seguenti operazioni:");
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(&window, "cmdannulla"));

        // A columns choice or a typed heading does not make the window ready.
        auto* ok = control<QPushButton>(&window, "cmdok");
        click(&window, "optc2");
        QTest::keyClicks(control<QLineEdit>(&window, "txtcom"), " x");
        EXPECT_FALSE(ok->isEnabled());
        click(&window, operations);
        EXPECT_TRUE(ok->isEnabled());
        // Alt+O presses "&OK", which clicks a moment later: the job prints and closes the window.
        QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !printWindowOpen(); }, 2000));
    }
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(count(jobs[0], "line \"   1)\" >> \"2)\""), 1);
    EXPECT_EQ(count(jobs[0], "line \"   3)\" >> \"4)\""), 0);
    EXPECT_EQ(count(jobs[1], "line \"   7)\" >> \"8)\""), 1);
    EXPECT_EQ(count(jobs[1], "line \"  Calcola le seguenti operazioni: x\""), 1);
}

TEST_F(PrintWindowTest, EscAnnullaTheCloseBoxAndACancelledAltOPrintNothing)
{
    const std::function<void(PrintWindow&)> ways[] = {
        [](PrintWindow& window) { QTest::keyClick(&window, Qt::Key_Escape); },
        [](PrintWindow& window) { click(&window, "cmdannulla"); },
        [](PrintWindow& window) { window.close(); },
        [](PrintWindow& window) {
            // Alt+O clicks a moment later; Esc in between has cancelled the window.
            QSignalSpy clicked(control<QPushButton>(&window, "cmdok"), &QPushButton::clicked);
            QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
            QTest::keyClick(&window, Qt::Key_Escape);
            clicked.wait(1000);
        }};
    for (const auto& cancel : ways) {
        PrintWindow& window = openPrintWindow();
        click(&window, "opt20");
        cancel(window);
        EXPECT_FALSE(printWindowOpen());
    }
    EXPECT_TRUE(jobs.empty());
    // The case window keeps its mark and its list; showing the window again keeps the one window.
    EXPECT_EQ(windows.openCaseWindow(DivisionCase::I)->printMark(), "1");
    PrintWindow& window = openPrintWindow();
    click(&window, "opt30");
    click(windows.openCaseWindow(DivisionCase::I), "cmdstampa");
    EXPECT_EQ(windows.openPrintWindow(), &window);
    EXPECT_TRUE(control<QRadioButton>(&window, "opt30")->isChecked());
}

struct CopiesRow {
    const char* name;
    QString text;
    long sheets;
};

void PrintTo(const CopiesRow& row, std::ostream* out) { *out << row.name; }

class CopiesBox : public PrintWindowTest, public testing::WithParamInterface<CopiesRow> {};

TEST_P(CopiesBox, DecidesHowManySheets)
{
    EXPECT_EQ(print(openPrintWindow(), "opt10", "optc1", GetParam().text), "");
    EXPECT_FALSE(printWindowOpen());
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(count(jobs[0], "page"), GetParam().sheets);
    EXPECT_EQ(jobs[0].back(), "end");
}

INSTANTIATE_TEST_SUITE_P(Texts, CopiesBox,
                         testing::Values(CopiesRow{"three", "3", 3}, CopiesRow{"letters", "abc", 0},
                                         CopiesRow{"comma", "2,5", 2}, CopiesRow{"blanks", " 1 0", 10}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(PrintWindowTest, RefusalsSayWhyKeepTheWindowAndPrintNothing)
{
    PrintWindow& window = openPrintWindow();
    for (const QString& absurd : {QStringLiteral("1000"), QStringLiteral("1E400"), QStringLiteral("&HFFFF")}) {
        EXPECT_EQ(print(window, "opt10", "optc1", absurd), "Il numero di copie non può essere maggiore di 999. [OK]");
        EXPECT_TRUE(printWindowOpen());
    }
    EXPECT_TRUE(jobs.empty());

    // A printer that fails: said, with the PDF on offer, and the window waits for another try.
    failure = PrinterStatus::JobRefused;
    EXPECT_EQ(print(window, "opt10", "optc1", "2"),
              "La stampante non ha accettato il lavoro: non è stato stampato nulla. [OK] [Salva come PDF...]");
    EXPECT_TRUE(printWindowOpen());
    failure = PrinterStatus::Ready;
    EXPECT_EQ(print(window, "opt10", "optc1", "2"), "");
    EXPECT_EQ(count(jobs.back(), "page"), 2);
}

TEST_F(PrintWindowTest, WithTheCaseWindowClosedItReprintsTheLastSheetOrSaysThereIsNone)
{
    PrintWindow& first = openPrintWindow();
    click(windows.openCaseWindow(DivisionCase::I), "cmdfine");
    EXPECT_EQ(print(first, "opt10", "optc1").rfind("Non ci sono esercizi da stampare", 0), 0u);
    EXPECT_FALSE(printWindowOpen());
    EXPECT_TRUE(jobs.empty());

    print(openPrintWindow(DivisionCase::III), "opt20", "optc2");
    PrintWindow& third = openPrintWindow(DivisionCase::III);
    click(windows.openCaseWindow(DivisionCase::III), "cmdfine");
    EXPECT_EQ(print(third, "opt20", "optc2"), "");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[1], jobs[0]);
}

}  // namespace

}  // namespace ripartino
