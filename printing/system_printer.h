#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QTemporaryFile>

#include "printing/qt_sheet_printer.h"
#include "printing/sheet_printer.h"

namespace ripartino {

// A paper as a print queue describes it, in millimetres: its size as the queue names it
// (wider than high for some labels) and the edges the printer cannot reach.
struct QueuePaper {
    QSizeF size;
    QMarginsF margins;
};

// The size a media name carries: PWG self-describing ("iso_a5_148x210mm",
// "na_letter_8.5x11in", "custom_148.52x209.9mm_148.52x209.9mm", also with a suffix such as
// "_borderless") or a PPD label name in points ("w167h288").
std::optional<QSizeF> mediaSizeMm(std::string_view name);
// The size and margins in the text of a media-col, as libcups writes it:
// "{media-size={x-dimension=21590 y-dimension=27940} media-bottom-margin=0 ...}".
std::optional<QueuePaper> mediaColPaper(std::string_view text);
// A queue's default paper from its media-default (may be null) and its media-col-default:
// the first that names a size, with the margins of the latter when it is the same paper.
// None: ask the PPD. Never cupsGetDestMediaDefault: without a "media" option on the
// destination it falls back on US Letter whatever the queue says.
std::optional<QueuePaper> defaultPaper(const char* media, std::string_view mediaCol);
// The paper the sheets are laid out on: the queue's, upright. A size that a queue names
// wider than high is the same sheet fed the other way round; the sheet stays portrait.
QPageLayout layoutFor(const QueuePaper& paper);

// The print service's default destination. The first line asks the service for the
// destination and its paper; the sheets are drawn into a temporary PDF on that paper and
// handed over whole, with one copy, by endDocument, which then says Paused when the
// queue holds its jobs. Every exchange with the service gives
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
    void setSheetCode(const std::string& code) override;
    void newPage() override;
    void keepTogether(int lines) override;
    void mayWrap() override;
    void endDocument() override;
    PrintOutcome status() const override { return status_; }
    // Why the sheets could not be written, in the user's words, once status() is NotWritten.
    QString failureText() const { return failureText_; }

    // The destination's paper and margins, once the first line has found them.
    std::optional<QPageLayout> pageLayout() const { return layout_; }
    // Asks the service for the destination's paper, as the first line does, without
    // beginning a job; none when the service or a default destination cannot be had.
    std::optional<QPageLayout> askPaper();

    struct Connection;

private:
    bool begin();
    void fail(PrintOutcome status);
    void failWriting(const QString& reason = {});
    // The drawing's failure, if any, made the job's: true when there is one.
    bool drawingFailed();
    bool submit();
    // Whether the queue at `uri` is paused, as far as it says in time.
    bool printerStopped(const char* uri);

    const std::atomic_bool& cancelled_;
    const std::chrono::milliseconds patience_;
    std::unique_ptr<Connection> connection_;
    std::string destination_;
    std::optional<QPageLayout> layout_;
    QTemporaryFile pdf_;
    std::unique_ptr<QtSheetPrinter> sheets_;
    std::optional<std::string> fontName_;  // asked for before the job began
    std::optional<double> fontSize_;
    int keep_ = 0;
    bool wrap_ = false;
    bool begun_ = false;
    bool sideways_ = false;  // the queue names its paper wider than high
    QString failureText_;
    PrintOutcome status_ = PrintOutcome::Done;
};

}  // namespace ripartino
