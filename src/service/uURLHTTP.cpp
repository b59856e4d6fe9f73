// The one place that talks to libcurl. Everything else fetches through FetchUrl.

#include "uQarvonHttp.h"

#include "uTraceM.h"

#include <curl/curl.h>

#include <atomic>
#include <cctype>
#include <exception>
#include <mutex>

namespace qarvon {

namespace {

std::atomic<long> g_connectTimeoutSeconds {15};
std::atomic<long> g_stallSeconds {30};
// Answers read into memory are service documents of a few megabytes at most;
// a body past this size is a broken or hostile server and is dropped.
constexpr std::size_t kDefaultAnswerLimit = 64u * 1024 * 1024;
std::atomic<std::size_t> g_answerLimit {kDefaultAnswerLimit};

void InitCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// One fetch. The client keeps no state between fetches: no cookie engine, no
// shared connection cache, no proxy, so each request is built the same way.
class TURLHTTP
{
public:
    TURLHTTP(const std::string &url, bool http11, const TBodySink &sink,
             const std::atomic<bool> *cancel = nullptr)
        : m_url(url)
        , m_sink(sink)
        , m_cancel(cancel)
        , m_http11(http11)
    { }

    void Get()
    {
        InitCurlOnce();
        CURL *curl = curl_easy_init();
        if (curl == nullptr) {
            Trace("FetchUrl " + m_url + ": no HTTP client");
            return;
        }
        // curl adds Host itself; our Accept replaces its default one and no
        // User-Agent of its own is sent, so these are the only three headers.
        curl_slist *headers = nullptr;
        headers = curl_slist_append(headers, "Accept: text/html, */*");
        headers = curl_slist_append(headers, "User-Agent: Mozilla/3.0 (compatible; Indy Library)");

        curl_easy_setopt(curl, CURLOPT_URL, m_url.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION,
                         m_http11 ? CURL_HTTP_VERSION_1_1 : CURL_HTTP_VERSION_1_0);
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        // An empty proxy overrides http_proxy and friends from the environment.
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
        curl_easy_setopt(curl, CURLOPT_NOPROXY, "*");
        curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, g_connectTimeoutSeconds.load());
        // A slow answer is read whole; only one that sends nothing for the
        // stall time is given up.
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, g_stallSeconds.load());
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 256L * 1024L);
        curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &TURLHTTP::OnHeader);
        curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TURLHTTP::OnBody);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
        if (m_cancel) {
            curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &TURLHTTP::OnProgress);
            curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
            curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
        }

        const CURLcode rc = curl_easy_perform(curl);
        if (rc != CURLE_OK && !m_stoppedBySink && !(m_cancel && m_cancel->load()))
            Trace("FetchUrl " + m_url + ": " + curl_easy_strerror(rc));
        else if (!m_accepting && m_status != 0)
            Trace("FetchUrl " + m_url + ": status " + std::to_string(m_status));
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
    }

private:
    // Every answer of a redirect chain starts with its status line; only a
    // success status lets the body through, so redirect and error bodies are dropped.
    static size_t OnHeader(char *data, size_t size, size_t count, void *self)
    {
        auto *me = static_cast<TURLHTTP *>(self);
        const size_t length = size * count;
        const std::string_view line(data, length);
        if (line.size() > 5 && line.substr(0, 5) == "HTTP/") {
            const size_t space = line.find(' ');
            int status = 0;
            for (size_t i = space + 1; space != std::string_view::npos && i < line.size()
                 && std::isdigit(static_cast<unsigned char>(line[i]));
                 ++i)
                status = status * 10 + (line[i] - '0');
            me->m_status = status;
            me->m_accepting = status >= 200 && status <= 299;
        }
        return length;
    }

    // Called by the library about once a second while it waits, more often while data flows.
    static int OnProgress(void *self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
    {
        const auto *me = static_cast<TURLHTTP *>(self);
        return me->m_cancel->load() ? 1 : 0;
    }

    static size_t OnBody(char *data, size_t size, size_t count, void *self)
    {
        auto *me = static_cast<TURLHTTP *>(self);
        const size_t length = size * count;
        if (!me->m_accepting)
            return length;
        bool more = false;
        try {
            more = me->m_sink(data, length);
        } catch (const std::exception &e) {
            // Nothing may unwind through the C library.
            Trace("FetchUrl " + me->m_url + ": receiver failed: " + e.what());
        } catch (...) {
            Trace("FetchUrl " + me->m_url + ": receiver failed");
        }
        if (!more) {
            me->m_stoppedBySink = true;
            return CURL_WRITEFUNC_ERROR;
        }
        return length;
    }

    const std::string &m_url;
    const TBodySink &m_sink;
    const std::atomic<bool> *m_cancel = nullptr;
    bool m_http11 = false;
    bool m_accepting = false;
    bool m_stoppedBySink = false;
    int m_status = 0;
};

void FetchInto(const std::string &url, bool http11, std::string &stream)
{
    const std::size_t before = stream.size();
    const std::size_t limit = g_answerLimit.load();
    bool tooLarge = false;
    const TBodySink sink = [&](const char *data, std::size_t size) {
        if (stream.size() - before + size > limit) {
            tooLarge = true;
            return false;
        }
        stream.append(data, size);
        return true;
    };
    TURLHTTP(url, http11, sink).Get();
    if (tooLarge) {
        stream.resize(before);
        Trace("fetch " + url + ": answer larger than " + std::to_string(limit) + " bytes dropped");
    }
}

} // namespace

void FetchUrl(const std::string &url, std::string &stream)
{
    FetchInto(url, false, stream);
}

void FetchUrl(const std::string &url, const TBodySink &sink)
{
    TURLHTTP(url, false, sink).Get();
}

void FetchUrl(const std::string &url, const TBodySink &sink, const std::atomic<bool> &cancel)
{
    if (!cancel.load())
        TURLHTTP(url, false, sink, &cancel).Get();
}

void FetchUrlHttp11(const std::string &url, std::string &stream)
{
    FetchInto(url, true, stream);
}

void SetFetchAnswerLimit(std::size_t bytes)
{
    g_answerLimit = bytes > 0 ? bytes : kDefaultAnswerLimit;
}

void SetFetchTimeouts(int connectSeconds, int stallSeconds)
{
    g_connectTimeoutSeconds = connectSeconds > 0 ? connectSeconds : 15;
    g_stallSeconds = stallSeconds > 0 ? stallSeconds : 30;
}

} // namespace qarvon
