// The hand-off text arrives from another process: prefix stripping and the
// field parser must take any bytes.
#include "QarvonClient.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string stripped = qarvon::StripLaunchPrefix(text);
    if (stripped.size() > text.size())
        std::abort();
    const qarvon::THandOffRequest request = qarvon::ParseHandOff(stripped);
    if (request.TrackID.size() > stripped.size())
        std::abort();
    (void)request.StartsDownload();
    return 0;
}
