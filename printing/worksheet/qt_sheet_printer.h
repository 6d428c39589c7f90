#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QString>

#include <memory>
#include <optional>

#include "printing/worksheet/sheet_printer.h"

class QPdfWriter;

namespace ripartino {

// A SheetPrinter that draws the sheets into a PDF file: the file itself, or what the
// system printer is handed (see SystemPrinter). Painting needs no GUI thread.
// Before the job's first font change it prints in Arial 15, the exercise font, so that
// the empty line at the top of every copy has the same height.
// A sheet that runs past the bottom of the page goes on on a new page.
class QtSheetPrinter : public SheetPrinter {
public:
    // A PDF file on the given paper, with the sheet's own margins.
    explicit QtSheetPrinter(const QString& pdfFileName, const QPageSize& paper = QPageSize(QPageSize::A4));
    // A PDF file laid out as `layout` (see pageLayout).
    QtSheetPrinter(const QString& pdfFileName, const QPageLayout& layout);
    ~QtSheetPrinter() override;

    void setFontName(const std::string& face) override;
    void setFontSize(double points) override;
    void printLine(const PrintLine& items) override;
    void newPage() override;
    void endDocument() override;
    PrinterStatus status() const override { return status_; }

    // The sheet's own margins on `paper`, widened where a printer cannot print closer to
    // the edge (`printerMarginsMm`).
    static QPageLayout pageLayout(const QPageSize& paper, const QMarginsF& printerMarginsMm = {});

private:
    bool beginJob();
    void fail(PrinterStatus status);
    qreal advance(const QString& text);

    QString pdfFileName_;
    QPageLayout layout_;
    std::unique_ptr<QPdfWriter> printer_;
    QPainter painter_;
    QFont font_;
    bool fontChanged_ = true;
    std::optional<QFontMetricsF> metrics_;  // of the current font on the printer
    QHash<QString, QHash<QString, qreal>> advancesByFont_;
    QHash<QString, qreal>* advances_ = nullptr;  // of the current font
    qreal lineHeight_ = 0;
    qreal zoneWidth_ = 0;
    qreal y_ = 0;  // top of the next line, from the top of the printable area
    bool pageWanted_ = false;
    PrinterStatus status_ = PrinterStatus::Ready;
};

}  // namespace ripartino
