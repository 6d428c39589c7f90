#include "printing/print_service.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cmath>
#include <utility>

#include "printing/system_printer.h"
#include "printing/qt_sheet_printer.h"

namespace ripartino {

PrintService::PrintService(RandomSource& source, std::string decimalSeparator, MarkedCaseReader readMarkedCase)
    : source_(source),
      decimalSeparator_(std::move(decimalSeparator)),
      readMarkedCase_(std::move(readMarkedCase)),
      layout_(QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4)))
{}

PrintService::~PrintService()
{
    if (worker_) {
        cancel();
        worker_->wait();
        delete worker_;
        printer_.reset();
    }
}

int PrintService::sheets() const { return options_.copies >= 1 ? static_cast<int>(std::floor(options_.copies)) : 0; }

std::optional<PrintOutcome> PrintService::print(const WorksheetOptions& options)
{
    const std::optional<MarkedCase> marked = readMarkedCase_();
    const PrintOutcome ready = prepareSheets(options, marked ? &*marked : nullptr, source_, table_, decimalSeparator_);
    if (ready != PrintOutcome::Done)
        return ready;
    if (marked)
        sheetCase_ = marked->divisionCase;
    options_ = options;
    // A given printer is made and let go on this thread, as its maker expects.
    if (std::unique_ptr<SheetPrinter> given = makePrinter_ ? makePrinter_() : nullptr) {
        run(std::move(given), {});
        return std::nullopt;
    }
    auto system = std::make_unique<SystemPrinter>(cancelled_);
    run(std::move(system), [this](SheetPrinter& printer) {
        if (const auto layout = static_cast<SystemPrinter&>(printer).pageLayout())
            layout_ = *layout;
    });
    return std::nullopt;
}

void PrintService::saveAsPdf(const QString& fileName)
{
    savingTo_ = fileName;
    run(std::make_unique<QtSheetPrinter>(fileName, layout_), [](SheetPrinter&) {});
}

void PrintService::run(std::unique_ptr<SheetPrinter> printer, std::function<void(SheetPrinter&)> ownPrinter)
{
    cancelled_ = false;
    sheetsDone_ = 0;
    printer_ = std::move(printer);
    worker_ = QThread::create([this, options = options_, table = table_, ownPrinter = std::move(ownPrinter)] {
        outcome_ = printSheets(options, table, *printer_, [this](int sheet) {
            sheetsDone_ = sheet - 1;
            return !cancelled_;
        });
        // Drawing that stopped half-way ends here: its fonts belong to this thread.
        if (ownPrinter) {
            ownPrinter(*printer_);
            printer_.reset();
        }
    });
    connect(worker_, &QThread::finished, this, &PrintService::onWorkerDone);
    worker_->start();
}

void PrintService::onWorkerDone()
{
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
    printer_.reset();
    // A save that did not end well leaves no file behind.
    if (!savingTo_.isEmpty() && outcome_ != PrintOutcome::Done)
        QFile::remove(savingTo_);
    savingTo_.clear();
    emit finished(outcome_);
}

QString defaultPdfPath(DivisionCase divisionCase)
{
    const QString name =
        QStringLiteral("Ripartino - %1 caso.pdf").arg(QString::fromStdString(caseNumeral(divisionCase)));
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return (documents.exists() ? documents : QDir::home()).filePath(name);
}

}  // namespace ripartino
