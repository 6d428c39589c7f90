#include "printing/system_printer.h"

#include <charconv>
#include <cmath>
#include <dlfcn.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <cups/cups.h>
#include <cups/ppd.h>

namespace ripartino {

namespace {

using Clock = std::chrono::steady_clock;

// libcups and the twenty libraries it brings are loaded at the first print, not at start-up.
struct Cups {
    decltype(&httpConnect2) connect;
    decltype(&httpClose) close;
    decltype(&httpSetTimeout) setTimeout;
    decltype(&cupsServer) server;
    decltype(&ippPort) port;
    decltype(&cupsEncryption) encryption;
    decltype(&cupsGetNamedDest) namedDest;
    decltype(&cupsFreeDests) freeDests;
    decltype(&cupsCopyDestInfo) copyDestInfo;
    decltype(&cupsFreeDestInfo) freeDestInfo;
    decltype(&cupsFindDestDefault) findDefault;
    decltype(&ippGetString) attributeText;
    decltype(&ippAttributeString) attributeString;
    // The PPD calls are deprecated by name, not in form.
    const char* (*getPpd)(http_t*, const char*);
    ppd_file_t* (*openPpd)(const char*);
    void (*markPpdDefaults)(ppd_file_t*);
    ppd_size_t* (*ppdSize)(ppd_file_t*, const char*);
    void (*closePpd)(ppd_file_t*);
    decltype(&cupsAddOption) addOption;
    decltype(&cupsFreeOptions) freeOptions;
    decltype(&cupsUser) user;
    decltype(&httpAssembleURIf) assembleUri;
    decltype(&ippNewRequest) newRequest;
    decltype(&ippAddString) addString;
    decltype(&cupsEncodeOptions2) encodeOptions;
    decltype(&cupsSendRequest) sendRequest;
    decltype(&cupsWriteRequestData) writeRequestData;
    decltype(&cupsGetResponse) getResponse;
    decltype(&cupsDoRequest) doRequest;
    decltype(&ippGetStatusCode) statusCode;
    decltype(&ippFindAttribute) findAttribute;
    decltype(&ippGetInteger) attributeInteger;
    decltype(&ippDelete) deleteIpp;
    decltype(&cupsCancelJob2) cancelJob;

