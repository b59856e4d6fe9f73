#include "Server.h"

#include "Catalogue.h"
#include "Faults.h"
#include "MediaStore.h"
#include "MethodHandlers.h"
#include "TextUtil.h"

#include <httplib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace qarvon::refsvc {

namespace {

// A redirect fault sends the client back to the same address with this mark,
// and the marked request is answered without faults.
constexpr const char *kRedirectMark = "qarvon_redirected";
constexpr std::size_t kChunk = 64 * 1024;
// A request body is at most the form of a fault switch.
constexpr long long kLargestRequestBody = 64 * 1024;
constexpr int kBenchModulus = 251;

class Source
{
public:
    virtual ~Source() = default;
    virtual long long size() const = 0;
    virtual bool read(long long offset, std::size_t length, char *out) const = 0;
};

class TextSource : public Source
{
public:
    explicit TextSource(std::string text)
        : m_text(std::move(text))
    { }
    long long size() const override { return static_cast<long long>(m_text.size()); }
    bool read(long long offset, std::size_t length, char *out) const override
    {
        std::copy_n(m_text.data() + offset, length, out);
        return true;
    }

private:
    std::string m_text;
};

class FileSource : public Source
{
public:
    explicit FileSource(const std::string &path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat st
        {
        };
        if (m_fd >= 0 && ::fstat(m_fd, &st) == 0)
            m_size = st.st_size;
    }
    ~FileSource() override
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileSource(const FileSource &) = delete;
    FileSource &operator=(const FileSource &) = delete;

    bool ok() const { return m_fd >= 0 && m_size >= 0; }
    long long size() const override { return m_size; }
    bool read(long long offset, std::size_t length, char *out) const override
    {
        std::size_t done = 0;
        while (done < length) {
            const ssize_t n = ::pread(m_fd, out + done, length - done,
                                      static_cast<off_t>(offset + static_cast<long long>(done)));
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int m_fd;
    long long m_size = -1;
};

// Byte i is i mod 251: cheap to make, never held whole, and a shifted or
// repeated block shows up at once when a test compares it.
class PatternSource : public Source
{
public:
    explicit PatternSource(long long size)
        : m_size(size)
    { }
    long long size() const override { return m_size; }
    bool read(long long offset, std::size_t length, char *out) const override
    {
        // One period-aligned template covers any chunk, so a read is a single copy.
        static const std::string pattern = [] {
            std::string p(kChunk + kBenchModulus, '\0');
            for (std::size_t i = 0; i < p.size(); ++i)
                p[i] = static_cast<char>(i % kBenchModulus);
            return p;
        }();
        std::size_t done = 0;
        while (done < length) {
            const auto start
                = static_cast<std::size_t>((offset + static_cast<long long>(done)) % kBenchModulus);
            const std::size_t n = std::min(length - done, pattern.size() - start);
            std::copy_n(pattern.data() + start, n, out + done);
            done += n;
        }
        return true;
    }

private:
    long long m_size;
};

void Send(httplib::Response &res, std::shared_ptr<const Source> source, const std::string &type,
          const std::optional<FaultSpec> &fault)
{
    long long total = source->size();
    long long dropAt = -1;
    std::size_t tricklePiece = 0;
    if (fault) {
        if (fault->cutAt >= 0)
            total = std::min(total, fault->cutAt);
        if (fault->dropAt >= 0 && fault->dropAt < total)
            dropAt = fault->dropAt;
        if (fault->trickle > 0)
            tricklePiece = fault->tricklePiece();
    }
    if (total == 0) {
        // The server library streams an empty provider without a length; say it plainly.
        res.set_content(std::string(), type);
        return;
    }
    const auto length = static_cast<std::size_t>(total);
    res.set_content_provider(
        length, type,
        [source, dropAt, tricklePiece](std::size_t offset, std::size_t wanted,
                                       httplib::DataSink &sink) {
            const auto at = static_cast<long long>(offset);
            // Returning false makes the server close the connection mid-body.
            if (dropAt >= 0 && at >= dropAt)
                return false;
            std::size_t chunk = std::min(wanted, kChunk);
            if (dropAt >= 0)
                chunk = std::min(chunk, static_cast<std::size_t>(dropAt - at));
            if (tricklePiece > 0) {
                chunk = std::min(chunk, tricklePiece);
                std::this_thread::sleep_for(
                    std::chrono::milliseconds(FaultSpec::kTrickleIntervalMs));
            }
            std::string buffer(chunk, '\0');
            if (!source->read(at, chunk, buffer.data()))
                return false;
            return sink.write(buffer.data(), chunk);
        });
}

std::string GbkDocument(const std::string &xml)
{
    std::string text = xml;
    const std::string utf8Declaration = "encoding=\"utf-8\"";
    const auto pos = text.find(utf8Declaration);
    if (pos != std::string::npos)
        text.replace(pos, utf8Declaration.size(), "encoding=\"GBK\"");
    return Utf8ToGbk(text);
}

// Cut before the last closing tag and leave a tag open: never well-formed.
std::string MalformedDocument(const std::string &xml)
{
    const auto pos = xml.rfind("</");
    return xml.substr(0, pos == std::string::npos ? xml.size() : pos) + "<unclosed a=\"";
}

// The server library reads the whole body of these methods into memory before
// routing, without a bound for a chunked body or one that runs to the end of
// the connection. Such a body is refused before it is read: 411 without a
// length, 413 when chunked or longer than we ever need.
int BodyRefusal(const httplib::Request &req)
{
    static const std::set<std::string> kMethodsWithBody = {"POST", "PUT", "PATCH", "DELETE", "PRI"};
    if (!kMethodsWithBody.count(req.method))
        return 0;
    if (req.has_header("Transfer-Encoding"))
        return 413;
    long long length = 0;
    if (!req.has_header("Content-Length"))
        return 411;
    if (!ParseInt64(Trim(req.get_header_value("Content-Length")), length) || length < 0)
        return 400;
    return length > kLargestRequestBody ? 413 : 0;
}

bool PlainHost(const std::string &host)
{
    if (host.empty() || host.size() > 255)
        return false;
    return std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == ':'
            || c == '[' || c == ']';
    });
}

} // namespace

