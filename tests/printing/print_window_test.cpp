#include <algorithm>
#include <functional>
#include <semaphore>

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "printing/qt_sheet_printer.h"
#include "support/desktop.h"
#include "support/dialog_answerer.h"
#include "support/pdf_reading.h"
#include "support/recording_printer.h"
#include "support/windows_fixture.h"

namespace ripartino {

namespace {

using Jobs = std::vector<std::vector<std::string>>;

// Writes every job it prints down in `jobs`, as the recording printer wrote it.
struct LoggedPrinter : RecordingPrinter {
    explicit LoggedPrinter(Jobs& jobs) : jobs(jobs) {}
    ~LoggedPrinter() override { jobs.push_back(calls); }
    Jobs& jobs;
};

// What a printer stuck in the print service shares with the test. The printer and a worker
// may outlive the test, so the state is theirs as much as the test's.
struct Gate {
    PrintOutcome failure = PrintOutcome::Done;  // the printer's once it lets go
    std::binary_semaphore open{0};
    std::atomic_bool handedOver = false;
    std::atomic_bool gone = false;
};

// Stuck in its first line until the gate opens.
struct StuckPrinter : RecordingPrinter {
    explicit StuckPrinter(std::shared_ptr<Gate> gate) : RecordingPrinter(gate->failure), gate(std::move(gate)) {}
    ~StuckPrinter() override { gate->gone = true; }
    void printLine(const PrintLine&) override { gate->open.acquire(), gate->open.release(); }
    void endDocument() override { gate->handedOver = true; }
    std::shared_ptr<Gate> gate;
};

class PrintWindowTest : public WindowsTest {
protected:
    void SetUp() override
    {
        WindowsTest::SetUp();
        windows.setPrinterFactory([this] { return std::make_unique<LoggedPrinter>(jobs); });
    }
    void TearDown() override
    {
        EXPECT_TRUE(hands.stuck.isEmpty()) << "a dialog stayed open: " << hands.stuck.toStdString();
    }

    bool printWindowOpen() const { return windows.openPrintWindow() && windows.openPrintWindow()->isVisible(); }

    Jobs jobs;
    DialogAnswerer hands;
    QString& answer = hands.answer;
    QString& message = hands.message;
};

// Every opening starts fresh, whatever the last one chose; "&OK" (here Alt+O) prints with the
// heading pasted, its line break and tab one blank each and other control characters gone,
// in the box as on paper, and closes the window. Then Esc, "&Annulla", the close box and an
// Alt+O cancelled before its delayed click print nothing.
TEST_F(PrintWindowTest, OpensFreshAndPrintsOnlyOnOkAfterAnOperationsChoice)
{
    const auto altO = [](PrintWindow& window) { QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier); };
    QGuiApplication::clipboard()->setText(" x\r\n\ty\x01\x07\x1b!");
    const std::pair<const char*, std::function<void(PrintWindow&)>> ways[] = {
        {"operations40Option", altO},
        {"operations10Option", [](PrintWindow& window) { QTest::keyClick(&window, Qt::Key_Escape); }},
        {"operations20Option", [](PrintWindow& window) { click(&window, "cancelButton"); }},
        {"operations30Option", [](PrintWindow& window) { window.close(); }},
        {"operations10Option", [&](PrintWindow& window) {
             // Alt+O clicks a moment later, unless Esc in between has closed the window for good.
             QSignalSpy clicked(control<QPushButton>(&window, "okButton"), &QPushButton::clicked);
             QSignalSpy gone(&window, &QObject::destroyed);
             altO(window);
             QTest::keyClick(&window, Qt::Key_Escape);
             EXPECT_TRUE(QTest::qWaitFor([&] { return clicked.count() + gone.count() > 0; }, waitLimit));
         }}};
    for (const auto& [operations, way] : ways) {
        PrintWindow& window = openPrintWindow();
        for (const char* name : {"operations10Option", "operations20Option", "operations30Option", "operations40Option",
                                 "oneColumnOption", "twoColumnsOption"})
            EXPECT_FALSE(control<QRadioButton>(&window, name)->isChecked()) << name;
        EXPECT_EQ(control<QLineEdit>(&window, "copiesField")->text(), "1");
        EXPECT_EQ(control<QLineEdit>(&window, "headingField")->text(), "Calcola le seguenti operazioni:");
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>(&window, "cancelButton"));

        click(&window, "twoColumnsOption");
        QTest::keyClick(control<QLineEdit>(&window, "headingField"), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(control<QLineEdit>(&window, "headingField")->text(), "Calcola le seguenti operazioni: x  y!");
        click(&window, operations);
        way(window);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !printWindowOpen(); }, waitLimit)) << operations;
    }
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(std::ranges::count(jobs[0], "line \"   7)\" >> \"8)\""), 1);
    EXPECT_EQ(std::ranges::count(jobs[0], "line \"  Calcola le seguenti operazioni: x  y!\""), 1);
}

