#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace qarvon::refsvc {

class Catalogue;
class XmlWriter;
struct TrackRow;
struct AlbumRow;

struct ApiRequest
{
    std::string method;
    std::map<std::string, std::string> params; // decoded; the first value of each name
    std::string baseUrl; // "http://host:port" as the client reached us
};

// Error codes the client turns into texts.
enum ErrorCode {
    kUnknownObject = 1,
    kBadToken = 10,
    kEmptyCredentials = 20,
    kForbiddenCharacters = 96,
    kNotSignedIn = 99,
    kUnavailable = 105,
    kUnknownMethod = 112,
    kMissingArgument = 125,
};

// Turns one API request into its XML answer. Every refusal is an answer too
// (`<err code="N"/>`), never an HTTP error, because the client only reads codes
// from the body.
class MethodHandlers
{
public:
    explicit MethodHandlers(Catalogue &catalogue);

    std::string answer(const ApiRequest &request);

private:
    using Handler = std::string (MethodHandlers::*)(const ApiRequest &);

    std::string login(const ApiRequest &r);
    std::string userInfo(const ApiRequest &r);
    std::string logout(const ApiRequest &r);
    std::string getTrack(const ApiRequest &r);
    std::string getArtist(const ApiRequest &r);
    std::string getAlbum(const ApiRequest &r);
    std::string hotAlbums(const ApiRequest &r);
    std::string albumTracks(const ApiRequest &r);
    std::string topics(const ApiRequest &r);
    std::string topicTracks(const ApiRequest &r);
    std::string playUrl(const ApiRequest &r);
    std::string downloadUrl(const ApiRequest &r);
    std::string artistTracks(const ApiRequest &r);
    std::string searchArtists(const ApiRequest &r);
    std::string searchAlbums(const ApiRequest &r);
    std::string searchTracks(const ApiRequest &r);
    std::string playlists(const ApiRequest &r);
    std::string addPlaylist(const ApiRequest &r);
    std::string deletePlaylist(const ApiRequest &r);
    std::string playlistTracks(const ApiRequest &r);
    std::string modifyPlaylist(const ApiRequest &r);
    std::string addPlaylistTracks(const ApiRequest &r);
    std::string deletePlaylistTracks(const ApiRequest &r);
    std::string collectedAlbums(const ApiRequest &r);
    std::string collectAlbum(const ApiRequest &r);
    std::string uncollectAlbum(const ApiRequest &r);
    std::string hotTracks(const ApiRequest &r);
    std::string raiseTracks(const ApiRequest &r);
    std::string hotDownloads(const ApiRequest &r);
    std::string newHotChart(const ApiRequest &r);
    std::string newHotTracks(const ApiRequest &r);

    std::int64_t signedInUser(const ApiRequest &r, const char *tokenName);
    std::int64_t namedUser(const ApiRequest &r);

    Catalogue &m_catalogue;
    std::map<std::string, Handler> m_handlers;
};

} // namespace qarvon::refsvc
