#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>

#include <QIcon>
#include <QObject>
#include <QPointer>

#include "core/random_source.h"
#include "core/types.h"
#include "printing/print_service.h"
#include "windows/print_window.h"
#include "windows/worked_division_window.h"

namespace ripartino {

class CaseWindow;
class StartWindow;

// The program's seven windows, one of each. A window is made on first use and deletes
// itself when it closes, taking its controls and what they show with it; the next use makes
// it afresh, in its initial state, and its load handler runs again. What must outlive a
// close (the print window's memory) and the one random source live here instead.
class ProgramWindows : public QObject {
    Q_OBJECT
public:
    ProgramWindows(RandomSource& source, std::string decimalSeparator);
    ~ProgramWindows() override;
    ProgramWindows(const ProgramWindows&) = delete;
    ProgramWindows& operator=(const ProgramWindows&) = delete;

    // The window, opened if it is closed. None of these shows it.
    StartWindow& startWindow();
    CaseWindow& caseWindow(DivisionCase divisionCase);
    PrintWindow& printWindow();

    // The window while it is open, else null; asking never opens it.
    StartWindow* openStartWindow() const { return start_; }
    CaseWindow* openCaseWindow(DivisionCase divisionCase) const;
    PrintWindow* openPrintWindow() const { return print_; }
    WorkedDivisionWindow* openWorkedDivisionWindow() const { return worked_; }

    // The division of the exercise `line` worked out, in the one such window, above `over`;
    // false when the line is no division.
    bool showWorkedDivision(CaseWindow& over, const QString& line);
    void closeWorkedDivision();

    // The print window's icon. A print window not yet made gets it when it is made, so the
    // start window can hand its icon over without making one it may never show.
    void setPrintWindowIcon(const QIcon& icon);

    // The case window whose print mark is set; the highest case should two carry one.
    std::optional<MarkedCase> markedCase() const;

    RandomSource& randomSource() { return source_; }
    // Where the print window's jobs go from now on; by default the system's default printer.
    void setPrinterFactory(PrinterFactory makePrinter) { printService_.setPrinterFactory(std::move(makePrinter)); }
    PrintService& printService() { return printService_; }
    const std::string& decimalSeparator() const { return decimalSeparator_; }

protected:
    // Forgets a window as soon as it closes (it is deleted only later, from the event loop),
    // keeps the print window in front, brings back a minimised window, and the start window
    // when the print window closes last.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mainWindowVisible() const;
    template <typename Window> Window* adopt(Window* window);

    RandomSource& source_;
    const std::string decimalSeparator_;
    PrintService printService_;
    QIcon printWindowIcon_;
    QPointer<StartWindow> start_;
    std::array<QPointer<CaseWindow>, 5> cases_;
    QPointer<PrintWindow> print_;
    QPointer<WorkedDivisionWindow> worked_;
    bool workedWithProducts_ = false;  // its check box, kept for the run
};

// The decimal separator of the user's regional settings.
std::string systemDecimalSeparator();

}  // namespace ripartino
