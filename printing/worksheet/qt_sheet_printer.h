#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QString>

#include <memory>
#include <vector>

#include "printing/worksheet/sheet_printer.h"

class QPrinter;

namespace ripartino {

// A SheetPrinter on the system's default printer, or on a PDF file.
// Before the job's first font change it prints in Arial 15, the exercise font, so that
// the empty line at the top of every copy has the same height.
// Each sheet (the lines between two page breaks) is laid out whole before it is painted:
// a line too long for the paper goes on on further lines; a sheet that would fit a page
// with the usual narrow margins is shrunk to fit the printer's printable area; only a
// sheet too long for any page goes on on a new page.
class QtSheetPrinter : public SheetPrinter {
public:
    // The system's default printer, looked up when the first line begins the job.
    QtSheetPrinter();
    // A PDF file on the given paper instead of a printer.
    explicit QtSheetPrinter(const QString& pdfFileName, const QPageSize& paper = QPageSize(QPageSize::A4));
    ~QtSheetPrinter() override;

    // The least margins, in points, that the paper allows: a PDF stands in for a printer
    // that cannot print near the edges.
    void setMinimumMargins(const QMarginsF& points) { minimumMargins_ = points; }

    void setFontName(const std::string& face) override;
    void setFontSize(double points) override;
    void printLine(const PrintLine& items) override;
    void newPage() override;
    void endDocument() override;
    PrinterStatus status() const override { return status_; }

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
        bool operator==(const SheetLine&) const = default;
    };
    struct Piece {
        qreal x;
        QString text;
    };
    struct Row {
        std::size_t font;
        std::vector<Piece> pieces;
    };

    bool beginJob();
    void setMargins();
    void fail(PrinterStatus status);
    qreal advance(FontOnPaper& font, const QString& text);
    std::vector<Row> layOut(qreal width, qreal& rightmost);
    void layOutSheet();
    void paintSheet();

    QString pdfFileName_;  // empty for the default printer
    QPageSize paper_;
    QMarginsF minimumMargins_;
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
    QFont font_;
    bool fontChanged_ = true;
    std::vector<FontOnPaper> fonts_;
    std::size_t currentFont_ = 0;
    std::vector<SheetLine> sheet_;  // printed since the last page break, not yet painted
    // The last sheet laid out: copies are alike, so it is laid out once.
    std::vector<SheetLine> laidOut_;
    std::vector<Row> rows_;
    qreal scale_ = 1;
    bool paged_ = false;  // too long for any page: goes on on further pages at full size
    qreal y_ = 0;  // top of the next row, from the top of the printable area
    bool pageWanted_ = false;
    PrinterStatus status_ = PrinterStatus::Ready;
};

}  // namespace ripartino
