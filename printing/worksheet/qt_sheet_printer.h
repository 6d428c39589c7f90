#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPageSize>
#include <QPainter>
#include <QString>

#include <memory>
#include <optional>

#include "printing/worksheet/sheet_printer.h"

class QPrinter;

namespace ripartino {

// A SheetPrinter on the system's default printer, or on a PDF file.
// Before the job's first font change it prints in Arial 15, the exercise font, so that
// the empty line at the top of every copy has the same height.
// A sheet that runs past the bottom of the page goes on on a new page.
class QtSheetPrinter : public SheetPrinter {
public:
    // The system's default printer, looked up when the first line begins the job.
    QtSheetPrinter();
    // A PDF file on the given paper instead of a printer.
    explicit QtSheetPrinter(const QString& pdfFileName, const QPageSize& paper = QPageSize(QPageSize::A4));
    ~QtSheetPrinter() override;

    void setFontName(const std::string& face) override;
    void setFontSize(double points) override;
    void printLine(const PrintLine& items) override;
    void newPage() override;
    void endDocument() override;
    PrinterStatus status() const override { return status_; }

private:
    bool beginJob();
    void fail(PrinterStatus status);
    qreal advance(const QString& text);

    QString pdfFileName_;  // empty for the default printer
    QPageSize paper_;
    std::unique_ptr<QPrinter> printer_;
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
