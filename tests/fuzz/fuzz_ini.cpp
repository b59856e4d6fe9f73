// The INI reader and writer over arbitrary file contents: reads never crash,
// and a write keeps the file readable with the written value.
#include "IniFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratchFile()
{
    static const std::string path = [] {
        char tmpl[] = "/tmp/qarvon-fuzz-ini-XXXXXX";
        const int fd = ::mkstemp(tmpl);
        if (fd >= 0)
            ::close(fd);
        static std::string made(tmpl);
        std::atexit([] { ::unlink(made.c_str()); });
        return made;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = scratchFile();
    if (FILE *f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    qarvon::TIniFile ini(path);
    (void)ini.ReadString("BaseSet", "SavePath", "");
    (void)ini.ReadInteger("DLSet", "SongNum", 5);
    (void)ini.ReadBool("BaseSet", "AutoRun", false);
    (void)ini.SectionExists("webServices");

    int parsed = 0;
    (void)qarvon::ParseProfileInteger(std::string(reinterpret_cast<const char *>(data), size), &parsed);

    if (ini.WriteString("peerInfo", "localPeerId", "ABC") && ini.ReadString("peerInfo", "localPeerId", "") != "ABC")
        std::abort(); // a written value must read back
    return 0;
}
