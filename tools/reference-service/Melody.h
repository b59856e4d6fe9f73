#pragma once

#include <cstdint>
#include <vector>

namespace qarvon::refsvc {

struct Note
{
    double start = 0; // seconds
    double length = 0; // seconds
    double frequency = 0;
    double level = 0; // 0..1
};

// A stretch of melody that one lyric line belongs to.
struct Phrase
{
    double start = 0;
    double end = 0;
};

// A short tune in a pentatonic scale over a four-chord bass, filling exactly
// the track's duration. The same seed gives the same tune.
struct Melody
{
    int durationSeconds = 0;
    double tempo = 0; // beats per minute
    std::vector<Note> lead;
    std::vector<Note> bass;
    std::vector<Phrase> phrases;
};

Melody ComposeMelody(std::uint64_t seed, int durationSeconds);

} // namespace qarvon::refsvc
