#include "uHotAlbumn.h"

#include "uServiceCall.h"
#include "uXmlAnswer.h"

namespace qarvon {

void LoadHotAlbums(THotAlbumList &list)
{
    list.Cancelled = false;
    if (list.Loaded)
        return;
    TServiceAnswer answer;
    ReadAnswer(CatalogueUrl(SysConfig().GetHotAlbum), answer);
    if (!HasPayload(list, answer))
        return;
    const bool complete = Guarded("LoadHotAlbums", true, [&] {
        list.Clear();
        for (const TXmlNode &record : answer.Root.Children()) {
            if (list.Cancelled)
                return false;
            ReadAlbumRecord(record, *list.AddNew());
        }
        return true;
    });
    if (complete)
        list.Loaded = true;
}

void LoadHotAlbumTracks(THotAlbum &album)
{
    if (album.Loaded)
        return;
    TServiceAnswer answer;
    ReadAnswer(CatalogueUrl(SysConfig().GetByAlbumID, {album.AlbumID}), answer);
    if (!HasPayload(album, answer))
        return;
    GuardedVoid("LoadHotAlbumTracks", [&] {
        album.Tracks.Clear();
        for (const TXmlNode &record : answer.Root.Children())
            ReadTrackRecord(record, *album.Tracks.AddNew());
    });
    album.Loaded = true;
}

void LoadAlbumDetails(TCollectAlbum &album, const std::string &albumId)
{
    if (album.Loaded)
        return;
    TServiceAnswer answer;
    ReadAnswer(CatalogueUrl(SysConfig().GetAlbum, {albumId}), answer);
    if (answer.status != TServiceAnswer::Ok)
        return;
    GuardedVoid("LoadAlbumDetails", [&] {
        for (const TXmlNode &record : answer.Root.Children()) {
            album.AlbumID = record.ChildText("AlbumID");
            album.AlbumName = record.ChildText("AlbumName");
            album.Description = record.ChildText("Description");
            album.MiddleImageUrl = record.ChildText("MiddleImageUrl");
            album.SmallImageUrl = record.ChildText("SmallImageUrl");
            album.ReleaseDate = record.ChildText("ReleaseDate");
            album.ArtistIDList = record.ChildText("ArtistIDList");
            album.ArtistNameList = record.ChildText("ArtistNameList");
        }
    });
    album.Loaded = true;
}

int LoadAlbumTracks(TCollectAlbum &album, const std::string &albumId)
{
    if (album.TracksLoaded)
        return 0;
    TServiceAnswer answer;
    ReadAnswer(CatalogueUrl(SysConfig().GetByAlbumID, {albumId}), answer);
    switch (answer.status) {
    case TServiceAnswer::NoAnswer:
    case TServiceAnswer::Malformed:
        return -1;
    case TServiceAnswer::NoRoot:
        album.TracksLoaded = true;
        return 0;
    case TServiceAnswer::Refused:
        album.TracksLoaded = true;
        return answer.Code;
    case TServiceAnswer::Ok:
        break;
    }
    return Guarded("LoadAlbumTracks", -1, [&] {
        album.Tracks.Clear();
        for (const TXmlNode &record : answer.Root.Children())
            ReadTrackRecord(record, *album.Tracks.AddNew(), true);
        album.TracksLoaded = true;
        return 0;
    });
}

} // namespace qarvon
