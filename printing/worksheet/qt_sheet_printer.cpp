#include "printing/worksheet/qt_sheet_printer.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>
#include <dlfcn.h>

#include <cmath>
#include <iterator>

#include "windows/look.h"

namespace ripartino {

namespace {

// A print zone is this many average character widths of the current font.
constexpr int zoneColumns = 14;
// Narrow at top and bottom so that a whole sheet of 40 per column fits on A4; a printer
// that needs wider margins widens them, and the sheet then goes on on a second page.
constexpr QMarginsF pageMarginsMm(10, 5, 10, 5);

// CUPS's answer to the last request of this thread. libcups comes into the process with
// Qt's print plugin, when a job goes to a printer; looked up only then, its twenty
// libraries stay out of the program's start-up. Not loaded, CUPS was never asked.
ipp_status_t cupsLastStatus()
{
    void* cups = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!cups)
        return IPP_STATUS_OK;
    using LastError = ipp_status_t (*)();
    const auto lastError = reinterpret_cast<LastError>(dlsym(cups, "cupsLastError"));
    const ipp_status_t status = lastError ? lastError() : IPP_STATUS_OK;
    dlclose(cups);
    return status;
}

const QString firstFace = QStringLiteral("Arial");
constexpr double firstPoints = 15;

}  // namespace

QtSheetPrinter::QtSheetPrinter() : QtSheetPrinter(QString(), QPageSize())
{
}

QtSheetPrinter::QtSheetPrinter(const QString& pdfFileName, const QPageSize& paper)
    : pdfFileName_(pdfFileName), paper_(paper), font_(look::fontFamily(firstFace))
{
    font_.setPointSizeF(firstPoints);
}

QtSheetPrinter::~QtSheetPrinter()
{
    if (painter_.isActive())
        painter_.end();
}

void QtSheetPrinter::setFontName(const std::string& face)
{
    font_.setFamily(look::fontFamily(QString::fromStdString(face)));
    fontChanged_ = true;
}

void QtSheetPrinter::setFontSize(double points)
{
    font_.setPointSizeF(points);
    fontChanged_ = true;
}

void QtSheetPrinter::fail(PrinterStatus status)
{
    status_ = status;
    if (painter_.isActive())
        painter_.end();
}

bool QtSheetPrinter::beginJob()
{
    if (pdfFileName_.isEmpty()) {
        // Without a print queue Qt quietly turns a QPrinter into a PDF writer with no file.
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (defaultPrinter.isNull()) {
            fail(PrinterStatus::NoDefaultPrinter);
            return false;
        }
        printer_ = std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
        if (printer_->outputFormat() != QPrinter::NativeFormat) {
            fail(PrinterStatus::NoDefaultPrinter);
            return false;
        }
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfFileName_);
        printer_->setPageSize(paper_);
    }
    printer_->setDocName(QStringLiteral("Ripartino"));
    printer_->setCreator(QStringLiteral("Ripartino"));
    // The job prints every copy itself; the driver must not multiply them.
    printer_->setCopyCount(1);
    printer_->setPageMargins(pageMarginsMm, QPageLayout::Millimeter);
    if (!painter_.begin(printer_.get())) {
        fail(PrinterStatus::JobRefused);
        return false;
    }
    return true;
}

void QtSheetPrinter::printLine(const PrintLine& items)
{
    if (status_ != PrinterStatus::Ready)
        return;
    if (!painter_.isActive() && !beginJob())
        return;

    if (fontChanged_) {
        painter_.setFont(font_);
        metrics_.emplace(font_, printer_.get());
        advances_ = &advancesByFont_[font_.key()];
        lineHeight_ = metrics_->lineSpacing();
        zoneWidth_ = zoneColumns * metrics_->averageCharWidth();
        fontChanged_ = false;
    }

    // Waits for a line, so that a page break at the very end adds no blank sheet; and a
    // sheet too tall for the paper goes on on the next one rather than off the edge.
    const bool runsOff = y_ > 0 && y_ + lineHeight_ > printer_->height();
    if (pageWanted_ || runsOff) {
        if (!printer_->newPage()) {
            fail(PrinterStatus::JobRefused);
            return;
        }
        y_ = 0;
        pageWanted_ = false;
    }

    const qreal baseline = y_ + metrics_->ascent();
    qreal x = 0;
    for (auto item = items.begin(); item != items.end(); ++item) {
        for (int advance = 0; advance < item->zoneAdvancesBefore; ++advance)
            x = (std::floor(x / zoneWidth_) + 1) * zoneWidth_;
        if (item->text.empty())
            continue;
        const QString text = QString::fromStdString(item->text);
        painter_.drawText(QPointF(x, baseline), text);
        if (std::next(item) != items.end())
            x += advance(text);
    }
    y_ += lineHeight_;
}

qreal QtSheetPrinter::advance(const QString& text)
{
    // Every copy measures the same texts again; measuring costs as much as painting.
    auto known = advances_->constFind(text);
    if (known == advances_->constEnd())
        known = advances_->insert(text, metrics_->horizontalAdvance(text));
    return *known;
}

void QtSheetPrinter::newPage()
{
    if (painter_.isActive())
        pageWanted_ = true;
}

void QtSheetPrinter::endDocument()
{
    if (!painter_.isActive())
        return;
    const bool ended = painter_.end();
    // Qt hands the finished job to CUPS and drops the answer; CUPS keeps it for this thread.
    const bool refused = pdfFileName_.isEmpty() && cupsLastStatus() > IPP_STATUS_OK_EVENTS_COMPLETE;
    if (!ended || refused || printer_->printerState() == QPrinter::Error)
        status_ = PrinterStatus::JobRefused;
    y_ = 0;
    pageWanted_ = false;
}

}  // namespace ripartino
