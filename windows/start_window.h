#pragma once

#include "core/types.h"
#include "ui/fixed_window.h"

class QPushButton;

namespace ripartino {

class ProgramWindows;

// The start window: the program's first window and its hub. Opens the case windows and
// ends the program.
class StartWindow : public FixedWindow {
    Q_OBJECT
public:
    explicit StartWindow(ProgramWindows& windows, QWidget* parent = nullptr);

protected:
    void onLoad() override;

private:
    void placeCase(const char* button, const char* label, const QColor& colour, DivisionCase divisionCase);
    void onCaseClicked(DivisionCase divisionCase);
    void onExitClicked();

    ProgramWindows& windows_;
};

}  // namespace ripartino
