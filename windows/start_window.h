#pragma once

#include <QWidget>

#include "core/types.h"

class QPushButton;

namespace ripartino {

class ProgramWindows;

// frminizio: the program's first window and its hub. Opens the case windows and ends
// the program.
class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(ProgramWindows& windows, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onLoad();
    void onCaseClicked(DivisionCase divisionCase);
    void onEsciClicked();

    ProgramWindows& windows_;
    QPushButton* cmdesci_ = nullptr;
    bool loaded_ = false;
};

}  // namespace ripartino
