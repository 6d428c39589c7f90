#include "windows/print_window.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QUrl>
#include <QValidator>

#include "core/copies.h"
#include "printing/print_service.h"
#include "ui/fixed_window.h"

namespace ripartino {

namespace {

const QString caption = QStringLiteral("Stampa");

const WindowLayout printLayout{"printWindow",
                               "Stampa",
                               FrameKind::Single,
                               {4110, 4020},
                               {{"headingGroup", {120, 120, 3855, 975}, "Comando"},
                                {"headingField", {120, 480, 3615, 375}, defaultHeading, "headingGroup"},
                                {"operationsGroup", {120, 1200, 2535, 855}, "N° operazioni per colonna"},
                                {"operations10Option", {120, 480, 495, 255}, "10", "operationsGroup"},
                                {"operations20Option", {720, 480, 495, 255}, "20", "operationsGroup"},
                                {"operations30Option", {1320, 480, 495, 255}, "30", "operationsGroup"},
                                {"operations40Option", {1920, 480, 495, 255}, "40", "operationsGroup"},
                                {"columnsGroup", {2760, 1200, 1215, 855}, "N° colonne"},
                                {"oneColumnOption", {120, 480, 495, 255}, "1", "columnsGroup"},
                                {"twoColumnsOption", {600, 480, 495, 255}, "2", "columnsGroup"},
                                {"copiesGroup", {120, 2160, 2535, 975}, "N° copie"},
                                {"copiesField", {120, 480, 2145, 375}, "1", "copiesGroup"},
                                {"okButton", {2760, 2280, 1215, 375}, "&OK"},
                                {"cancelButton", {2760, 2760, 1215, 375}, "&Annulla"},
                                {"solutionsOption", {240, 3300, 2415, 255}, "&Soluzioni"},
                                {"savePdfButton", {2760, 3240, 1215, 375}, "Salva &PDF..."},
                                {"differentOption", {240, 3600, 2415, 255}, "Copie &diverse"}},
                               {"okButton", "cancelButton", "headingField", "copiesField", "headingGroup",
                                "copiesGroup", "operationsGroup", "operations10Option", "operations20Option",
                                "operations30Option", "operations40Option", "columnsGroup", "oneColumnOption",
                                "twoColumnsOption", "savePdfButton", "solutionsOption", "differentOption"}};

// The operations-per-column options and the blocks of ten each asks for.
constexpr std::pair<const char*, int> operationsOptions[] = {
    {"operations10Option", 1}, {"operations20Option", 2}, {"operations30Option", 3}, {"operations40Option", 4}};

// What the heading box takes: a line break or tab pasted in becomes one blank, another
// control character goes, so that the box shows what the paper will carry.
class HeadingText : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& text, int& cursor) const override
    {
        QString clean;
        int at = -1;  // the cursor in the clean text
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (i == cursor)
                at = static_cast<int>(clean.size());
            const QChar c = text[i];
            const bool lineBreak = c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' || c == QChar(0x85)
                || c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                continue;  // one break
            if (lineBreak || c == u'\t')
                clean += u' ';
            else if (c.category() != QChar::Other_Control)
                clean += c;
        }
        cursor = at < 0 ? static_cast<int>(clean.size()) : at;
        text = clean;
        return Acceptable;
    }
};

// Runs a dialog made with the print window as its parent. The window may be gone when the
// dialog returns (the program can end meanwhile), and the dialog with it: then the answer
// is none, and nothing of the window may be touched.
template <typename Dialog> bool runDialog(const QPointer<Dialog>& dialog)
{
    dialog->exec();
    return !dialog.isNull();
}

}  // namespace

