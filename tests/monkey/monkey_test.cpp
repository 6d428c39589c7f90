// A long random session: a seeded driver does what a user can do at each moment, thousands
// of times, and after every action checks what must always hold. When the program would end,
// it notes that and starts it again. The seed is printed; RIPARTINO_MONKEY_SEED replays it.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <set>

#include "core/copies.h"
#include "core/random_source.h"
#include "printing/print_window.h"
#include "printing/worksheet/sheet_printer.h"
#include "printing/worksheet/worksheet.h"
#include "windows/case_window.h"
#include "windows/program_windows.h"
#include "windows/start_window.h"

namespace ripartino {
namespace {

constexpr int defaultActions = 20000;
// An action that takes this long means the program hangs.
constexpr qint64 hangMilliseconds = 10000;

std::uint64_t chosenSeed()
{
    if (const QByteArray given = qgetenv("RIPARTINO_MONKEY_SEED"); !given.isEmpty())
        return given.toULongLong();
    return std::random_device{}();
}

int chosenActions()
{
    const int given = qEnvironmentVariableIntValue("RIPARTINO_MONKEY_ACTIONS");
    return given > 0 ? given : defaultActions;
}

// The copies texts the fuzzer starts from: the awkward ones someone thought of.
std::vector<QString> corpusTexts()
{
    std::vector<QString> texts;
    for (const auto& entry : std::filesystem::directory_iterator(RIPARTINO_COPIES_CORPUS)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        texts.push_back(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    return texts;
}

// What one exercise of each case looks like in a case window (" = " at the end) or on paper.
QString numberPattern(DivisionCase divisionCase, bool dividend, const QString& separator)
{
    const QString s = QRegularExpression::escape(separator);
    const QString decimals = "(" + s + "[0-9]{0,2}[1-9])?";
    const QString decimalDivisor = "(0" + s + "0?[1-9]|[2-8]" + s + "[1-9])";
    switch (divisionCase) {
    case DivisionCase::I:
        return dividend ? "[1-9][0-9]{0,3}" + decimals : "[1-9][0-9]?";
    case DivisionCase::II:
        return dividend ? "[1-9][0-9]?" + decimals : "[1-9][0-9]?";
    case DivisionCase::III:
        return dividend ? "[1-9][0-9]{1,3}" : decimalDivisor;
    case DivisionCase::IV:
        return dividend ? "[1-9][0-9]{0,2}" + decimals : decimalDivisor;
    case DivisionCase::V:
        return "[1-9][0-9]?";
    }
    return {};
}

QRegularExpression exercisePattern(DivisionCase divisionCase, const QString& separator, const QString& ending)
{
    return QRegularExpression("^" + numberPattern(divisionCase, true, separator) + " : "
                              + numberPattern(divisionCase, false, separator) + QRegularExpression::escape(ending)
                              + "$");
}

class Monkey;

// Keeps of each sheet what the monkey checks: its heading lines and its exercises, each
// without the blanks before it and the dots after it; hands itself to the monkey as the
// job ends.
class MonkeyPrinter : public SheetPrinter {
public:
    struct Sheet {
        std::vector<QString> headings;   // lines printed in the heading face
        std::vector<QString> exercises;  // items followed by the dotted answer space
    };

    explicit MonkeyPrinter(Monkey& monkey) : monkey_(monkey) {}

    void setFontName(const std::string& face) override { face_ = face; }
    void setFontSize(double) override {}
    void printLine(const PrintLine& items) override
    {
        if (pageWanted_ || sheets_.empty())
            sheets_.emplace_back();
        pageWanted_ = false;
        Sheet& sheet = sheets_.back();
        for (const PrintItem& item : items) {
            const QString text = QString::fromStdString(item.text);
            if (face_ == headingFace)
                sheet.headings.push_back(text);
            else if (text.endsWith(QLatin1String(answerSpace)))
                sheet.exercises.push_back(text.chopped(static_cast<qsizetype>(sizeof answerSpace) - 1).trimmed());
        }
    }
    void newPage() override { pageWanted_ = true; }
    void endDocument() override;
    PrinterStatus status() const override { return PrinterStatus::Ready; }

    int sheets() const { return static_cast<int>(sheets_.size()); }
    const std::vector<Sheet>& pages() const { return sheets_; }

private:
    static constexpr char headingFace[] = "Comic Sans MS";
    static constexpr char answerSpace[] = " ........";

    Monkey& monkey_;
    std::string face_;
    bool pageWanted_ = false;
    std::vector<Sheet> sheets_;
};

class Monkey {
public:
    Monkey(std::uint64_t seed, int actions) : seed_(seed), wanted_(actions), random_(seed) {}

    void run()
    {
        while (performed_ < wanted_ && !failed_)
            runSession();
    }

    int performed() const { return performed_; }
    int sessions() const { return sessions_; }
    int programEnds() const { return programEnds_; }
    int jobs() const { return jobs_; }
    int sheets() const { return sheets_; }
    qint64 slowestAction() const { return slowest_; }
    const std::map<QString, int>& counts() const { return counts_; }

private:
    // One run of the program, from the start window to its end.
    void runSession()
    {
        RandomSource source;
        ProgramWindows windows(source, systemDecimalSeparator());
        windows.setPrinterFactory([this] { return std::make_unique<MonkeyPrinter>(*this); });
        windows_ = &windows;
        tableCase_.reset();
        separator_ = QString::fromStdString(windows.decimalSeparator());
        stopping_ = false;
        windows.startWindow().show();
        QTimer::singleShot(0, [this, session = sessions_] { step(session); });
        QApplication::exec();
        if (!stopping_) {
            // The program ended by itself: by its exit button, or when its last window went.
            ++programEnds_;
            expect(visibleWindows().empty() || lastWindow_ == QLatin1String("frminizio"),
                   "the program ended while a window was still visible, without its exit button");
        }
        windows_ = nullptr;
        ++sessions_;
    }

    void stop(int code)
    {
        stopping_ = true;
        QApplication::exit(code);
    }

    // One action. A step still pending when its session ended is dropped.
    void step(int session)
    {
        if (session != sessions_)
            return;
        if (failed_ || performed_ >= wanted_) {
            stop(failed_ ? 1 : 0);
            return;
        }
        // Scheduled first: a modal message box runs its own loop inside the action, and the
        // user must be able to answer it.
        QTimer::singleShot(0, [this, session] { step(session); });
        const std::vector<QWidget*> windows = visibleWindows();
        if (windows.empty()) {
            // The last window went and the program is about to end: the loop returns soon.
            if (++idleSteps_ > 1000)
                fail("no window is visible, yet the program goes on");
            return;
        }
        idleSteps_ = 0;
        QElapsedTimer clock;
        clock.start();
        act(windows);
        ++performed_;
        slowest_ = std::max(slowest_, clock.elapsed());
        if (clock.elapsed() > hangMilliseconds)
            fail("one action took " + QString::number(clock.elapsed()) + " ms");
        if (windows_)
            checkInvariants();
    }

    static std::vector<QWidget*> visibleWindows()
    {
        if (QWidget* modal = QApplication::activeModalWidget())
            return {modal};
        std::vector<QWidget*> windows;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->isWindow())
                windows.push_back(widget);
        return windows;
    }

    template <typename T>
    T& pick(std::vector<T>& items)
    {
        return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(random_)];
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void note(const QString& action)
    {
        recent_.push_back(QString::number(performed_) + ": " + action);
        if (recent_.size() > 12)
            recent_.pop_front();
        ++counts_[action.section(' ', 0, 0)];
    }

    // The window gets the keyboard, as it would when the user clicked into it first.
    static void activate(QWidget* window)
    {
        if (QApplication::activeWindow() != window) {
            window->activateWindow();
            QApplication::setActiveWindow(window);
        }
    }

    static QWidget* keyTarget(QWidget* window)
    {
        QWidget* focus = window->focusWidget();
        return focus && focus->isVisible() ? focus : window;
    }

    void act(const std::vector<QWidget*>& windows)
    {
        // Mostly the window in front, where the user just was; now and then one behind it.
        QWidget* window = windows[static_cast<std::size_t>(below(static_cast<int>(windows.size())))];
        if (QWidget* active = QApplication::activeWindow();
            active && below(4) != 0 && std::find(windows.begin(), windows.end(), active) != windows.end())
            window = active;
        lastWindow_ = window->objectName();
        std::vector<QAbstractButton*> buttons;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (button->isVisible() && button->isEnabled())
                buttons.push_back(button);
        std::vector<QLineEdit*> fields;
        for (const char* name : {"txtcop", "txtcom"})
            if (auto* field = window->findChild<QLineEdit*>(QLatin1String(name)); field && field->isVisible() && field->isEnabled())
                fields.push_back(field);

        // Mostly clicks and typing; the keys and the close box that end windows less often,
        // so that sessions get deep enough to print.
        const int roll = below(100);
        if (roll < 80 && !fields.empty() && (roll >= 60 || buttons.empty()))
            type(window, pick(fields));
        else if (roll < 80 && !buttons.empty())
            clickButton(window, pick(buttons));
        else if (roll < 92)
            pressAccessKey(window);
        else if (roll < 97) {
            note("esc " + window->objectName());
            activate(window);
            QTest::keyClick(keyTarget(window), Qt::Key_Escape);
        } else {
            note("close " + window->objectName());
            window->close();
        }
    }

    void clickButton(QWidget* window, QAbstractButton* button)
    {
        note("click " + window->objectName() + "." + button->objectName() + " \"" + button->text() + "\"");
        QPoint where = button->rect().center();
        if (auto* option = qobject_cast<QRadioButton*>(button)) {
            // The middle of a wide option button can lie beside its caption, where a click misses.
            QStyleOptionButton style;
            style.initFrom(option);
            where = option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option).center();
        }
        // Now and then a double click, as children do: the second press, reported as a double
        // click, reaches the button only if the first left it there.
        const QPointer<QAbstractButton> target(button);
        QTest::mouseClick(button, Qt::LeftButton, {}, where);
        if (below(10) == 0 && target && target->isVisible() && target->isEnabled()) {
            QTest::mouseDClick(button, Qt::LeftButton, {}, where);
            QTest::mouseRelease(button, Qt::LeftButton, {}, where);
        }
    }

    void pressAccessKey(QWidget* window)
    {
        std::vector<QChar> keys;
        auto collect = [&keys](const QString& caption) {
            const qsizetype at = caption.indexOf('&');
            if (at >= 0 && at + 1 < caption.size() && caption[at + 1].isLetterOrNumber()
                && caption[at + 1].unicode() < 0x80)
                keys.push_back(caption[at + 1].toUpper());
        };
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            collect(button->text());
        for (QLabel* label : window->findChildren<QLabel*>())
            collect(label->text());
        for (QGroupBox* frame : window->findChildren<QGroupBox*>())
            collect(frame->title());
        // Mostly a key that means something, sometimes any letter.
        const QChar key = !keys.empty() && below(4) != 0 ? pick(keys) : QChar('A' + below(26));
        note("alt " + window->objectName() + " " + key);
        activate(window);
        QTest::keyClick(keyTarget(window), static_cast<Qt::Key>(key.unicode()), Qt::AltModifier);
    }

    QString randomText()
    {
        static const QString nonLatin[] = {
            QStringLiteral("тетрадь"), QStringLiteral("算术练习"), QStringLiteral("حساب ٣٤"),
            QStringLiteral("Ελληνικά"), QStringLiteral("😀✏️📏"), QStringLiteral("àèìòù ç ñ"),
            QStringLiteral("\u200F\u202Eabc"), QStringLiteral("१२३"),
        };
        switch (below(7)) {
        case 0:
            return {};
        case 1:
            return pick(corpus_);
        case 2: {
            QString digits;
            for (int n = below(8); n >= 0; --n)
                digits += QStringLiteral("0123456789.,+-eEdD&HhOo \t")[below(25)];
            return digits;
        }
        case 3:
            return nonLatin[below(int(std::size(nonLatin)))];
        case 4: {
            QString control;
            for (int n = below(6); n >= 0; --n)
                control += QChar(below(3) == 0 ? 0x7f : 1 + below(31));
            return control;
        }
        case 5: {
            QString plain;
            for (int n = below(30); n >= 0; --n)
                plain += QChar(' ' + below(95));
            return plain;
        }
        default:
            return QString(1000 + below(40000), QChar('A' + below(26)));
        }
    }

    // Key by key. Keys that testlib cannot name (non-Latin letters, control characters)
    // arrive as a key event carrying only their text, as an input method delivers them.
    static void typeKeys(QWidget* field, const QString& text)
    {
        for (const char32_t character : text.toUcs4()) {
            if (character >= 0x20 && character < 0x7f)
                QTest::keyClick(field, static_cast<char>(character));
            else
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString::fromUcs4(&character, 1),
                                    Qt::NoModifier);
        }
    }

