#include "MethodHandlers.h"

#include "Catalogue.h"
#include "Database.h"
#include "TextUtil.h"
#include "XmlWriter.h"

#include <algorithm>
#include <cstdio>

namespace qarvon::refsvc {

namespace {

constexpr int kDefaultPageSize = 20;
constexpr int kLargestPageSize = 200;

// Thrown by the argument checks; answer() turns it into `<err code="N"/>`.
struct Refusal
{
    int code;
};

const std::string &Required(const ApiRequest &r, const char *name)
{
    const auto it = r.params.find(name);
    if (it == r.params.end())
        throw Refusal {kMissingArgument};
    return it->second;
}

std::int64_t Id(const std::string &text)
{
    long long value = 0;
    if (!ParseInt64(Trim(text), value) || value <= 0)
        throw Refusal {kUnknownObject};
    return value;
}

std::vector<std::int64_t> IdList(const std::string &text)
{
    std::vector<std::int64_t> ids;
    for (const auto &piece : SplitList(text, ','))
        ids.push_back(Id(piece));
    if (ids.empty())
        throw Refusal {kMissingArgument};
    return ids;
}

// Well-formed UTF-8 of characters an XML 1.0 document may hold: no overlong
// forms, no surrogates, nothing past U+10FFFF and neither U+FFFE nor U+FFFF.
// Anything else would make every later answer that shows the text unreadable.
bool ValidXmlUtf8(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1Fu;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0Fu;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07u;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)
            || code == 0xFFFE || code == 0xFFFF)
            return false;
        i += length;
    }
    return true;
}

// Titles and notes end up in other people's XML and file names: markup
// characters, quotes, backslashes and control characters are refused.
std::string CheckedText(const std::string &raw)
{
    const std::string text = Trim(raw);
    if (!ValidXmlUtf8(text))
        throw Refusal {kForbiddenCharacters};
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == '<' || ch == '>' || ch == '"' || ch == '\''
            || ch == '\\')
            throw Refusal {kForbiddenCharacters};
    }
    return text;
}

// The client sends "'" or "''" for an empty description.
std::string CheckedDescription(const std::string &raw)
{
    const std::string text = Trim(raw);
    if (text.find_first_not_of('\'') == std::string::npos)
        return {};
    return CheckedText(text);
}

struct Paging
{
    int limit;
    int offset;
    int page;
    int perPage;
};

Paging ReadPaging(const ApiRequest &r)
{
    long long perPage = 0;
    long long page = 0;
    if (!ParseInt64(Trim(Required(r, "per_page")), perPage)
        || !ParseInt64(Trim(Required(r, "page")), page))
        throw Refusal {kMissingArgument};
    if (perPage <= 0)
        perPage = kDefaultPageSize;
    perPage = std::min<long long>(perPage, kLargestPageSize);
    page = std::clamp<long long>(page, 1, 1000000);
    return {static_cast<int>(perPage), static_cast<int>((page - 1) * perPage),
            static_cast<int>(page), static_cast<int>(perPage)};
}

// The absolute address of a file the service serves, e.g. "/media/artist/" + id + ".jpg".
std::string Address(const ApiRequest &r, const char *folder, std::int64_t id, const char *suffix)
{
    return r.baseUrl + folder + std::to_string(id) + suffix;
}

std::string CoverUrl(const ApiRequest &r, std::int64_t albumId, char size)
{
    return Address(r, "/media/cover/", albumId, size == 's' ? "_s.jpg" : "_m.jpg");
}

// The object a lookup found; an unknown one refuses the request.
template<typename T>
T Found(std::optional<T> object)
{
    if (!object)
        throw Refusal {kUnknownObject};
    return std::move(*object);
}

void TrackFields(XmlWriter &xml, const TrackRow &t)
{
    xml.field("TrackID", std::to_string(t.id));
    xml.field("TrackName", t.name);
    xml.field("AlbumID", std::to_string(t.albumId));
    xml.field("AlbumName", t.albumName);
    xml.field("ArtistIDList", t.artistIds);
    xml.field("ArtistNameList", t.artistNames);
    xml.field("Duration", std::to_string(t.duration));
}