PrintWindow::PrintWindow(PrintService& service, QWidget* parent) : FixedWindow(printLayout, parent), service_(service)
{
    place<QGroupBox>("headingGroup");
    headingField_ = place<QLineEdit>("headingField");
    headingField_->setAccessibleName(QStringLiteral("Comando"));  // a screen reader names a field by its frame
    headingField_->setValidator(new HeadingText(headingField_));

    place<QGroupBox>("operationsGroup");
    for (const auto& [name, blocks] : operationsOptions) {
        auto* choice = place<QRadioButton>(name);
        connect(choice, &QRadioButton::clicked, this, [this, blocks = blocks] { onOperationsClicked(blocks); });
    }

    place<QGroupBox>("columnsGroup");
    oneColumnOption_ = place<QRadioButton>("oneColumnOption");
    twoColumnsOption_ = place<QRadioButton>("twoColumnsOption");
    for (QRadioButton* choice : {oneColumnOption_, twoColumnsOption_})
        connect(choice, &QRadioButton::toggled, this, &PrintWindow::updateOkButton);

    place<QGroupBox>("copiesGroup");
    copiesField_ = place<QLineEdit>("copiesField");
    copiesField_->setAccessibleName(QStringLiteral("N° copie"));

    okButton_ = place<QPushButton>("okButton");
    okButton_->setAutoDefault(false);
    updateOkButton();
    connect(okButton_, &QPushButton::clicked, this, &PrintWindow::onOkClicked);

    cancelButton_ = place<QPushButton>("cancelButton");
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &PrintWindow::onCancelClicked);
    setCancelButton(*cancelButton_);

    solutionsOption_ = place<QCheckBox>("solutionsOption");
    differentOption_ = place<QCheckBox>("differentOption");
    differentOption_->setToolTip(QStringLiteral("Ogni copia con esercizi diversi"));
    savePdfButton_ = place<QPushButton>("savePdfButton");
    savePdfButton_->setAutoDefault(false);
    connect(savePdfButton_, &QPushButton::clicked, this, &PrintWindow::onSavePdfClicked);
    updateOkButton();

    finishLayout();
    connect(&service_, &PrintService::finished, this, &PrintWindow::onJobFinished);
}

PrintWindow::~PrintWindow()
{
    if (job_ == Job::None)
        return;
    job_ = Job::None;
    stopWaiting();
    service_.cancel();
}

void PrintWindow::onOperationsClicked(int blocks)
{
    service_.blocks = blocks;
    operationsChosen_ = true;
    updateOkButton();
}

void PrintWindow::updateOkButton()
{
    // A sheet needs both choices; until then the button says which one is still to make.
    const bool columnsChosen = columns() != 0;
    okButton_->setEnabled(operationsChosen_ && columnsChosen);
    if (savePdfButton_)
        savePdfButton_->setEnabled(okButton_->isEnabled());
    QString missing;
    if (!operationsChosen_ && !columnsChosen)
        missing = QStringLiteral("Scegliere il numero di operazioni per colonna e il numero di colonne.");
    else if (!operationsChosen_)
        missing = QStringLiteral("Scegliere il numero di operazioni per colonna.");
    else if (!columnsChosen)
        missing = QStringLiteral("Scegliere il numero di colonne.");
    for (QPushButton* button : {okButton_, savePdfButton_}) {
        if (button) {
            button->setToolTip(missing);
            button->setAccessibleDescription(missing);
        }
    }
}

int PrintWindow::columns() const
{
    if (oneColumnOption_->isChecked())
        return 1;
    if (twoColumnsOption_->isChecked())
        return 2;
    return 0;
}

void PrintWindow::onOkClicked()
{
    const std::optional<WorksheetOptions> options = optionsForJob();
    if (!options)
        return;
    if (const std::optional<PrintOutcome> refused = service_.print(*options))
        showOutcome(*refused);
    else
        startWaiting(Job::Printing, QStringLiteral("Stampa in corso..."));
}

void PrintWindow::onSavePdfClicked()
{
    const std::optional<WorksheetOptions> options = optionsForJob();
    if (!options)
        return;
    const QString fileName = askPdfFile(service_.nextSheetCase());
    if (fileName.isEmpty())
        return;
    if (const std::optional<PrintOutcome> refused = service_.saveAsPdf(*options, fileName)) {
        showOutcome(*refused);
        return;
    }
    savingTo_ = fileName;
    startWaiting(Job::SavingOnDemand, QStringLiteral("Salvataggio del PDF..."));
}

std::optional<WorksheetOptions> PrintWindow::optionsForJob()
{
    // An access key clicks a moment after it is pressed: a window cancelled in between
    // (Esc, "&Annulla", the close box) starts nothing.
    if (!isVisible() || service_.running())
        return std::nullopt;
    const double copies = numberPrefix(copiesField_->text().toStdString());
    if (copies < 1) {  // no sheet at all: the box holds no number the user meant
        if (tellUser(QStringLiteral("Scrivere il numero di copie (da 1 a %1).").arg(maximumCopies)))
            selectCopies();
        return std::nullopt;
    }
    return WorksheetOptions{columns(), service_.blocks, copies, headingField_->text().toStdString(),
                            solutionsOption_->isChecked(), differentOption_->isChecked()};
}

