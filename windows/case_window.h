#pragma once

#include "core/types.h"
#include "ui/fixed_window.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace ripartino {

class ProgramWindows;

// frm1caso ... frm5caso: invents ten exercises of one case, shows them for copying and
// asks for a worksheet of them.
class CaseWindow : public FixedWindow {
    Q_OBJECT
public:
    CaseWindow(ProgramWindows& windows, DivisionCase divisionCase, QWidget* parent = nullptr);

    DivisionCase divisionCase() const { return divisionCase_; }
    // The text of the hidden box `txt`: the case digit once printing was asked for, else "".
    QString printMark() const;
    // The divisor size the option buttons stand at.
    DivisorDigits divisorDigits() const;

private:
    template <typename Field> Field* placeField(const char* name, const QString& says);
    QRadioButton* placeOption(const char* name);
    QPushButton* placeCaptionButton(const char* name);

    void onInventaClicked();
    void onVediClicked();
    void onOkClicked();
    void onStampaClicked();
    void onFineClicked();

    ProgramWindows& windows_;
    const DivisionCase divisionCase_;
    QRadioButton* opt1_ = nullptr;
    QRadioButton* opt2_ = nullptr;
    QRadioButton* optrnd_ = nullptr;
    QListWidget* list_ = nullptr;
    QPlainTextEdit* txtris_ = nullptr;
    QPushButton* cmdok_ = nullptr;
    QPushButton* cmdvedi_ = nullptr;
    QPushButton* cmdstampa_ = nullptr;
    QLineEdit* txt_ = nullptr;
};

}  // namespace ripartino
