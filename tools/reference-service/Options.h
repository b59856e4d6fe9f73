#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qarvon::refsvc {

struct Options
{
    int port = 8080;
    std::string bind = "127.0.0.1";
    std::string dataDir = "qarvon-service-data";
    std::uint64_t seed = 1;
    bool seedGiven = false;
    std::vector<std::string> faults; // "TARGET:SPEC", as on the command line
};

struct OptionsResult
{
    Options options;
    bool help = false;
    std::string error; // not empty: bad usage
};

OptionsResult ParseOptions(const std::vector<std::string> &args);
std::string UsageText();

} // namespace qarvon::refsvc