void TrackRecords(XmlWriter &xml, const std::vector<TrackRow> &tracks)
{
    for (const auto &t : tracks) {
        xml.open("Track");
        TrackFields(xml, t);
        xml.close();
    }
}

void AlbumFields(XmlWriter &xml, const ApiRequest &r, const AlbumRow &a)
{
    xml.field("AlbumID", std::to_string(a.id));
    xml.field("AlbumName", a.name);
    xml.field("SmallImageUrl", CoverUrl(r, a.id, 's'));
    xml.field("MiddleImageUrl", CoverUrl(r, a.id, 'm'));
    xml.field("ArtistIDList", a.artistIds);
    xml.field("ArtistNameList", a.artistNames);
}

void AlbumRecords(XmlWriter &xml, const ApiRequest &r, const std::vector<AlbumRow> &albums)
{
    for (const auto &a : albums) {
        xml.open("Album");
        AlbumFields(xml, r, a);
        xml.close();
    }
}

void ArtistFields(XmlWriter &xml, const ApiRequest &r, const ArtistRow &a)
{
    xml.field("ArtistID", std::to_string(a.id));
    xml.field("ArtistName", a.name);
    xml.field("EnglishName", a.englishName);
    xml.field("ImageUrl", Address(r, "/media/artist/", a.id, ".jpg"));
}

void ArtistRecords(XmlWriter &xml, const ApiRequest &r, const std::vector<ArtistRow> &artists)
{
    for (const auto &a : artists) {
        xml.open("Artist");
        ArtistFields(xml, r, a);
        xml.close();
    }
}

// An answer that is nothing but a list of tracks.
std::string TrackList(const std::vector<TrackRow> &tracks)
{
    XmlWriter xml("Response");
    TrackRecords(xml, tracks);
    return xml.finish();
}

// The self-closing first child whose last attribute carries the number of
// all results; the client reads it from the raw text.
void PagingCarrier(XmlWriter &xml, const Paging &p, int total)
{
    xml.empty("Paging",
              {{"page", std::to_string(p.page)},
               {"per_page", std::to_string(p.perPage)},
               {"total", std::to_string(total)}});
}

// One page of records after the carrier of the paging and the total.
template<typename Row, typename WriteRecords>
std::string PagedAnswer(const Paging &p, const Page<Row> &page, WriteRecords writeRecords)
{
    XmlWriter xml("Response");
    PagingCarrier(xml, p, page.total);
    writeRecords(xml, page.rows);
    return xml.finish();
}

struct PlaylistText
{
    std::string title;
    std::string description;
};

PlaylistText ReadPlaylistText(const ApiRequest &r)
{
    PlaylistText text {CheckedText(Required(r, "PlayListTitle")),
                       CheckedDescription(Required(r, "PlayListDesc"))};
    if (text.title.empty())
        throw Refusal {kMissingArgument};
    return text;
}

std::string Done()
{
    XmlWriter xml("Response");
    xml.field("Result", "ok");
    return xml.finish();
}

} // namespace

