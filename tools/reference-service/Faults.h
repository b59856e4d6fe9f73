#pragma once

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qarvon::refsvc {

// What goes wrong with one answer. The client's reliability tests switch
// these on per method or per media path.
struct FaultSpec
{
    int delayMs = 0; // wait before answering
    int status = 0; // answer with this HTTP status and no body
    long long cutAt = -1; // body ends after this many bytes; Content-Length agrees
    long long dropAt = -1; // full Content-Length, connection closed after this many bytes
    int trickle = 0; // body sent at this many bytes per second
    bool malformed = false; // XML answer that is not well-formed
    bool gbk = false; // XML answer in GBK with its declaration
    bool redirect = false; // a 302 to the same address first
    int count = -1; // answers left to spoil; -1 for no end

    bool operator==(const FaultSpec &) const = default;

    // A trickled body goes out one piece every kTrickleIntervalMs; this is the
    // size of a piece, at least one byte.
    static constexpr int kTrickleIntervalMs = 100;
    std::size_t tricklePiece() const;
};

// "delay=500,status=503,count=2"; flags malformed, gbk and redirect stand alone.
std::optional<FaultSpec> ParseFaultSpec(std::string_view text, std::string &error);
std::string DescribeFault(const FaultSpec &spec);

// "*", a method name ("Qarvon.Search.SearchTrack") or a path prefix ("/media/audio/").
bool ValidFaultTarget(std::string_view target);

class FaultTable
{
public:
    void set(const std::string &target, const FaultSpec &spec);
    bool clear(const std::string &target);
    void clearAll();

    // The fault for this request, if any: the method's own, else the longest
    // matching path prefix, else "*". Taking it counts one answer against `count`.
    std::optional<FaultSpec> take(std::string_view method, std::string_view path);

    std::vector<std::pair<std::string, FaultSpec>> list() const;

private:
    mutable std::mutex m_mutex;
    std::map<std::string, FaultSpec> m_faults;
};

} // namespace qarvon::refsvc
