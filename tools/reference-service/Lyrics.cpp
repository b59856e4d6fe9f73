#include "Lyrics.h"

#include "NameGenerator.h"
#include "Random.h"
#include "TextUtil.h"

namespace qarvon::refsvc {

std::string MakeLrc(const Melody &melody, const LyricHeader &header, std::uint64_t seed)
{
    Random r(seed);
    std::string lrc;
    lrc += "[ti:" + header.title + "]\n";
    lrc += "[ar:" + header.artist + "]\n";
    lrc += "[al:" + header.album + "]\n";
    lrc += "[length:" + FormatLrcTime(melody.durationSeconds).substr(0, 5) + "]\n";
    for (std::size_t i = 0; i < melody.phrases.size(); ++i) {
        const Phrase &p = melody.phrases[i];
        // A phrase cut off by the end of the track gets no line of its own.
        if (i > 0 && p.end - p.start < 1.0)
            break;
        const std::string text = i == 0 ? header.title + " - " + header.artist
                                        : NameGenerator::lyricLine(r, header.chinese);
        lrc += "[" + FormatLrcTime(p.start) + "]" + text + "\n";
    }
    return lrc;
}

} // namespace qarvon::refsvc