MethodHandlers::MethodHandlers(Catalogue &catalogue)
    : m_catalogue(catalogue)
{
    m_handlers = {
        {"Qarvon.User.Login", &MethodHandlers::login},
        {"Qarvon.User.GetUserInfo", &MethodHandlers::userInfo},
        {"Qarvon.User.Logout", &MethodHandlers::logout},
        {"Qarvon.Track.GetTrack", &MethodHandlers::getTrack},
        {"Qarvon.Artist.GetArtist", &MethodHandlers::getArtist},
        {"Qarvon.Album.GetAlbum", &MethodHandlers::getAlbum},
        {"Qarvon.Album.GetHotAlbum", &MethodHandlers::hotAlbums},
        {"Qarvon.Track.GetByAlbumID", &MethodHandlers::albumTracks},
        {"Qarvon.Topic.GetTopicForPaging", &MethodHandlers::topics},
        {"Qarvon.Topic.GetByTopicID", &MethodHandlers::topicTracks},
        {"Qarvon.Track.GetTrackPlayUrl", &MethodHandlers::playUrl},
        {"Qarvon.Track.GetTrackDownUrl", &MethodHandlers::downloadUrl},
        {"Qarvon.Track.GetByArtistID", &MethodHandlers::artistTracks},
        {"Qarvon.Search.SearchArtist", &MethodHandlers::searchArtists},
        {"Qarvon.Search.SearchAlbum", &MethodHandlers::searchAlbums},
        {"Qarvon.Search.SearchTrack", &MethodHandlers::searchTracks},
        {"Qarvon.User.GetPalyList", &MethodHandlers::playlists},
        {"Qarvon.User.AddPlayList", &MethodHandlers::addPlaylist},
        {"Qarvon.User.DelPlayList", &MethodHandlers::deletePlaylist},
        {"Qarvon.User.GetPlayListTracks", &MethodHandlers::playlistTracks},
        {"Qarvon.User.ModifyPlayList", &MethodHandlers::modifyPlaylist},
        {"Qarvon.User.AddPlayListTracks", &MethodHandlers::addPlaylistTracks},
        {"Qarvon.User.DelPlayListTracks", &MethodHandlers::deletePlaylistTracks},
        {"Qarvon.User.GetCollectedAlbums", &MethodHandlers::collectedAlbums},
        {"Qarvon.User.AddCollectedAlbum", &MethodHandlers::collectAlbum},
        {"Qarvon.User.DelCollectedAlbum", &MethodHandlers::uncollectAlbum},
        {"Qarvon.Area.GetHotTrack", &MethodHandlers::hotTracks},
        {"Qarvon.Area.GetRaiseTrack", &MethodHandlers::raiseTracks},
        {"Qarvon.Area.GetHotDownload", &MethodHandlers::hotDownloads},
        {"Qarvon.Area.GetNewHotTrack", &MethodHandlers::newHotChart},
        {"Qarvon.Track.GetNewHotTrack", &MethodHandlers::newHotTracks},
    };
}

std::string MethodHandlers::answer(const ApiRequest &request)
{
    const auto it = m_handlers.find(request.method);
    const bool isLogout = request.method == "Qarvon.User.Logout";
    try {
        if (it == m_handlers.end())
            throw Refusal {kUnknownMethod};
        return (this->*(it->second))(request);
    } catch (const Refusal &refusal) {
        if (isLogout) {
            // The sign-out is read differently: its refusal is the document itself.
            return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<err code=\""
                + std::to_string(refusal.code) + "\"/>\n";
        }
        return ErrorDocument(refusal.code);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qarvon-service: %s failed: %s\n", request.method.c_str(), e.what());
        return ErrorDocument(kUnavailable);
    }
}

std::int64_t MethodHandlers::signedInUser(const ApiRequest &r, const char *tokenName)
{
    const std::string token = Trim(Required(r, tokenName));
    if (token.empty())
        throw Refusal {kNotSignedIn};
    const auto owner = m_catalogue.tokenOwner(token);
    if (!owner)
        throw Refusal {kBadToken};
    return *owner;
}

std::int64_t MethodHandlers::namedUser(const ApiRequest &r)
{
    return Found(m_catalogue.userByName(Trim(Required(r, "u_name")))).id;
}

std::string MethodHandlers::login(const ApiRequest &r)
{
    const std::string &password = Required(r, "u_pwd");
    const std::string name = Trim(Required(r, "u_name"));
    if (name.empty() || password.empty())
        throw Refusal {kEmptyCredentials};
    if (!m_catalogue.checkPassword(name, password))
        throw Refusal {kUnknownObject};
    const auto user = Found(m_catalogue.userByName(name));
    XmlWriter xml("Response");
    xml.field("UserID", std::to_string(user.id));
    xml.field("UserName", user.name);
    xml.field("Token", m_catalogue.issueToken(user.id));
    return xml.finish();
}