struct OkRow {
    const char* name;
    const char* options;  // the options clicked, by name
    const char* copies;
    const char* says;  // what a disabled "&OK" says is missing, else the message pressing it raised
    long sheets;
};

class OkTest : public PrintWindowTest, public testing::WithParamInterface<OkRow> {};
void PrintTo(const OkRow& row, std::ostream* out) { *out << row.name; }

const char* const both = "operations10Option oneColumnOption";
const char* const noNumber = "Scrivere il numero di copie (da 1 a 999). [OK]";
const char* const tooMany = "Il numero di copie non può essere maggiore di 999. [OK]";
const char* const refused =
    "La stampante non ha accettato il lavoro: non è stato stampato nulla. [OK] [Salva come PDF...]";
const char* const tooSmall =
    "La carta della stampante predefinita è troppo piccola per questo foglio. [OK] [Salva come PDF...]";
INSTANTIATE_TEST_SUITE_P(
    Rows, OkTest,
    testing::Values(OkRow{"NothingChosen", "", "1",
                          "Scegliere il numero di operazioni per colonna e il numero di colonne.", 0},
                    OkRow{"OperationsOnly", "operations10Option", "1", "Scegliere il numero di colonne.", 0},
                    OkRow{"ColumnsOnly", "twoColumnsOption", "1", "Scegliere il numero di operazioni per colonna.", 0},
                    OkRow{"Words", both, "tre", noNumber, 0}, OkRow{"ArabicDigit", both, "٣", noNumber, 0},
                    OkRow{"Empty", both, "", noNumber, 0}, OkRow{"Zero", both, "0", noNumber, 0},
                    OkRow{"Half", both, "0.5", noNumber, 0}, OkRow{"Thousand", both, "1000", tooMany, 0},
                    OkRow{"Overflowing", both, "1E400", tooMany, 0}, OkRow{"HexTooMany", both, "&HFFFF", tooMany, 0},
                    OkRow{"DigitThenLetter", both, "2a", "", 2}, OkRow{"Hexadecimal", both, "&H10", "", 16},
                    OkRow{"PrinterRefuses", both, "1", refused, 0}, OkRow{"PaperTooSmall", both, "1", tooSmall, 0}),
    [](const auto& row) { return std::string(row.param.name); });

// "&OK" waits for both choices and says what is still missing. Copies that give no sheet, or
// too many, are said and leave the window open with the copies selected; the number at the
// start of the box counts. A job the printer refuses, or finds its paper too small for, in
// less than the progress dialog's show delay is said, and the dialog does not come up over
// the message.
TEST_P(OkTest, WaitsForBothChoicesAndANumberOfCopies)
{
    const OkRow& row = GetParam();
    PrintWindow& window = openPrintWindow();
    for (const QString& option : QString(row.options).split(' ', Qt::SkipEmptyParts))
        click(&window, qPrintable(option));
    auto* ok = control<QPushButton>(&window, "okButton");
    auto* copies = control<QLineEdit>(&window, "copiesField");
    copies->clear();
    copies->insert(QString::fromUtf8(row.copies));  // as typed; QTest types ASCII only
    EXPECT_EQ(ok->toolTip().toStdString(), ok->isEnabled() ? "" : row.says);
    if (!ok->isEnabled())
        return;
    const bool failing = row.says == refused || row.says == tooSmall;
    if (failing) {
        // The printer lets go after the progress dialog's first tick (100 ms), well within its
        // show delay (500 ms); the message that follows is read for longer than that delay.
        auto gate =
            std::make_shared<Gate>(row.says == refused ? PrintOutcome::JobRefused : PrintOutcome::PaperTooSmall);
        windows.setPrinterFactory([gate] { return std::make_unique<StuckPrinter>(gate); });
        QTimer::singleShot(300, &window, [gate] { gate->open.release(); });
        answer = "read";
    }
    click(&window, "okButton");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !windows.printService().running(); }, 60000));
    EXPECT_EQ(message.toStdString(), row.says);
    EXPECT_TRUE(QTest::qWaitFor([&] { return printWindowOpen() == (row.sheets == 0); }, waitLimit));
    EXPECT_TRUE(row.sheets > 0 || failing
                || (window.focusWidget() == copies && copies->selectedText() == copies->text()));
    EXPECT_EQ(jobs.empty() ? 0 : std::ranges::count(jobs[0], "line \"  Calcola le seguenti operazioni:\""), row.sheets);
}

