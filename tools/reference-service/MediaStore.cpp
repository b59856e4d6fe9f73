#include "MediaStore.h"

#include "AudioSynth.h"
#include "Catalogue.h"
#include "JpegPicture.h"
#include "Lyrics.h"
#include "Melody.h"
#include "Random.h"

#include <filesystem>
#include <fstream>
#include <thread>

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
};

KindInfo Info(MediaKind kind)
{
    switch (kind) {
    case MediaKind::Audio:
        return {"audio", ".mp3"};
    case MediaKind::Lyric:
        return {"lyrics", ".lrc"};
    case MediaKind::CoverSmall:
        return {"covers", "_s.jpg"};
    case MediaKind::CoverMiddle:
        return {"covers", "_m.jpg"};
    case MediaKind::ArtistPicture:
        return {"artists", ".jpg"};
    case MediaKind::TopicPicture:
        return {"topics", ".jpg"};
    case MediaKind::Avatar:
        return {"avatars", ".jpg"};
    }
    return {"other", ".bin"};
}

// Written beside the target and renamed, so a reader never sees half a file.
bool WriteAtomically(const std::string &path, const std::string &bytes)
{
    const std::string temp
        = path + ".part" + std::to_string(std::hash<std::thread::id>()(std::this_thread::get_id()));
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out)
            return false;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

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
    switch (kind) {
    case MediaKind::Audio:
        return "audio/mpeg";
    case MediaKind::Lyric:
        return "text/plain; charset=utf-8";
    default:
        return "image/jpeg";
    }
}

std::shared_ptr<std::mutex> MediaStore::lockFor(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    auto &entry = m_locks[path];
    if (!entry)
        entry = std::make_shared<std::mutex>();
    return entry;
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
    const auto fileLock = lockFor(path);
    std::lock_guard lock(*fileLock);
    if (fs::exists(path, ec))
        return path;
    const auto bytes = make(kind, id);
    if (!bytes)
        return std::nullopt;
    fs::create_directories(folder, ec);
    if (!WriteAtomically(path, *bytes))
        return std::nullopt;
    return path;
}

std::optional<std::string> MediaStore::make(MediaKind kind, std::int64_t id)
{
    const std::uint64_t seed = m_catalogue.seed();
    switch (kind) {
    case MediaKind::Audio:
    case MediaKind::Lyric: {
        const auto track = m_catalogue.track(id);
        if (!track)
            return std::nullopt;
        const Melody melody = ComposeMelody(
            MixSeed(seed, kMelodySalt, static_cast<std::uint64_t>(id)), track->duration);
        if (kind == MediaKind::Lyric) {
            const LyricHeader header {track->name, track->artistNames, track->albumName,
                                      track->language != "英语"};
            return MakeLrc(melody, header,
                           MixSeed(seed, kLyricSalt, static_cast<std::uint64_t>(id)));
        }
        std::string mp3 = EncodeMp3(RenderMelody(melody));
        if (mp3.empty())
            return std::nullopt;
        return mp3;
    }
    case MediaKind::CoverSmall:
    case MediaKind::CoverMiddle:
        if (!m_catalogue.album(id))
            return std::nullopt;
        return PatternJpeg(MixSeed(seed, kCoverSalt, static_cast<std::uint64_t>(id)),
                           kind == MediaKind::CoverSmall ? 100 : 240);
    case MediaKind::ArtistPicture:
        if (!m_catalogue.artist(id))
            return std::nullopt;
        return PatternJpeg(MixSeed(seed, kArtistSalt, static_cast<std::uint64_t>(id)), 200);
    case MediaKind::TopicPicture:
        if (!m_catalogue.topic(id))
            return std::nullopt;
        return PatternJpeg(MixSeed(seed, kTopicSalt, static_cast<std::uint64_t>(id)), 180);
    case MediaKind::Avatar:
        if (!m_catalogue.userById(id))
            return std::nullopt;
        return PatternJpeg(MixSeed(seed, kAvatarSalt, static_cast<std::uint64_t>(id)), 96);
    }
    return std::nullopt;
}

} // namespace qarvon::refsvc