std::string MethodHandlers::userInfo(const ApiRequest &r)
{
    const auto user = Found(m_catalogue.userById(namedUser(r)));
    XmlWriter xml("Response");
    xml.open("User");
    xml.field("UserID", std::to_string(user.id));
    xml.field("UserName", user.name);
    xml.field("UserSex", user.sex);
    xml.field("UserBirthday", user.birthday);
    xml.field("UserEmail", user.email);
    xml.field("UserAddress", user.address);
    xml.field("UserImage", Address(r, "/media/avatar/", user.id, ".jpg"));
    return xml.finish();
}

std::string MethodHandlers::logout(const ApiRequest &r)
{
    const std::string who = Trim(Required(r, "u_name"));
    const std::int64_t owner = signedInUser(r, "st");
    // The client sends its UserID here; a user name is taken too.
    const auto user = m_catalogue.userById(owner);
    if (!user || (who != std::to_string(owner) && who != user->name))
        throw Refusal {kBadToken};
    m_catalogue.revokeToken(Trim(r.params.at("st")));
    return Done();
}

std::string MethodHandlers::getTrack(const ApiRequest &r)
{
    const auto track = Found(m_catalogue.track(Id(Required(r, "trackID"))));
    XmlWriter xml("Response");
    xml.open("Track");
    TrackFields(xml, track);
    xml.field("LyricUrl", Address(r, "/media/lyric/", track.id, ".lrc"));
    xml.field("SmallImageUrl", CoverUrl(r, track.albumId, 's'));
    xml.field("Genre", track.genre);
    xml.field("Lanaguage", track.language);
    xml.field("ReleaseDate", track.releaseDate);
    return xml.finish();
}

std::string MethodHandlers::getArtist(const ApiRequest &r)
{
    // The player passes a track's whole artist list; the first known artist answers.
    for (const auto id : IdList(Required(r, "artistID"))) {
        const auto artist = m_catalogue.artist(id);
        if (!artist)
            continue;
        XmlWriter xml("Response");
        xml.open("Artist");
        ArtistFields(xml, r, *artist);
        xml.field("Description", artist->description);
        return xml.finish();
    }
    throw Refusal {kUnknownObject};
}

std::string MethodHandlers::getAlbum(const ApiRequest &r)
{
    const auto album = Found(m_catalogue.album(Id(Required(r, "albumID"))));
    XmlWriter xml("Response");
    xml.open("Album");
    AlbumFields(xml, r, album);
    xml.field("ReleaseDate", album.releaseDate);
    xml.field("Description", album.description);
    return xml.finish();
}

std::string MethodHandlers::hotAlbums(const ApiRequest &r)
{
    XmlWriter xml("Response");
    AlbumRecords(xml, r, m_catalogue.hotAlbums());
    return xml.finish();
}

std::string MethodHandlers::albumTracks(const ApiRequest &r)
{
    const std::int64_t id = Id(Required(r, "albumID"));
    if (!m_catalogue.album(id))
        throw Refusal {kUnknownObject};
    return TrackList(m_catalogue.albumTracks(id));
}

std::string MethodHandlers::topics(const ApiRequest &r)
{
    // Paged like the rest, but without the arguments every topic comes at once.
    int limit = 1000;
    int offset = 0;
    if (r.params.count("per_page") || r.params.count("page")) {
        const Paging p = ReadPaging(r);
        limit = p.limit;
        offset = p.offset;
    }
    XmlWriter xml("Response");
    for (const auto &t : m_catalogue.topics(limit, offset).rows) {
        xml.open("Topic");
        xml.field("TopicID", std::to_string(t.id));
        xml.field("Title", t.title);
        xml.field("CreateDate", t.createDate);
        xml.field("Description", t.description);
        xml.field("ImageUrl", Address(r, "/media/topic/", t.id, ".jpg"));
        xml.close();
    }
    return xml.finish();
}