// "Salva &PDF..." (its button or Alt+P) saves the very job "&OK" prints with the same choices,
// and sends nothing to the printer; Alt+S ticks "&Soluzioni", which ends the job with the
// solution sheet, and Alt+D "Copie &diverse", which gives each copy its code and ends the job
// with the key instead. The keys and the click are the window system's, on a desktop of its own.
TEST_F(PrintWindowTest, SalvaPdfSavesWhatOkPrints)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    const QTemporaryDir dir;
    int printers = 0;
    // "&OK" prints into the file the save dialog would have been told.
    windows.setPrinterFactory([&] { return ++printers, std::make_unique<QtSheetPrinter>(answer.mid(4)); });
    const std::pair<std::string, const char*> ways[] = {{"ok.pdf", "key alt+o"}, {"alt-p.pdf", "key alt+p"},
        {"button.pdf", nullptr}, {"different-ok.pdf", "key alt+o"}, {"different-alt-p.pdf", "key alt+p"}};
    for (const auto& [file, keys] : ways) {
        PrintWindow& window = openPrintWindow();
        click(&window, "operations20Option", "twoColumnsOption");
        auto* solutions = control<QCheckBox>(&window, "solutionsOption");
        auto* different = control<QCheckBox>(&window, "differentOption");
        EXPECT_TRUE(!different->isChecked() && different->toolTip() == "Ogni copia con esercizi diversi");
        const bool differing = file.starts_with("different");
        desktop::xdotool(differing ? "key alt+s alt+d" : "key alt+s");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return solutions->isChecked() && different->isChecked() == differing; }, waitLimit));
        control<QLineEdit>(&window, "copiesField")->setText("2");
        const QString path = dir.filePath(QString::fromStdString(file));
        answer = "pdf:" + path;
        message.clear();
        source.seed(7);
        keys ? desktop::xdotool(keys) : desktop::clickAt(control(&window, "savePdfButton"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !printWindowOpen() && !windows.printService().running(); }, 30000))
            << file;
        const QString saved = "Il PDF è stato salvato in: " + path + " [OK] [Apri il PDF]";
        EXPECT_EQ(message, file.ends_with("ok.pdf") ? "" : saved);
    }
    const QString printed = run("pdftotext", {dir.filePath("ok.pdf"), "-"});
    EXPECT_EQ(printed.count(u'\f'), 3);  // two copies and the solutions
    EXPECT_TRUE(printed.count("Soluzioni") == 1 && !printed.contains("Scheda"));
    EXPECT_EQ(run("pdftotext", {dir.filePath("alt-p.pdf"), "-"}), printed);
    EXPECT_EQ(run("pdftotext", {dir.filePath("button.pdf"), "-"}), printed);
    // Each copy's code on it and in the key, which follows on one page.
    const QString different = run("pdftotext", {dir.filePath("different-ok.pdf"), "-"});
    EXPECT_TRUE(different.count(u'\f') == 3 && different.count("Scheda 1") == 2 && different.count("Scheda 2") == 2);
    EXPECT_EQ(run("pdftotext", {dir.filePath("different-alt-p.pdf"), "-"}), different);
    EXPECT_EQ(printers, 2);
}

