#include "CatalogueGenerator.h"

#include "Database.h"
#include "NameGenerator.h"
#include "Random.h"
#include "TextUtil.h"

#include <openssl/evp.h>

#include <algorithm>

#include <cstdio>

namespace qarvon::refsvc {

namespace {

struct ArtistInfo
{
    std::int64_t id;
    std::string name;
    bool chinese;
};

std::string Join(const std::vector<std::string> &items)
{
    std::string out;
    for (const auto &item : items) {
        if (!out.empty())
            out += ',';
        out += item;
    }
    return out;
}

std::string Date(Random &r, int fromYear, int toYear)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", r.range(fromYear, toYear), r.range(1, 12),
                  r.range(1, 28));
    return buf;
}

// Mostly three to four minutes, some short pieces; never past four minutes so
// the audio made on first request stays quick to encode.
int Duration(Random &r)
{
    if (r.chance(15))
        return r.range(20, 59);
    return r.range(60, 240);
}

void SeedUser(Database &db, std::int64_t id, const std::string &name, const std::string &password,
              const char *sex, const char *birthday, const char *email, const char *address)
{
    const std::string salt = "qarvon-" + std::to_string(id);
    auto st = db.prepare("INSERT INTO users(id, name, salt, password_hash, sex, birthday, email, "
                         "address) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    st.bind(1, id).bind(2, name).bind(3, salt).bind(4, PasswordHash(salt, password));
    st.bind(5, sex).bind(6, birthday).bind(7, email).bind(8, address).run();
}

} // namespace

std::string PasswordHash(const std::string &salt, const std::string &password)
{
    const std::string input = salt + password;
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(input.data(), input.size(), digest, &length, EVP_sha256(), nullptr);
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i) {
        out += hex[digest[i] >> 4];
        out += hex[digest[i] & 15];
    }
    return out;
}

