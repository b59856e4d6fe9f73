#include "Catalogue.h"

#include "CatalogueGenerator.h"
#include "TextUtil.h"

#include <chrono>
#include <filesystem>
#include <random>

namespace qarvon::refsvc {

namespace {

constexpr int kSchemaVersion = 1;
constexpr const char *kAnotherVersion
    = "the data folder holds a database of another version; use a new folder";

constexpr const char *kSchema = R"SQL(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE artists(id INTEGER PRIMARY KEY, name TEXT NOT NULL, english_name TEXT NOT NULL,
    description TEXT NOT NULL, search_key TEXT NOT NULL);
CREATE TABLE albums(id INTEGER PRIMARY KEY, name TEXT NOT NULL, artist_ids TEXT NOT NULL,
    artist_names TEXT NOT NULL, release_date TEXT NOT NULL, description TEXT NOT NULL,
    search_key TEXT NOT NULL);
CREATE TABLE tracks(id INTEGER PRIMARY KEY, name TEXT NOT NULL,
    album_id INTEGER NOT NULL REFERENCES albums(id), artist_ids TEXT NOT NULL,
    artist_names TEXT NOT NULL, duration INTEGER NOT NULL, genre TEXT NOT NULL,
    language TEXT NOT NULL, release_date TEXT NOT NULL, search_key TEXT NOT NULL);
CREATE INDEX tracks_by_album ON tracks(album_id, id);
CREATE TABLE track_artists(artist_id INTEGER NOT NULL, track_id INTEGER NOT NULL,
    PRIMARY KEY(artist_id, track_id));
CREATE TABLE topics(id INTEGER PRIMARY KEY, title TEXT NOT NULL, create_date TEXT NOT NULL,
    description TEXT NOT NULL);
CREATE TABLE topic_tracks(topic_id INTEGER NOT NULL, position INTEGER NOT NULL,
    track_id INTEGER NOT NULL, PRIMARY KEY(topic_id, position));
CREATE TABLE areas(id TEXT PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE chart_tracks(area_id TEXT NOT NULL, chart INTEGER NOT NULL,
    position INTEGER NOT NULL, track_id INTEGER NOT NULL, PRIMARY KEY(area_id, chart, position));
CREATE TABLE hot_albums(position INTEGER PRIMARY KEY, album_id INTEGER NOT NULL);
CREATE TABLE new_hot_tracks(position INTEGER PRIMARY KEY, track_id INTEGER NOT NULL);
CREATE TABLE users(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, salt TEXT NOT NULL,
    password_hash TEXT NOT NULL, sex TEXT NOT NULL, birthday TEXT NOT NULL, email TEXT NOT NULL,
    address TEXT NOT NULL);
CREATE TABLE tokens(token TEXT PRIMARY KEY, user_id INTEGER NOT NULL REFERENCES users(id));
CREATE TABLE playlists(id INTEGER PRIMARY KEY AUTOINCREMENT,
    user_id INTEGER NOT NULL REFERENCES users(id), title TEXT NOT NULL,
    description TEXT NOT NULL, create_date TEXT NOT NULL);
CREATE TABLE playlist_tracks(playlist_id INTEGER NOT NULL REFERENCES playlists(id)
    ON DELETE CASCADE, position INTEGER NOT NULL, track_id INTEGER NOT NULL,
    PRIMARY KEY(playlist_id, position));
CREATE TABLE collected_albums(user_id INTEGER NOT NULL REFERENCES users(id),
    album_id INTEGER NOT NULL, position INTEGER NOT NULL, PRIMARY KEY(user_id, album_id));
CREATE TABLE reports(id INTEGER PRIMARY KEY AUTOINCREMENT, query TEXT NOT NULL);
)SQL";

constexpr const char *kTrackColumns
    = "SELECT t.id, t.name, t.album_id, a.name, t.artist_ids, t.artist_names, t.duration, "
      "t.genre, t.language, t.release_date FROM tracks t JOIN albums a ON a.id = t.album_id ";

constexpr const char *kAlbumColumns
    = "SELECT a.id, a.name, a.artist_ids, a.artist_names, a.release_date, a.description "
      "FROM albums a ";

constexpr const char *kArtistColumns = "SELECT id, name, english_name, description FROM artists ";

constexpr const char *kTopicColumns = "SELECT id, title, create_date, description FROM topics ";

constexpr const char *kUserColumns = "SELECT id, name, sex, birthday, email, address FROM users ";

constexpr const char *kPlaylistColumns
    = "SELECT p.id, p.title, p.description, p.create_date, "
      "(SELECT COUNT(*) FROM playlist_tracks x WHERE x.playlist_id = p.id), "
      "(SELECT t.album_id FROM playlist_tracks x JOIN tracks t ON t.id = x.track_id "
      " WHERE x.playlist_id = p.id ORDER BY x.position LIMIT 1) FROM playlists p ";

std::vector<TrackRow> ReadTracks(Statement &st)
{
    std::vector<TrackRow> rows;
    while (st.step()) {
        TrackRow t;
        t.id = st.integer(0);
        t.name = st.text(1);
        t.albumId = st.integer(2);
        t.albumName = st.text(3);
        t.artistIds = st.text(4);
        t.artistNames = st.text(5);
        t.duration = static_cast<int>(st.integer(6));
        t.genre = st.text(7);
        t.language = st.text(8);
        t.releaseDate = st.text(9);
        rows.push_back(std::move(t));
    }
    return rows;
}

std::vector<AlbumRow> ReadAlbums(Statement &st)
{
    std::vector<AlbumRow> rows;
    while (st.step()) {
        AlbumRow a;
        a.id = st.integer(0);
        a.name = st.text(1);
        a.artistIds = st.text(2);
        a.artistNames = st.text(3);
        a.releaseDate = st.text(4);
        a.description = st.text(5);
        rows.push_back(std::move(a));
    }
    return rows;
}

std::vector<ArtistRow> ReadArtists(Statement &st)
{
    std::vector<ArtistRow> rows;
    while (st.step())
        rows.push_back(ArtistRow {st.integer(0), st.text(1), st.text(2), st.text(3)});
    return rows;
}

std::vector<TopicRow> ReadTopics(Statement &st)
{
    std::vector<TopicRow> rows;
    while (st.step())
        rows.push_back(TopicRow {st.integer(0), st.text(1), st.text(2), st.text(3)});
    return rows;
}

std::vector<UserRow> ReadUsers(Statement &st)
{
    std::vector<UserRow> rows;
    while (st.step())
        rows.push_back(
            UserRow {st.integer(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5)});
    return rows;
}

std::vector<PlaylistRow> ReadPlaylists(Statement &st)
{
    std::vector<PlaylistRow> rows;
    while (st.step()) {
        PlaylistRow p;
        p.id = st.integer(0);
        p.title = st.text(1);
        p.description = st.text(2);
        p.createDate = st.text(3);
        p.size = static_cast<int>(st.integer(4));
        p.coverAlbumId = st.integer(5);
        rows.push_back(std::move(p));
    }
    return rows;
}

// The rows of a statement that takes one key as ?1.
template<typename Row, typename Key>
std::vector<Row> Rows(Database &db, const std::string &sql, const Key &key,
                      std::vector<Row> (*read)(Statement &))
{
    auto st = db.prepare(sql);
    st.bind(1, key);
    return read(st);
}

template<typename Row>
std::optional<Row> First(std::vector<Row> rows)
{
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

// One page of a list and the size of the whole list. Both statements take the
// key as ?1; the page statement takes the limit and offset as ?2 and ?3.
template<typename Row, typename Key>
Page<Row> ReadPage(Database &db, const std::string &countSql, const std::string &pageSql,
                   const Key &key, int limit, int offset, std::vector<Row> (*read)(Statement &))
{
    Page<Row> page;
    auto count = db.prepare(countSql);
    count.bind(1, key);
    count.step();
    page.total = static_cast<int>(count.integer(0));
    auto st = db.prepare(pageSql);
    st.bind(1, key).bind(2, limit).bind(3, offset);
    page.rows = read(st);
    return page;
}

// True when the statement, given each id as ?1, finds a row for every one.
bool EveryIdFound(Database &db, const char *sql, const std::vector<std::int64_t> &ids)
{
    auto exists = db.prepare(sql);
    for (const auto id : ids) {
        exists.reset();
        exists.bind(1, id);
        if (!exists.step())
            return false;
    }
    return true;
}

// Adds ids at the end of an ordered list: `lastSql` finds the owner's (?1)
// largest position, `insertSql` takes the owner, a position and an id as ?1 to ?3.
void Append(Database &db, const char *lastSql, const char *insertSql, std::int64_t owner,
            const std::vector<std::int64_t> &ids)
{
    auto last = db.prepare(lastSql);
    last.bind(1, owner);
    last.step();
    std::int64_t position = last.integer(0);
    auto insert = db.prepare(insertSql);
    for (const auto id : ids) {
        insert.reset();
        insert.bind(1, owner).bind(2, ++position).bind(3, id).run();
    }
}

std::string Today()
{
    const auto now = std::chrono::system_clock::now();
    const std::chrono::year_month_day ymd {std::chrono::floor<std::chrono::days>(now)};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buf;
}

} // namespace

Catalogue::Catalogue(const std::string &dataDir, std::uint64_t seed, bool seedGiven)
    : m_db((std::filesystem::create_directories(dataDir), dataDir + "/catalogue.sqlite"))
    , m_seed(seed)
{
    auto tables = m_db.prepare("SELECT COUNT(*), COUNT(CASE name WHEN 'meta' THEN 1 END) "
                               "FROM sqlite_master WHERE type = 'table'");
    tables.step();
    if (tables.integer(1) == 0) {
        // Tables without our meta table: a database that some other program or an
        // older make of this one wrote, which generating on top of would mix up.
        if (tables.integer(0) > 0)
            throw DatabaseError(kAnotherVersion);
        Transaction tx(m_db);
        m_db.execute(kSchema);
        m_db.execute("INSERT INTO sqlite_sequence(name, seq) VALUES ('playlists', 500000)");
        auto meta = m_db.prepare("INSERT INTO meta(key, value) VALUES (?1, ?2)");
        meta.bind(1, "schema").bind(2, std::to_string(kSchemaVersion)).run();
        meta.reset();
        meta.bind(1, "seed").bind(2, std::to_string(seed)).run();
        GenerateCatalogue(m_db, seed);
        tx.commit();
        m_generated = true;
        return;
    }
    auto read = m_db.prepare("SELECT key, value FROM meta");
    std::string storedSeed;
    std::string schema;
    while (read.step()) {
        if (read.text(0) == "seed")
            storedSeed = read.text(1);
        else if (read.text(0) == "schema")
            schema = read.text(1);
    }
    if (schema != std::to_string(kSchemaVersion))
        throw DatabaseError(kAnotherVersion);
    long long stored = 0;
    if (!ParseInt64(storedSeed, stored))
        throw DatabaseError("the data folder's database has no seed; use a new folder");
    if (seedGiven && static_cast<std::uint64_t>(stored) != seed)
        throw DatabaseError("the data folder was generated with seed " + storedSeed
                            + "; use a new folder for seed " + std::to_string(seed));
    m_seed = static_cast<std::uint64_t>(stored);
}

std::optional<TrackRow> Catalogue::track(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    return First(Rows(m_db, std::string(kTrackColumns) + "WHERE t.id = ?1", id, ReadTracks));
}

std::optional<AlbumRow> Catalogue::album(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    return First(Rows(m_db, std::string(kAlbumColumns) + "WHERE a.id = ?1", id, ReadAlbums));
}

std::optional<ArtistRow> Catalogue::artist(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    return First(Rows(m_db, std::string(kArtistColumns) + "WHERE id = ?1", id, ReadArtists));
}

std::optional<TopicRow> Catalogue::topic(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    return First(Rows(m_db, std::string(kTopicColumns) + "WHERE id = ?1", id, ReadTopics));
}

std::vector<TrackRow> Catalogue::albumTracks(std::int64_t albumId)
{
    std::lock_guard lock(m_mutex);
    return Rows(m_db, std::string(kTrackColumns) + "WHERE t.album_id = ?1 ORDER BY t.id", albumId,
                ReadTracks);
}

std::vector<TrackRow> Catalogue::topicTracks(std::int64_t topicId)
{
    std::lock_guard lock(m_mutex);
    return Rows(m_db,
                std::string(kTrackColumns)
                    + "JOIN topic_tracks x ON x.track_id = t.id WHERE x.topic_id = ?1 "
                      "ORDER BY x.position",
                topicId, ReadTracks);
}

std::vector<TrackRow> Catalogue::chartTracks(const std::string &areaId, Chart chart)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare(std::string(kTrackColumns)
                           + "JOIN chart_tracks x ON x.track_id = t.id "
                             "WHERE x.area_id = ?1 AND x.chart = ?2 ORDER BY x.position");
    st.bind(1, areaId).bind(2, static_cast<int>(chart));
    return ReadTracks(st);
}

