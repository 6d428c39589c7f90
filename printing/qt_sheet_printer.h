#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QString>

#include "printing/sheet_printer.h"

class QIODevice;
class QPdfWriter;

namespace ripartino {

// A SheetPrinter that draws the sheets into a PDF file: the file itself, or what the
// system printer is handed (see SystemPrinter). Painting needs no GUI thread.
// Before the job's first font change it prints in Arial 15, the exercise font, so that
// the empty line at the top of every copy has the same height.
// Each sheet (the lines between two page breaks) is laid out whole before it is painted.
// It is shrunk to the paper's width, so that only a text too wide for the paper on its
// own goes on on further lines, and only in a line that may wrap (mayWrap), and to its
// height while its text keeps three quarters of its size, both within the usual narrow
// margins; then to the printer's printable area. Only a sheet longer than that goes on
// on further pages, lines kept together (keepTogether) on the next page whole. Items that
// take another text's place (placeOf) are shrunk alike, all on the sheet, until the
// longest fits before the next item. A sheet whose other lines would have to shrink below
// 55 % of their size to fit the printable area is not printed: PaperTooSmall.
class QtSheetPrinter : public SheetPrinter {
public:
    // A PDF file on the given paper, with the sheet's own margins.
    explicit QtSheetPrinter(const QString& pdfFileName, const QPageSize& paper = QPageSize(QPageSize::A4));
    // A PDF file laid out as `layout` (see pageLayout).
    QtSheetPrinter(const QString& pdfFileName, const QPageLayout& layout);
    // Into an open device (a file being saved, say) that outlives the printer.
    QtSheetPrinter(QIODevice& pdf, const QPageLayout& layout);
    ~QtSheetPrinter() override;

    void setFontName(const std::string& face) override;
    void setFontSize(double points) override;
    void printLine(const PrintLine& items) override;
    void setSheetCode(const std::string& code) override;
    void newPage() override;
    void keepTogether(int lines) override { keep_ = lines; }
    void mayWrap() override { wrap_ = true; }
    void endDocument() override;
    PrintOutcome status() const override { return status_; }

    // The sheet's own margins on `paper`, widened where a printer cannot print closer to
    // the edge (`printerMarginsMm`).
    static QPageLayout pageLayout(const QPageSize& paper, const QMarginsF& printerMarginsMm = {});

private:
    struct FontOnPaper {
        QFont font;
        QFontMetricsF metrics;  // on the printer
        qreal zoneWidth;
        QHash<QString, qreal> advances;
    };
    struct SheetLine {
        std::size_t font;  // into fonts_
        PrintLine items;
        int keep;  // lines kept on one page from this one
        bool wraps;
        bool operator==(const SheetLine&) const = default;
    };
    struct Piece {
        qreal x;
        QString text;
        bool placed = false;  // in another text's place: drawn at narrowed_
    };
    struct Row {
        std::size_t font;
        std::size_t line;  // into the sheet's lines
        std::vector<Piece> pieces;
    };

    bool beginJob();
    void fail(PrintOutcome status);
    qreal advance(FontOnPaper& font, const QString& text);
    qreal itemStart(const FontOnPaper& font, qreal x, const PrintItem& item, qreal least) const;
    void alignColumns();
    // How wide the sheet is with no line wrapped, but for lines that may wrap with a text
    // wider than `paperWidth` on its own.
    qreal unwrappedWidth(qreal paperWidth);
    std::vector<Row> layOut(qreal width, qreal& rightmost);
    qreal heightOf(const std::vector<Row>& rows) const;
    void layOutSheet();
    // How much the placed items must shrink to end before the next item, or `width`.
    void narrowPlaced(qreal width);
    void paintSheet();

    QString pdfFileName_;
    QIODevice* pdfDevice_ = nullptr;  // instead of the file name
    QPageLayout layout_;
    std::unique_ptr<QPdfWriter> printer_;
    QPainter painter_;
    QFont font_;
    bool fontChanged_ = true;
    std::vector<FontOnPaper> fonts_;
    std::size_t currentFont_ = 0;
    static constexpr std::size_t noFont = SIZE_MAX;
    std::size_t paintedFont_ = noFont;  // the painter's, into fonts_
    std::vector<SheetLine> sheet_;  // printed since the last page break, not yet painted
    QString code_;                  // of sheet_
    QFont codeFont_;
    // The last sheet laid out: copies are alike, so it is laid out once.
    std::vector<SheetLine> laidOut_;
    std::size_t alike_ = 0;  // lines printed since the page break, as laidOut_'s first ones (not in sheet_)
    std::vector<Row> rows_;
    std::vector<std::vector<qreal>> leastStarts_;  // of each item of sheet_ (alignColumns)
    qreal scale_ = 1;
    qreal narrowed_ = 1;
    bool paged_ = false;  // too long for any page: goes on on further pages at full size
    int keep_ = 0;        // for the next line
    bool wrap_ = false;   // for the next line
    qreal y_ = 0;         // top of the next row, from the top of the printable area
    bool pageWanted_ = false;
    PrintOutcome status_ = PrintOutcome::Done;
    std::optional<QFontMetricsF> codeMetrics_;  // on the printer
};

}  // namespace ripartino
