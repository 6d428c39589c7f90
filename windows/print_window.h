#pragma once

#include <optional>

#include <QString>

#include "ui/fixed_window.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ripartino {

class PrintService;
enum class PrintOutcome;

// The print window: collects the worksheet options and hands them to the print service,
// which keeps what must outlive the window and does the work.
class PrintWindow : public FixedWindow {
    Q_OBJECT
public:
    explicit PrintWindow(PrintService& service, QWidget* parent = nullptr);

private:
    void onOperationsClicked(int blocks);
    // "&OK" is usable once both the operations and the columns are chosen.
    void updateOkButton();
    void onOkClicked();
    void onCancelClicked();

    int columns() const;
    void selectCopies();
    void tellUser(const QString& message);
    // Keeps the windows painting, with a busy cursor and, past a moment, a progress
    // dialog whose "Annulla" stops the job, until the running job ends; says how it
    // ended, or nothing when the program is ending.
    std::optional<PrintOutcome> waitForTheJob(const QString& doing);
    void offerPdf(const QString& message);

    PrintService& service_;
    bool operationsChosen_ = false;  // in this opening; the blocks chosen are the service's

    QLineEdit* headingField_ = nullptr;
    QLineEdit* copiesField_ = nullptr;
    QRadioButton* oneColumnOption_ = nullptr;
    QRadioButton* twoColumnsOption_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace ripartino