bool Catalogue::areaExists(const std::string &areaId)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("SELECT 1 FROM areas WHERE id = ?1");
    st.bind(1, areaId);
    return st.step();
}

std::vector<TrackRow> Catalogue::newHotTracks()
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare(std::string(kTrackColumns)
                           + "JOIN new_hot_tracks x ON x.track_id = t.id ORDER BY x.position");
    return ReadTracks(st);
}

std::vector<AlbumRow> Catalogue::hotAlbums()
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare(std::string(kAlbumColumns)
                           + "JOIN hot_albums x ON x.album_id = a.id ORDER BY x.position");
    return ReadAlbums(st);
}

Page<TopicRow> Catalogue::topics(int limit, int offset)
{
    std::lock_guard lock(m_mutex);
    Page<TopicRow> page;
    auto count = m_db.prepare("SELECT COUNT(*) FROM topics");
    count.step();
    page.total = static_cast<int>(count.integer(0));
    auto st = m_db.prepare(std::string(kTopicColumns) + "ORDER BY id LIMIT ?1 OFFSET ?2");
    st.bind(1, limit).bind(2, offset);
    page.rows = ReadTopics(st);
    return page;
}

Page<TrackRow> Catalogue::artistTracks(std::int64_t artistId, int limit, int offset)
{
    std::lock_guard lock(m_mutex);
    return ReadPage(m_db, "SELECT COUNT(*) FROM track_artists WHERE artist_id = ?1",
                    std::string(kTrackColumns)
                        + "JOIN track_artists x ON x.track_id = t.id WHERE x.artist_id = ?1 "
                          "ORDER BY t.id LIMIT ?2 OFFSET ?3",
                    artistId, limit, offset, ReadTracks);
}

