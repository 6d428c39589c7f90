#include "printing/system_printer.h"

#include <QDir>
#include <QFile>

#include <cups/cups.h>
#include <dlfcn.h>
#include <sys/socket.h>

#include <utility>

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
    decltype(&cupsGetDestMediaDefault) mediaDefault;
    decltype(&cupsFindDestDefault) findDefault;
    decltype(&ippGetString) attributeText;
    decltype(&cupsGetDestMediaByName) mediaByName;
    decltype(&cupsAddOption) addOption;
    decltype(&cupsFreeOptions) freeOptions;
    decltype(&cupsCreateJob) createJob;
    decltype(&cupsStartDocument) startDocument;
    decltype(&cupsWriteRequestData) writeRequestData;
    decltype(&cupsFinishDocument) finishDocument;
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
            find(cups.mediaDefault, "cupsGetDestMediaDefault");
            find(cups.findDefault, "cupsFindDestDefault");
            find(cups.attributeText, "ippGetString");
            find(cups.mediaByName, "cupsGetDestMediaByName");
            find(cups.addOption, "cupsAddOption");
            find(cups.freeOptions, "cupsFreeOptions");
            find(cups.createJob, "cupsCreateJob");
            find(cups.startDocument, "cupsStartDocument");
            find(cups.writeRequestData, "cupsWriteRequestData");
            find(cups.finishDocument, "cupsFinishDocument");
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

}  // namespace

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

void SystemPrinter::fail(PrinterStatus status)
{
    if (status_ != PrinterStatus::Ready)
        return;
    if (cancelled_)
        status = PrinterStatus::Cancelled;
    else if (connection_ && connection_->timedOut)
        status = PrinterStatus::ServiceNotAnswering;
    status_ = status;
    sheets_.reset();
    if (!pdf_.fileName().isEmpty())
        pdf_.remove();
}

bool SystemPrinter::begin()
{
    begun_ = true;
    const Cups* cups = Cups::load();
    if (!cups) {
        fail(PrinterStatus::ServiceNotRunning);
        return false;
    }
    connection_ = std::make_unique<Connection>(*cups, cancelled_);
    Connection& c = *connection_;
    c.http = cups->connect(cups->server(), cups->port(), nullptr, AF_UNSPEC, cups->encryption(), 1,
                           static_cast<int>(patience_.count()), nullptr);
    if (!c.http) {
        fail(PrinterStatus::ServiceNotRunning);
        return false;
    }
    cups->setTimeout(c.http, 0.2, &Connection::goOnWaiting, &c);
    c.waitAtMost(patience_);

    cups_dest_t* dest = cups->namedDest(c.http, nullptr, nullptr);
    if (!dest) {
        fail(PrinterStatus::NoDefaultPrinter);
        return false;
    }
    destination_ = dest->name;
    QPageLayout layout = QtSheetPrinter::pageLayout(QPageSize(QPageSize::A4));
    if (cups_dinfo_t* info = cups->copyDestInfo(c.http, dest)) {
        cups_size_t size{};
        // The queue's own default paper: without a "media" option on the destination,
        // cupsGetDestMediaDefault falls back on US Letter whatever the queue says.
        ipp_attribute_t* media = cups->findDefault(c.http, dest, info, "media");
        const char* paperName = media ? cups->attributeText(media, 0, nullptr) : nullptr;
        const int found = paperName ? cups->mediaByName(c.http, dest, info, paperName, 0, &size)
                                    : cups->mediaDefault(c.http, dest, info, 0, &size);
        if (found && size.width > 0 && size.length > 0) {
            const QPageSize paper(QSizeF(size.width / hundredthsPerMm, size.length / hundredthsPerMm),
                                  QPageSize::Millimeter, QString(), QPageSize::FuzzyOrientationMatch);
            layout = QtSheetPrinter::pageLayout(
                paper, QMarginsF(size.left, size.top, size.right, size.bottom) / hundredthsPerMm);
        }
        cups->freeDestInfo(info);
    }
    cups->freeDests(1, dest);
    if (c.timedOut || cancelled_) {
        fail(PrinterStatus::ServiceNotAnswering);
        return false;
    }
    layout_ = layout;

    if (!pdf_.open()) {
        fail(PrinterStatus::JobRefused);
        return false;
    }
    pdf_.close();
    sheets_ = std::make_unique<QtSheetPrinter>(pdf_.fileName(), layout);
    if (fontName_)
        sheets_->setFontName(*fontName_);
    if (fontSize_)
        sheets_->setFontSize(*fontSize_);
    return true;
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
    if (status_ != PrinterStatus::Ready || (!begun_ && !begin()))
        return;
    sheets_->printLine(items);
    if (sheets_->status() != PrinterStatus::Ready)
        fail(sheets_->status());
}

void SystemPrinter::newPage()
{
    if (sheets_)
        sheets_->newPage();
}

void SystemPrinter::endDocument()
{
    if (status_ != PrinterStatus::Ready || !sheets_)
        return;
    sheets_->endDocument();
    if (sheets_->status() != PrinterStatus::Ready) {
        fail(sheets_->status());
        return;
    }
    sheets_.reset();
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
        fail(PrinterStatus::JobRefused);
        return false;
    }
    // The program makes its copies itself: a queue whose own default is more must not
    // multiply them.
    cups_option_t* options = nullptr;
    const int optionCount = cups.addOption("copies", "1", 0, &options);
    c.waitAtMost(patience_);
    const int job = cups.createJob(c.http, destination_.c_str(), "Ripartino", optionCount, options);
    cups.freeOptions(optionCount, options);
    if (job <= 0) {
        fail(PrinterStatus::JobRefused);
        return false;
    }
    bool sent =
        cups.startDocument(c.http, destination_.c_str(), job, "Ripartino", CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    while (sent && !file.atEnd()) {
        const QByteArray chunk = file.read(1 << 16);
        sent = !cancelled_
            && cups.writeRequestData(c.http, chunk.constData(), static_cast<size_t>(chunk.size()))
                == HTTP_STATUS_CONTINUE;
    }
    // Finishing hands the job over; a job that was not sent whole must not stay behind, nor
    // one cancelled while it was being handed over.
    if (!sent || cups.finishDocument(c.http, destination_.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE || cancelled_) {
        if (!c.timedOut) {
            c.cleaningUp = true;
            c.waitAtMost(patience_);
            cups.cancelJob(c.http, destination_.c_str(), job, 1);
            c.timedOut = false;
        }
        fail(PrinterStatus::JobRefused);
        return false;
    }
    return true;
}

}  // namespace ripartino
