#pragma once

#include <cstdint>
#include <string>

namespace qarvon::refsvc {

class Database;

// Fills a new database from the seed: the same seed always gives the same
// artists, albums, tracks, topics and charts, plus the seeded accounts.
// Runs inside the caller's transaction.
void GenerateCatalogue(Database &db, std::uint64_t seed);

// Hex SHA-256 of salt + password.
std::string PasswordHash(const std::string &salt, const std::string &password);

// First ids of each kind; distinct ranges make a mixed-up id fail loudly.
inline constexpr std::int64_t kFirstArtistId = 1001;
inline constexpr std::int64_t kFirstAlbumId = 20001;
inline constexpr std::int64_t kFirstTrackId = 300001;
inline constexpr std::int64_t kFirstTopicId = 4001;
inline constexpr int kArtistCount = 120;
inline constexpr int kAlbumCount = 240;
inline constexpr int kTopicCount = 15;

} // namespace qarvon::refsvc