Page<TrackRow> Catalogue::searchTracks(const std::string &keyword, int limit, int offset)
{
    std::lock_guard lock(m_mutex);
    return ReadPage(m_db, "SELECT COUNT(*) FROM tracks WHERE instr(search_key, ?1) > 0",
                    std::string(kTrackColumns)
                        + "WHERE instr(t.search_key, ?1) > 0 ORDER BY t.id LIMIT ?2 OFFSET ?3",
                    SearchFold(keyword), limit, offset, ReadTracks);
}

Page<AlbumRow> Catalogue::searchAlbums(const std::string &keyword, int limit, int offset)
{
    std::lock_guard lock(m_mutex);
    return ReadPage(m_db, "SELECT COUNT(*) FROM albums WHERE instr(search_key, ?1) > 0",
                    std::string(kAlbumColumns)
                        + "WHERE instr(a.search_key, ?1) > 0 ORDER BY a.id LIMIT ?2 OFFSET ?3",
                    SearchFold(keyword), limit, offset, ReadAlbums);
}

Page<ArtistRow> Catalogue::searchArtists(const std::string &keyword, int limit, int offset)
{
    std::lock_guard lock(m_mutex);
    return ReadPage(m_db, "SELECT COUNT(*) FROM artists WHERE instr(search_key, ?1) > 0",
                    std::string(kArtistColumns)
                        + "WHERE instr(search_key, ?1) > 0 ORDER BY id LIMIT ?2 OFFSET ?3",
                    SearchFold(keyword), limit, offset, ReadArtists);
}