void GenerateCatalogue(Database &db, std::uint64_t seed)
{
    Random r(MixSeed(seed, 1, 0));

    std::vector<ArtistInfo> artists;
    {
        auto insert = db.prepare("INSERT INTO artists(id, name, english_name, description, "
                                 "search_key) VALUES (?1, ?2, ?3, ?4, ?5)");
        for (int i = 0; i < kArtistCount; ++i) {
            GeneratedArtist a = NameGenerator::artist(r);
            const std::int64_t id = kFirstArtistId + i;
            // Two artists of the same name would make the gallery confusing.
            for (const auto &other : artists) {
                if (other.name == a.name) {
                    a.name += " " + std::to_string(i);
                    a.englishName += " " + std::to_string(i);
                    break;
                }
            }
            insert.reset();
            insert.bind(1, id).bind(2, a.name).bind(3, a.englishName);
            insert.bind(4, NameGenerator::sentence(r, a.chinese));
            insert.bind(5, SearchFold(a.name + "\n" + a.englishName)).run();
            artists.push_back({id, a.name, a.chinese});
        }
    }

    auto insertAlbum = db.prepare(
        "INSERT INTO albums(id, name, artist_ids, artist_names, release_date, description, "
        "search_key) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
    auto insertTrack = db.prepare(
        "INSERT INTO tracks(id, name, album_id, artist_ids, artist_names, duration, genre, "
        "language, release_date, search_key) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)");
    auto insertTrackArtist
        = db.prepare("INSERT OR IGNORE INTO track_artists(artist_id, track_id) VALUES (?1, ?2)");

    std::vector<std::int64_t> trackIds;
    std::int64_t nextTrack = kFirstTrackId;
    int trackIndex = 0;
    for (int i = 0; i < kAlbumCount; ++i) {
        const std::int64_t albumId = kFirstAlbumId + i;
        // Every artist gets at least one album before anyone gets a second.
        std::vector<const ArtistInfo *> albumArtists {
            &artists[static_cast<std::size_t>(i % kArtistCount)]};
        if (r.chance(6)) {
            const ArtistInfo *guest = &r.pick(artists);
            if (guest != albumArtists.front())
                albumArtists.push_back(guest);
        }
        const bool chinese = albumArtists.front()->chinese;
        std::vector<std::string> ids;
        std::vector<std::string> names;
        for (const auto *a : albumArtists) {
            ids.push_back(std::to_string(a->id));
            names.push_back(a->name);
        }
        const std::string albumName = NameGenerator::albumName(r, chinese, i);
        const std::string releaseDate = Date(r, 1995, 2024);
        insertAlbum.reset();
        insertAlbum.bind(1, albumId).bind(2, albumName).bind(3, Join(ids)).bind(4, Join(names));
        insertAlbum.bind(5, releaseDate).bind(6, NameGenerator::sentence(r, chinese));
        insertAlbum.bind(7, SearchFold(albumName + "\n" + Join(names))).run();

        const std::string genre = NameGenerator::genre(r);
        const char *language = chinese ? (r.chance(20) ? "粤语" : "国语") : "英语";
        const int trackCount = r.range(8, 12);
        for (int t = 0; t < trackCount; ++t, ++trackIndex) {
            const std::int64_t trackId = nextTrack++;
            std::vector<std::string> trackArtistIds = ids;
            std::vector<std::string> trackArtistNames = names;
            std::vector<std::int64_t> artistKeys;
            for (const auto *a : albumArtists)
                artistKeys.push_back(a->id);
            if (r.chance(12)) {
                const ArtistInfo &feature = r.pick(artists);
                if (std::find(artistKeys.begin(), artistKeys.end(), feature.id)
                    == artistKeys.end()) {
                    trackArtistIds.push_back(std::to_string(feature.id));
                    trackArtistNames.push_back(feature.name);
                    artistKeys.push_back(feature.id);
                }
            }
            const std::string name = NameGenerator::trackName(r, chinese, trackIndex);
            insertTrack.reset();
            insertTrack.bind(1, trackId).bind(2, name).bind(3, albumId);
            insertTrack.bind(4, Join(trackArtistIds)).bind(5, Join(trackArtistNames));
            insertTrack.bind(6, Duration(r)).bind(7, genre).bind(8, language).bind(9, releaseDate);
            insertTrack.bind(10, SearchFold(name + "\n" + Join(trackArtistNames))).run();
            for (const auto artistId : artistKeys) {
                insertTrackArtist.reset();
                insertTrackArtist.bind(1, artistId).bind(2, trackId).run();
            }
            trackIds.push_back(trackId);
        }
    }

    // Picks distinct tracks for charts, topics and the first-run list.
    auto pickTracks = [&](int count) {
        std::vector<std::int64_t> picked;
        while (static_cast<int>(picked.size()) < count) {
            const std::int64_t id = r.pick(trackIds);
            if (std::find(picked.begin(), picked.end(), id) == picked.end())
                picked.push_back(id);
        }
        return picked;
    };

    {
        auto insertTopic = db.prepare("INSERT INTO topics(id, title, create_date, description) "
                                      "VALUES (?1, ?2, ?3, ?4)");
        auto insertTopicTrack = db.prepare(
            "INSERT INTO topic_tracks(topic_id, position, track_id) VALUES (?1, ?2, ?3)");
        for (int i = 0; i < kTopicCount; ++i) {
            const std::int64_t topicId = kFirstTopicId + i;
            insertTopic.reset();
            insertTopic.bind(1, topicId).bind(2, NameGenerator::topicTitle(r, i));
            insertTopic.bind(3, Date(r, 2020, 2024))
                .bind(4, NameGenerator::sentence(r, i % 3 != 1));
            insertTopic.run();
            int position = 0;
            for (const auto trackId : pickTracks(r.range(8, 20))) {
                insertTopicTrack.reset();
                insertTopicTrack.bind(1, topicId).bind(2, ++position).bind(3, trackId).run();
            }
        }
    }

    {
        db.execute("INSERT INTO areas(id, name) VALUES ('1', '华语'), ('2', '欧美')");
        auto insertChart
            = db.prepare("INSERT INTO chart_tracks(area_id, chart, position, track_id) "
                         "VALUES (?1, ?2, ?3, ?4)");
        for (const char *area : {"1", "2"}) {
            for (int chart = 0; chart < 4; ++chart) {
                int position = 0;
                for (const auto trackId : pickTracks(30)) {
                    insertChart.reset();
                    insertChart.bind(1, area).bind(2, chart).bind(3, ++position).bind(4, trackId);
                    insertChart.run();
                }
            }
        }
    }

    {
        auto insertHot = db.prepare("INSERT INTO hot_albums(position, album_id) VALUES (?1, ?2)");
        std::vector<std::int64_t> albums;
        while (albums.size() < 20) {
            const std::int64_t id = kFirstAlbumId + r.range(0, kAlbumCount - 1);
            if (std::find(albums.begin(), albums.end(), id) == albums.end())
                albums.push_back(id);
        }
        int position = 0;
        for (const auto id : albums) {
            insertHot.reset();
            insertHot.bind(1, ++position).bind(2, id).run();
        }
        auto insertNew
            = db.prepare("INSERT INTO new_hot_tracks(position, track_id) VALUES (?1, ?2)");
        position = 0;
        for (const auto trackId : pickTracks(10)) {
            insertNew.reset();
            insertNew.bind(1, ++position).bind(2, trackId).run();
        }
    }

    SeedUser(db, 1, "demo", "demo123", "男", "1990-05-20", "demo@example.com", "上海市徐汇区");
    SeedUser(db, 2, "guest", "guest123", "女", "1995-11-02", "guest@example.com", "Beijing");
    SeedUser(db, 3, "乐迷", "yuemi123", "保密", "2000-01-01", "fan@example.com", "广州市");

    // The demo account starts with something to show.
    auto insertPlaylist = db.prepare("INSERT INTO playlists(user_id, title, description, "
                                     "create_date) VALUES (1, ?1, ?2, ?3)");
    auto insertEntry = db.prepare(
        "INSERT INTO playlist_tracks(playlist_id, position, track_id) VALUES (?1, ?2, ?3)");
    const std::vector<std::pair<const char *, const char *>> demoLists
        = {{"我的最爱", "常听的歌"}, {"Workout & Run", "fast ones"}};
    for (const auto &[title, description] : demoLists) {
        insertPlaylist.reset();
        insertPlaylist.bind(1, title).bind(2, description).bind(3, "2024-01-15").run();
        const std::int64_t playlistId = db.lastInsertId();
        int position = 0;
        for (const auto trackId : pickTracks(8)) {
            insertEntry.reset();
            insertEntry.bind(1, playlistId).bind(2, ++position).bind(3, trackId).run();
        }
    }
    auto collect = db.prepare(
        "INSERT INTO collected_albums(user_id, album_id, position) VALUES (1, ?1, ?2)");
    for (int i = 0; i < 3; ++i) {
        collect.reset();
        collect.bind(1, kFirstAlbumId + 3 + i * 11).bind(2, i + 1).run();
    }
}

} // namespace qarvon::refsvc
