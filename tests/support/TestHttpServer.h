#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace qarvon::test {

// What the server answers for one path. The defaults give "200 OK" with the
// body, a Content-Length and "Connection: close".
struct TScriptedResponse
{
    static constexpr std::size_t kWhole = std::numeric_limits<std::size_t>::max();

    int status = 200;
    std::string reason; // "" = the usual phrase
    std::vector<std::pair<std::string, std::string>> headers; // extra headers, in order
    std::string body;
    std::string location; // when set: a Location header (status 302 unless given)
    int delayMs = 0; // pause before the status line is sent
    bool holdUntilReleased = false; // before the status line, wait for ReleaseHeld()
    bool dropConnection = false; // close the connection without any answer
    bool omitContentLength = false; // the body ends when the connection closes
    std::size_t cutAfter = kWhole; // send only that many body bytes, then close
    bool stallAfterCut = false; // after cutAfter bytes keep the connection open, silent
    std::size_t trickleBytes = 0; // send the body in pieces of that size...
    int trickleIntervalMs = 0; // ...with this pause between them

    static TScriptedResponse Ok(std::string body, const std::string &contentType = "text/xml");
    static TScriptedResponse Status(int status, std::string body = {});
    static TScriptedResponse Redirect(std::string location, int status = 302);
};

// One request as it reached the server.
struct TRecordedRequest
{
    std::string raw; // request line and headers byte for byte, up to and with the blank line
    std::string requestLine; // without the line end
    std::vector<std::string> headerLines; // each without its line end, in order
    std::string method;
    std::string target; // as in the request line (path and query)
    std::string path; // target without the query
    std::string version; // "HTTP/1.0", "HTTP/1.1"
    std::string body; // only when a Content-Length announced one

    // The value of the first header of that name (case-insensitive), "" when absent.
    std::string header(const std::string &name) const;
    bool hasHeader(const std::string &name) const;
};

// A small HTTP server on 127.0.0.1 with an ephemeral port, on its own threads,
// answering from a table of scripted responses. It records every request.
// Lookup order: the exact target (path and query), then the path alone, then
// the fallback (404 unless SetFallback changed it).
class TestHttpServer
{
public:
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer &) = delete;
    TestHttpServer &operator=(const TestHttpServer &) = delete;

    bool started() const { return m_listenFd >= 0; }
    std::uint16_t port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by target (which starts with "/").
    std::string url(const std::string &target = "/") const;

    void SetResponse(const std::string &pathOrTarget, TScriptedResponse response);
    // Answers in turn for one path; the last one repeats.
    void SetResponseSequence(const std::string &pathOrTarget,
                             std::vector<TScriptedResponse> responses);
    void SetFallback(TScriptedResponse response);
    // Lets every held answer (and every later one) go.
    void ReleaseHeld();

    std::vector<TRecordedRequest> requests() const;
    std::size_t requestCount() const;
    // Waits until at least count requests arrived (false on time-out).
    bool WaitForRequests(std::size_t count, int timeoutMs = 10000) const;
    // Waits until at least count answers were finished or given up.
    bool WaitForAnswered(std::size_t count, int timeoutMs = 10000) const;
    void ClearRequests();

private:
    void AcceptLoop();
    void Serve(int fd);
    TScriptedResponse Lookup(const std::string &target, const std::string &path);
    bool SendAll(int fd, const char *data, std::size_t size);
    // Sleeps unless the server stops first; false when it stopped.
    bool Pause(int ms);

    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::uint16_t m_port = 0;
    std::thread m_acceptThread;
    std::vector<std::thread> m_connectionThreads;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_stopping = false;
    bool m_released = false;
    std::map<std::string, std::vector<TScriptedResponse>> m_responses;
    std::map<std::string, std::size_t> m_sequencePos;
    TScriptedResponse m_fallback;
    std::vector<TRecordedRequest> m_requests;
    std::size_t m_answered = 0;
};

} // namespace qarvon::test