    // Null when the library or one of its functions is missing.
    static const Cups* load()
    {
        static const std::optional<Cups> loaded = []() -> std::optional<Cups> {
            void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
            if (!library)
                return std::nullopt;
            bool complete = true;
            auto find = [&](auto& function, const char* name) {
                function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(library, name));
                complete = complete && function;
            };
            Cups cups{};
            find(cups.connect, "httpConnect2");
            find(cups.close, "httpClose");
            find(cups.setTimeout, "httpSetTimeout");
            find(cups.server, "cupsServer");
            find(cups.port, "ippPort");
            find(cups.encryption, "cupsEncryption");
            find(cups.namedDest, "cupsGetNamedDest");
            find(cups.freeDests, "cupsFreeDests");
            find(cups.copyDestInfo, "cupsCopyDestInfo");
            find(cups.freeDestInfo, "cupsFreeDestInfo");
            find(cups.findDefault, "cupsFindDestDefault");
            find(cups.attributeText, "ippGetString");
            find(cups.attributeString, "ippAttributeString");
            find(cups.getPpd, "cupsGetPPD2");
            find(cups.openPpd, "ppdOpenFile");
            find(cups.markPpdDefaults, "ppdMarkDefaults");
            find(cups.ppdSize, "ppdPageSize");
            find(cups.closePpd, "ppdClose");
            find(cups.addOption, "cupsAddOption");
            find(cups.freeOptions, "cupsFreeOptions");
            find(cups.user, "cupsUser");
            find(cups.assembleUri, "httpAssembleURIf");
            find(cups.newRequest, "ippNewRequest");
            find(cups.addString, "ippAddString");
            find(cups.encodeOptions, "cupsEncodeOptions2");
            find(cups.sendRequest, "cupsSendRequest");
            find(cups.writeRequestData, "cupsWriteRequestData");
            find(cups.getResponse, "cupsGetResponse");
            find(cups.doRequest, "cupsDoRequest");
            find(cups.statusCode, "ippGetStatusCode");
            find(cups.findAttribute, "ippFindAttribute");
            find(cups.attributeInteger, "ippGetInteger");
            find(cups.deleteIpp, "ippDelete");
            find(cups.cancelJob, "cupsCancelJob2");
            if (!complete)
                return std::nullopt;
            return cups;
        }();
        return loaded ? &*loaded : nullptr;
    }
};

// Hundredths of a millimetre, as CUPS gives sizes.
constexpr double hundredthsPerMm = 100;
constexpr double mmPerPoint = 25.4 / 72;

std::optional<double> positiveNumber(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// "148.52x209.9mm", "8.5x11in".
std::optional<QSizeF> dimensionsMm(std::string_view text)
{
    double unit = 0;
    if (text.ends_with("mm"))
        unit = 1;
    else if (text.ends_with("in"))
        unit = 25.4;
    else
        return std::nullopt;
    text.remove_suffix(2);
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    const std::optional<double> width = positiveNumber(text.substr(0, x));
    const std::optional<double> height = positiveNumber(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return QSizeF(*width * unit, *height * unit);
}

// The whole number after `key` in a media-col's text; absent, nothing.
std::optional<int> member(std::string_view text, std::string_view key)
{
    const std::size_t at = text.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    int value = 0;
    const char* first = text.data() + at + key.size();
    if (std::from_chars(first, text.data() + text.size(), value).ec != std::errc())
        return std::nullopt;
    return value;
}

bool sameSize(const QSizeF& one, const QSizeF& other)
{
    return std::abs(one.width() - other.width()) < 1 && std::abs(one.height() - other.height()) < 1;
}

// The default page size of the queue's PPD, for a queue that says nothing of its media.
std::optional<QueuePaper> ppdPaper(const Cups& cups, http_t* http, const char* destination)
{
    const char* file = cups.getPpd(http, destination);
    if (!file)
        return std::nullopt;
    ppd_file_t* ppd = cups.openPpd(file);
    unlink(file);
    if (!ppd)
        return std::nullopt;
    cups.markPpdDefaults(ppd);
    std::optional<QueuePaper> paper;
    if (const ppd_size_t* size = cups.ppdSize(ppd, nullptr); size && size->width > 0 && size->length > 0)
        paper = QueuePaper{QSizeF(size->width, size->length) * mmPerPoint,
                           QMarginsF(size->left, size->length - size->top, size->width - size->right, size->bottom)
                               * mmPerPoint};
    cups.closePpd(ppd);
    return paper;
}

// The queue's default paper: its media-default, else its media-col-default, else its PPD's
// page size. Never cupsGetDestMediaDefault: without a "media" option on the destination it
// falls back on US Letter whatever the queue says.
std::optional<QueuePaper> queuePaper(const Cups& cups, http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
{
    char col[2048] = "";
    if (ipp_attribute_t* attribute = cups.findDefault(http, dest, info, "media-col"))
        cups.attributeString(attribute, col, sizeof col);
    ipp_attribute_t* media = cups.findDefault(http, dest, info, "media");
    if (std::optional<QueuePaper> paper = defaultPaper(media ? cups.attributeText(media, 0, nullptr) : nullptr, col))
        return paper;
    return ppdPaper(cups, http, dest->name);
}

// A PDF ends in "startxref", the place of its table, and "%%EOF"; a file that lost bytes
// on the way to the disk has no such end, or no table where the end says.
bool wholePdf(QFile& file)
{
    constexpr qint64 tail = 64;
    if (!file.seek(std::max<qint64>(0, file.size() - tail)))
        return false;
    const QByteArray end = file.read(tail).trimmed();
    const qsizetype at = end.lastIndexOf("startxref");
    if (!end.endsWith("%%EOF") || at < 0)
        return false;
    bool number = false;
    const qint64 table = end.mid(at + 9, end.size() - at - 9 - 5).trimmed().toLongLong(&number);
    return number && table > 0 && file.seek(table) && file.read(4) == "xref";
}

}  // namespace

std::optional<QSizeF> mediaSizeMm(std::string_view name)
{
    // The dimensions are the last part that reads as such: a suffix may follow them.
    while (!name.empty()) {
        const std::size_t cut = name.rfind('_');
        const std::string_view part = cut == std::string_view::npos ? name : name.substr(cut + 1);
        if (const std::optional<QSizeF> size = dimensionsMm(part))
            return size;
        if (cut == std::string_view::npos)
            break;
        name = name.substr(0, cut);
    }
    return std::nullopt;
}

std::optional<QueuePaper> mediaColPaper(std::string_view text)
{
    const std::optional<int> width = member(text, "x-dimension=");
    const std::optional<int> height = member(text, "y-dimension=");
    if (!width || !height || *width <= 0 || *height <= 0)
        return std::nullopt;
    const auto margin = [&](std::string_view key) { return std::max(member(text, key).value_or(0), 0); };
    return QueuePaper{QSizeF(*width, *height) / hundredthsPerMm,
                      QMarginsF(margin("media-left-margin="), margin("media-top-margin="),
                                margin("media-right-margin="), margin("media-bottom-margin="))
                          / hundredthsPerMm};
}

std::optional<QueuePaper> defaultPaper(const char* media, std::string_view mediaCol)
{
    const std::optional<QueuePaper> described = mediaColPaper(mediaCol);
    if (const std::optional<QSizeF> named = media ? mediaSizeMm(media) : std::nullopt) {
        const bool same = described && sameSize(described->size, *named);
        return QueuePaper{*named, same ? described->margins : QMarginsF()};
    }
    return described;
}

QPageLayout layoutFor(const QueuePaper& paper)
{
    QSizeF size = paper.size;
    QMarginsF margins = paper.margins;
    if (size.width() > size.height()) {
        size.transpose();
        margins = QMarginsF(margins.top(), margins.left(), margins.bottom(), margins.right());
    }
    return QtSheetPrinter::pageLayout(QPageSize(size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                                      margins);
}

// One connection to the print service, with a deadline that every wait for an answer checks.
struct SystemPrinter::Connection {
    const Cups& cups;
    const std::atomic_bool& cancelled;
    http_t* http = nullptr;
    Clock::time_point deadline;
    bool timedOut = false;
    bool cleaningUp = false;  // taking back a half-sent job, cancelled or not

    Connection(const Cups& cups, const std::atomic_bool& cancelled) : cups(cups), cancelled(cancelled) {}
    ~Connection()
    {
        if (http)
            cups.close(http);
    }

    // CUPS asks after every quiet fifth of a second whether to go on waiting.
    static int goOnWaiting(http_t*, void* data)
    {
        auto* connection = static_cast<Connection*>(data);
        if (connection->cancelled && !connection->cleaningUp)
            return 0;
        connection->timedOut = Clock::now() >= connection->deadline;
        return connection->timedOut ? 0 : 1;
    }

    void waitAtMost(std::chrono::milliseconds patience) { deadline = Clock::now() + patience; }
};

SystemPrinter::SystemPrinter(const std::atomic_bool& cancelled, std::chrono::milliseconds patience)
    : cancelled_(cancelled), patience_(patience)
{
    pdf_.setFileTemplate(QDir::temp().filePath(QStringLiteral("ripartino-XXXXXX.pdf")));
}

SystemPrinter::~SystemPrinter()
{
    // The drawing must let go of the file before it goes.
    sheets_.reset();
    if (!pdf_.fileName().isEmpty())
        pdf_.remove();
}

void SystemPrinter::fail(PrintOutcome status)
{
    if (status_ != PrintOutcome::Done)
        return;
    if (cancelled_)
        status = PrintOutcome::Cancelled;
    else if (connection_ && connection_->timedOut)
        status = PrintOutcome::ServiceNotAnswering;
    status_ = status;
    sheets_.reset();
    if (!pdf_.fileName().isEmpty())
        pdf_.remove();
}

void SystemPrinter::failWriting(const QString& reason)
{
    if (status_ != PrintOutcome::Done)
        return;
    // The file system tells a full disk only by what it has left, and the file still
    // holds what it took.
    constexpr qint64 room = 64 * 1024;
    const QString folder = QDir::toNativeSeparators(QDir::tempPath());
    const QStorageInfo disk(QDir::tempPath());
    if (disk.isValid() && disk.bytesAvailable() < room)
        failureText_ = QStringLiteral("Spazio su disco esaurito nella cartella dei file temporanei (%1): "
                                      "non è stato stampato nulla.")
                           .arg(folder);
    else
        failureText_ = QStringLiteral("Il file da stampare non si può scrivere nella cartella dei file temporanei "
                                      "(%1)%2: non è stato stampato nulla.")
                           .arg(folder, reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
    fail(PrintOutcome::NotWritten);
}

bool SystemPrinter::begin()
{
    begun_ = true;
    if (!askPaper())
        return false;
    if (!pdf_.open()) {
        failWriting(pdf_.errorString());
        return false;
    }
    pdf_.close();
    sheets_ = std::make_unique<QtSheetPrinter>(pdf_.fileName(), *layout_);
    if (fontName_)
        sheets_->setFontName(*fontName_);
    if (fontSize_)
        sheets_->setFontSize(*fontSize_);
    sheets_->keepTogether(keep_);
    if (wrap_)
        sheets_->mayWrap();
    return true;
}

std::optional<QPageLayout> SystemPrinter::askPaper()
{
    if (layout_ || status_ != PrintOutcome::Done)
        return layout_;
    const Cups* cups = Cups::load();
    if (!cups) {
        fail(PrintOutcome::ServiceNotRunning);
        return std::nullopt;
    }
    connection_ = std::make_unique<Connection>(*cups, cancelled_);
    Connection& c = *connection_;
    c.http = cups->connect(cups->server(), cups->port(), nullptr, AF_UNSPEC, cups->encryption(), 1,
                           static_cast<int>(patience_.count()), nullptr);
    if (!c.http) {
        fail(PrintOutcome::ServiceNotRunning);
        return std::nullopt;
    }
    cups->setTimeout(c.http, 0.2, &Connection::goOnWaiting, &c);
    c.waitAtMost(patience_);

    cups_dest_t* dest = cups->namedDest(c.http, nullptr, nullptr);
    if (!dest) {
        fail(PrintOutcome::NoDefaultPrinter);
        return std::nullopt;
    }
    destination_ = dest->name;
    QPageLayout layout = QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4));
    if (cups_dinfo_t* info = cups->copyDestInfo(c.http, dest)) {
        if (const std::optional<QueuePaper> paper = queuePaper(*cups, c.http, dest, info)) {
            layout = layoutFor(*paper);
            sideways_ = paper->size.width() > paper->size.height();
        }
        cups->freeDestInfo(info);
    }
    cups->freeDests(1, dest);
    if (c.timedOut || cancelled_) {
        fail(PrintOutcome::ServiceNotAnswering);
        return std::nullopt;
    }
    layout_ = layout;
    return layout_;
}

void SystemPrinter::setFontName(const std::string& face)
{
    if (sheets_)
        sheets_->setFontName(face);
    else
        fontName_ = face;
}

void SystemPrinter::setFontSize(double points)
{
    if (sheets_)
        sheets_->setFontSize(points);
    else
        fontSize_ = points;
}

void SystemPrinter::printLine(const PrintLine& items)
{
    if (status_ != PrintOutcome::Done || (!begun_ && !begin()))
        return;
    sheets_->printLine(items);
    drawingFailed();
}

bool SystemPrinter::drawingFailed()
{
    switch (sheets_->status()) {
    case PrintOutcome::Done:
        return false;
    case PrintOutcome::PaperTooSmall:  // known at the first sheet's layout, before anything is drawn
        fail(PrintOutcome::PaperTooSmall);
        return true;
    default:
        failWriting();
        return true;
    }
}

void SystemPrinter::setSheetCode(const std::string& code)
{
    if (sheets_)  // a sheet's code follows its first line, which begins the job
        sheets_->setSheetCode(code);
}

void SystemPrinter::keepTogether(int lines)
{
    if (sheets_)
        sheets_->keepTogether(lines);
    else
        keep_ = lines;
}

void SystemPrinter::mayWrap()
{
    if (sheets_)
        sheets_->mayWrap();
    else
        wrap_ = true;
}

void SystemPrinter::newPage()
{
    if (!sheets_)
        return;
    sheets_->newPage();
    drawingFailed();
}

void SystemPrinter::endDocument()
{
    if (status_ != PrintOutcome::Done || !sheets_)
        return;
    sheets_->endDocument();
    if (drawingFailed())
        return;
    sheets_.reset();
    // The drawing does not say when the disk refused its bytes: the file must prove
    // itself whole, on the disk, before the print service sees it.
    QFile file(pdf_.fileName());
    if (!file.open(QIODevice::ReadOnly) || !wholePdf(file) || fsync(file.handle()) != 0) {
        failWriting(file.error() != QFileDevice::NoError ? file.errorString() : QString());
        return;
    }
    file.close();
    if (!submit())
        return;
    pdf_.remove();
}

bool SystemPrinter::submit()
{
    const Cups& cups = connection_->cups;
    Connection& c = *connection_;
    QFile file(pdf_.fileName());
    if (cancelled_ || !file.open(QIODevice::ReadOnly)) {
        fail(PrintOutcome::JobRefused);
        return false;
    }
    // The program makes its copies itself: a queue whose own default is more must not
    // multiply them.
    cups_option_t* options = nullptr;
    int optionCount = cups.addOption("copies", "1", 0, &options);
    // The sheet is upright on the paper it was laid out on, whatever the queue would turn.
    optionCount = cups.addOption("orientation-requested", "3", optionCount, &options);
    if (sideways_ && layout_) {
        // Named wider than high, the paper would take the upright sheet turned; asked for
        // as it is laid out, it keeps it as it is.
        const QSizeF points = layout_->fullRectPoints().size();
        const QByteArray size =
            "Custom." + QByteArray::number(points.width()) + "x" + QByteArray::number(points.height());
        optionCount = cups.addOption("PageSize", size.constData(), optionCount, &options);
    }
    // One Print-Job request on this connection, under this connection's patience: the server
    // makes no job until the request is whole, so one given up half-way leaves nothing in
    // it, not even an empty job. Each write and each answer waits at most `patience_`.
    const std::string resource = "/printers/" + destination_;
    char uri[HTTP_MAX_URI] = "";
    cups.assembleUri(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", cups.port(), "%s",
                     resource.c_str());
    ipp_t* request = cups.newRequest(IPP_OP_PRINT_JOB);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cups.user());
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, "Ripartino");
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
    cups.encodeOptions(request, optionCount, options, IPP_TAG_OPERATION);
    cups.encodeOptions(request, optionCount, options, IPP_TAG_JOB);
    cups.freeOptions(optionCount, options);
    c.waitAtMost(patience_);
    bool sent = cups.sendRequest(c.http, request, resource.c_str(), CUPS_LENGTH_VARIABLE) == HTTP_STATUS_CONTINUE;
    while (sent && !file.atEnd()) {
        const QByteArray chunk = file.read(1 << 16);
        c.waitAtMost(patience_);
        sent = !cancelled_
            && cups.writeRequestData(c.http, chunk.constData(), static_cast<size_t>(chunk.size()))
                == HTTP_STATUS_CONTINUE;
    }
    if (!sent || cancelled_) {
        // The request stays unfinished: closed half-way, it makes no job.
        cups.deleteIpp(request);
        const bool timedOut = c.timedOut;
        connection_.reset();
        fail(timedOut ? PrintOutcome::ServiceNotAnswering : PrintOutcome::JobRefused);
        return false;
    }
    // Whole now: a job taken must not stay behind if the user cancels meanwhile.
    c.cleaningUp = true;
    c.waitAtMost(patience_);
    ipp_t* response = cups.getResponse(c.http, resource.c_str());
    cups.deleteIpp(request);
    const bool taken = response && cups.statusCode(response) <= IPP_STATUS_OK_EVENTS_COMPLETE;
    ipp_attribute_t* id = response ? cups.findAttribute(response, "job-id", IPP_TAG_INTEGER) : nullptr;
    const int job = id ? cups.attributeInteger(id, 0) : 0;
    cups.deleteIpp(response);
    if (!taken || cancelled_) {
        if (job > 0) {
            c.waitAtMost(patience_);
            cups.cancelJob(c.http, destination_.c_str(), job, 1);
        }
        c.cleaningUp = false;
        fail(PrintOutcome::JobRefused);
        return false;
    }
    c.cleaningUp = false;
    if (printerStopped(uri))
        status_ = PrintOutcome::Paused;
    return true;
}

bool SystemPrinter::printerStopped(const char* uri)
{
    const Cups& cups = connection_->cups;
    Connection& c = *connection_;
    ipp_t* request = cups.newRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    cups.addString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "printer-state");
    c.waitAtMost(patience_);
    ipp_t* response = cups.doRequest(c.http, request, "/");
    ipp_attribute_t* state = response ? cups.findAttribute(response, "printer-state", IPP_TAG_ENUM) : nullptr;
    const bool stopped = state && cups.attributeInteger(state, 0) == IPP_PSTATE_STOPPED;
    cups.deleteIpp(response);
    return stopped;
}

}  // namespace ripartino