std::optional<UserRow> Catalogue::userByName(const std::string &name)
{
    std::lock_guard lock(m_mutex);
    return First(Rows(m_db, std::string(kUserColumns) + "WHERE name = ?1", name, ReadUsers));
}

std::optional<UserRow> Catalogue::userById(std::int64_t id)
{
    std::lock_guard lock(m_mutex);
    return First(Rows(m_db, std::string(kUserColumns) + "WHERE id = ?1", id, ReadUsers));
}

bool Catalogue::checkPassword(const std::string &name, const std::string &password)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("SELECT salt, password_hash FROM users WHERE name = ?1");
    st.bind(1, name);
    if (!st.step())
        return false;
    return PasswordHash(st.text(0), password) == st.text(1);
}

std::string Catalogue::issueToken(std::int64_t userId)
{
    static const char hex[] = "0123456789abcdef";
    std::random_device device;
    std::string token;
    for (int i = 0; i < 32; ++i)
        token += hex[device() & 15u];
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("INSERT INTO tokens(token, user_id) VALUES (?1, ?2)");
    st.bind(1, token).bind(2, userId).run();
    return token;
}

std::optional<std::int64_t> Catalogue::tokenOwner(const std::string &token)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("SELECT user_id FROM tokens WHERE token = ?1");
    st.bind(1, token);
    if (!st.step())
        return std::nullopt;
    return st.integer(0);
}