    void type(QWidget* window, QLineEdit* field)
    {
        const QString text = randomText();
        note("type " + window->objectName() + "." + field->objectName() + " " + QString::number(text.size())
             + " chars");
        activate(window);
        field->setFocus();
        if (below(2) == 0)
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Delete);
        } else if (text.size() <= 40 && below(2) == 0) {
            typeKeys(field, text);
        } else {
            QApplication::clipboard()->setText(text);
            QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        }
    }

    void fail(const QString& what)
    {
        if (failed_)
            return;
        failed_ = true;
        ADD_FAILURE() << what.toStdString() << "\nseed " << seed_ << ", action " << performed_
                      << "; the last actions:\n" << recent_.join('\n').toStdString();
        stop(1);
    }

    void expect(bool holds, const QString& what)
    {
        if (!holds)
            fail(what);
    }

    void checkInvariants();
    void checkCaseWindow(const CaseWindow& window);
    void trackPrintWindow();

public:
    // Called by the printer as the job ends: the sheets it received against what was asked.
    void checkJob(const MonkeyPrinter& printer);

private:

    const std::uint64_t seed_;
    const int wanted_;
    std::mt19937_64 random_;
    std::vector<QString> corpus_ = corpusTexts();
    ProgramWindows* windows_ = nullptr;
    QString separator_;
    bool stopping_ = false;  // the monkey, not the program, ends the event loop
    int programEnds_ = 0;
    QString lastWindow_;     // the window of the last action
    bool failed_ = false;
    int performed_ = 0;
    int sessions_ = 0;
    int jobs_ = 0;
    int sheets_ = 0;
    int idleSteps_ = 0;
    qint64 slowest_ = 0;
    QStringList recent_;
    std::map<QString, int> counts_;
    // The last print window seen, until it is deleted, and whether an operations option was
    // clicked in its current opening.
    QPointer<QWidget> printWindow_;
    bool operationsChosen_ = false;
    std::optional<DivisionCase> tableCase_;  // whose exercises the print window's table holds
};


