#pragma once

#include <cstdint>
#include <map>
#include <memory>
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

    // The cached file, made now when missing; nothing when the object does not exist.
    std::optional<std::string> file(MediaKind kind, std::int64_t id);

    static const char *contentType(MediaKind kind);

private:
    std::optional<std::string> make(MediaKind kind, std::int64_t id);
    std::shared_ptr<std::mutex> lockFor(const std::string &path);

    Catalogue &m_catalogue;
    std::string m_root;
    std::mutex m_mutex;
    std::map<std::string, std::shared_ptr<std::mutex>> m_locks;
};

} // namespace qarvon::refsvc
