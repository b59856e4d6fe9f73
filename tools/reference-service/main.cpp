// qarvon-service: the reference music service for the demo and the tests.
#include "Catalogue.h"
#include "Database.h"
#include "Faults.h"
#include "MediaStore.h"
#include "Options.h"
#include "Server.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <thread>

using namespace qarvon::refsvc;

int main(int argc, char **argv)
{
    const OptionsResult parsed = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parsed.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "qarvon-service: %s\n%s", parsed.error.c_str(), UsageText().c_str());
        return 2;
    }
    const Options &options = parsed.options;

    FaultTable faults;
    for (const std::string &item : options.faults) {
        const auto colon = item.rfind(':');
        std::string error = "expected TARGET:SPEC";
        std::optional<FaultSpec> spec;
        if (colon != std::string::npos && ValidFaultTarget(item.substr(0, colon)))
            spec = ParseFaultSpec(item.substr(colon + 1), error);
        if (!spec) {
            std::fprintf(stderr, "qarvon-service: --fault %s: %s\n", item.c_str(), error.c_str());
            return 2;
        }
        faults.set(item.substr(0, colon), *spec);
    }

    // Only the waiting thread below takes these signals; the server's threads
    // are started after this and inherit the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    try {
        Catalogue catalogue(options.dataDir, options.seed, options.seedGiven);
        MediaStore media(catalogue, options.dataDir);
        Server server(catalogue, media, faults);
        const int port = server.bind(options.bind, options.port);
        if (port < 0) {
            std::fprintf(stderr, "qarvon-service: cannot listen on %s port %d\n",
                         options.bind.c_str(), options.port);
            return 1;
        }
        std::printf("%d\n", port);
        std::fflush(stdout);

        std::atomic<bool> stopping = false;
        std::thread waiter([&] {
            int signalNumber = 0;
            sigwait(&stopSignals, &signalNumber);
            stopping = true;
            server.stop();
        });
        const bool served = server.run();
        if (!stopping) {
            // The server ended on its own: wake the waiter so it can be joined.
            pthread_kill(waiter.native_handle(), SIGTERM);
        }
        waiter.join();
        if (!served && !stopping) {
            std::fprintf(stderr, "qarvon-service: the server stopped unexpectedly\n");
            return 1;
        }
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qarvon-service: %s\n", e.what());
        return 1;
    }
}
