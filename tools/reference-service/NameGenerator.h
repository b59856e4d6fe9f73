#pragma once

#include "Random.h"

#include <string>
#include <vector>

namespace qarvon::refsvc {

struct GeneratedArtist
{
    std::string name;
    std::string englishName;
    bool chinese = true;
};

// Made-up names in Chinese and Latin script. Every few names carries the
// characters a file name cannot hold ("/", ":", "?", 《》, full-width forms),
// because the client has to turn titles into file names.
class NameGenerator
{
public:
    static GeneratedArtist artist(Random &r);
    static std::string albumName(Random &r, bool chinese, int index);
    static std::string trackName(Random &r, bool chinese, int index);
    static std::string topicTitle(Random &r, int index);
    static std::string lyricLine(Random &r, bool chinese);
    static std::string sentence(Random &r, bool chinese);
    static std::string genre(Random &r);
};

} // namespace qarvon::refsvc
