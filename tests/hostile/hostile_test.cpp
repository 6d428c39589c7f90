// What a classroom does to a program: enormous and strange texts in the boxes, buttons
// pressed twice in a hurry, windows closed under the print window. Nothing may crash or
// hang, and whatever the program says, it says in Italian.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "support/recording_printer.h"
#include "support/windows_fixture.h"
#include "core/copies.h"
#include "printing/print_window.h"
#include "printing/worksheet/worksheet.h"

namespace ripartino {
namespace {

// The calls of every job, kept after the job has let go of its printer.
class LoggedPrinter : public RecordingPrinter {
public:
    explicit LoggedPrinter(std::vector<std::vector<std::string>>& jobs) : jobs_(jobs) {}
    ~LoggedPrinter() override { jobs_.push_back(calls); }

private:
    std::vector<std::vector<std::string>>& jobs_;
};

// A double click as the window system reports it: a click, then a press reported as a
// double click and its release. The second half reaches the button only if it is still there.
void doubleClick(QWidget* button)
{
    const QPointer<QWidget> target(button);
    QTest::mouseClick(button, Qt::LeftButton);
    if (target && target->isVisible()) {
        QTest::mouseDClick(button, Qt::LeftButton);
        QTest::mouseRelease(button, Qt::LeftButton);
    }
}

long pages(const std::vector<std::string>& calls)
{
    return std::count(calls.begin(), calls.end(), "page");
}

class HostileTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        windows.setPrinterFactory([this] { return std::make_unique<LoggedPrinter>(jobs); });
        // A message box runs its own loop: answer it from there, as the user would.
        answerer.setInterval(20);
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages << box->text();
                box->accept();
            }
        });
        answerer.start();
    }

    PrintWindow& printFrom(DivisionCase divisionCase)
    {
        CaseWindow* caseWindow = windows.openCaseWindow(divisionCase);
        if (!caseWindow)
            caseWindow = &openCase(divisionCase);
        click(caseWindow, "cmdinventa");
        click(caseWindow, "cmdstampa");
        PrintWindow* window = windows.openPrintWindow();
        EXPECT_TRUE(window && QTest::qWaitForWindowExposed(window));
        return *window;
    }

    static void paste(QLineEdit* field, const QString& text)
    {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    }

    bool printWindowOpen() const { return windows.openPrintWindow() && windows.openPrintWindow()->isVisible(); }

    std::vector<std::vector<std::string>> jobs;
    QStringList messages;
    QTimer answerer;
};

TEST_F(HostileTest, AMegabyteHeadingPrintsAsTheBoxHoldsIt)
{
    PrintWindow& window = printFrom(DivisionCase::IV);
    auto* heading = control<QLineEdit>(&window, "txtcom");
    paste(heading, QString(1 << 20, QChar('W')));
    // The box takes what it can; the sheet carries exactly what the box shows.
    ASSERT_FALSE(heading->text().isEmpty());
    const std::string printedHeading = "line \"  " + heading->text().toStdString() + "\"";
    click(&window, "opt40");
    click(&window, "optc2");
    click(&window, "cmdok");
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_FALSE(printWindowOpen());
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(std::count(jobs[0].begin(), jobs[0].end(), printedHeading), 1);
}

TEST_F(HostileTest, EveryCopiesTextOfTheFuzzCorpusPrintsItsSheetsOrIsRefusedInItalian)
{
    std::vector<std::filesystem::path> corpus;
    for (const auto& entry : std::filesystem::directory_iterator(RIPARTINO_COPIES_CORPUS))
        corpus.push_back(entry.path());
    ASSERT_FALSE(corpus.empty());
    for (const std::filesystem::path& path : corpus) {
        std::ifstream file(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        SCOPED_TRACE(path.filename().string());

        PrintWindow& window = printFrom(DivisionCase::I);
        auto* copies = control<QLineEdit>(&window, "txtcop");
        paste(copies, text);
        click(&window, "opt10");
        jobs.clear();
        messages.clear();
        click(&window, "cmdok");

        const double asked = numberPrefix(copies->text().toStdString());
        if (asked <= maximumCopies) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            EXPECT_FALSE(printWindowOpen());
            ASSERT_EQ(jobs.size(), 1u);
            EXPECT_EQ(pages(jobs[0]), asked >= 1 ? static_cast<long>(asked) : 0);
        } else {
            // Refused, said so, and the window waits for a sensible number.
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages[0].startsWith("Il numero di copie non può essere maggiore di 999"))
                << messages[0].toStdString();
            EXPECT_TRUE(printWindowOpen());
            EXPECT_TRUE(jobs.empty() || jobs[0].empty());
            click(&window, "cmdannulla");
        }
    }
}

TEST_F(HostileTest, DoubleClicksInventOnceAndPrintOnce)
{
    CaseWindow& caseWindow = openCase(DivisionCase::II);
    auto* inventa = control<QPushButton>(&caseWindow, "cmdinventa");
    for (int round = 0; round < 5; ++round) {
        doubleClick(inventa);
        EXPECT_EQ(listed(caseWindow).size(), 10);
    }
    click(&caseWindow, "cmdstampa");
    PrintWindow* window = windows.openPrintWindow();
    ASSERT_NE(window, nullptr);
    click(window, "opt20");
    // The first click prints and closes the window; the second finds no button to press.
    doubleClick(control<QPushButton>(window, "cmdok"));
    QApplication::processEvents();
    EXPECT_FALSE(printWindowOpen());
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(pages(jobs[0]), 1);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(HostileTest, OkAfterTheCaseWindowWasClosedUnderThePrintWindow)
{
    for (const bool earlierJob : {false, true}) {
        SCOPED_TRACE(earlierJob ? "after a job" : "before any job");
        if (earlierJob) {
            PrintWindow& first = printFrom(DivisionCase::V);
            click(&first, "opt10");
            click(&first, "cmdok");
        }
        jobs.clear();
        messages.clear();
        PrintWindow& window = printFrom(DivisionCase::V);
        // The close box of the case window, not "Fine": the start window stays away.
        windows.openCaseWindow(DivisionCase::V)->close();
        QApplication::processEvents();
        ASSERT_TRUE(printWindowOpen());
        click(&window, "opt10");
        doubleClick(control<QPushButton>(&window, "cmdok"));
        QApplication::processEvents();
        EXPECT_FALSE(printWindowOpen());
        if (earlierJob) {
            EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
            ASSERT_EQ(jobs.size(), 1u);
            EXPECT_EQ(pages(jobs[0]), 1);
        } else {
            ASSERT_EQ(messages.size(), 1);
            EXPECT_TRUE(messages[0].startsWith("Non ci sono esercizi da stampare")) << messages[0].toStdString();
        }
        // Back to a case window for the next round, as the user would: from the start window.
        windows.startWindow().show();
    }
}

}  // namespace
}  // namespace ripartino
