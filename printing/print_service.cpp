#include "printing/print_service.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <utility>

#include "printing/system_printer.h"
#include "printing/worksheet/qt_sheet_printer.h"

namespace ripartino {

PrintService::PrintService(RandomSource& source, std::string decimalSeparator, MarkedCaseReader readMarkedCase)
    : source_(source),
      decimalSeparator_(std::move(decimalSeparator)),
      readMarkedCase_(std::move(readMarkedCase)),
      layout_(QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4)))
{
}

PrintService::~PrintService()
{
    if (worker_) {
        cancel();
        worker_->wait();
        delete worker_;
    }
}

int PrintService::sheets() const
{
    return options_.copies >= 1 ? static_cast<int>(std::floor(options_.copies)) : 0;
}

std::optional<PrintOutcome> PrintService::print(const WorksheetOptions& options)
{
    const std::optional<MarkedCase> marked = readMarkedCase_();
    const PrintOutcome ready = prepareSheets(options, marked ? &*marked : nullptr, source_, table_, decimalSeparator_);
    if (ready != PrintOutcome::Done)
        return ready;
    if (marked)
        sheetCase_ = marked->divisionCase;
    options_ = options;
    run([this, makePrinter = makePrinter_, options = options_, table = table_] {
        std::unique_ptr<SheetPrinter> printer = makePrinter ? makePrinter() : nullptr;
        if (printer)
            return printSheets(options, table, *printer, [this](int sheet) {
                sheetsDone_ = sheet - 1;
                return !cancelled_;
            });
        SystemPrinter system(cancelled_);
        const PrintOutcome outcome = printSheets(options, table, system, [this](int sheet) {
            sheetsDone_ = sheet - 1;
            return !cancelled_;
        });
        if (system.pageLayout())
            layout_ = *system.pageLayout();
        return outcome;
    });
    return std::nullopt;
}

void PrintService::saveAsPdf(const QString& fileName)
{
    run([this, fileName, options = options_, table = table_, layout = layout_] {
        PrintOutcome outcome;
        {
            QtSheetPrinter file(fileName, layout);
            outcome = printSheets(options, table, file, [this](int sheet) {
                sheetsDone_ = sheet - 1;
                return !cancelled_;
            });
        }
        if (outcome != PrintOutcome::Done)
            QFile::remove(fileName);
        return outcome;
    });
}

void PrintService::run(std::function<PrintOutcome()> job)
{
    cancelled_ = false;
    sheetsDone_ = 0;
    worker_ = QThread::create([this, job = std::move(job)] { outcome_ = job(); });
    connect(worker_, &QThread::finished, this, &PrintService::onWorkerDone);
    worker_->start();
}

void PrintService::onWorkerDone()
{
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    emit finished(outcome_);
}

QString defaultPdfPath(DivisionCase divisionCase)
{
    const QString name = QStringLiteral("Ripartino - %1 caso.pdf").arg(QString::fromStdString(caseNumeral(divisionCase)));
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return (documents.exists() ? documents : QDir::home()).filePath(name);
}

}  // namespace ripartino
