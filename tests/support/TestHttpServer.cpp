#include "TestHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>

namespace qarvon::test {

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string ReasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

// Splits the head (everything before the blank line) into its lines.
void ParseHead(TRecordedRequest &request)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < request.raw.size()) {
        std::size_t end = request.raw.find("\r\n", start);
        if (end == std::string::npos)
            end = request.raw.size();
        lines.push_back(request.raw.substr(start, end - start));
        start = end + 2;
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    if (lines.empty())
        return;
    request.requestLine = lines.front();
    request.headerLines.assign(lines.begin() + 1, lines.end());

    const std::string &line = request.requestLine;
    const std::size_t sp1 = line.find(' ');
    const std::size_t sp2 = sp1 == std::string::npos ? sp1 : line.find(' ', sp1 + 1);
    if (sp2 == std::string::npos)
        return;
    request.method = line.substr(0, sp1);
    request.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    request.version = line.substr(sp2 + 1);
    request.path = request.target.substr(0, request.target.find('?'));
}

} // namespace

TScriptedResponse TScriptedResponse::Ok(std::string body, const std::string &contentType)
{
    TScriptedResponse r;
    r.body = std::move(body);
    if (!contentType.empty())
        r.headers.emplace_back("Content-Type", contentType);
    return r;
}

TScriptedResponse TScriptedResponse::Status(int status, std::string body)
{
    TScriptedResponse r;
    r.status = status;
    r.body = std::move(body);
    return r;
}

TScriptedResponse TScriptedResponse::Redirect(std::string location, int status)
{
    TScriptedResponse r;
    r.status = status;
    r.location = std::move(location);
    r.body = "<html>moved</html>";
    return r;
}

std::string TRecordedRequest::header(const std::string &name) const
{
    const std::string wanted = Lower(name);
    for (const std::string &line : headerLines) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos || Lower(line.substr(0, colon)) != wanted)
            continue;
        std::size_t valueStart = colon + 1;
        while (valueStart < line.size() && (line[valueStart] == ' ' || line[valueStart] == '\t'))
            ++valueStart;
        return line.substr(valueStart);
    }
    return {};
}

bool TRecordedRequest::hasHeader(const std::string &name) const
{
    const std::string wanted = Lower(name);
    return std::any_of(headerLines.begin(), headerLines.end(), [&](const std::string &line) {
        const std::size_t colon = line.find(':');
        return colon != std::string::npos && Lower(line.substr(0, colon)) == wanted;
    });
}

TestHttpServer::TestHttpServer()
{
    m_fallback = TScriptedResponse::Status(404, "not found");
    if (::pipe2(m_wakePipe, O_CLOEXEC) != 0)
        return;
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    const int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(fd, 64) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0) {
        ::close(fd);
        return;
    }
    m_port = ntohs(addr.sin_port);
    m_listenFd = fd;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
}

TestHttpServer::~TestHttpServer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_wakePipe[1] >= 0) {
        const char c = 'x';
        [[maybe_unused]] const auto n = ::write(m_wakePipe[1], &c, 1);
    }
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    // The accept thread has ended, so the list no longer grows.
    for (std::thread &t : m_connectionThreads)
        t.join();
    if (m_listenFd >= 0)
        ::close(m_listenFd);
    for (int fd : m_wakePipe) {
        if (fd >= 0)
            ::close(fd);
    }
}

std::string TestHttpServer::url(const std::string &target) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + target;
}

void TestHttpServer::SetResponse(const std::string &pathOrTarget, TScriptedResponse response)
{
    SetResponseSequence(pathOrTarget, {std::move(response)});
}

void TestHttpServer::SetResponseSequence(const std::string &pathOrTarget,
                                         std::vector<TScriptedResponse> responses)
{
    std::lock_guard lock(m_mutex);
    m_responses[pathOrTarget] = std::move(responses);
    m_sequencePos[pathOrTarget] = 0;
}

void TestHttpServer::SetFallback(TScriptedResponse response)
{
    std::lock_guard lock(m_mutex);
    m_fallback = std::move(response);
}

void TestHttpServer::ReleaseHeld()
{
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
    }
    m_changed.notify_all();
}

