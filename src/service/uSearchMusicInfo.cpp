#include "uSearchMusicInfo.h"

#include "AtomicFile.h"
#include "Common_Config.h"
#include "tool.h"
#include "uLocalFiles.h"
#include "uServiceCall.h"
#include "uXmlAnswer.h"

#include <atomic>
#include <charconv>
#include <filesystem>
#include <stdexcept>

namespace qarvon {

namespace {

struct TSearchState
{
    std::atomic<int> totals[3] = {0, 0, 0};
    TTrackList artistTracks;
    TTrackList artistCache;
    std::atomic<TSearchNotifier *> notifier{nullptr};
};

TSearchState &State()
{
    static TSearchState state;
    return state;
}

void NotifyNoSearchData()
{
    if (TSearchNotifier *n = State().notifier.load())
        n->PostNoSearchData();
}

void NotifySearchTotal(int kind)
{
    if (TSearchNotifier *n = State().notifier.load())
        n->PostSearchTotal(kind);
}

void StoreTotal(int kind, int total)
{
    if (kind >= skTracks && kind <= skArtists)
        State().totals[kind - skTracks] = total;
}

// The number of results an answer announces: the "total" attribute of the
// carrier element among the root's children. Read from the tree, so a "total"
// anywhere in a name or title cannot be mistaken for it.
int ReadTotal(const TXmlNode &root)
{
    for (const TXmlNode &child : root.Children()) {
        const std::optional<std::string> value = child.Attribute("total");
        if (!value)
            continue;
        if (value->empty())
            return 0;
        int total = 0;
        const char *first = value->data();
        const char *last = first + value->size();
        if (*first == '+')
            ++first;
        const auto [end, ec] = std::from_chars(first, last, total);
        if (ec != std::errc() || end != last || first == last)
            throw std::invalid_argument("the total \"" + *value + "\" is not a number");
        return total;
    }
    return 0;
}

void ReadTrackAttributes(const TXmlNode &node, TTrack &track)
{
    const auto attribute = [&node](const char *name) {
        return node.Attribute(name).value_or(std::string());
    };
    track.TrackID = attribute("TrackID");
    track.TrackName = attribute("TrackName");
    track.AlbumID = attribute("AlbumID");
    track.AlbumName = attribute("AlbumName");
    track.ArtistIDList = attribute("ArtistIDList");
    track.ArtistNameList = attribute("ArtistNameList");
}

bool ReadCacheFile(const std::string &path, std::vector<TTrack> &rows)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::string content;
    if (!ReadWholeFile(path, &content))
        return false;
    if (!ParseTrackCache(content, rows)) {
        Trace(path + " cannot be read back");
        return false;
    }
    return true;
}

bool HasTrackId(const TTrack &track)
{
    return !Trim(track.TrackID).empty();
}

void ReadBackSearchCache(TSearchMusicList &list)
{
    std::vector<TTrack> rows;
    if (!ReadCacheFile(SearchCacheFile(), rows))
        return;
    const int n = static_cast<int>(rows.size());
    if (list.PageSize >= n)
        list.PageSize = n;
    list.Clear();
    list.CachedTracks.Clear();
    for (int i = 0; i < list.PageSize && i < n; ++i) {
        if (HasTrackId(rows[static_cast<std::size_t>(i)]))
            list.CachedTracks.Add(std::make_unique<TTrack>(rows[static_cast<std::size_t>(i)]));
    }
}

void ReadBackArtistCache(TSearchMusic &result)
{
    std::vector<TTrack> rows;
    if (!ReadCacheFile(ArtistCacheFile(), rows))
        return;
    const int n = static_cast<int>(rows.size());
    if (result.PageSize >= n - 1)
        result.PageSize = n - 1;
    // PageSize + 1 rows: one more than the page, as the list controller expects.
    for (int i = 0; i <= result.PageSize && i < n; ++i) {
        if (HasTrackId(rows[static_cast<std::size_t>(i)]))
            ArtistCacheList().Add(std::make_unique<TTrack>(rows[static_cast<std::size_t>(i)]));
    }
}

const std::string *SearchTemplate(int kind)
{
    const TSystemConfig &config = SysConfig();
    switch (kind) {
    case skTracks: return &config.SearchTrack;
    case skAlbums: return &config.SearchAlbum;
    case skArtists: return &config.SearchArtist;
    default: return nullptr;
    }
}

enum class TPassEnd { Done, EndSearch };

TPassEnd SearchPass(TSearchMusicList &list, int kind)
{
    const std::string *tmpl = SearchTemplate(kind);
    if (!tmpl)
        return TPassEnd::EndSearch;
    TServiceAnswer answer;
    ReadAnswer(
        CatalogueUrl(*tmpl, {TTemplateArg::Encoded(EncodeQueryValue(list.Keyword)), list.PageSize,
                             list.Page}),
        answer);
    if (!HasPayload(list, answer))
        return TPassEnd::EndSearch;

    const int total = ReadTotal(answer.Root);
    const std::vector<TXmlNode> children = answer.Root.Children();
    const int count = static_cast<int>(children.size());
    if (count == 1)
        NotifyNoSearchData();

    // The same kind again is a further page: its results join the earlier
    // ones unless this answer holds every result.
    if (list.LastKind != kind || count - 1 == total)
        list.Clear();
    if (list.SearchAll && kind == skTracks)
        list.AccumulatedTracks.Clear();
    list.LastKind = kind;

    if (kind == skTracks) {
        // The carrier comes first and gives a track without fields; the cache keeps it.
        for (const TXmlNode &record : children) {
            auto track = std::make_unique<TTrack>();
            ReadTrackRecord(record, *track);
            if (list.AccumulatedTracks.Count() <= total)
                list.AccumulatedTracks.Add(std::move(track));
        }
    } else {
        for (std::size_t i = 1; i < children.size(); ++i) {
            if (list.Cancelled)
                return TPassEnd::EndSearch;
            const TXmlNode &record = children[i];
            TSearchMusic *item = list.AddNew();
            if (kind == skAlbums) {
                item->AlbumID = record.ChildText("AlbumID");
                item->AlbumName = record.ChildText("AlbumName");
                item->ImageUrl = record.ChildText("SmallImageUrl");
                item->MiddleImageUrl = record.ChildText("MiddleImageUrl");
                item->ArtistIDList = record.ChildText("ArtistIDList");
                item->ArtistNameList = record.ChildText("ArtistNameList");
            } else {
                item->ArtistID = record.ChildText("ArtistID");
                item->ArtistName = record.ChildText("ArtistName");
                item->EnglishName = record.ChildText("EnglishName");
                item->ImageUrl = record.ChildText("ImageUrl");
            }
        }
    }
    StoreTotal(kind, total);
    NotifySearchTotal(kind);
    return TPassEnd::Done;
}

} // namespace

