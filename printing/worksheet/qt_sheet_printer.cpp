#include "printing/worksheet/qt_sheet_printer.h"

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <iterator>

#include "windows/look.h"

namespace ripartino {

namespace {

// A print zone is this many average character widths of the current font.
constexpr int zoneColumns = 14;
// Narrow at top and bottom so that a whole sheet of 40 per column fits on A4; a printer
// that needs wider margins widens them (pageLayout).
constexpr QMarginsF pageMarginsMm(10, 5, 10, 5);

const QString firstFace = QStringLiteral("Arial");
constexpr double firstPoints = 15;

}  // namespace

QtSheetPrinter::QtSheetPrinter(const QString& pdfFileName, const QPageSize& paper)
    : QtSheetPrinter(pdfFileName, pageLayout(paper))
{
}

QtSheetPrinter::QtSheetPrinter(const QString& pdfFileName, const QPageLayout& layout)
    : pdfFileName_(pdfFileName), layout_(layout), font_(look::fontFamily(firstFace))
{
    font_.setPointSizeF(firstPoints);
}

QPageLayout QtSheetPrinter::pageLayout(const QPageSize& paper, const QMarginsF& printerMarginsMm)
{
    const QMarginsF margins(std::max(pageMarginsMm.left(), printerMarginsMm.left()),
                            std::max(pageMarginsMm.top(), printerMarginsMm.top()),
                            std::max(pageMarginsMm.right(), printerMarginsMm.right()),
                            std::max(pageMarginsMm.bottom(), printerMarginsMm.bottom()));
    return QPageLayout(paper, QPageLayout::Portrait, margins, QPageLayout::Millimeter);
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
    printer_ = std::make_unique<QPdfWriter>(pdfFileName_);
    printer_->setResolution(1200);
    printer_->setTitle(QStringLiteral("Ripartino"));
    printer_->setCreator(QStringLiteral("Ripartino"));
    printer_->setPageLayout(layout_);
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
    if (!painter_.end())
        status_ = PrinterStatus::JobRefused;
    y_ = 0;
    pageWanted_ = false;
}

}  // namespace ripartino
