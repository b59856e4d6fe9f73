#pragma once

#include <cstdint>
#include <string>

namespace qarvon::refsvc {

// A square JPEG with a pattern of its own for each seed (covers, artist
// pictures, avatars). Empty when the encoder fails.
std::string PatternJpeg(std::uint64_t seed, int size);

} // namespace qarvon::refsvc