void SetSearchNotifier(TSearchNotifier *notifier)
{
    State().notifier = notifier;
}

int SearchTotal(int kind)
{
    if (kind < skTracks || kind > skArtists)
        return 0;
    return State().totals[kind - skTracks];
}

TTrackList &ArtistTrackList()
{
    return State().artistTracks;
}

TTrackList &ArtistCacheList()
{
    return State().artistCache;
}

void ResetSearchState()
{
    for (auto &total : State().totals)
        total = 0;
    State().artistTracks.Clear();
    State().artistCache.Clear();
}

std::string SearchCacheFile()
{
    return ProgramFolder() + "Data/SearchMusic" + "_单曲" + ".xml";
}

std::string ArtistCacheFile()
{
    return ProgramFolder() + "Data/SearchMusic_ArtistTrack.xml";
}

std::string FormatTrackCache(const TTrackList &tracks, bool skipEmpty)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    if (tracks.IsEmpty())
        return xml + "<program/>\n";
    xml += "<program>\n";
    for (const auto &track : tracks) {
        if (skipEmpty && !HasTrackId(*track))
            continue;
        xml += "  <rool TrackID=\"" + XmlAttributeText(track->TrackID) + "\" TrackName=\""
               + XmlAttributeText(track->TrackName) + "\" AlbumID=\""
               + XmlAttributeText(track->AlbumID) + "\" AlbumName=\""
               + XmlAttributeText(track->AlbumName) + "\" ArtistIDList=\""
               + XmlAttributeText(track->ArtistIDList) + "\" ArtistNameList=\""
               + XmlAttributeText(track->ArtistNameList) + "\"/>\n";
    }
    xml += "</program>\n";
    return xml;
}

bool ParseTrackCache(const std::string &bytes, std::vector<TTrack> &rows)
{
    rows.clear();
    TXmlDocument document;
    if (!document.Load(bytes))
        return false;
    const TXmlNode root = document.Root();
    if (!root)
        return false;
    for (const TXmlNode &child : root.Children())
        ReadTrackAttributes(child, rows.emplace_back());
    return true;
}

bool WriteTrackCache(const std::string &path, const TTrackList &tracks, bool skipEmpty)
{
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    KeepUnreadableAside(path);
    if (WriteFileAtomically(path, FormatTrackCache(tracks, skipEmpty)))
        return true;
    Trace("cannot write " + path);
    return false;
}

void Search(TSearchMusicList &list, int firstKind)
{
    const int passes = list.SearchAll ? 3 : 1;
    list.Cancelled = false;
    for (int i = 0; i < passes; ++i) {
        const int kind = firstKind + i;
        // An unexpected error ends this pass only; the next kind still runs.
        const TPassEnd end = Guarded("Search", TPassEnd::Done, [&] { return SearchPass(list, kind); });
        if (end == TPassEnd::EndSearch)
            return;
        if (kind == skTracks) {
            GuardedVoid("Search cache", [&] {
                WriteTrackCache(SearchCacheFile(), list.AccumulatedTracks, false);
                ReadBackSearchCache(list);
            });
        }
    }
}

void LoadSearchDetail(TSearchMusic &result, const std::string &identifier, int pageSize, int kind,
                      int page)
{
    GuardedVoid("LoadSearchDetail", [&] {
        TServiceAnswer answer;
        if (kind == skAlbums)
            ReadAnswer(CatalogueUrl(SysConfig().GetByAlbumID, {identifier}), answer);
        else
            ReadAnswer(CatalogueUrl(SysConfig().GetByArtistID, {identifier, pageSize, page}),
                       answer);
        result.PageSize = pageSize;
        if (!HasPayload(result, answer))
            return;

        const int total = ReadTotal(answer.Root);
        const bool artist = kind == skArtists;
        TTrackList &artistTracks = ArtistTrackList();
        if (artist) {
            if (artistTracks.Count() >= total || page == 1)
                artistTracks.Clear();
            if (page == 1)
                ArtistCacheList().Clear();
        }
        result.Tracks.Clear();
        const std::vector<TXmlNode> children = answer.Root.Children();
        if (children.size() == 1)
            NotifyNoSearchData();
        for (const TXmlNode &record : children) {
            auto track = std::make_unique<TTrack>();
            ReadTrackRecord(record, *track);
            if (!HasTrackId(*track))
                continue;
            if (artist && artistTracks.Count() < total)
                artistTracks.Add(std::make_unique<TTrack>(*track));
            result.Tracks.Add(std::move(track));
        }
        if (artist) {
            WriteTrackCache(ArtistCacheFile(), artistTracks, true);
            ReadBackArtistCache(result);
        }
    });
}

} // namespace qarvon
