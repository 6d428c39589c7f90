#pragma once

#include <QPageLayout>
#include <QTemporaryFile>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "printing/qt_sheet_printer.h"
#include "printing/sheet_printer.h"

namespace ripartino {

// The print service's default destination. The first line asks the service for the
// destination and its paper; the sheets are drawn into a temporary PDF on that paper and
// handed over whole, with one copy, by endDocument. Every exchange with the service gives
// up after `patience` without an answer, or at once when `cancelled` is set. The
// temporary file goes in every case; a job leaves nothing in the service unless the
// service took it whole. Meant for a worker thread: it may wait.
class SystemPrinter : public SheetPrinter {
public:
    explicit SystemPrinter(const std::atomic_bool& cancelled,
                           std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~SystemPrinter() override;

    void setFontName(const std::string& face) override;
    void setFontSize(double points) override;
    void printLine(const PrintLine& items) override;
    void newPage() override;
    void endDocument() override;
    PrinterStatus status() const override { return status_; }

    // The destination's paper and margins, once the first line has found them.
    std::optional<QPageLayout> pageLayout() const { return layout_; }

    struct Connection;

private:
    bool begin();
    void fail(PrinterStatus status);
    bool submit();

    const std::atomic_bool& cancelled_;
    const std::chrono::milliseconds patience_;
    std::unique_ptr<Connection> connection_;
    std::string destination_;
    std::optional<QPageLayout> layout_;
    QTemporaryFile pdf_;
    std::unique_ptr<QtSheetPrinter> sheets_;
    std::optional<std::string> fontName_;  // asked for before the job began
    std::optional<double> fontSize_;
    bool begun_ = false;
    PrinterStatus status_ = PrinterStatus::Ready;
};

}  // namespace ripartino