// "Salva PDF..." saves under the name typed, ".pdf" added unless it ends so (in any case),
// and asks before replacing the file of that name; a folder that takes no temporary file gets the file
// written over in place. A save that fails at its last step is said, and so is a missing
// viewer (offscreen, nothing opens a file). A bare name beginning with ':' goes, like any
// other, into the folder the dialog shows (the test's home).
TEST_F(PrintWindowTest, SalvaPdfSavesUnderTheNameSaidAndSaysWhatHappened)
{
    const QString ask = "%1 esiste già.\nVuoi sostituirlo? [&Sì] [&No]|";
    const QString saved = "Il PDF è stato salvato in: DIR/%1 [OK] [Apri il PDF]|";
    struct {
        const char* name;
        const char* typed;  // into the save dialog, in a folder of the test's ("|BUTTON": pressed in the next message)
        const char* savedAs;  // the file that then holds the sheets
        QString says;         // every message, each ended by '|', the folder written DIR, the file %1
        QString before;       // "old": an older file is there; "fixed": so, in a folder that takes no
                              // new file; "taken": an older file, its name taken by a folder while the job runs
    } const rows[] = {
        {"NameWithADot", "Divisioni 12.03|Apri il PDF", "Divisioni 12.03.pdf",
         saved + "Non c'è nessun programma per aprire il PDF. Il file è in: DIR/%1 [OK]|", ""},
        {"FolderTakesNoNewFile", "lezione", "lezione.pdf", ask + saved, "fixed"},
        {"NameTakenMeanwhile", "Lezione.PDF", "Lezione.PDF",
         ask + "Il PDF non è stato salvato: il file non si può scrivere (", "taken"},
        {"NameLikeAResource", ":Verifica", ":Verifica.pdf", ask + saved, "old"},
    };
    for (const auto& row : rows) {
        const QTemporaryDir made;
        const bool bare = row.typed[0] == ':';
        const QDir dir(bare ? QDir::homePath() : made.path());
        const QString file = dir.path() + '/' + row.savedAs;  // filePath() would keep ":Verifica.pdf" bare
        QFile old(file);
        EXPECT_TRUE(row.before.isEmpty() || (old.open(QIODevice::WriteOnly) && old.write("old") == 3 && old.flush()));
        run("chattr", {row.before == "fixed" ? "+i" : "-i", dir.path()});
        PrintWindow& window = openPrintWindow();
        click(&window, "operations40Option", "twoColumnsOption");
        // Enough copies that the job is still drawing when the name is taken, a second or so.
        control<QLineEdit>(&window, "copiesField")->setText(row.before == "taken" ? "300" : "2");
        answer = "pdf:" + (bare ? QString(row.typed) : dir.filePath(row.typed));
        hands.said.clear();
        click(&window, "savePdfButton");
        EXPECT_TRUE(row.before != "taken" || (QFile::remove(file) && QDir().mkdir(file)));
        const auto over = [&] { return !windows.printService().running() && !QApplication::activeModalWidget(); };
        // Generous: under the sanitizers, beside other tests, a long job took over 30 s.
        EXPECT_TRUE(QTest::qWaitFor([&] { return over() && !hands.said.isEmpty(); }, 120000)) << row.name;
        run("chattr", {"-i", dir.path()});
        const QString said = QString(hands.said.join('|') + '|').replace(dir.path(), "DIR");
        EXPECT_TRUE(said.startsWith(row.says.arg(row.savedAs))) << row.name << ": " << said.toStdString();
        EXPECT_TRUE(row.before == "taken" ? QFileInfo(file).isDir()
                                          : run("pdfinfo", {file}).contains(QRegularExpression("Pages: +2\n")))
            << row.name;
        EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + '/' + row.savedAs)) << row.name;
        QFile::remove(file);
    }
}

enum class Way { Click, Escape, AltA };
const char* const wayNames[] = {"Click", "Escape", "AltA"};
void PrintTo(Way way, std::ostream* out) { *out << wayNames[static_cast<int>(way)]; }

class CancelTest : public PrintWindowTest, public testing::WithParamInterface<Way> {};
INSTANTIATE_TEST_SUITE_P(Ways, CancelTest, testing::Values(Way::Click, Way::Escape, Way::AltA),
                         [](const auto& row) { return wayNames[static_cast<int>(row.param)]; });

// While a job runs the windows take no input; "Annulla" in the progress dialog (a click, Esc
// or Alt+A) ends a job whose printer is stuck at once, without waiting for the printer, and
// gives the windows back. Once the printer lets go, the job hands nothing over. The input
// is the window system's, on a desktop of its own.
TEST_P(CancelTest, AnnullaEndsAStuckJobAtOnce)
{
    if (!desktop::here())
        return desktop::runTheTestThere();
    auto gate = std::make_shared<Gate>();
    windows.setPrinterFactory([gate] { return std::make_unique<StuckPrinter>(gate); });
    PrintWindow& window = openPrintWindow();
    CaseWindow* caseWindow = windows.openCaseWindow(DivisionCase::I);
    click(&window, "operations40Option", "twoColumnsOption", "okButton");
    EXPECT_FALSE(caseWindow->isEnabled() || control(&window, "okButton")->isEnabled()
                 || control(&window, "cancelButton")->isEnabled());
    QPointer<QProgressDialog> progress;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            progress = window.findChild<QProgressDialog*>();
            return progress && progress->isVisible() && QApplication::activeWindow() == progress;
        },
        waitLimit));
    auto* annulla = progress->findChild<QPushButton*>();
    EXPECT_EQ(annulla->text(), "&Annulla");
    const QPoint at = annulla->mapToGlobal(annulla->rect().center());
    const QString xdotool[] = {QString("mousemove %1 %2 click 1").arg(at.x()).arg(at.y()), "key Escape", "key alt+a"};
    desktop::xdotool(xdotool[static_cast<int>(GetParam())]);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !progress || !progress->isVisible(); }, 5000));
    EXPECT_FALSE(gate->gone);  // still stuck
    EXPECT_TRUE(window.isVisible() && caseWindow->isEnabled() && control(&window, "okButton")->isEnabled()
                && !windows.printService().running());
    gate->open.release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return gate->gone.load(); }, waitLimit));
    EXPECT_FALSE(gate->handedOver);
}

}  // namespace

}  // namespace ripartino
