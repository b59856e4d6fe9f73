#include "ReferenceService.h"

#include "ChildProcess.h"

#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <optional>

namespace qarvon::test {

namespace {

std::string Lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string PercentDecode(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size()
                   && std::isxdigit(static_cast<unsigned char>(text[i + 1]))
                   && std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// The text of the first <name>...</name> in an answer.
std::string ElementText(const std::string &xml, const std::string &name)
{
    const std::string open = "<" + name + ">";
    const auto start = xml.find(open);
    if (start == std::string::npos)
        return {};
    const auto end = xml.find("</" + name + ">", start);
    if (end == std::string::npos)
        return {};
    return xml.substr(start + open.size(), end - start - open.size());
}

class Socket
{
public:
    explicit Socket(int fd)
        : m_fd(fd)
    { }
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::string HttpReply::header(const std::string &name) const
{
    const auto it = headers.find(Lower(name));
    return it == headers.end() ? std::string() : it->second;
}

long long HttpReply::contentLength() const
{
    const std::string value = header("content-length");
    if (value.empty())
        return -1;
    try {
        return std::stoll(value);
    } catch (const std::exception &) {
        return -1;
    }
}

namespace {

struct UrlParts
{
    std::string hostPort;
    std::string host;
    std::string port;
    std::string target;
};

std::optional<UrlParts> SplitUrl(const std::string &url)
{
    const std::string scheme = "http://";
    if (url.rfind(scheme, 0) != 0)
        return std::nullopt;
    UrlParts parts;
    const auto pathStart = url.find('/', scheme.size());
    parts.hostPort = url.substr(scheme.size(), pathStart - scheme.size());
    parts.target = pathStart == std::string::npos ? "/" : url.substr(pathStart);
    const auto colon = parts.hostPort.rfind(':');
    parts.host = colon == std::string::npos ? parts.hostPort : parts.hostPort.substr(0, colon);
    parts.port = colon == std::string::npos ? "80" : parts.hostPort.substr(colon + 1);
    return parts;
}

// Connects, sends the request, reads until the server closes and parses what came.
HttpReply Exchange(const UrlParts &url, const std::string &request, int timeoutMs)
{
    HttpReply reply;
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(url.host.c_str(), url.port.c_str(), &hints, &found) != 0 || !found)
        return reply;
    Socket sock(::socket(found->ai_family, found->ai_socktype, found->ai_protocol));
    timeval tv {};
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = (timeoutMs % 1000) * 1000;
    const bool connected = sock.fd() >= 0
        && setsockopt(sock.fd(), SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv) == 0
        && setsockopt(sock.fd(), SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv) == 0
        && ::connect(sock.fd(), found->ai_addr, found->ai_addrlen) == 0;
    freeaddrinfo(found);
    if (!connected)
        return reply;

    std::size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n
            = ::send(sock.fd(), request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return reply;
        sent += static_cast<std::size_t>(n);
    }

    std::string raw;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::recv(sock.fd(), buffer, sizeof buffer, 0);
        if (n <= 0)
            break; // closed, reset or timed out: what came so far is the answer
        raw.append(buffer, static_cast<std::size_t>(n));
    }

    const auto headEnd = raw.find("\r\n\r\n");
    if (headEnd == std::string::npos)
        return reply;
    const std::string head = raw.substr(0, headEnd);
    reply.body = raw.substr(headEnd + 4);
    std::size_t lineStart = 0;
    bool first = true;
    while (lineStart <= head.size()) {
        auto lineEnd = head.find("\r\n", lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = head.size();
        const std::string line = head.substr(lineStart, lineEnd - lineStart);
        if (first) {
            const auto space = line.find(' ');
            if (line.rfind("HTTP/", 0) != 0 || space == std::string::npos)
                return reply;
            reply.status = std::atoi(line.c_str() + space + 1);
            first = false;
        } else if (const auto sep = line.find(':'); sep != std::string::npos) {
            std::string value = line.substr(sep + 1);
            while (!value.empty() && value.front() == ' ')
                value.erase(0, 1);
            reply.headers.emplace(Lower(line.substr(0, sep)), value);
        }
        lineStart = lineEnd + 2;
    }
    reply.connected = true;
    const long long length = reply.contentLength();
    reply.complete = length < 0 || static_cast<long long>(reply.body.size()) == length;
    return reply;
}

} // namespace

HttpReply HttpGet(const std::string &url, int timeoutMs)
{
    const auto parts = SplitUrl(url);
    if (!parts)
        return {};
    const std::string request = "GET " + parts->target + " HTTP/1.0\r\nHost: " + parts->hostPort
        + "\r\nAccept: */*\r\n\r\n";
    return Exchange(*parts, request, timeoutMs);
}

HttpReply HttpRaw(const std::string &url, const std::string &request, int timeoutMs)
{
    const auto parts = SplitUrl(url);
    if (!parts)
        return {};
    return Exchange(*parts, request, timeoutMs);
}

std::string UrlEncode(const std::string &text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += '+';
        } else if (std::isalnum(c) || c == '-' || c == '.' || c == '_') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

struct ReferenceService::TempDir
{
    QTemporaryDir dir;
};

ReferenceService::ReferenceService(const std::string &dataDir, const QStringList &extraArgs)
{
    if (dataDir.empty()) {
        m_tempDir = std::make_unique<TempDir>();
        m_dataDir = m_tempDir->dir.path().toStdString();
    } else {
        m_dataDir = dataDir;
    }
    QStringList args {QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"),
                      QString::fromStdString(m_dataDir)};
    args += extraArgs;
    m_process
        = std::make_unique<ChildProcess>(BuiltProgram(QStringLiteral("qarvon-service")), args);
    // Generating a fresh catalogue takes a moment; the port line comes once it is ready.
    const std::string line = m_process->readLine(60000);
    try {
        m_port = line.empty() ? 0 : std::stoi(line);
    } catch (const std::exception &) {
        m_port = 0;
    }
}

ReferenceService::~ReferenceService() = default;

bool ReferenceService::running() const
{
    return m_port > 0 && m_process->process().state() == QProcess::Running;
}

int ReferenceService::port() const
{
    return m_port;
}

std::string ReferenceService::baseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(m_port);
}

std::string ReferenceService::requestBase() const
{
    return baseUrl() + "/QarvonApis/requestQarvon?method=";
}

std::string ReferenceService::statisticsTemplate() const
{
    return baseUrl() + "/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s&channel=%s";
}

std::string ReferenceService::dataDir() const
{
    return m_dataDir;
}

HttpReply ReferenceService::call(const std::string &methodAndArguments) const
{
    return HttpGet(requestBase() + methodAndArguments);
}

std::string ReferenceService::signIn(const std::string &user, const std::string &password) const
{
    const HttpReply reply = call("Qarvon.User.Login&u_pwd=" + password + "&u_name=" + user);
    return ElementText(reply.body, "Token");
}

bool ReferenceService::setFault(const ServiceFault &fault) const
{
    std::string url = baseUrl() + "/control/fault?target=" + UrlEncode(fault.target);
    if (fault.delayMs > 0)
        url += "&delay=" + std::to_string(fault.delayMs);
    if (fault.status > 0)
        url += "&status=" + std::to_string(fault.status);
    if (fault.cutAt >= 0)
        url += "&cut=" + std::to_string(fault.cutAt);
    if (fault.dropAt >= 0)
        url += "&drop=" + std::to_string(fault.dropAt);
    if (fault.trickleBytesPerSecond > 0)
        url += "&trickle=" + std::to_string(fault.trickleBytesPerSecond);
    if (fault.malformed)
        url += "&malformed=1";
    if (fault.gbk)
        url += "&gbk=1";
    if (fault.redirect)
        url += "&redirect=1";
    if (fault.count > 0)
        url += "&count=" + std::to_string(fault.count);
    return HttpGet(url).status == 200;
}

bool ReferenceService::clearFault(const std::string &target) const
{
    return HttpGet(baseUrl() + "/control/fault/clear?target=" + UrlEncode(target)).status == 200;
}

bool ReferenceService::clearFaults() const
{
    return HttpGet(baseUrl() + "/control/fault/clear").status == 200;
}

std::vector<StatisticsReport> ReferenceService::statisticsReports() const
{
    std::vector<StatisticsReport> reports;
    const HttpReply reply = HttpGet(baseUrl() + "/control/statistics");
    if (reply.status != 200)
        return reports;
    std::size_t start = 0;
    while (start < reply.body.size()) {
        auto end = reply.body.find('\n', start);
        if (end == std::string::npos)
            end = reply.body.size();
        StatisticsReport report;
        report.query = reply.body.substr(start, end - start);
        start = end + 1;
        if (report.query.empty())
            continue;
        std::size_t pos = 0;
        while (pos <= report.query.size()) {
            auto amp = report.query.find('&', pos);
            if (amp == std::string::npos)
                amp = report.query.size();
            const std::string pair = report.query.substr(pos, amp - pos);
            const auto eq = pair.find('=');
            const std::string key = pair.substr(0, eq);
            const std::string value
                = eq == std::string::npos ? "" : PercentDecode(pair.substr(eq + 1));
            if (key == "mode")
                report.mode = value;
            else if (key == "modu")
                report.modu = value;
            else if (key == "opr")
                report.opr = value;
            else if (key == "macAddress")
                report.macAddress = value;
            else if (key == "user")
                report.user = value;
            else if (key == "channel")
                report.channel = value;
            pos = amp + 1;
        }
        reports.push_back(std::move(report));
    }
    return reports;
}

bool ReferenceService::clearStatistics() const
{
    return HttpGet(baseUrl() + "/control/statistics/clear").status == 200;
}

bool ReferenceService::stop()
{
    if (m_process->process().state() == QProcess::NotRunning)
        return false;
    m_process->terminate();
    if (!m_process->waitForExit(30000))
        return false;
    return m_process->process().exitStatus() == QProcess::NormalExit && m_process->exitCode() == 0;
}

} // namespace qarvon::test
