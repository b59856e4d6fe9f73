#pragma once

// The search over tracks, albums and artists, the tracks of an album or artist
// result, and the two local cache files the track results pass through.

#include "uQarvonPO.h"

#include <string>
#include <vector>

namespace qarvon {

enum TSearchKind { skTracks = 8, skAlbums = 9, skArtists = 10 };

// The results of the current search; the items are album or artist results.
class TSearchMusicList : public TQarvonList<TSearchMusic>, public TCancelFlag
{
public:
    std::string Keyword; // as typed; encoded when sent
    int Page = 0;
    int PageSize = 0;    // the cache read-back may lower it
    int LastKind = 0;    // kind of the previous search pass
    TTrackList CachedTracks; // track results as read back from the cache file
    bool SearchAll = false;  // one search runs the three kinds in turn
    TTrackList AccumulatedTracks; // track results over successive pages, written to the cache
};

// Where the search tells the windows about its progress. Both calls come from
// the searching thread and must only queue work for the window's thread.
class TSearchNotifier
{
public:
    virtual ~TSearchNotifier() = default;
    // Message 1017: an answer held the total carrier alone.
    virtual void PostNoSearchData() = 0;
    // Message 1019: the total of that kind was stored (SearchTotal).
    virtual void PostSearchTotal(int kind) = 0;
};

// The process-wide receiver; nullptr (the default) drops the notifications.
// The receiver must outlive every search that runs while it is set.
void SetSearchNotifier(TSearchNotifier *notifier);

// The total of the last answer of that kind (8, 9 or 10); 0 for other kinds.
int SearchTotal(int kind);
// Tracks of the current artist result gathered over its pages.
TTrackList &ArtistTrackList();
// The artist's tracks as read back from the artist cache file.
TTrackList &ArtistCacheList();
// Forgets the totals and empties both artist lists.
void ResetSearchState();

std::string SearchCacheFile(); // Data/SearchMusic_单曲.xml
std::string ArtistCacheFile(); // Data/SearchMusic_ArtistTrack.xml

// One pass per kind: with SearchAll the three kinds from firstKind on.
void Search(TSearchMusicList &list, int firstKind);

// The tracks of an album (kind 9) or artist result; any kind other than 9
// asks for an artist's page, and only kind 10 feeds the artist lists and cache.
void LoadSearchDetail(TSearchMusic &result, const std::string &identifier, int pageSize, int kind,
                      int page);

// The cache layout: root "program", one "rool" per track with the six
// catalogue fields as attributes. skipEmpty leaves out tracks without an
// identifier.
std::string FormatTrackCache(const TTrackList &tracks, bool skipEmpty);
// Every child of the root as a track (empty ones included); false when the
// bytes do not parse or have no root.
bool ParseTrackCache(const std::string &bytes, std::vector<TTrack> &rows);
// Atomic rewrite; a present file that does not parse is kept as "<path>.bad".
bool WriteTrackCache(const std::string &path, const TTrackList &tracks, bool skipEmpty);

} // namespace qarvon
