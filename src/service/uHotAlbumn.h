#pragma once

#include "uQarvonPO.h"

#include <memory>
#include <string>

namespace qarvon {

class THotAlbum : public TQarvonPO
{
public:
    std::string AlbumID;
    std::string AlbumName;
    std::string SmallImageUrl;
    std::string MiddleImageUrl;
    std::string ArtistIDList;
    std::string ArtistNameList;
    TTrackList Tracks;
    // The album's detail view; created empty with the hot album.
    std::unique_ptr<TCollectAlbum> Details = std::make_unique<TCollectAlbum>();
};

class THotAlbumList : public TQarvonList<THotAlbum>, public TCancelFlag
{
};

void LoadHotAlbums(THotAlbumList &list);
void LoadHotAlbumTracks(THotAlbum &album);

// The album's details; the last record of the answer wins. A refusal leaves
// no code and the album not loaded.
void LoadAlbumDetails(TCollectAlbum &album, const std::string &albumId);

// The album's tracks with their durations. 0 when read (or read before), -1
// without an answer, else the service's code. Every answer, a refusal
// included, sets TracksLoaded so the request is not repeated.
int LoadAlbumTracks(TCollectAlbum &album, const std::string &albumId);

} // namespace qarvon
