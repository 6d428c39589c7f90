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

// A case window: invents ten exercises of one case, shows them for copying and asks for a
// worksheet of them.
class CaseWindow : public FixedWindow {
    Q_OBJECT
public:
    CaseWindow(ProgramWindows& windows, DivisionCase divisionCase, QWidget* parent = nullptr);

    // The text of the hidden print mark box: the case digit once printing was asked for, else "".
    QString printMark() const;
    // The divisor size the option buttons stand at.
    DivisorDigits divisorDigits() const;

private:
    template <typename Field> Field* placeField(const char* name, const QString& says);
    QRadioButton* placeOption(const char* name);
    QPushButton* placeCaptionButton(const char* name);

    void onInventClicked();
    void onViewClicked();
    void onOkClicked();
    void onPrintClicked();
    void onBackClicked();
    void onExerciseActivated();

    ProgramWindows& windows_;
    const DivisionCase divisionCase_;
    QRadioButton* oneDigitOption_ = nullptr;
    QRadioButton* twoDigitsOption_ = nullptr;
    QRadioButton* mixedOption_ = nullptr;
    QListWidget* exerciseList_ = nullptr;
    QPlainTextEdit* copyView_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* viewButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QLineEdit* printMark_ = nullptr;
};

}  // namespace ripartino
