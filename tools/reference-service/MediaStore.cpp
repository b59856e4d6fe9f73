#include "MediaStore.h"

#include "AudioSynth.h"
#include "Catalogue.h"
#include "JpegPicture.h"
#include "Lyrics.h"
#include "Melody.h"
#include "Random.h"

#include "AtomicFile.h"

#include <filesystem>

namespace qarvon::refsvc {

namespace {

namespace fs = std::filesystem;

// Salts that keep the random streams of different media apart.
enum Salt : std::uint64_t {
    kMelodySalt = 11,
    kLyricSalt = 12,
    kCoverSalt = 13,
    kArtistSalt = 14,
    kTopicSalt = 15,
    kAvatarSalt = 16,
};

struct KindInfo
{
    const char *folder;
    const char *suffix;
    const char *contentType;
    std::uint64_t salt;
    int pictureSize; // 0 for the track's own media
};

KindInfo Info(MediaKind kind)
{
    switch (kind) {
    case MediaKind::Audio:
        return {"audio", ".mp3", "audio/mpeg", kMelodySalt, 0};
    case MediaKind::Lyric:
        return {"lyrics", ".lrc", "text/plain; charset=utf-8", kLyricSalt, 0};
    case MediaKind::CoverSmall:
        return {"covers", "_s.jpg", "image/jpeg", kCoverSalt, 100};
    case MediaKind::CoverMiddle:
        return {"covers", "_m.jpg", "image/jpeg", kCoverSalt, 240};
    case MediaKind::ArtistPicture:
        return {"artists", ".jpg", "image/jpeg", kArtistSalt, 200};
    case MediaKind::TopicPicture:
        return {"topics", ".jpg", "image/jpeg", kTopicSalt, 180};
    case MediaKind::Avatar:
        return {"avatars", ".jpg", "image/jpeg", kAvatarSalt, 96};
    }
    return {"other", ".bin", "application/octet-stream", 0, 0};
}

// Whether the object a picture shows is in the catalogue.
bool PictureSubjectExists(Catalogue &catalogue, MediaKind kind, std::int64_t id)
{
    switch (kind) {
    case MediaKind::CoverSmall:
    case MediaKind::CoverMiddle:
        return catalogue.album(id).has_value();
    case MediaKind::ArtistPicture:
        return catalogue.artist(id).has_value();
    case MediaKind::TopicPicture:
        return catalogue.topic(id).has_value();
    case MediaKind::Avatar:
        return catalogue.userById(id).has_value();
    case MediaKind::Audio:
    case MediaKind::Lyric:
        break;
    }
    return false;
}

template<typename F>
class ScopeExit
{
public:
    explicit ScopeExit(F f)
        : m_f(std::move(f))
    { }
    ~ScopeExit() { m_f(); }
    ScopeExit(const ScopeExit &) = delete;
    ScopeExit &operator=(const ScopeExit &) = delete;

private:
    F m_f;
};

} // namespace

MediaStore::MediaStore(Catalogue &catalogue, const std::string &dataDir)
    : m_catalogue(catalogue)
    , m_root(dataDir + "/media")
{
    if (catalogue.generated())
        fs::remove_all(m_root);
}

const char *MediaStore::contentType(MediaKind kind)
{
    return Info(kind).contentType;
}

std::size_t MediaStore::makersInUse() const
{
    std::lock_guard lock(m_mutex);
    return m_makers.size();
}

MediaStore::Maker &MediaStore::enter(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    Maker &maker = m_makers[path];
    ++maker.users;
    return maker;
}

void MediaStore::leave(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_makers.find(path);
    if (it != m_makers.end() && --it->second.users == 0)
        m_makers.erase(it);
}

std::optional<std::string> MediaStore::file(MediaKind kind, std::int64_t id)
{
    const KindInfo info = Info(kind);
    const std::string folder = m_root + "/" + info.folder;
    const std::string path = folder + "/" + std::to_string(id) + info.suffix;
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;
    // One maker per file; a second request for it waits and then reads the result.
    Maker &maker = enter(path);
    const ScopeExit left([this, &path] { leave(path); });
    std::lock_guard lock(maker.mutex);
    if (fs::exists(path, ec))
        return path;
    const auto bytes = make(kind, id);
    if (!bytes || bytes->empty())
        return std::nullopt;
    fs::create_directories(folder, ec);
    if (!WriteFileAtomically(path, *bytes))
        return std::nullopt;
    return path;
}

std::optional<std::string> MediaStore::make(MediaKind kind, std::int64_t id)
{
    const std::uint64_t seed = m_catalogue.seed();
    const auto salted = [seed, id](std::uint64_t salt) {
        return MixSeed(seed, salt, static_cast<std::uint64_t>(id));
    };
    if (kind != MediaKind::Audio && kind != MediaKind::Lyric) {
        if (!PictureSubjectExists(m_catalogue, kind, id))
            return std::nullopt;
        const KindInfo info = Info(kind);
        return PatternJpeg(salted(info.salt), info.pictureSize);
    }
    const auto track = m_catalogue.track(id);
    if (!track)
        return std::nullopt;
    const Melody melody = ComposeMelody(salted(kMelodySalt), track->duration);
    if (kind == MediaKind::Lyric) {
        const LyricHeader header {track->name, track->artistNames, track->albumName,
                                  track->language != "英语"};
        return MakeLrc(melody, header, salted(kLyricSalt));
    }
    return EncodeMp3(RenderMelody(melody));
}

} // namespace qarvon::refsvc
