#include "core/sources/source_fetch.h"

#include "core/exchange/exchange_errors.h"
#include "core/net/http_client.h"
#include "core/store/errors.h"
#include "core/store/temp_files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace brevio::sources {

// A download's body in a hidden file of the current folder, under a name the start's sweep knows,
// so that what a killed process leaves goes; removed when this goes.
class DownloadFile : public net::BodySink
{
public:
    DownloadFile()
    {
        static std::atomic<unsigned> counter{0};
        static const unsigned token = std::random_device{}();
        for (int attempt = 0; m_fd < 0; ++attempt) {
            m_path = store::tempSiblingName("listing", ::getpid(), token + attempt, counter++);
            m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (m_fd < 0 && (errno != EEXIST || attempt > 100))
                throw IoError::fromErrno(errno, m_path.string());
        }
    }
    ~DownloadFile() override
    {
        ::close(m_fd);
        ::unlink(m_path.c_str());
    }
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    const fs::path& path() const { return m_path; }

    bool restart() override
    {
        return ::ftruncate(m_fd, 0) == 0 && ::lseek(m_fd, 0, SEEK_SET) == 0 ? true : failed();
    }

    bool write(std::string_view bytes) override
    {
        while (!bytes.empty()) {
            const ssize_t n = ::write(m_fd, bytes.data(), bytes.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return failed();
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    std::string failure() const override { return m_failure + " (" + m_path.string() + ")"; }

private:
    bool failed()
    {
        m_failure = std::strerror(errno ? errno : EIO);
        return false;
    }

    fs::path m_path;
    int m_fd = -1;
    std::string m_failure;
};

namespace {

// Raises the fetch's progress between polls and aborts when it says stop.
class FetchListener : public net::HttpListener
{
public:
    void packetReceived(std::uint64_t received, std::uint64_t total) override
    {
        m_received = received;
        m_total = total;
    }
    std::uint64_t received() const { return m_received; }
    std::uint64_t total() const { return m_total; }

private:
    std::uint64_t m_received = 0;
    std::uint64_t m_total = 0;
};

std::string firstLine(const std::string& header)
{
    return header.substr(0, header.find_first_of("\r\n"));
}

FetchedListing fetchLocal(const ListingSource& source)
{
    struct stat st;
    if (::stat(source.address.c_str(), &st) != 0)
        throw IoError::fromErrno(errno, source.address);
    // A folder, a named pipe or a device is no listing; a pipe could keep the refresh waiting.
    if (!S_ISREG(st.st_mode))
        throw Error(source.address + ": not a regular file, so no listing");
    FetchedListing fetched;
    fetched.file = source.address;
    fetched.fileSize = static_cast<std::uint64_t>(st.st_size);
    fetched.fileTime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    fetched.unchanged
        = source.state.fileSize == fetched.fileSize && source.state.fileTime == fetched.fileTime;
    return fetched;
}

FetchedListing fetchWeb(const ListingSource& source, const FetchOptions& options,
                        const FetchProgress& progress)
{
    net::HttpClientConfig config = options.http;
    config.userAgent = kSourceUserAgent;
    config.version = net::HttpVersion::Http11;
    config.acceptGzip = true;
    config.maxBodyBytes = static_cast<std::size_t>(options.maxDownloadBytes);

    auto download = std::make_shared<DownloadFile>();
    net::HttpRequest request;
    request.body = download.get();
    if (!source.state.etag.empty())
        request.headerLines.push_back("If-None-Match: " + source.state.etag);
    if (!source.state.lastModified.empty())
        request.headerLines.push_back("If-Modified-Since: " + source.state.lastModified);

    FetchListener listener;
    net::HttpClient* running = nullptr;
    net::HttpClient client(config, listener, [&] {
        if (progress && running && !progress(listener.received(), listener.total()))
            running->abort();
    });
    running = &client;
    try {
        client.get(source.address, request);
    } catch (const net::TransferError& e) {
        if (e.kind() == net::TransferError::Kind::Aborted)
            throw exchange::Cancelled();
        if (e.kind() == net::TransferError::Kind::TooLarge)
            throw Error("The download is larger than " + exchange::sizeText(options.maxDownloadBytes)
                        + ", more than a listing may be: " + source.address);
        throw Error(e.what());
    }
    const std::string& header = client.reply().header;
    const std::optional<int> status = net::replyStatus(header);
    FetchedListing fetched;
    if (status == 304) {
        fetched.unchanged = true;
        return fetched;
    }
    if (status != 200)
        throw Error("The server answered \"" + firstLine(header) + "\" for " + source.address);
    fetched.file = download->path();
    fetched.download = std::move(download);
    fetched.etag = net::replyHeader(header, "ETag").value_or("");
    fetched.lastModified = net::replyHeader(header, "Last-Modified").value_or("");
    return fetched;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

} // namespace

void checkListingKind(const fs::path& file, const std::string& shownAs, const exchange::UnpackLimits& limits)
{
    std::string start;
    try {
        start = exchange::unpackedStart(file.string(), 1024, limits);
    } catch (const IoError&) {
        throw;
    } catch (const Error& e) {
        throw Error(shownAs + ": " + e.what());
    }
    std::string_view text = start;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    text.remove_prefix(std::min(text.find_first_not_of(" \t\r\n"), text.size()));
    if (text.empty())
        throw Error("The listing is empty: there is nothing to read.");
    if (startsWithNoCase(text, "<!doctype html") || startsWithNoCase(text, "<html"))
        throw Error("The address gave a web page, not an XMLTV listing (a login page, perhaps).");
}

FetchedListing fetchListing(const ListingSource& source, const FetchOptions& options,
                            const FetchProgress& progress)
{
    if (const auto problem = addressProblem(source.address))
        throw Error(*problem);
    FetchedListing fetched
        = isLocalAddress(source.address) ? fetchLocal(source) : fetchWeb(source, options, progress);
    if (!fetched.unchanged)
        checkListingKind(fetched.file, source.address, options.unpack);
    return fetched;
}

} // namespace brevio::sources
