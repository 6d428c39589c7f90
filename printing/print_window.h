#pragma once

#include <array>
#include <functional>

#include <QWidget>

#include "core/random_source.h"
#include "printing/case_window_state.h"

namespace ripartino {

// What the print window keeps while it is closed; it belongs to the window's owner and
// lives as long as the program.
struct PrintWindowMemory {
    int blocks = 1;  // blocks of ten operations per column
};

// The five case windows as the print job sees them, in case order I to V.
using CaseWindowStates = std::array<CaseWindowState, 5>;
using CaseWindowReader = std::function<CaseWindowStates()>;

// frmstampa: the worksheet options and the print job.
class PrintWindow : public QWidget {
    Q_OBJECT
public:
    PrintWindow(PrintWindowMemory& memory, CaseWindowReader readCaseWindows, RandomSource& source,
                QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onLoad();

    PrintWindowMemory& memory_;
    CaseWindowReader readCaseWindows_;
    RandomSource& source_;
    bool loaded_ = false;
};

}  // namespace ripartino