std::string MethodHandlers::topicTracks(const ApiRequest &r)
{
    const std::int64_t id = Id(Required(r, "TopicID"));
    if (!m_catalogue.topic(id))
        throw Refusal {kUnknownObject};
    return TrackList(m_catalogue.topicTracks(id));
}

std::string MethodHandlers::playUrl(const ApiRequest &r)
{
    const auto track = Found(m_catalogue.track(Id(Required(r, "ProductID"))));
    XmlWriter xml("Response");
    xml.open("TrackUrl");
    xml.field("AuditionUrl", Address(r, "/media/audio/", track.id, ".mp3"));
    return xml.finish();
}

std::string MethodHandlers::downloadUrl(const ApiRequest &r)
{
    const auto track = Found(m_catalogue.track(Id(Required(r, "ProductID"))));
    const std::string id = std::to_string(track.id);
    std::string address = r.baseUrl + "/download/track/" + id + ".mp3";
    // Every fourth track names a mirror as well, as the client must cut at ";".
    if (track.id % 4 == 0)
        address += ";" + r.baseUrl + "/download/mirror/" + id + ".mp3";
    XmlWriter xml("Response");
    xml.open("Track");
    xml.field("TrackID", id);
    xml.field("AuditionUrl", address);
    return xml.finish();
}

std::string MethodHandlers::artistTracks(const ApiRequest &r)
{
    const std::int64_t id = Id(Required(r, "artistID"));
    const Paging p = ReadPaging(r);
    if (!m_catalogue.artist(id))
        throw Refusal {kUnknownObject};
    return PagedAnswer(p, m_catalogue.artistTracks(id, p.limit, p.offset), TrackRecords);
}

namespace {

std::string Keyword(const ApiRequest &r)
{
    const std::string keyword = Trim(Required(r, "keyword"));
    if (keyword.empty())
        throw Refusal {kMissingArgument};
    return keyword;
}

} // namespace

std::string MethodHandlers::searchArtists(const ApiRequest &r)
{
    const std::string keyword = Keyword(r);
    const Paging p = ReadPaging(r);
    return PagedAnswer(p, m_catalogue.searchArtists(keyword, p.limit, p.offset),
                       [&r](XmlWriter &xml, const auto &rows) { ArtistRecords(xml, r, rows); });
}

std::string MethodHandlers::searchAlbums(const ApiRequest &r)
{
    const std::string keyword = Keyword(r);
    const Paging p = ReadPaging(r);
    return PagedAnswer(p, m_catalogue.searchAlbums(keyword, p.limit, p.offset),
                       [&r](XmlWriter &xml, const auto &rows) { AlbumRecords(xml, r, rows); });
}

std::string MethodHandlers::searchTracks(const ApiRequest &r)
{
    const std::string keyword = Keyword(r);
    const Paging p = ReadPaging(r);
    return PagedAnswer(p, m_catalogue.searchTracks(keyword, p.limit, p.offset), TrackRecords);
}

std::string MethodHandlers::playlists(const ApiRequest &r)
{
    const std::int64_t user = namedUser(r);
    XmlWriter xml("Response");
    xml.open("PlayLists");
    for (const auto &p : m_catalogue.playlists(user)) {
        xml.open("PlayList");
        xml.field("PlayListID", std::to_string(p.id));
        xml.field("PlayListTitle", p.title);
        xml.field("PlayListDesc", p.description);
        xml.field("PlayListCreateDate", p.createDate);
        xml.field("PlayListSize", std::to_string(p.size));
        xml.field("PlayListSImage", p.coverAlbumId > 0 ? CoverUrl(r, p.coverAlbumId, 's') : "");
        xml.close();
    }
    return xml.finish();
}

std::string MethodHandlers::addPlaylist(const ApiRequest &r)
{
    const std::int64_t user = signedInUser(r, "tk");
    const PlaylistText text = ReadPlaylistText(r);
    XmlWriter xml("Response");
    xml.field("PlayListID",
              std::to_string(m_catalogue.createPlaylist(user, text.title, text.description)));
    return xml.finish();
}

