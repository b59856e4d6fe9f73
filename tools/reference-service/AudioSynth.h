#pragma once

#include "Melody.h"

#include <string>
#include <vector>

namespace qarvon::refsvc {

inline constexpr int kSampleRate = 22050;

// Mono 16-bit samples, exactly durationSeconds * kSampleRate of them.
std::vector<short> RenderMelody(const Melody &melody);

// A CBR MP3 with an Info frame, so players know the exact length without
// reading the whole file. Empty when the encoder fails.
std::string EncodeMp3(const std::vector<short> &samples);

} // namespace qarvon::refsvc
