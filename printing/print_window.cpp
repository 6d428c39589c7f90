#include "printing/print_window.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>

#include "core/copies.h"
#include "printing/print_service.h"
#include "windows/look.h"
#include "windows/window_frame.h"

namespace ripartino {

namespace {

constexpr QSize clientTwips{4110, 3270};
const QString caption = QStringLiteral("Stampa");
const QString defaultHeading = QStringLiteral("Calcola le seguenti operazioni:");

// The operations-per-column options: name, caption, left edge in their frame, blocks.
struct OperationsOption {
    const char* name;
    const char* caption;
    int left;
    int blocks;
};
constexpr OperationsOption operationsOptions[] = {
    {"opt10", "10", 120, 1}, {"opt20", "20", 720, 2}, {"opt30", "30", 1320, 3}, {"opt40", "40", 1920, 4}};

QGroupBox* frame(QWidget* window, const char* name, const QString& title, QRect twips)
{
    auto* box = new QGroupBox(title, window);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(look::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    return box;
}

QRadioButton* option(QGroupBox* frame, const char* name, const QString& text, int left)
{
    auto* button = new QRadioButton(text, frame);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(look::twipsRect(left, 480, 495, 255));
    return button;
}

QLineEdit* textBox(QGroupBox* frame, const char* name, const QString& text, int width)
{
    auto* box = new QLineEdit(text, frame);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(look::twipsRect(120, 480, width, 375));
    return box;
}

QPushButton* button(QWidget* window, const char* name, const QString& text, int top)
{
    auto* push = new QPushButton(text, window);
    push->setObjectName(QLatin1String(name));
    push->setGeometry(look::twipsRect(2760, top, 1215, 375));
    push->setAutoDefault(false);
    return push;
}

// While a job runs the windows paint but take no input, except the progress dialog: what
// the job read cannot change under it, as when it ran on the GUI thread from end to end.
class InputGate : public QObject {
public:
    explicit InputGate(const QWidget& open) : open_(open) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::Close: {
            const auto* widget = qobject_cast<const QWidget*>(watched);
            const bool held = !widget || (widget != &open_ && !open_.isAncestorOf(widget));
            if (held)
                event->ignore();  // a close refused, not done
            return held;
        }
        default:
            return false;
        }
    }

private:
    const QWidget& open_;
};

}  // namespace

PrintWindow::PrintWindow(PrintService& service, QWidget* parent) : QWidget(parent), service_(service)
{
    setObjectName(QStringLiteral("frmstampa"));
    setUpFixedWindow(*this, FrameKind::Single, caption, clientTwips);

    QGroupBox* fracom = frame(this, "fracom", QStringLiteral("Comando"), {120, 120, 3855, 975});
    txtcom_ = textBox(fracom, "txtcom", defaultHeading, 3615);

    QGroupBox* franop = frame(this, "franop", QStringLiteral("N° operazioni per colonna"), {120, 1200, 2535, 855});
    for (const OperationsOption& operations : operationsOptions) {
        QRadioButton* choice = option(franop, operations.name, QLatin1String(operations.caption), operations.left);
        connect(choice, &QRadioButton::clicked, this, [this, blocks = operations.blocks] { onOperationsClicked(blocks); });
    }

    QGroupBox* columnsFrame = frame(this, "Frame1", QStringLiteral("N° colonne"), {2760, 1200, 1215, 855});
    optc1_ = option(columnsFrame, "optc1", QStringLiteral("1"), 120);
    optc2_ = option(columnsFrame, "optc2", QStringLiteral("2"), 600);

    QGroupBox* fracop = frame(this, "fracop", QStringLiteral("N° copie"), {120, 2160, 2535, 975});
    txtcop_ = textBox(fracop, "txtcop", QStringLiteral("1"), 2145);

    cmdok_ = button(this, "cmdok", QStringLiteral("&OK"), 2280);
    cmdok_->setEnabled(false);
    connect(cmdok_, &QPushButton::clicked, this, &PrintWindow::onOkClicked);

    cmdannulla_ = button(this, "cmdannulla", QStringLiteral("&Annulla"), 2760);
    connect(cmdannulla_, &QPushButton::clicked, this, &PrintWindow::onAnnullaClicked);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, cmdannulla_, &QPushButton::click);

    setTabOrderByNames(*this, {"cmdok", "cmdannulla", "txtcom", "txtcop", "fracom", "fracop", "franop", "opt10",
                               "opt20", "opt30", "opt40", "Frame1", "optc1", "optc2"});
}

void PrintWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!std::exchange(loaded_, true))
        onLoad();
}

void PrintWindow::onLoad()
{
    centreOnScreen(*this);
}

void PrintWindow::onOperationsClicked(int blocks)
{
    service_.blocks = blocks;
    cmdok_->setEnabled(true);
}

int PrintWindow::columns() const
{
    if (optc1_->isChecked())
        return 1;
    if (optc2_->isChecked())
        return 2;
    return 0;
}

void PrintWindow::onOkClicked()
{
    // An access key clicks a moment after it is pressed: a window cancelled in between
    // (Esc, "&Annulla", the close box) prints nothing.
    if (!isVisible() || service_.running())
        return;
    const WorksheetOptions options{columns(), service_.blocks, numberPrefix(txtcop_->text().toStdString()),
                                   txtcom_->text().toStdString()};
    std::optional<PrintOutcome> outcome = service_.print(options);
    if (!outcome)
        outcome = waitForTheJob(QStringLiteral("Stampa in corso..."));
    if (!outcome)
        return;
    switch (*outcome) {
    case PrintOutcome::Done:
        close();
        break;
    case PrintOutcome::Cancelled:
        break;
    case PrintOutcome::NothingToPrint:
        tellUser(QStringLiteral("Non ci sono esercizi da stampare: premere \"Inventa !\" in una finestra dei "
                                "casi e poi il pulsante di stampa."));
        close();
        break;
    case PrintOutcome::TooManyCopies:
        tellUser(QStringLiteral("Il numero di copie non può essere maggiore di %1.").arg(maximumCopies));
        txtcop_->setFocus();
        txtcop_->selectAll();
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
    }
}

std::optional<PrintOutcome> PrintWindow::waitForTheJob(const QString& doing)
{
    std::optional<PrintOutcome> outcome;
    QEventLoop loop;
    connect(&service_, &PrintService::finished, &loop, [&](PrintOutcome ended) {
        outcome = ended;
        loop.quit();
    });
    QProgressDialog progress(doing, QStringLiteral("Annulla"), 0, std::max(service_.sheets(), 1), this);
    progress.setWindowTitle(caption);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(500);
    connect(&progress, &QProgressDialog::canceled, &service_, &PrintService::cancel);
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, &progress, [&] { progress.setValue(service_.sheetsDone()); });
    ticker.start(100);

    const InputGate gate(progress);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    loop.exec();
    QApplication::restoreOverrideCursor();
    // Left early only when the program is ending: the job goes with it.
    if (!outcome)
        service_.cancel();
    return outcome;
}

void PrintWindow::offerPdf(const QString& message)
{
    QMessageBox box(QMessageBox::Warning, caption, message, QMessageBox::NoButton, this);
    QPushButton* save = box.addButton(QStringLiteral("Salva come PDF..."), QMessageBox::ActionRole);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    if (box.clickedButton() != save)
        return;

    QFileDialog dialog(this, QStringLiteral("Salva come PDF"),
                       defaultPdfPath(service_.sheetCase().value_or(DivisionCase::I)), QStringLiteral("PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    service_.saveAsPdf(dialog.selectedFiles().constFirst());
    const std::optional<PrintOutcome> saved = waitForTheJob(QStringLiteral("Salvataggio del PDF..."));
    if (saved == PrintOutcome::Done)
        close();
    else if (saved == PrintOutcome::JobRefused)
        tellUser(QStringLiteral("Il PDF non è stato salvato: il file non si può scrivere."));
}

void PrintWindow::onAnnullaClicked()
{
    close();
}

void PrintWindow::tellUser(const QString& message)
{
    QMessageBox::warning(this, caption, message);
}

}  // namespace ripartino