std::string MethodHandlers::deletePlaylist(const ApiRequest &r)
{
    const std::int64_t user = signedInUser(r, "tk");
    if (!m_catalogue.deletePlaylist(user, Id(Required(r, "pl_id"))))
        throw Refusal {kUnknownObject};
    return Done();
}

std::string MethodHandlers::playlistTracks(const ApiRequest &r)
{
    const std::int64_t user = namedUser(r);
    const auto playlist = Found(m_catalogue.playlist(user, Id(Required(r, "pl_id"))));
    return TrackList(m_catalogue.playlistTracks(playlist.id));
}

std::string MethodHandlers::modifyPlaylist(const ApiRequest &r)
{
    const std::int64_t user = signedInUser(r, "tk");
    const std::int64_t id = Id(Required(r, "pl_id"));
    const PlaylistText text = ReadPlaylistText(r);
    if (!m_catalogue.renamePlaylist(user, id, text.title, text.description))
        throw Refusal {kUnknownObject};
    return Done();
}

std::string MethodHandlers::addPlaylistTracks(const ApiRequest &r)
{
    const std::int64_t user = signedInUser(r, "tk");
    const std::int64_t id = Id(Required(r, "pl_id"));
    const auto ids = IdList(Required(r, "song_ids"));
    if (!m_catalogue.addPlaylistTracks(Found(m_catalogue.playlist(user, id)).id, ids))
        throw Refusal {kUnknownObject};
    return Done();
}

std::string MethodHandlers::deletePlaylistTracks(const ApiRequest &r)
{
    const std::int64_t user = signedInUser(r, "tk");
    const std::int64_t id = Id(Required(r, "pl_id"));
    const auto ids = IdList(Required(r, "song_ids"));
    m_catalogue.removePlaylistTracks(Found(m_catalogue.playlist(user, id)).id, ids);
    return Done();
}

std::string MethodHandlers::collectedAlbums(const ApiRequest &r)
{
    const std::int64_t user = namedUser(r);
    XmlWriter xml("Response");
    xml.open("UserAlbums");
    AlbumRecords(xml, r, m_catalogue.collectedAlbums(user));
    return xml.finish();
}

std::string MethodHandlers::collectAlbum(const ApiRequest &r)
{
    const auto ids = IdList(Required(r, "album_ids"));
    const std::int64_t user = signedInUser(r, "tk");
    if (!m_catalogue.collectAlbums(user, ids))
        throw Refusal {kUnknownObject};
    return Done();
}

std::string MethodHandlers::uncollectAlbum(const ApiRequest &r)
{
    const auto ids = IdList(Required(r, "album_ids"));
    const std::int64_t user = signedInUser(r, "tk");
    if (!m_catalogue.uncollectAlbums(user, ids))
        throw Refusal {kUnknownObject};
    return Done();
}

namespace {

std::string ChartAnswer(Catalogue &catalogue, const ApiRequest &r, Chart chart)
{
    const std::string area = Trim(Required(r, "areaID"));
    if (!catalogue.areaExists(area))
        throw Refusal {kUnknownObject};
    return TrackList(catalogue.chartTracks(area, chart));
}

} // namespace

std::string MethodHandlers::hotTracks(const ApiRequest &r)
{
    return ChartAnswer(m_catalogue, r, Chart::Hot);
}

std::string MethodHandlers::raiseTracks(const ApiRequest &r)
{
    return ChartAnswer(m_catalogue, r, Chart::Raise);
}

std::string MethodHandlers::hotDownloads(const ApiRequest &r)
{
    return ChartAnswer(m_catalogue, r, Chart::HotDownload);
}

std::string MethodHandlers::newHotChart(const ApiRequest &r)
{
    return ChartAnswer(m_catalogue, r, Chart::NewHot);
}

std::string MethodHandlers::newHotTracks(const ApiRequest &)
{
    return TrackList(m_catalogue.newHotTracks());
}

} // namespace qarvon::refsvc