void Monkey::checkInvariants()
{
    int visibleCases = 0;
    int openCases = 0;
    for (const DivisionCase divisionCase : allCases) {
        const CaseWindow* window = windows_->openCaseWindow(divisionCase);
        if (!window)
            continue;
        ++openCases;
        visibleCases += window->isVisible();
        checkCaseWindow(*window);
    }
    expect(openCases <= 1, QString::number(openCases) + " case windows are open");
    const StartWindow* start = windows_->openStartWindow();
    expect(!(start && start->isVisible() && visibleCases > 0), "the start window and a case window are both visible");

    int printWindows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets())
        printWindows += widget->objectName() == QLatin1String("frmstampa") && widget->isVisible();
    expect(printWindows <= 1, QString::number(printWindows) + " print windows are visible");
    trackPrintWindow();
}

void Monkey::checkCaseWindow(const CaseWindow& window)
{
    const QString digit = QString::number(static_cast<int>(window.divisionCase()));
    const QString name = window.objectName();
    expect(window.printMark().isEmpty() || window.printMark() == digit,
           name + " carries the print mark \"" + window.printMark() + "\"");

    const auto* list = window.findChild<QListWidget*>(QStringLiteral("list"));
    const auto* txtris = window.findChild<QPlainTextEdit*>(QStringLiteral("txtris"));
    expect(list && txtris, name + " has lost its list or its text box");
    if (!list || !txtris)
        return;
    expect(list->count() == 0 || list->count() == 10, name + " lists " + QString::number(list->count()) + " exercises");
    const QRegularExpression pattern = exercisePattern(window.divisionCase(), separator_, " = ");
    QString joined;
    for (int row = 0; row < list->count(); ++row) {
        const QString line = list->item(row)->text();
        expect(pattern.match(line).hasMatch(), name + " lists \"" + line + "\", not an exercise of its case");
        joined += line;
    }
    expect(txtris->toPlainText() == joined, name + ": the copy text is not the list joined in order");
}

