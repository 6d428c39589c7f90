#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QWidget>

#include "core/random_source.h"
#include "printing/case_window_state.h"
#include "printing/worksheet/sheet_printer.h"
#include "printing/worksheet/worksheet.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ripartino {

// What the print window keeps while it is closed; it belongs to the window's owner and
// lives as long as the program.
struct PrintWindowMemory {
    int blocks = 1;  // blocks of ten operations per column
    WorksheetTable table;
};

using CaseWindowReader = std::function<CaseWindowStates()>;
// Where a job prints; unset or giving null, on the system's default printer.
using PrinterFactory = std::function<std::unique_ptr<SheetPrinter>()>;

// frmstampa: the worksheet options and the print job.
class PrintWindow : public QWidget {
    Q_OBJECT
public:
    PrintWindow(PrintWindowMemory& memory, CaseWindowReader readCaseWindows, RandomSource& source,
                std::string decimalSeparator, PrinterFactory makePrinter = {}, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onLoad();
    void onOperationsClicked(int blocks);
    void onOkClicked();
    void onAnnullaClicked();

    int columns() const;
    void tellUser(const QString& message);

    PrintWindowMemory& memory_;
    CaseWindowReader readCaseWindows_;
    RandomSource& source_;
    const std::string decimalSeparator_;
    PrinterFactory makePrinter_;
    bool loaded_ = false;

    QLineEdit* txtcom_ = nullptr;
    QLineEdit* txtcop_ = nullptr;
    QRadioButton* optc1_ = nullptr;
    QRadioButton* optc2_ = nullptr;
    QPushButton* cmdok_ = nullptr;
    QPushButton* cmdannulla_ = nullptr;
};

}  // namespace ripartino
