#include "printing/print_service.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <utility>

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

#include "printing/qt_sheet_printer.h"
#include "printing/system_printer.h"

namespace ripartino {

// What a job's worker and the service share. The worker touches nothing else, so a job
// left behind (cancelled, or the program ending) is safe however long it takes.
struct PrintService::Job {
    std::atomic_bool cancelled = false;
    std::atomic_int sheetsDone = 0;
    std::unique_ptr<SheetPrinter> given;  // the factory's: made on the GUI thread, let go on the worker
    // Written by the worker, read once it has finished.
    PrintOutcome outcome = PrintOutcome::Done;
    std::optional<QPageLayout> paper;  // the system printer's
    QString reason;
};

namespace {

// Passes writes on to a file, and notes the first that does not go through whole, with
// the system's reason: a file device told of a short write late, or not at all, would
// let a truncated PDF through.
class CheckedWrites : public QIODevice {
public:
    explicit CheckedWrites(QFileDevice& file) : file_(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int failure = 0;  // errno

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        for (qint64 done = 0; done < length && !failure;) {
            errno = 0;
            const qint64 written = file_.write(data + done, length - done);
            if (written <= 0)
                failure = errno ? errno : EIO;
            done += std::max<qint64>(written, 0);
        }
        return failure ? -1 : length;
    }

private:
    QFileDevice& file_;
};

// The sheets into `fileName`, whole or not at all: the whole PDF is made first, then goes
// into a temporary file beside it, which replaces it only once every byte is written; any
// failure leaves the old file. Where the folder takes no temporary file but the file itself
// may be written, it is written over in place: the one case where a failure half-way (a
// disk filling up meanwhile) leaves it spoilt.
PrintOutcome saveSheets(const WorksheetOptions& options, const WorksheetVersions& versions, const QPageLayout& paper,
                        const QString& fileName, const std::function<bool(int)>& beforeSheet,
                        const std::atomic_bool& cancelled, QString& reason)
{
    QBuffer made;
    made.open(QIODevice::WriteOnly);
    PrintOutcome outcome = PrintOutcome::Done;
    {
        QtSheetPrinter printer(made, paper);
        outcome = printSheets(options, versions, printer, beforeSheet);
    }
    // A job of no sheets writes nothing, and leaves no empty file either.
    if (cancelled || outcome != PrintOutcome::Done || made.data().isEmpty())
        return cancelled ? PrintOutcome::Cancelled : outcome;
    QSaveFile file(fileName);
    QFile inPlace(fileName);
    const auto failed = [&](int error) {
        reason = error ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
        return error == ENOSPC || error == EDQUOT || file.error() == QFileDevice::ResourceError
            ? PrintOutcome::NotWritten
            : PrintOutcome::JobRefused;
    };
    constexpr QIODevice::OpenMode writing = QIODevice::WriteOnly | QIODevice::Unbuffered;
    if (!file.open(writing) && !(QFileInfo(fileName).isFile() && inPlace.open(writing)))
        return failed(0);
    CheckedWrites pdf(inPlace.isOpen() ? static_cast<QFileDevice&>(inPlace) : file);
    pdf.write(made.data());
    if (inPlace.isOpen())
        return pdf.failure ? failed(pdf.failure) : PrintOutcome::Done;
    if (pdf.failure || cancelled) {
        file.cancelWriting();
        return cancelled ? PrintOutcome::Cancelled : failed(pdf.failure);
    }
    return file.commit() ? PrintOutcome::Done : failed(0);
}

}  // namespace

PrintService::PrintService(RandomSource& source, std::string decimalSeparator, MarkedCaseReader readMarkedCase)
    : source_(source),
      decimalSeparator_(std::move(decimalSeparator)),
      readMarkedCase_(std::move(readMarkedCase)),
      layout_(QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4)))
{}

PrintService::~PrintService()
{
    // A worker stuck in the print service is left to finish alone; the others end here,
    // before the program's fonts and paint engines go.
    if (job_)
        job_->cancelled = true;
    const QDeadlineTimer patience(2000);
    for (const QPointer<QThread>& worker : workers_) {
        if (worker && worker->wait(patience))
            delete worker;
    }
}

int PrintService::sheets() const { return sheetCount(options_); }

