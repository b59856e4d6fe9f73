#pragma once

#include <memory>
#include <string>

namespace qarvon::refsvc {

class Catalogue;
class FaultTable;
class MediaStore;

// The HTTP side: the API path, the media paths, the statistics path and the
// control endpoint, with faults applied on the way out.
class Server
{
public:
    Server(Catalogue &catalogue, MediaStore &media, FaultTable &faults);
    ~Server();
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;

    // Port 0 picks a free one. Returns the port, or -1 when it cannot listen.
    int bind(const std::string &host, int port);
    // Serves until stop() is called from another thread. A stop() that comes
    // before run() makes run() return at once.
    bool run();
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace qarvon::refsvc
