#include "printing/qt_sheet_printer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPdfWriter>

#include "printing/fonts.h"

namespace ripartino {

namespace {

// A print zone is this many average character widths of the current font.
constexpr int zoneColumns = 14;
// Narrow at top and bottom so that a whole sheet of 40 per column fits on A4. A printer
// that needs wider margins widens them (pageLayout), and a sheet that fits within these
// usual ones is shrunk to fit within the printer's.
constexpr QMarginsF pageMarginsMm(10, 5, 10, 5);
constexpr double pointsPerMm = 72 / 25.4;
constexpr QMarginsF usualMargins = pageMarginsMm * pointsPerMm;
// A sheet a few rows too long for the page is shrunk onto it while its text keeps this
// much of its size; a longer one goes on on further pages.
constexpr qreal leastShrink = 0.75;
// Smaller, a line that may not wrap is too small to read: the paper is too small for the
// sheet. About 60 %, and below what two columns need on A6 or a 4 inch label (58 and 56 %
// with the longest exercises), so that those print whatever the exercises.
constexpr qreal leastReadable = 0.55;

// Where the row of `text` that begins at `start` ends so that it is at most `room` wide:
// after the last whole word that fits, or, when not even one word fits, after as many
// characters as fit, one at least. Measures only texts about a row long, so that a
// heading of a megabyte costs in proportion to its length.
qsizetype rowEnd(const QFontMetricsF& metrics, const QString& text, qsizetype start, qreal room)
{
    // No row can hold this many characters: four times as many as average ones.
    const qsizetype most = static_cast<qsizetype>(4 * room / std::max(metrics.averageCharWidth(), 1.0)) + 8;
    const auto fits = [&](qsizetype end) {
        return end - start <= most && metrics.horizontalAdvance(text.mid(start, end - start)) <= room;
    };
    qsizetype end = start;
    for (qsizetype next = start; next < text.size();) {
        while (next < text.size() && text[next] == u' ')
            ++next;
        while (next < text.size() && text[next] != u' ' && next - start <= most)
            ++next;
        if (!fits(next))
            break;
        end = next;
    }
    if (end > start)
        return end;
    // A word wider than the row: its letters one by one give the place nearly, a measure
    // of the row or two around it exactly.
    qsizetype low = start + 1;
    for (qreal wide = metrics.horizontalAdvance(text[start]); low < text.size();) {
        wide += metrics.horizontalAdvance(text[low]);
        if (wide > room || low - start >= most)
            break;
        ++low;
    }
    while (low > start + 1 && !fits(low))
        --low;
    while (low < text.size() && fits(low + 1))
        ++low;
    if (low < text.size() && text[low].isLowSurrogate() && low - 1 > start)
        --low;
    return low;
}

// The text an item is laid out as.
const std::string& placing(const PrintItem& item) { return item.placeOf.empty() ? item.text : item.placeOf; }

qsizetype leadingBlanks(const QString& text)
{
    qsizetype blanks = 0;
    while (blanks < text.size() && text[blanks] == u' ')
        ++blanks;
    return blanks;
}

const QString firstFace = QStringLiteral("Arial");
constexpr double firstPoints = 15;
// Small beside the sheet's text, and still taller than none of its first line at its least.
constexpr double codePoints = 8;

}  // namespace

QtSheetPrinter::QtSheetPrinter(const QString& pdfFileName, const QPageSize& paper)
    : QtSheetPrinter(pdfFileName, pageLayout(paper))
{}

QtSheetPrinter::QtSheetPrinter(const QString& pdfFileName, const QPageLayout& layout)
    : pdfFileName_(pdfFileName), layout_(layout), font_(fontFamily(firstFace)), codeFont_(fontFamily(firstFace))
{
    font_.setPointSizeF(firstPoints);
    codeFont_.setPointSizeF(codePoints);
}

QtSheetPrinter::QtSheetPrinter(QIODevice& pdf, const QPageLayout& layout) : QtSheetPrinter(QString(), layout)
{
    pdfDevice_ = &pdf;
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
    font_.setFamily(fontFamily(QString::fromStdString(face)));
    fontChanged_ = true;
}

void QtSheetPrinter::setFontSize(double points)
{
    font_.setPointSizeF(points);
    fontChanged_ = true;
}

void QtSheetPrinter::fail(PrintOutcome status)
{
    status_ = status;
    if (painter_.isActive())
        painter_.end();
}

bool QtSheetPrinter::beginJob()
{
    printer_ = pdfDevice_ ? std::make_unique<QPdfWriter>(pdfDevice_) : std::make_unique<QPdfWriter>(pdfFileName_);
    printer_->setResolution(1200);
    printer_->setTitle(QStringLiteral("Ripartino"));
    printer_->setCreator(QStringLiteral("Ripartino"));
    printer_->setPageLayout(layout_);
    paintedFont_ = noFont;
    if (!painter_.begin(printer_.get())) {
        fail(PrintOutcome::JobRefused);
        return false;
    }
    return true;
}

void QtSheetPrinter::printLine(const PrintLine& items)
{
    if (status_ != PrintOutcome::Done)
        return;
    if (!painter_.isActive() && !beginJob())
        return;

    if (fontChanged_) {
        const auto known =
            std::find_if(fonts_.begin(), fonts_.end(), [this](const FontOnPaper& font) { return font.font == font_; });
        currentFont_ = static_cast<std::size_t>(known - fonts_.begin());
        if (known == fonts_.end()) {
            QFontMetricsF metrics(font_, printer_.get());
            const qreal zoneWidth = zoneColumns * metrics.averageCharWidth();
            fonts_.push_back({font_, metrics, zoneWidth, {}});
        }
        fontChanged_ = false;
    }
    const int keep = std::exchange(keep_, 0);
    const bool wraps = std::exchange(wrap_, false);
    // A copy like the last sheet is only compared, line by line, not kept a second time.
    if (sheet_.empty() && alike_ < laidOut_.size()) {
        const SheetLine& laid = laidOut_[alike_];
        if (laid.font == currentFont_ && laid.keep == keep && laid.wraps == wraps && laid.items == items) {
            ++alike_;
            return;
        }
    }
    if (alike_ > 0)
        sheet_.assign(laidOut_.begin(), laidOut_.begin() + static_cast<std::ptrdiff_t>(std::exchange(alike_, 0)));
    sheet_.push_back({currentFont_, items, keep, wraps});
}

void QtSheetPrinter::setSheetCode(const std::string& code) { code_ = QString::fromStdString(code); }

qreal QtSheetPrinter::advance(FontOnPaper& font, const QString& text)
{
    // Measuring costs as much as painting; the same texts come back on every sheet.
    auto known = font.advances.constFind(text);
    if (known == font.advances.constEnd())
        known = font.advances.insert(text, font.metrics.horizontalAdvance(text));
    return *known;
}

qreal QtSheetPrinter::itemStart(const FontOnPaper& font, qreal x, const PrintItem& item, qreal least) const
{
    for (int step = 0; step < item.zoneAdvancesBefore; ++step)
        x = (std::floor(x / font.zoneWidth) + 1) * font.zoneWidth;
    return std::max(x, least);
}

void QtSheetPrinter::alignColumns()
{
    // A line whose items stand further apart heads the lines below it, as a block's numbers
    // head its exercises: down to the next such line, their items in one column stand
    // straight, as far right as the farthest of them needs, never left of the head's own.
    leastStarts_.clear();
    for (const SheetLine& line : sheet_)
        leastStarts_.emplace_back(line.items.size(), 0);
    std::vector<qreal> ends(sheet_.size(), 0);  // of the items so far, none wrapped
    std::vector<qreal> starts(sheet_.size(), 0);
    for (std::size_t column = 0, lines = 1; lines > 0; ++column) {
        lines = 0;
        int headAdvances = -1;
        qreal farthest = 0;
        std::vector<std::size_t> under;
        const auto align = [&] {
            for (const std::size_t i : under)
                leastStarts_[i][column] = farthest;
            under.clear();
        };
        for (std::size_t i = 0; i < sheet_.size(); ++i) {
            if (column >= sheet_[i].items.size())
                continue;
            ++lines;
            const PrintItem& item = sheet_[i].items[column];
            starts[i] = itemStart(fonts_[sheet_[i].font], ends[i], item, 0);
            if (item.zoneAdvancesBefore < headAdvances) {
                under.push_back(i);
            } else {
                align();
                headAdvances = item.zoneAdvancesBefore;
            }
            farthest = under.empty() ? starts[i] : std::max(farthest, starts[i]);
        }
        align();
        for (std::size_t i = 0; i < sheet_.size(); ++i)
            if (column < sheet_[i].items.size()) {
                const std::string& text = placing(sheet_[i].items[column]);
                ends[i] = std::max(starts[i], leastStarts_[i][column])
                    + (text.empty() ? 0 : advance(fonts_[sheet_[i].font], QString::fromStdString(text)));
            }
    }
}

qreal QtSheetPrinter::unwrappedWidth(qreal paperWidth)
{
    qreal widest = 0;
    for (std::size_t i = 0; i < sheet_.size(); ++i) {
        const SheetLine& line = sheet_[i];
        FontOnPaper& font = fonts_[line.font];
        qreal x = 0;
        bool fits = true;
        for (std::size_t column = 0; column < line.items.size(); ++column) {
            const PrintItem& item = line.items[column];
            x = itemStart(font, x, item, leastStarts_[i][column]);
            const std::string& text = placing(item);
            const qreal wide = text.empty() ? 0 : advance(font, QString::fromStdString(text));
            fits = fits && wide <= paperWidth;
            x += wide;
        }
        if (fits || !line.wraps)
            widest = std::max(widest, x);
    }
    return widest;
}

std::vector<QtSheetPrinter::Row> QtSheetPrinter::layOut(qreal width, qreal& rightmost)
{
    std::vector<Row> rows;
    rightmost = 0;
    for (std::size_t i = 0; i < sheet_.size(); ++i) {
        const SheetLine& line = sheet_[i];
        FontOnPaper& font = fonts_[line.font];
        rows.push_back({line.font, i, {}});
        qreal x = 0;
        for (std::size_t column = 0; column < line.items.size(); ++column) {
            const PrintItem& item = line.items[column];
            x = itemStart(font, x, item, leastStarts_[i][column]);
            if (placing(item).empty())
                continue;
            const QString text = QString::fromStdString(item.text);
            if (const qreal wide = advance(font, QString::fromStdString(placing(item))); x + wide <= width) {
                rows.back().pieces.push_back({x, text, !item.placeOf.empty()});
                x += wide;
                rightmost = std::max(rightmost, x);
                continue;
            }
            // Too long for the paper: the rest goes on on further rows below the item's
            // start, broken at blanks, or inside a word that is wider than the paper.
            qreal left = x;
            if (width - left < font.zoneWidth) {
                if (!rows.back().pieces.empty())
                    rows.push_back({line.font, i, {}});
                left = 0;
            }
            // Further rows start where the text does, past the blanks that lead it.
            qreal indent = font.metrics.horizontalAdvance(text.left(leadingBlanks(text)));
            if (width - left - indent < font.zoneWidth)
                indent = 0;
            for (qsizetype start = 0; start < text.size();) {
                const qreal at = start > 0 ? left + indent : left;
                const qsizetype end = rowEnd(font.metrics, text, start, width - at);
                if (start > 0)
                    rows.push_back({line.font, i, {}});
                const QString part = text.mid(start, end - start);
                rows.back().pieces.push_back({at, part});
                x = at + font.metrics.horizontalAdvance(part);
                rightmost = std::max(rightmost, x);
                for (start = end; start < text.size() && text[start] == u' ';)
                    ++start;
            }
        }
    }
    return rows;
}

qreal QtSheetPrinter::heightOf(const std::vector<Row>& rows) const
{
    qreal height = 0;
    for (const Row& row : rows)
        height += fonts_[row.font].metrics.lineSpacing();
    return height;
}

void QtSheetPrinter::layOutSheet()
{
    // The area within the usual margins, in the printer's dots.
    const qreal dotsPerPoint = printer_->resolution() / 72.0;
    const QSizeF paper = printer_->pageLayout().fullRectPoints().size();
    const qreal usualWidth = (paper.width() - usualMargins.left() - usualMargins.right()) * dotsPerPoint;
    const qreal usualHeight = (paper.height() - usualMargins.top() - usualMargins.bottom()) * dotsPerPoint;

    alignColumns();
    // Before anything of the sheet is drawn (of the job, at its first copy); with no room,
    // only the lines that may not wrap count.
    if (printer_->width() < leastReadable * unwrappedWidth(0)) {
        fail(PrintOutcome::PaperTooSmall);
        return;
    }
    // Shrunk to the width, so that only a text too wide for the paper on its own wraps,
    // in a line that may, and to the height, while the text stays big enough to read.
    qreal width = 0;
    qreal fit = std::min(1.0, usualWidth / unwrappedWidth(usualWidth));
    const qreal firstWidth = usualWidth / fit;
    rows_ = layOut(firstWidth, width);
    fit = std::min(fit, usualHeight / heightOf(rows_));
    paged_ = fit < leastShrink;
    // Laid out again as wide as the shrunk sheet (a heading may then take fewer rows, never
    // more), or, on several pages, as the printer's paper.
    if (paged_)
        fit = std::min(1.0, printer_->width() / unwrappedWidth(printer_->width()));
    if (const qreal wanted = (paged_ ? printer_->width() : usualWidth) / fit; std::abs(wanted - firstWidth) > 1)
        rows_ = layOut(wanted, width);
    scale_ = paged_ ? fit : std::min({fit, printer_->width() / width, printer_->height() / heightOf(rows_)});
    narrowPlaced(std::min((paged_ ? printer_->width() : usualWidth) / fit, printer_->width() / scale_));
}

void QtSheetPrinter::narrowPlaced(qreal width)
{
    // Each shrinks from where its first letter stands, so that it keeps its place in its column.
    narrowed_ = 1;
    for (Row& row : rows_) {
        FontOnPaper& font = fonts_[row.font];
        for (std::size_t i = 0; i < row.pieces.size(); ++i) {
            Piece& piece = row.pieces[i];
            if (!piece.placed)
                continue;
            const qsizetype blanks = leadingBlanks(piece.text);
            piece.x += advance(font, piece.text.left(blanks));
            piece.text.remove(0, blanks);
            const qreal end = i + 1 < row.pieces.size() ? row.pieces[i + 1].x : width;
            if (const qreal wide = advance(font, piece.text); wide > 0 && piece.x + wide > end)
                narrowed_ = std::min(narrowed_, std::max(end - piece.x, 0.0) / wide);
        }
    }
}

void QtSheetPrinter::paintSheet()
{
    if ((sheet_.empty() && alike_ == 0) || !painter_.isActive())
        return;
    if (alike_ < laidOut_.size() && sheet_.empty())
        sheet_.assign(laidOut_.begin(), laidOut_.begin() + static_cast<std::ptrdiff_t>(alike_));
    if (!sheet_.empty()) {
        layOutSheet();
        if (status_ != PrintOutcome::Done)
            return;
        laidOut_ = std::move(sheet_);
    }
    sheet_.clear();
    alike_ = 0;

    // Waits for a sheet, so that a page break at the very end adds no blank page.
    if (pageWanted_) {
        if (!printer_->newPage()) {
            fail(PrintOutcome::JobRefused);
            return;
        }
        y_ = 0;
        pageWanted_ = false;
    }
    if (!code_.isEmpty()) {
        // Right-aligned on the printable area, within the sheet's first line, whatever the sheet's shrinking.
        if (!codeMetrics_)
            codeMetrics_.emplace(codeFont_, printer_.get());
        painter_.setWorldTransform(QTransform());
        painter_.setFont(codeFont_);
        paintedFont_ = noFont;
        painter_.drawText(
            QPointF(printer_->width() - codeMetrics_->horizontalAdvance(code_), y_ + codeMetrics_->ascent()), code_);
        code_.clear();
    }
    painter_.setWorldTransform(QTransform::fromScale(scale_, scale_));
    const qreal pageHeight = printer_->height();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const Row& row = rows_[r];
        const FontOnPaper& font = fonts_[row.font];
        const qreal height = font.metrics.lineSpacing() * scale_;
        // Only a sheet too long for any page runs past the bottom; it goes on on the next,
        // lines kept together whole when they fit on one page.
        bool full = y_ + height > pageHeight;
        if (const int keep = laidOut_[row.line].keep;
            paged_ && !full && keep > 0 && (r == 0 || rows_[r - 1].line != row.line)) {
            qreal together = 0;
            for (std::size_t g = r; g < rows_.size() && rows_[g].line < row.line + static_cast<std::size_t>(keep); ++g)
                together += fonts_[rows_[g].font].metrics.lineSpacing() * scale_;
            full = y_ + together > pageHeight && together <= pageHeight;
        }
        if (paged_ && y_ > 0 && full) {
            if (!printer_->newPage()) {
                fail(PrintOutcome::JobRefused);
                return;
            }
            y_ = 0;
        }
        if (!row.pieces.empty()) {
            if (std::exchange(paintedFont_, row.font) != row.font)
                painter_.setFont(font.font);
            const qreal baseline = y_ / scale_ + font.metrics.ascent();
            for (const Piece& piece : row.pieces) {
                if (!piece.placed || narrowed_ == 1) {
                    painter_.drawText(QPointF(piece.x, baseline), piece.text);
                    continue;
                }
                painter_.save();
                painter_.translate(piece.x, baseline);
                painter_.scale(narrowed_, narrowed_);
                painter_.drawText(QPointF(), piece.text);
                painter_.restore();
            }
        }
        y_ += height;
    }
}

void QtSheetPrinter::newPage()
{
    paintSheet();
    if (painter_.isActive())
        pageWanted_ = true;
}

void QtSheetPrinter::endDocument()
{
    paintSheet();
    if (!painter_.isActive())
        return;
    if (!painter_.end())
        status_ = PrintOutcome::JobRefused;
    y_ = 0;
    pageWanted_ = false;
    laidOut_.clear();
}

}  // namespace ripartino
