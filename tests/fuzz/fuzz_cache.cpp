// The search cache reader over arbitrary file contents: reading never crashes,
// whatever it reads can be written and read back, and a second write keeps
// the first exactly.
#include "uSearchMusicInfo.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    std::vector<qarvon::TTrack> rows;
    if (!qarvon::ParseTrackCache(bytes, rows))
        return 0;

    qarvon::TTrackList tracks;
    for (const qarvon::TTrack &row : rows)
        tracks.Add(std::make_unique<qarvon::TTrack>(row));
    const std::string written = qarvon::FormatTrackCache(tracks, false);
    std::vector<qarvon::TTrack> again;
    if (!qarvon::ParseTrackCache(written, again))
        std::abort(); // a written cache must read back
    if (again.size() != rows.size())
        std::abort();

    // What was written once is kept exactly by the next write.
    qarvon::TTrackList second;
    for (const qarvon::TTrack &row : again)
        second.Add(std::make_unique<qarvon::TTrack>(row));
    if (qarvon::FormatTrackCache(second, false) != written)
        std::abort();
    return 0;
}