struct Server::Impl
{
    Impl(Catalogue &c, MediaStore &m, FaultTable &f)
        : catalogue(c)
        , media(m)
        , faults(f)
        , methods(c)
    { }

    std::string baseUrl(const httplib::Request &req) const
    {
        const std::string host = req.get_header_value("Host");
        if (PlainHost(host))
            return "http://" + host;
        return "http://" + fallbackHost + ":" + std::to_string(port);
    }

    // Applies the fault's redirect, delay and status; true when the answer is already made.
    bool spoilEarly(const httplib::Request &req, httplib::Response &res,
                    const std::optional<FaultSpec> &fault) const
    {
        if (!fault)
            return false;
        if (fault->redirect) {
            const char join = req.target.find('?') == std::string::npos ? '?' : '&';
            res.status = 302;
            res.set_header("Location", baseUrl(req) + req.target + join + kRedirectMark + "=1");
            return true;
        }
        if (fault->delayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
        if (fault->status > 0) {
            res.status = fault->status;
            return true;
        }
        return false;
    }

    std::optional<FaultSpec> faultFor(const httplib::Request &req, const std::string &method)
    {
        if (req.has_param(kRedirectMark))
            return std::nullopt;
        return faults.take(method, req.path);
    }

    void api(const httplib::Request &req, httplib::Response &res)
    {
        ApiRequest request;
        request.method = req.get_param_value("method");
        for (const auto &[key, value] : req.params)
            request.params.emplace(key, value);
        request.baseUrl = baseUrl(req);
        const auto fault = faultFor(req, request.method);
        if (spoilEarly(req, res, fault))
            return;
        std::string xml = methods.answer(request);
        std::string type = "text/xml; charset=utf-8";
        if (fault && fault->gbk) {
            xml = GbkDocument(xml);
            type = "text/xml; charset=GBK";
        }
        if (fault && fault->malformed)
            xml = MalformedDocument(xml);
        Send(res, std::make_shared<TextSource>(std::move(xml)), type, fault);
    }

    void serveMedia(const httplib::Request &req, httplib::Response &res, MediaKind kind,
                    const std::string &idText)
    {
        long long id = 0;
        if (!ParseInt64(idText, id) || id <= 0) {
            res.status = 404;
            return;
        }
        const auto fault = faultFor(req, {});
        if (spoilEarly(req, res, fault))
            return;
        const auto path = media.file(kind, id);
        if (!path) {
            res.status = 404;
            return;
        }
        auto source = std::make_shared<FileSource>(*path);
        if (!source->ok()) {
            res.status = 500;
            return;
        }
        Send(res, std::move(source), MediaStore::contentType(kind), fault);
    }

    void bench(const httplib::Request &req, httplib::Response &res, const std::string &sizeText)
    {
        long long size = 0;
        if (!ParseInt64(sizeText, size) || size < 0) {
            res.status = 404;
            return;
        }
        const auto fault = faultFor(req, {});
        if (spoilEarly(req, res, fault))
            return;
        Send(res, std::make_shared<PatternSource>(size), "application/octet-stream", fault);
    }

    void download(const httplib::Request &req, httplib::Response &res, const std::string &idText)
    {
        long long id = 0;
        if (!ParseInt64(idText, id) || id <= 0 || !catalogue.track(id)) {
            res.status = 404;
            return;
        }
        const auto fault = faultFor(req, {});
        if (spoilEarly(req, res, fault))
            return;
        res.status = 302;
        res.set_header("Location", baseUrl(req) + "/media/audio/" + std::to_string(id) + ".mp3");
    }

    void statistics(const httplib::Request &req, httplib::Response &res)
    {
        const auto fault = faultFor(req, {});
        if (spoilEarly(req, res, fault))
            return;
        const auto q = req.target.find('?');
        catalogue.recordReport(q == std::string::npos ? std::string() : req.target.substr(q + 1));
        Send(res, std::make_shared<TextSource>("ok"), "text/plain", fault);
    }

    void setFault(const httplib::Request &req, httplib::Response &res)
    {
        const std::string target = req.get_param_value("target");
        if (!ValidFaultTarget(target)) {
            res.status = 400;
            res.set_content("target must be *, a method name or a path prefix\n", "text/plain");
            return;
        }
        std::string text;
        for (const char *key : {"delay", "status", "cut", "drop", "trickle", "malformed", "gbk",
                                "redirect", "count"}) {
            if (!req.has_param(key))
                continue;
            if (!text.empty())
                text += ',';
            text += std::string(key) + "=" + req.get_param_value(key);
        }
        std::string error;
        const auto spec = ParseFaultSpec(text, error);
        if (!spec) {
            res.status = 400;
            res.set_content(error + "\n", "text/plain");
            return;
        }
        faults.set(target, *spec);
        res.set_content("ok\n", "text/plain");
    }

    void clearFault(const httplib::Request &req, httplib::Response &res)
    {
        if (req.has_param("target"))
            faults.clear(req.get_param_value("target"));
        else
            faults.clearAll();
        res.set_content("ok\n", "text/plain");
    }

    void listFaults(httplib::Response &res)
    {
        std::string text;
        for (const auto &[target, spec] : faults.list())
            text += target + " " + DescribeFault(spec) + "\n";
        res.set_content(text, "text/plain; charset=utf-8");
    }

    void listReports(httplib::Response &res)
    {
        std::string text;
        for (const auto &query : catalogue.reports())
            text += query + "\n";
        res.set_content(text, "text/plain; charset=utf-8");
    }

    void routes()
    {
        using Req = const httplib::Request &;
        using Res = httplib::Response &;
        http.Get("/", [](Req, Res res) {
            res.set_content("qarvon-service: the reference music service.\n"
                            "API: /QarvonApis/requestQarvon?method=...\n"
                            "Statistics: /datastatics.php?mode=..&modu=..&opr=..\n",
                            "text/plain");
        });
        http.Get("/QarvonApis/requestQarvon", [this](Req req, Res res) { api(req, res); });
        const std::vector<std::pair<std::string, MediaKind>> media = {
            {R"(/media/audio/(\d{1,18})\.mp3)", MediaKind::Audio},
            {R"(/media/lyric/(\d{1,18})\.lrc)", MediaKind::Lyric},
            {R"(/media/cover/(\d{1,18})_s\.jpg)", MediaKind::CoverSmall},
            {R"(/media/cover/(\d{1,18})_m\.jpg)", MediaKind::CoverMiddle},
            {R"(/media/artist/(\d{1,18})\.jpg)", MediaKind::ArtistPicture},
            {R"(/media/topic/(\d{1,18})\.jpg)", MediaKind::TopicPicture},
            {R"(/media/avatar/(\d{1,18})\.jpg)", MediaKind::Avatar},
        };
        for (const auto &[pattern, kind] : media) {
            const MediaKind k = kind;
            http.Get(pattern,
                     [this, k](Req req, Res res) { serveMedia(req, res, k, req.matches[1]); });
        }
        http.Get(R"(/media/bench/(\d{1,15})\.bin)",
                 [this](Req req, Res res) { bench(req, res, req.matches[1]); });
        http.Get(R"(/download/(?:track|mirror)/(\d{1,18})\.mp3)",
                 [this](Req req, Res res) { download(req, res, req.matches[1]); });
        http.Get("/datastatics.php", [this](Req req, Res res) { statistics(req, res); });
        http.Get("/control/fault", [this](Req req, Res res) { setFault(req, res); });
        http.Post("/control/fault", [this](Req req, Res res) { setFault(req, res); });
        http.Get("/control/fault/clear", [this](Req req, Res res) { clearFault(req, res); });
        http.Post("/control/fault/clear", [this](Req req, Res res) { clearFault(req, res); });
        http.Get("/control/faults", [this](Req, Res res) { listFaults(res); });
        http.Get("/control/statistics", [this](Req, Res res) { listReports(res); });
        auto clearReports = [this](Req, Res res) {
            catalogue.clearReports();
            res.set_content("ok\n", "text/plain");
        };
        http.Get("/control/statistics/clear", clearReports);
        http.Post("/control/statistics/clear", clearReports);
        http.set_pre_routing_handler([](Req req, Res res) {
            const int refusal = BodyRefusal(req);
            if (refusal == 0)
                return httplib::Server::HandlerResponse::Unhandled;
            res.status = refusal;
            // The body is left unread, so the connection cannot carry another request.
            res.set_header("Connection", "close");
            return httplib::Server::HandlerResponse::Handled;
        });
        http.set_exception_handler([](Req req, Res res, std::exception_ptr ep) {
            try {
                std::rethrow_exception(ep);
            } catch (const std::exception &e) {
                std::fprintf(stderr, "qarvon-service: %s failed: %s\n", req.path.c_str(), e.what());
            } catch (...) {
                std::fprintf(stderr, "qarvon-service: %s failed\n", req.path.c_str());
            }
            res.status = 500;
        });
    }

    Catalogue &catalogue;
    MediaStore &media;
    FaultTable &faults;
    MethodHandlers methods;
    httplib::Server http;
    std::string fallbackHost = "127.0.0.1";
    int port = 0;

    // The server library ignores a stop that comes before it has started
    // listening, so run() and stop() agree on the state under this lock.
    enum class State { Idle, Listening, Stopped };
    std::mutex stateMutex;
    std::condition_variable stateChanged;
    State state = State::Idle;
};

Server::Server(Catalogue &catalogue, MediaStore &media, FaultTable &faults)
    : d(std::make_unique<Impl>(catalogue, media, faults))
{
    // Slow and trickling answers hold a thread each; leave room for the rest.
    d->http.new_task_queue = [] { return new httplib::ThreadPool(32); };
    d->routes();
}

Server::~Server() = default;

int Server::bind(const std::string &host, int port)
{
    if (host != "0.0.0.0" && host != "::" && !host.empty())
        d->fallbackHost = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    if (port == 0) {
        d->port = d->http.bind_to_any_port(host);
        return d->port > 0 ? d->port : -1;
    }
    if (!d->http.bind_to_port(host, port))
        return -1;
    d->port = port;
    return port;
}

bool Server::run()
{
    {
        std::lock_guard lock(d->stateMutex);
        if (d->state == Impl::State::Stopped)
            return true;
        d->state = Impl::State::Listening;
    }
    const bool served = d->http.listen_after_bind();
    {
        std::lock_guard lock(d->stateMutex);
        d->state = Impl::State::Stopped;
    }
    d->stateChanged.notify_all();
    return served;
}

void Server::stop()
{
    std::unique_lock lock(d->stateMutex);
    if (d->state == Impl::State::Idle) {
        d->state = Impl::State::Stopped;
        return;
    }
    // run() may be between taking the state and the library's own start, where
    // a stop goes unseen: wait for the library to run, then stop it.
    while (d->state == Impl::State::Listening && !d->http.is_running())
        d->stateChanged.wait_for(lock, std::chrono::milliseconds(10));
    if (d->state == Impl::State::Listening)
        d->http.stop();
}

} // namespace qarvon::refsvc
