#include "uQarvonPO.h"

#include "uXmlAnswer.h"

namespace qarvon {

void CopyTrack(TTrack &target, const TTrack &source)
{
    if (&target != &source)
        target = source;
}

void ReadTrackRecord(const TXmlNode &record, TTrack &track, bool withDuration)
{
    track.TrackID = record.ChildText("TrackID");
    track.TrackName = record.ChildText("TrackName");
    if (withDuration)
        track.Duration = record.ChildText("Duration");
    track.AlbumID = record.ChildText("AlbumID");
    track.AlbumName = record.ChildText("AlbumName");
    track.ArtistIDList = record.ChildText("ArtistIDList");
    track.ArtistNameList = record.ChildText("ArtistNameList");
}

} // namespace qarvon
