#pragma once

#include "Database.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qarvon::refsvc {

struct TrackRow
{
    std::int64_t id = 0;
    std::string name;
    std::int64_t albumId = 0;
    std::string albumName;
    std::string artistIds; // "," joined
    std::string artistNames; // "," joined, same order
    int duration = 0; // seconds
    std::string genre;
    std::string language;
    std::string releaseDate;
};

struct AlbumRow
{
    std::int64_t id = 0;
    std::string name;
    std::string artistIds;
    std::string artistNames;
    std::string releaseDate;
    std::string description;
};

struct ArtistRow
{
    std::int64_t id = 0;
    std::string name;
    std::string englishName;
    std::string description;
};

struct TopicRow
{
    std::int64_t id = 0;
    std::string title;
    std::string createDate;
    std::string description;
};

struct UserRow
{
    std::int64_t id = 0;
    std::string name;
    std::string sex;
    std::string birthday;
    std::string email;
    std::string address;
};

struct PlaylistRow
{
    std::int64_t id = 0;
    std::string title;
    std::string description;
    std::string createDate;
    int size = 0;
    std::int64_t coverAlbumId = 0; // album of the first track, 0 when empty
};

template<typename Row>
struct Page
{
    std::vector<Row> rows;
    int total = 0;
};

enum class Chart { Hot, Raise, HotDownload, NewHot };

// The catalogue and the accounts in one SQLite file. Every call takes the
// lock, so the server's threads can share one object.
class Catalogue
{
public:
    // Opens the database of the data folder, generating the catalogue from the
    // seed when the file is new. A folder made with another seed is refused,
    // so a test never reads a catalogue it did not ask for.
    Catalogue(const std::string &dataDir, std::uint64_t seed, bool seedGiven);

    std::uint64_t seed() const { return m_seed; }
    // True when this start generated the catalogue because the folder had none.
    bool generated() const { return m_generated; }

    std::optional<TrackRow> track(std::int64_t id);
    std::optional<AlbumRow> album(std::int64_t id);
    std::optional<ArtistRow> artist(std::int64_t id);
    std::optional<TopicRow> topic(std::int64_t id);

    std::vector<TrackRow> albumTracks(std::int64_t albumId);
    std::vector<TrackRow> topicTracks(std::int64_t topicId);
    std::vector<TrackRow> chartTracks(const std::string &areaId, Chart chart);
    bool areaExists(const std::string &areaId);
    std::vector<TrackRow> newHotTracks();
    std::vector<AlbumRow> hotAlbums();
    Page<TopicRow> topics(int limit, int offset);
    Page<TrackRow> artistTracks(std::int64_t artistId, int limit, int offset);

    // Keywords are matched as folded substrings (see SearchFold).
    Page<TrackRow> searchTracks(const std::string &keyword, int limit, int offset);
    Page<AlbumRow> searchAlbums(const std::string &keyword, int limit, int offset);
    Page<ArtistRow> searchArtists(const std::string &keyword, int limit, int offset);

    // Accounts.
    std::optional<UserRow> userByName(const std::string &name);
    std::optional<UserRow> userById(std::int64_t id);
    bool checkPassword(const std::string &name, const std::string &password);
    std::string issueToken(std::int64_t userId);
    std::optional<std::int64_t> tokenOwner(const std::string &token);
    void revokeToken(const std::string &token);

    // Playlists; every change checks the owner.
    std::vector<PlaylistRow> playlists(std::int64_t userId);
    std::optional<PlaylistRow> playlist(std::int64_t userId, std::int64_t playlistId);
    std::int64_t createPlaylist(std::int64_t userId, const std::string &title,
                                const std::string &description);
    bool renamePlaylist(std::int64_t userId, std::int64_t playlistId, const std::string &title,
                        const std::string &description);
    bool deletePlaylist(std::int64_t userId, std::int64_t playlistId);
    std::vector<TrackRow> playlistTracks(std::int64_t playlistId);
    // All or nothing: false (and no change) when one id is not a track.
    bool addPlaylistTracks(std::int64_t playlistId, const std::vector<std::int64_t> &trackIds);
    // Removes the first occurrence of each id; ids not in the list are passed over.
    void removePlaylistTracks(std::int64_t playlistId, const std::vector<std::int64_t> &trackIds);

    std::vector<AlbumRow> collectedAlbums(std::int64_t userId);
    bool collectAlbums(std::int64_t userId, const std::vector<std::int64_t> &albumIds);
    bool uncollectAlbums(std::int64_t userId, const std::vector<std::int64_t> &albumIds);

    // Statistics reports, in arrival order.
    void recordReport(const std::string &query);
    std::vector<std::string> reports();
    void clearReports();

private:
    std::mutex m_mutex;
    Database m_db;
    std::uint64_t m_seed = 1;
    bool m_generated = false;
};

} // namespace qarvon::refsvc