void PrintWindow::showOutcome(PrintOutcome outcome)
{
    switch (outcome) {
    case PrintOutcome::Done:
        close();
        break;
    case PrintOutcome::Paused:
        if (tellUser(QStringLiteral("La stampante predefinita è in pausa: i fogli usciranno quando verrà riattivata.")))
            close();
        break;
    case PrintOutcome::Cancelled:
        break;
    case PrintOutcome::NothingToPrint:
        if (tellUser(QStringLiteral("Non ci sono esercizi da stampare: premere \"Inventa !\" in una finestra "
                                    "dei casi e poi il pulsante di stampa.")))
            close();
        break;
    case PrintOutcome::TooManyCopies:
        if (tellUser(QStringLiteral("Il numero di copie non può essere maggiore di %1.").arg(maximumCopies)))
            selectCopies();
        break;
    case PrintOutcome::NoDefaultPrinter:
        offerPdf(QStringLiteral("Non è installata nessuna stampante predefinita: non è stato stampato nulla."));
        break;
    case PrintOutcome::ServiceNotRunning:
        offerPdf(QStringLiteral("Il servizio di stampa non è in funzione: non è stato stampato nulla."));
        break;
    case PrintOutcome::ServiceNotAnswering:
        offerPdf(QStringLiteral("Il servizio di stampa non risponde: non è stato stampato nulla."));
        break;
    case PrintOutcome::JobRefused:
        offerPdf(QStringLiteral("La stampante non ha accettato il lavoro: non è stato stampato nulla."));
        break;
    case PrintOutcome::NotWritten:
        offerPdf(QStringLiteral(
            "Spazio su disco esaurito o cartella temporanea non scrivibile: non è stato stampato nulla."));
        break;
    case PrintOutcome::PaperTooSmall:
        offerPdf(QStringLiteral("La carta della stampante predefinita è troppo piccola per questo foglio."));
        break;
    }
}

void PrintWindow::showSaveOutcome(PrintOutcome outcome)
{
    if (outcome == PrintOutcome::NotWritten)
        offerPdf(QStringLiteral("Spazio su disco esaurito: il PDF non è stato salvato."));
    else if (outcome == PrintOutcome::JobRefused)
        offerPdf(QStringLiteral("Il PDF non è stato salvato: il file non si può scrivere (%1).")
                     .arg(service_.failureReason()));
    else  // saved, cancelled, or refused before the save began: as for a print job
        showOutcome(outcome);
}

void PrintWindow::startWaiting(Job job, const QString& doing)
{
    job_ = job;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    // What the job read cannot change under it, nor another job start: the windows take no
    // input until it ends. Each window keeps its own input; nothing filters the program's.
    std::vector<QWidget*> held;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            held.push_back(window);
    }
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!control->isWindow())
            held.push_back(control);
    }
    for (QWidget* widget : held) {
        if (widget->isEnabled()) {
            widget->setEnabled(false);
            disabled_.emplace_back(widget);
        }
    }

    progress_ = new QProgressDialog(doing, QStringLiteral("&Annulla"), 0, std::max(service_.sheets(), 1), this);
    progress_->setWindowTitle(caption);
    progress_->setWindowModality(Qt::ApplicationModal);
    progress_->setAutoReset(false);
    progress_->setAutoClose(false);
    progress_->setMinimumDuration(500);
    connect(progress_, &QProgressDialog::canceled, &service_, &PrintService::cancel);
    auto* ticker = new QTimer(progress_);
    connect(ticker, &QTimer::timeout, progress_, [this] {
        if (job_ != Job::None)  // a value set after the job shows the dialog again
            progress_->setValue(service_.sheetsDone());
    });
    ticker->start(100);
}

void PrintWindow::stopWaiting()
{
    if (progress_) {
        progress_->reset();  // else its delay, still running after a quick job, shows it over what follows
        progress_->hide();
        progress_->deleteLater();  // it may be in the middle of saying it was cancelled
    }
    for (const QPointer<QWidget>& widget : std::exchange(disabled_, {})) {
        if (widget)
            widget->setEnabled(true);
    }
    QApplication::restoreOverrideCursor();
}