std::vector<TRecordedRequest> TestHttpServer::requests() const
{
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::size_t TestHttpServer::requestCount() const
{
    std::lock_guard lock(m_mutex);
    return m_requests.size();
}

bool TestHttpServer::WaitForRequests(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_requests.size() >= count; });
}

bool TestHttpServer::WaitForAnswered(std::size_t count, int timeoutMs) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [&] { return m_answered >= count; });
}

void TestHttpServer::ClearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
    m_answered = 0;
}

void TestHttpServer::AcceptLoop()
{
    for (;;) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents != 0)
            return;
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        m_connectionThreads.emplace_back([this, fd] { Serve(fd); });
    }
}

TScriptedResponse TestHttpServer::Lookup(const std::string &target, const std::string &path)
{
    std::lock_guard lock(m_mutex);
    for (const std::string &key : {target, path}) {
        auto it = m_responses.find(key);
        if (it == m_responses.end() || it->second.empty())
            continue;
        std::size_t &pos = m_sequencePos[key];
        const TScriptedResponse &r = it->second[std::min(pos, it->second.size() - 1)];
        ++pos;
        return r;
    }
    return m_fallback;
}

bool TestHttpServer::Pause(int ms)
{
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_stopping; });
}

bool TestHttpServer::SendAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void TestHttpServer::Serve(int fd)
{
    // Reads with a short poll so a stopping server is noticed.
    auto readSome = [&](std::string &into) -> bool {
        for (;;) {
            {
                std::lock_guard lock(m_mutex);
                if (m_stopping)
                    return false;
            }
            pollfd p {fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, 50);
            if (ready == 0)
                continue;
            if (ready < 0)
                return false;
            char buffer[8192];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return false;
            into.append(buffer, static_cast<std::size_t>(n));
            return true;
        }
    };

    std::string received;
    std::size_t headEnd = std::string::npos;
    while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
        if (received.size() > 1024 * 1024 || !readSome(received)) {
            ::close(fd);
            return;
        }
    }

    TRecordedRequest request;
    request.raw = received.substr(0, headEnd + 4);
    ParseHead(request);
    std::string rest = received.substr(headEnd + 4);
    const std::string lengthText = request.header("Content-Length");
    if (!lengthText.empty()) {
        const std::size_t length = std::strtoul(lengthText.c_str(), nullptr, 10);
        while (rest.size() < length && readSome(rest)) { }
        request.body = rest.substr(0, length);
    }
    const TScriptedResponse response = Lookup(request.target, request.path);
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(request);
    }
    m_changed.notify_all();

    auto answer = [&]() {
        if (response.delayMs > 0 && !Pause(response.delayMs))
            return;
        if (response.holdUntilReleased) {
            std::unique_lock lock(m_mutex);
            m_changed.wait(lock, [&] { return m_stopping || m_released; });
            if (m_stopping)
                return;
        }
        if (response.dropConnection)
            return;

        int status = response.status;
        if (!response.location.empty() && status == 200)
            status = 302;
        std::string head = "HTTP/1.1 " + std::to_string(status) + " "
            + (response.reason.empty() ? ReasonPhrase(status) : response.reason) + "\r\n";
        if (!response.location.empty())
            head += "Location: " + response.location + "\r\n";
        for (const auto &[name, value] : response.headers)
            head += name + ": " + value + "\r\n";
        if (!response.omitContentLength)
            head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        if (!SendAll(fd, head.data(), head.size()))
            return;

        const std::size_t toSend = std::min(response.cutAfter, response.body.size());
        const std::size_t piece = response.trickleBytes > 0 ? response.trickleBytes : toSend;
        for (std::size_t sent = 0; sent < toSend;) {
            const std::size_t n = std::min(piece, toSend - sent);
            if (!SendAll(fd, response.body.data() + sent, n))
                return;
            sent += n;
            if (response.trickleBytes > 0 && sent < toSend && response.trickleIntervalMs > 0
                && !Pause(response.trickleIntervalMs))
                return;
        }
        if (response.cutAfter < response.body.size() && response.stallAfterCut) {
            // Silent until the client gives up (closes) or the server stops.
            std::string ignored;
            while (readSome(ignored)) { }
        }
    };
    answer();
    ::shutdown(fd, SHUT_RDWR);
    ::close(fd);
    {
        std::lock_guard lock(m_mutex);
        ++m_answered;
    }
    m_changed.notify_all();
}

} // namespace qarvon::test
