#pragma once

#include <optional>
#include <vector>

#include <QPointer>
#include <QString>

#include "printing/worksheet.h"
#include "ui/fixed_window.h"

class QCheckBox;
class QLineEdit;
class QProgressDialog;
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
    // Closed, or the program ending, while a job runs: the job ends with the window.
    ~PrintWindow() override;

private:
    void onOperationsClicked(int blocks);
    // "&OK" is usable once both the operations and the columns are chosen.
    void updateOkButton();
    void onOkClicked();
    void onCancelClicked();
    void onSavePdfClicked();
    // The options of a job to start, as the window holds them; none while the window is
    // hidden or a job runs, and none (said why) when the copies box holds no number of copies.
    std::optional<WorksheetOptions> optionsForJob();
    // The PDF file the user chooses in the save dialog, proposed by case; empty if none.
    QString askPdfFile(std::optional<DivisionCase> sheetCase);
    // Both say whether the window is still there afterwards.
    bool sayWhereThePdfWent(const QString& fileName);

    int columns() const;
    void selectCopies();
    bool tellUser(const QString& message);
    enum class Job { None, Printing, Saving, SavingOnDemand };
    // While a job runs: a busy cursor, the other windows and this one's controls disabled,
    // and past a moment a modal progress dialog whose "Annulla" ends the job at once.
    void startWaiting(Job job, const QString& doing);
    void stopWaiting();
    void onJobFinished(PrintOutcome outcome);
    // What a job ended in, said to the user; the window closes after a job done.
    void showOutcome(PrintOutcome outcome);
    void showSaveOutcome(PrintOutcome outcome);
    void offerPdf(const QString& message);

    PrintService& service_;
    bool operationsChosen_ = false;  // in this opening; the blocks chosen are the service's

    QLineEdit* headingField_ = nullptr;
    QLineEdit* copiesField_ = nullptr;
    QRadioButton* oneColumnOption_ = nullptr;
    QRadioButton* twoColumnsOption_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QCheckBox* solutionsOption_ = nullptr;
    QCheckBox* differentOption_ = nullptr;
    QPushButton* savePdfButton_ = nullptr;

    Job job_ = Job::None;
    QString savingTo_;  // the file "Salva PDF..." is writing
    QPointer<QProgressDialog> progress_;
    std::vector<QPointer<QWidget>> disabled_;  // by the running job, to enable again after it
};

}  // namespace ripartino