int PrintService::sheetsDone() const { return job_ ? job_->sheetsDone.load() : 0; }

std::optional<PrintOutcome> PrintService::prepare(const WorksheetOptions& options)
{
    const std::optional<MarkedCase> marked = readMarkedCase_();
    // Without a marked case nothing is invented, and the kept sheets are only read.
    const auto versions = marked ? std::make_shared<WorksheetVersions>() : versions_;
    const PrintOutcome ready =
        prepareSheets(options, marked ? &*marked : nullptr, source_, *versions, decimalSeparator_);
    if (ready != PrintOutcome::Done)
        return ready;
    versions_ = versions;
    if (marked)
        sheetCase_ = marked->divisionCase;
    options_ = options;
    return std::nullopt;
}

std::optional<PrintOutcome> PrintService::print(const WorksheetOptions& options)
{
    if (const std::optional<PrintOutcome> refused = prepare(options))
        return refused;
    run(makePrinter_ ? makePrinter_() : nullptr);
    return std::nullopt;
}

std::optional<PrintOutcome> PrintService::saveAsPdf(const WorksheetOptions& options, const QString& fileName)
{
    if (const std::optional<PrintOutcome> refused = prepare(options))
        return refused;
    run(nullptr, fileName, !makePrinter_);
    return std::nullopt;
}

void PrintService::saveLastAsPdf(const QString& fileName) { run(nullptr, fileName); }

void PrintService::cancel()
{
    if (!job_)
        return;
    job_->cancelled = true;
    job_.reset();
    emit finished(PrintOutcome::Cancelled);
}

void PrintService::run(std::unique_ptr<SheetPrinter> printer, const QString& saveTo, bool askPaper)
{
    auto job = std::make_shared<Job>();
    job->given = std::move(printer);
    job_ = job;
    failureReason_.clear();
    QThread* worker = QThread::create([job, options = options_,
                                       versions = std::shared_ptr<const WorksheetVersions>(versions_), paper = layout_,
                                       saveTo, askPaper] {
        const auto beforeSheet = [&job](int sheet) {
            job->sheetsDone = sheet - 1;
            return !job->cancelled;
        };
        if (!saveTo.isEmpty()) {
            QPageLayout savePaper = paper;
            if (askPaper)
                savePaper = SystemPrinter(job->cancelled)
                                .askPaper()
                                .value_or(QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4)));
            job->outcome = saveSheets(options, *versions, savePaper, saveTo, beforeSheet, job->cancelled, job->reason);
            // Too small for the sheet (a label printer's): on A4, as without a printer.
            if (job->outcome == PrintOutcome::PaperTooSmall)
                job->outcome = saveSheets(options, *versions, QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4)),
                                          saveTo, beforeSheet, job->cancelled, job->reason);
        } else if (job->given) {
            job->outcome = printSheets(options, *versions, *job->given, beforeSheet);
            job->given.reset();  // a drawing stopped half-way ends here, where its fonts belong
        } else {
            // Made, used and let go here: its fonts belong to this thread.
            SystemPrinter system(job->cancelled);
            job->outcome = printSheets(options, *versions, system, beforeSheet);
            job->paper = system.pageLayout();
        }
        if (job->cancelled)
            job->outcome = PrintOutcome::Cancelled;
    });
    // Told on this thread, and only while the service is there to hear it.
    connect(worker, &QThread::finished, this, [this, job] { onJobDone(job); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    std::erase_if(workers_, [](const QPointer<QThread>& gone) { return gone.isNull(); });
    workers_.emplace_back(worker);
    worker->start();
}

void PrintService::onJobDone(const std::shared_ptr<Job>& job)
{
    if (job != job_)  // cancelled, and said so when it was
        return;
    job_.reset();
    if (job->paper)
        layout_ = *job->paper;
    failureReason_ = job->reason;
    emit finished(job->outcome);
}

QString defaultPdfPath(DivisionCase divisionCase)
{
    const QString name =
        QStringLiteral("Ripartino - %1 caso.pdf").arg(QString::fromStdString(caseNumeral(divisionCase)));
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return (documents.exists() ? documents : QDir::home()).filePath(name);
}

}  // namespace ripartino
