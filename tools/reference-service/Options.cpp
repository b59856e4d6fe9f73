#include "Options.h"

#include "TextUtil.h"

namespace qarvon::refsvc {

OptionsResult ParseOptions(const std::vector<std::string> &args)
{
    OptionsResult result;
    Options &o = result.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "-h" || arg == "--help") {
            result.help = true;
            return result;
        }
        const bool takesValue = arg == "--port" || arg == "--bind" || arg == "--data"
            || arg == "--seed" || arg == "--fault";
        if (!takesValue) {
            result.error = "unknown option " + arg;
            return result;
        }
        if (i + 1 >= args.size()) {
            result.error = arg + " needs a value";
            return result;
        }
        const std::string &value = args[++i];
        long long number = 0;
        if (arg == "--port") {
            if (!ParseInt64(value, number) || number < 0 || number > 65535) {
                result.error = "--port takes a number from 0 to 65535";
                return result;
            }
            o.port = static_cast<int>(number);
        } else if (arg == "--bind") {
            o.bind = value;
        } else if (arg == "--data") {
            if (value.empty()) {
                result.error = "--data needs a folder";
                return result;
            }
            o.dataDir = value;
        } else if (arg == "--seed") {
            if (!ParseInt64(value, number) || number < 0) {
                result.error = "--seed takes a non-negative number";
                return result;
            }
            o.seed = static_cast<std::uint64_t>(number);
            o.seedGiven = true;
        } else {
            o.faults.push_back(value);
        }
    }
    return result;
}

std::string UsageText()
{
    return "usage: qarvon-service [--port N] [--bind ADDR] [--data DIR] [--seed N]\n"
           "                      [--fault TARGET:SPEC]...\n"
           "  --port N     port to listen on (default 8080; 0 picks a free one)\n"
           "               the port is printed alone on the first line of output\n"
           "  --bind ADDR  address to listen on (default 127.0.0.1)\n"
           "  --data DIR   folder of the database and the media cache\n"
           "               (default ./qarvon-service-data, made when missing)\n"
           "  --seed N     catalogue seed for a new data folder (default 1)\n"
           "  --fault T:S  inject a fault; T is a method name, a path prefix or *,\n"
           "               S is e.g. delay=500,status=503 (see docs/service-api.md)\n";
}

} // namespace qarvon::refsvc
