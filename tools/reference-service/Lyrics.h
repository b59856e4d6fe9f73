#pragma once

#include "Melody.h"

#include <cstdint>
#include <string>

namespace qarvon::refsvc {

struct LyricHeader
{
    std::string title;
    std::string artist;
    std::string album;
    bool chinese = true;
};

// An LRC text whose lines start where the tune's phrases start, so the lyric
// panel moves with the music. The first line names the track.
std::string MakeLrc(const Melody &melody, const LyricHeader &header, std::uint64_t seed);

} // namespace qarvon::refsvc