void Monkey::trackPrintWindow()
{
    QWidget* window = windows_->openPrintWindow();
    if (window && !window->property("monkeyOpening").toBool()) {
        // A new opening: no operations option has been clicked in it yet.
        window->setProperty("monkeyOpening", true);
        operationsChosen_ = false;
        for (const char* name : {"opt10", "opt20", "opt30", "opt40"})
            if (auto* option = window->findChild<QAbstractButton*>(QLatin1String(name)))
                QObject::connect(option, &QAbstractButton::clicked, window, [this] { operationsChosen_ = true; });
    }
    if (!window)
        return;
    printWindow_ = window;
    const auto* ok = window->findChild<QAbstractButton*>(QStringLiteral("cmdok"));
    expect(ok != nullptr, "the print window has no \"&OK\"");
    if (ok)
        expect(!ok->isEnabled() || operationsChosen_, "\"&OK\" is usable before an operations option was clicked");
}

void Monkey::checkJob(const MonkeyPrinter& printer)
{
    ++jobs_;
    QWidget* window = windows_->openPrintWindow();
    expect(window != nullptr, "a job ran without an open print window");
    if (!window)
        return;
    const auto text = [window](const char* name) {
        const auto* field = window->findChild<QLineEdit*>(QLatin1String(name));
        return field ? field->text() : QString();
    };
    const auto checked = [window](const char* name) {
        const auto* option = window->findChild<QAbstractButton*>(QLatin1String(name));
        return option && option->isChecked();
    };
    const double copies = numberPrefix(text("txtcop").toStdString());
    const int columns = checked("optc2") ? 2 : checked("optc1") ? 1 : 0;
    int blocks = 0;
    for (int b = 1; b <= 4; ++b)
        if (checked(QByteArray("opt" + QByteArray::number(10 * b)).constData()))
            blocks = b;

    // The marked case window decides; with none, the table keeps the last job's exercises.
    const std::optional<DivisionCase> previousCase = tableCase_;
    for (const DivisionCase divisionCase : allCases)
        if (const CaseWindow* caseWindow = windows_->openCaseWindow(divisionCase);
            caseWindow && caseWindow->printMark() == QString::number(static_cast<int>(divisionCase)))
            tableCase_ = divisionCase;

    // Past the most the window lets through, the job is refused before anything is invented.
    const bool refused = !(copies <= maximumCopies);
    if (refused)
        tableCase_ = previousCase;
    const int expectedSheets = !refused && copies >= 1 ? static_cast<int>(std::floor(copies)) : 0;
    expect(printer.sheets() == expectedSheets, "copies \"" + text("txtcop") + "\" printed "
               + QString::number(printer.sheets()) + " sheets, not " + QString::number(expectedSheets));
    sheets_ += printer.sheets();

    const QString heading = "  " + text("txtcom");
    const QRegularExpression exercise = tableCase_
        ? exercisePattern(*tableCase_, separator_, " =")
        : QRegularExpression(QStringLiteral("^$"));
    for (const MonkeyPrinter::Sheet& sheet : printer.pages()) {
        expect(sheet.headings.size() == 1 && sheet.headings.front() == heading, "a sheet lacks the heading \""
                   + heading.left(40) + "\"");
        expect(sheet.exercises.size() == static_cast<std::size_t>(10 * blocks * columns),
               "a sheet carries " + QString::number(sheet.exercises.size()) + " exercises for " + QString::number(columns)
                   + " columns of " + QString::number(10 * blocks));
        for (const QString& line : sheet.exercises)
            expect(exercise.match(line).hasMatch(), "printed \"" + line + "\", not an exercise of the marked case");
    }
}

void MonkeyPrinter::endDocument()
{
    monkey_.checkJob(*this);
}

TEST(Monkey, ThousandsOfRandomUserActionsKeepEveryRule)
{
    const std::uint64_t seed = chosenSeed();
    std::printf("monkey seed %llu (RIPARTINO_MONKEY_SEED=%llu replays it)\n",
                static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    Monkey monkey(seed, chosenActions());
    monkey.run();
    std::printf("%d actions in %d sessions (%d program ends), %d print jobs, %d sheets; slowest action %lld ms\n",
                monkey.performed(), monkey.sessions(), monkey.programEnds(), monkey.jobs(), monkey.sheets(),
                static_cast<long long>(monkey.slowestAction()));
    for (const auto& [kind, count] : monkey.counts())
        std::printf("  %-6s %d\n", qPrintable(kind), count);
    EXPECT_GE(monkey.performed(), chosenActions());
}

}  // namespace
}  // namespace ripartino