void Catalogue::revokeToken(const std::string &token)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("DELETE FROM tokens WHERE token = ?1");
    st.bind(1, token).run();
}

std::vector<PlaylistRow> Catalogue::playlists(std::int64_t userId)
{
    std::lock_guard lock(m_mutex);
    return Rows(m_db, std::string(kPlaylistColumns) + "WHERE p.user_id = ?1 ORDER BY p.id DESC",
                userId, ReadPlaylists);
}

std::optional<PlaylistRow> Catalogue::playlist(std::int64_t userId, std::int64_t playlistId)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare(std::string(kPlaylistColumns) + "WHERE p.user_id = ?1 AND p.id = ?2");
    st.bind(1, userId).bind(2, playlistId);
    return First(ReadPlaylists(st));
}

std::int64_t Catalogue::createPlaylist(std::int64_t userId, const std::string &title,
                                       const std::string &description)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("INSERT INTO playlists(user_id, title, description, create_date) "
                           "VALUES (?1, ?2, ?3, ?4)");
    st.bind(1, userId).bind(2, title).bind(3, description).bind(4, Today()).run();
    return m_db.lastInsertId();
}

bool Catalogue::renamePlaylist(std::int64_t userId, std::int64_t playlistId,
                               const std::string &title, const std::string &description)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("UPDATE playlists SET title = ?1, description = ?2 "
                           "WHERE id = ?3 AND user_id = ?4");
    st.bind(1, title).bind(2, description).bind(3, playlistId).bind(4, userId).run();
    return m_db.changes() > 0;
}

bool Catalogue::deletePlaylist(std::int64_t userId, std::int64_t playlistId)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("DELETE FROM playlists WHERE id = ?1 AND user_id = ?2");
    st.bind(1, playlistId).bind(2, userId).run();
    return m_db.changes() > 0;
}

