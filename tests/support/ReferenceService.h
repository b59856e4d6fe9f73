#pragma once

#include <QStringList>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qarvon::test {

class ChildProcess;

// One answer as it came off the wire: a plain HTTP/1.0 GET that does not
// follow redirects, so tests see 302s, cut bodies and dropped connections.
struct HttpReply
{
    bool connected = false; // false: no connection, or no status line came back
    int status = 0;
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
    bool complete = false; // the body holds every byte Content-Length announced

    std::string header(const std::string &name) const; // "" when absent
    long long contentLength() const; // -1 when absent
};

HttpReply HttpGet(const std::string &url, int timeoutMs = 30000);

// Sends `request` (request line, headers and any body) exactly as given to the
// host of `url` and reads the answer until the server closes: for requests
// HttpGet does not make, such as a POST with odd headers.
HttpReply HttpRaw(const std::string &url, const std::string &request, int timeoutMs = 30000);

// Percent-encodes a query value: UTF-8 bytes as %xx, blanks as "+", letters kept.
std::string UrlEncode(const std::string &text);

// A fault switch of the service; see docs/service-api.md for the meaning of each.
struct ServiceFault
{
    std::string target; // "*", a method name ("Qarvon.Search.SearchTrack") or a path prefix
    int delayMs = 0;
    int status = 0;
    long long cutAt = -1; // body cut short after that many bytes (Content-Length agrees)
    long long dropAt = -1; // connection dropped after that many body bytes
    int trickleBytesPerSecond = 0;
    bool malformed = false;
    bool gbk = false;
    bool redirect = false;
    int count = -1; // answers to spoil; -1 for all until cleared
};

// One report the statistics path received, its values decoded.
struct StatisticsReport
{
    std::string mode;
    std::string modu;
    std::string opr;
    std::string macAddress;
    std::string user;
    std::string channel;
    std::string query; // the query text exactly as it arrived
};

// The reference service (qarvon-service) running beside a test on a free
// loopback port. Without a data folder it gets a temporary one, removed at the
// end; pass a folder to keep the database over a restart. The process is
// killed when the object goes away. Tests using it need the build to make
// the program first: add_dependencies(<test> qarvon-service).
class ReferenceService
{
public:
    explicit ReferenceService(const std::string &dataDir = {}, const QStringList &extraArgs = {});
    ~ReferenceService();
    ReferenceService(const ReferenceService &) = delete;
    ReferenceService &operator=(const ReferenceService &) = delete;

    bool running() const;
    int port() const;
    std::string baseUrl() const; // http://127.0.0.1:PORT
    std::string requestBase() const; // baseUrl() + "/QarvonApis/requestQarvon?method="
    std::string statisticsTemplate() const; // baseUrl() + "/datastatics.php?mode=%s&..."
    std::string dataDir() const;

    // GET requestBase() + methodAndArguments, e.g. "Qarvon.Track.GetTrack&trackID=300001".
    HttpReply call(const std::string &methodAndArguments) const;
    // Signs in and returns the token ("" when refused).
    std::string signIn(const std::string &user = "demo",
                       const std::string &password = "demo123") const;

    bool setFault(const ServiceFault &fault) const;
    bool clearFault(const std::string &target) const;
    bool clearFaults() const;

    std::vector<StatisticsReport> statisticsReports() const;
    bool clearStatistics() const;

    // SIGTERM and wait; true when it ended cleanly with status 0.
    bool stop();

private:
    struct TempDir;
    std::unique_ptr<TempDir> m_tempDir;
    std::string m_dataDir;
    std::unique_ptr<ChildProcess> m_process;
    int m_port = 0;
};

} // namespace qarvon::test
