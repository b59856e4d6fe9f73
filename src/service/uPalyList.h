#pragma once

// The signed-in user's online playlists and collected albums. Changing
// operations return 0, -1 (no answer) or the service's code and change no
// list; the windows adjust what they show afterwards.

#include "uQarvonPO.h"

#include <string>

namespace qarvon {

// One online playlist; its items are its tracks and Loaded means they were fetched.
class TPlayList : public TQarvonList<TTrack>
{
public:
    std::string PlayListCreateDate;
    std::string PlayListDesc;
    std::string PlayListID;
    std::string PlayListSImage;
    std::string PlayListSize;
    std::string PlayListTitle;
};

class TUserPlayLists : public TQarvonList<TPlayList>, public TCancelFlag
{
};

class TUserAlbums : public TQarvonList<TCollectAlbum>, public TCancelFlag
{
public:
    // The first album with that identifier, in list order; nullptr when none.
    TCollectAlbum *FindAlbum(const std::string &albumId) const;
};

void GetPlayLists(TUserPlayLists &list, const std::string &userName);
// 0, -1 or the service's code; any answer marks the playlist loaded.
int GetPlayListTracks(TPlayList &playList, const std::string &userName,
                      const std::string &playListId);

// Neither adds the new playlist to a list. An empty description is sent as
// "''" here and as "'" by the worker variant and the rename.
int CreatePlayList(TUserPlayLists &list, const std::string &title, const std::string &description,
                   const std::string &token, std::string &newId);
int CreatePlayListInWorker(const std::string &description, const std::string &title,
                           const std::string &token, std::string &newId);
int RenamePlayList(TUserPlayLists &list, const std::string &token, const std::string &playListId,
                   const std::string &title, const std::string &description);
int DeletePlayList(TUserPlayLists &list, const std::string &playListId, const std::string &token);
// trackIds: identifiers joined by ","; an empty text sends nothing.
int AddPlayListTracks(const std::string &playListId, const std::string &trackIds,
                      const std::string &token);

void GetCollectedAlbums(TUserAlbums &list, const std::string &userName);
int CollectAlbum(TUserAlbums &list, const std::string &albumId, const std::string &token);
int UncollectAlbum(TUserAlbums &list, const std::string &albumId, const std::string &token);

} // namespace qarvon