std::vector<TrackRow> Catalogue::playlistTracks(std::int64_t playlistId)
{
    std::lock_guard lock(m_mutex);
    return Rows(m_db,
                std::string(kTrackColumns)
                    + "JOIN playlist_tracks x ON x.track_id = t.id "
                      "WHERE x.playlist_id = ?1 ORDER BY x.position",
                playlistId, ReadTracks);
}

bool Catalogue::addPlaylistTracks(std::int64_t playlistId,
                                  const std::vector<std::int64_t> &trackIds)
{
    std::lock_guard lock(m_mutex);
    Transaction tx(m_db);
    if (!EveryIdFound(m_db, "SELECT 1 FROM tracks WHERE id = ?1", trackIds))
        return false;
    Append(m_db, "SELECT COALESCE(MAX(position), 0) FROM playlist_tracks WHERE playlist_id = ?1",
           "INSERT INTO playlist_tracks(playlist_id, position, track_id) VALUES (?1, ?2, ?3)",
           playlistId, trackIds);
    tx.commit();
    return true;
}

void Catalogue::removePlaylistTracks(std::int64_t playlistId,
                                     const std::vector<std::int64_t> &trackIds)
{
    std::lock_guard lock(m_mutex);
    Transaction tx(m_db);
    auto remove = m_db.prepare(
        "DELETE FROM playlist_tracks WHERE playlist_id = ?1 AND position = "
        "(SELECT MIN(position) FROM playlist_tracks WHERE playlist_id = ?1 AND track_id = ?2)");
    for (const auto id : trackIds) {
        remove.reset();
        remove.bind(1, playlistId).bind(2, id).run();
    }
    tx.commit();
}

std::vector<AlbumRow> Catalogue::collectedAlbums(std::int64_t userId)
{
    std::lock_guard lock(m_mutex);
    return Rows(m_db,
                std::string(kAlbumColumns)
                    + "JOIN collected_albums x ON x.album_id = a.id WHERE x.user_id = ?1 "
                      "ORDER BY x.position",
                userId, ReadAlbums);
}

bool Catalogue::collectAlbums(std::int64_t userId, const std::vector<std::int64_t> &albumIds)
{
    std::lock_guard lock(m_mutex);
    Transaction tx(m_db);
    if (!EveryIdFound(m_db, "SELECT 1 FROM albums WHERE id = ?1", albumIds))
        return false;
    // Collecting an album twice keeps its first place.
    Append(m_db, "SELECT COALESCE(MAX(position), 0) FROM collected_albums WHERE user_id = ?1",
           "INSERT OR IGNORE INTO collected_albums(user_id, position, album_id) "
           "VALUES (?1, ?2, ?3)",
           userId, albumIds);
    tx.commit();
    return true;
}

bool Catalogue::uncollectAlbums(std::int64_t userId, const std::vector<std::int64_t> &albumIds)
{
    std::lock_guard lock(m_mutex);
    Transaction tx(m_db);
    auto exists
        = m_db.prepare("SELECT 1 FROM collected_albums WHERE user_id = ?1 AND album_id = ?2");
    for (const auto id : albumIds) {
        exists.reset();
        exists.bind(1, userId).bind(2, id);
        if (!exists.step())
            return false;
    }
    auto remove = m_db.prepare("DELETE FROM collected_albums WHERE user_id = ?1 AND album_id = ?2");
    for (const auto id : albumIds) {
        remove.reset();
        remove.bind(1, userId).bind(2, id).run();
    }
    tx.commit();
    return true;
}

void Catalogue::recordReport(const std::string &query)
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("INSERT INTO reports(query) VALUES (?1)");
    st.bind(1, query).run();
}

std::vector<std::string> Catalogue::reports()
{
    std::lock_guard lock(m_mutex);
    auto st = m_db.prepare("SELECT query FROM reports ORDER BY id");
    std::vector<std::string> rows;
    while (st.step())
        rows.push_back(st.text(0));
    return rows;
}

void Catalogue::clearReports()
{
    std::lock_guard lock(m_mutex);
    m_db.execute("DELETE FROM reports");
}

} // namespace qarvon::refsvc
