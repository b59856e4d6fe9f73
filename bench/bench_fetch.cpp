// FetchUrl of a 100 MB body beside the curl program fetching the same address
// to /dev/null, in one run. The body comes from the reference service's
// /media/bench/<N>.bin when qarvon-service is built beside this program, else
// from a small loopback server in this process. Prints the throughput ratio
// (goal: at least 0.9 of curl's).

#include "uQarvonHttp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

// The measured body and rounds; --smoke makes both small, for the test run.
long long kBodySize = 100LL * 1024 * 1024;
int kRounds = 5;

// The reference service as a child process, listening on a free port.
class ReferenceServiceProcess
{
public:
    explicit ReferenceServiceProcess(const std::string &program)
    {
        std::string dirTemplate
            = (std::filesystem::temp_directory_path() / "qarvon-bench-XXXXXX").string();
        if (::mkdtemp(dirTemplate.data()) == nullptr)
            return;
        m_dataDir = dirTemplate;
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            ::execl(program.c_str(), program.c_str(), "--port", "0", "--data", m_dataDir.c_str(),
                    static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        std::string line;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n')
            line += c;
        ::close(out[0]);
        m_port = std::atoi(line.c_str());
    }
    ~ReferenceServiceProcess()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (!m_dataDir.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(m_dataDir, ignored);
        }
    }
    int port() const { return m_port; }

private:
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_dataDir;
};

// Serves the same body to every GET, one connection at a time.
class LoopbackServer
{
public:
    LoopbackServer()
        : m_body(1024 * 1024, 'q')
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr {};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (::bind(m_fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0
            || ::listen(m_fd, 8) != 0
            || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
            return;
        m_port = ntohs(addr.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }
    ~LoopbackServer()
    {
        m_stop = true;
        ::shutdown(m_fd, SHUT_RDWR);
        ::close(m_fd);
        if (m_thread.joinable())
            m_thread.join();
    }
    int port() const { return m_port; }

private:
    void Serve()
    {
        while (!m_stop) {
            const int c = ::accept(m_fd, nullptr, nullptr);
            if (c < 0)
                return;
            char buffer[4096];
            std::string head;
            while (head.find("\r\n\r\n") == std::string::npos) {
                const ssize_t n = ::recv(c, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                head.append(buffer, static_cast<std::size_t>(n));
            }
            const std::string status = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream"
                                       "\r\nContent-Length: "
                + std::to_string(kBodySize) + "\r\nConnection: close\r\n\r\n";
            bool ok = ::send(c, status.data(), status.size(), MSG_NOSIGNAL) > 0;
            for (long long sent = 0; ok && sent < kBodySize;) {
                const std::size_t n = static_cast<std::size_t>(
                    std::min<long long>(static_cast<long long>(m_body.size()), kBodySize - sent));
                const ssize_t w = ::send(c, m_body.data(), n, MSG_NOSIGNAL);
                ok = w > 0;
                sent += w;
            }
            ::close(c);
        }
    }

    std::string m_body;
    int m_fd = -1;
    int m_port = 0;
    std::atomic<bool> m_stop {false};
    std::thread m_thread;
};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    const std::filesystem::path self = std::filesystem::absolute(argv[0]);
    const std::string serviceProgram = (self.parent_path() / "qarvon-service").string();
    bool useReference = true;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--loopback") {
            useReference = false;
        } else if (arg == "--smoke") {
            kBodySize = 1024 * 1024;
            kRounds = 1;
        } else {
            std::fprintf(stderr, "usage: bench_fetch [--loopback] [--smoke]\n");
            return 2;
        }
    }

    std::unique_ptr<ReferenceServiceProcess> service;
    std::unique_ptr<LoopbackServer> loopback;
    std::string url;
    if (useReference && std::filesystem::exists(serviceProgram)) {
        service = std::make_unique<ReferenceServiceProcess>(serviceProgram);
        if (service->port() > 0)
            url = "http://127.0.0.1:" + std::to_string(service->port()) + "/media/bench/"
                + std::to_string(kBodySize) + ".bin";
    }
    if (url.empty()) {
        loopback = std::make_unique<LoopbackServer>();
        url = "http://127.0.0.1:" + std::to_string(loopback->port()) + "/bench.bin";
    }
    std::printf("source: %s\naddress: %s\n", service ? "qarvon-service" : "in-process loopback",
                url.c_str());

    // Warm up both (the service may build its body on the first request).
    long long received = 0;
    qarvon::FetchUrl(url, [&](const char *, std::size_t n) {
        received += static_cast<long long>(n);
        return true;
    });
    if (received != kBodySize) {
        std::fprintf(stderr, "bench_fetch: received %lld of %lld bytes\n", received, kBodySize);
        return 1;
    }
    const std::string curlCommand = "curl -s -o /dev/null '" + url + "'";
    if (std::system(curlCommand.c_str()) != 0) {
        std::fprintf(stderr, "bench_fetch: curl failed\n");
        return 1;
    }

    std::vector<double> ours;
    std::vector<double> curl;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        received = 0;
        qarvon::FetchUrl(url, [&](const char *, std::size_t n) {
            received += static_cast<long long>(n);
            return true;
        });
        ours.push_back(Seconds(std::chrono::steady_clock::now() - start));
        if (received != kBodySize)
            return 1;

        start = std::chrono::steady_clock::now();
        if (std::system(curlCommand.c_str()) != 0)
            return 1;
        curl.push_back(Seconds(std::chrono::steady_clock::now() - start));
    }
    const double mb = static_cast<double>(kBodySize) / (1024.0 * 1024.0);
    const double oursRate = mb / Median(ours);
    const double curlRate = mb / Median(curl);
    std::printf("rounds: %d, body: %.0f MiB (median of the rounds)\n", kRounds, mb);
    std::printf("FetchUrl:            %8.1f MiB/s\n", oursRate);
    std::printf("curl -o /dev/null:   %8.1f MiB/s\n", curlRate);
    std::printf("ratio FetchUrl / curl throughput: %.2f (goal >= 0.9)\n", oursRate / curlRate);
    return 0;
}