void PrintWindow::onJobFinished(PrintOutcome outcome)
{
    const Job ended = std::exchange(job_, Job::None);
    if (ended == Job::None)
        return;
    stopWaiting();
    if (ended == Job::SavingOnDemand && outcome == PrintOutcome::Done && !sayWhereThePdfWent(savingTo_))
        return;
    if (ended == Job::Saving || ended == Job::SavingOnDemand)
        showSaveOutcome(outcome);
    else
        showOutcome(outcome);
}

void PrintWindow::offerPdf(const QString& message)
{
    const QPointer box = new QMessageBox(QMessageBox::Warning, caption, message, QMessageBox::NoButton, this);
    QPushButton* save = box->addButton(QStringLiteral("Salva come PDF..."), QMessageBox::ActionRole);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    if (!runDialog(box))
        return;
    const bool saving = box->clickedButton() == save;
    delete box;
    if (!saving)
        return;

    const QString fileName = askPdfFile(service_.sheetCase());
    if (fileName.isEmpty())
        return;
    service_.saveLastAsPdf(fileName);
    startWaiting(Job::Saving, QStringLiteral("Salvataggio del PDF..."));
}

QString PrintWindow::askPdfFile(std::optional<DivisionCase> sheetCase)
{
    const QString title = QStringLiteral("Salva come PDF");
    QString proposed = defaultPdfPath(sheetCase.value_or(DivisionCase::I));
    for (;;) {
        const QPointer dialog = new QFileDialog(this, title, proposed, QStringLiteral("PDF (*.pdf)"));
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setDefaultSuffix(QStringLiteral("pdf"));
        // Asked below, about the name the file gets.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        if (!runDialog(dialog))
            return {};
        QString chosen = dialog->result() == QDialog::Accepted ? dialog->selectedFiles().value(0) : QString();
        // To Qt a name beginning with ':' is one of its built-in resources, so the dialog hands it
        // back unplaced: saved so, it would land in the working folder, over any file there unasked.
        if (chosen.startsWith(u':'))
            chosen = QDir::cleanPath(dialog->directory().absolutePath() + u'/' + chosen);
        delete dialog;
        if (chosen.isEmpty())
            return {};
        // The dialog adds its suffix only to a name without a dot: "Divisioni 12.03" has one.
        if (!chosen.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
            chosen += QStringLiteral(".pdf");
        if (!QFileInfo::exists(chosen))
            return chosen;
        // In the dialog's own words, and back to it unless the user replaces the file.
        const QPointer box =
            new QMessageBox(QMessageBox::Warning, title,
                            QCoreApplication::translate("QFileDialog", "%1 already exists.\nDo you want to replace it?")
                                .arg(QFileInfo(chosen).fileName()),
                            QMessageBox::Yes | QMessageBox::No, this);
        box->setDefaultButton(QMessageBox::No);
        if (!runDialog(box))
            return {};
        const bool replacing = box->result() == QMessageBox::Yes;
        delete box;
        if (replacing)
            return chosen;
        proposed = chosen;
    }
}

// Nothing opens unless the user asks: the viewer is the desktop's.
bool PrintWindow::sayWhereThePdfWent(const QString& fileName)
{
    const QPointer box =
        new QMessageBox(QMessageBox::Information, caption,
                        QStringLiteral("Il PDF è stato salvato in: %1").arg(QDir::toNativeSeparators(fileName)),
                        QMessageBox::NoButton, this);
    QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* open = box->addButton(QStringLiteral("Apri il PDF"), QMessageBox::ActionRole);
    box->setDefaultButton(ok);
    box->setEscapeButton(ok);
    if (!runDialog(box))
        return false;
    const bool opening = box->clickedButton() == open;
    delete box;
    if (opening && !QDesktopServices::openUrl(QUrl::fromLocalFile(fileName)))
        return tellUser(QStringLiteral("Non c'è nessun programma per aprire il PDF. Il file è in: %1")
                            .arg(QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath())));
    return true;
}

void PrintWindow::onCancelClicked() { close(); }

void PrintWindow::selectCopies()
{
    copiesField_->setFocus();
    copiesField_->selectAll();
}

bool PrintWindow::tellUser(const QString& message)
{
    const QPointer box = new QMessageBox(QMessageBox::Warning, caption, message, QMessageBox::Ok, this);
    if (!runDialog(box))
        return false;
    delete box;
    return true;
}

}  // namespace ripartino
