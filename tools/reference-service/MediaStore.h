#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace qarvon::refsvc {

class Catalogue;

enum class MediaKind { Audio, Lyric, CoverSmall, CoverMiddle, ArtistPicture, TopicPicture, Avatar };

// Audio, lyrics and pictures are made on first request and kept in the data
// folder, so a fresh folder is ready at once and a second request is a plain
// file read.
class MediaStore
{
public:
    // A catalogue generated just now makes whatever media the folder still
    // holds from an earlier one wrong, so they are removed.
    MediaStore(Catalogue &catalogue, const std::string &dataDir);

    // The cached file, made now when missing; nothing when the object does not
    // exist or its file cannot be made.
    std::optional<std::string> file(MediaKind kind, std::int64_t id);

    static const char *contentType(MediaKind kind);

    // Files being made at this moment (the tests check that none are left behind).
    std::size_t makersInUse() const;

private:
    // Serialises the makers of one file; removed once nobody waits for it, so
    // requests for ever new names do not pile up.
    struct Maker
    {
        std::mutex mutex;
        int users = 0;
    };

    std::optional<std::string> make(MediaKind kind, std::int64_t id);
    Maker &enter(const std::string &path);
    void leave(const std::string &path);

    Catalogue &m_catalogue;
    std::string m_root;
    mutable std::mutex m_mutex;
    std::map<std::string, Maker> m_makers;
};

} // namespace qarvon::refsvc
