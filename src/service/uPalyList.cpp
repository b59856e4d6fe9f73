#include "uPalyList.h"

#include "uServiceCall.h"
#include "uXmlAnswer.h"

namespace qarvon {

namespace {

// The result of a request whose answer content is not read.
int ChangeResult(const char *operation, const std::string &url, std::string *newId = nullptr)
{
    return Guarded(operation, -1, [&] {
        TServiceAnswer answer;
        ReadAnswer(url, answer);
        switch (answer.status) {
        case TServiceAnswer::Refused:
            return answer.Code;
        case TServiceAnswer::Ok:
            if (newId)
                *newId = answer.Root.ChildText("PlayListID");
            return 0;
        case TServiceAnswer::NoAnswer:
        case TServiceAnswer::Malformed:
        case TServiceAnswer::NoRoot:
            // An answer without a document says nothing about the change: not a success.
            break;
        }
        return -1;
    });
}

// Both user lists keep their records below one child of the root. The list is
// emptied once that child is found and loaded once every record was read.
template<class List, class ReadRecord>
void ReadUserList(List &list, const TServiceAnswer &answer, const char *container,
                  ReadRecord readRecord)
{
    if (!HasPayload(list, answer))
        return;
    const TXmlNode records = answer.Root.Child(container);
    if (!records)
        return;
    list.Clear();
    for (const TXmlNode &record : records.Children()) {
        if (list.Cancelled)
            return;
        readRecord(record, *list.AddNew());
    }
    list.Loaded = true;
}

TTemplateArg EncodedDescription(const std::string &description, const char *whenEmpty)
{
    return description.empty() ? TTemplateArg(whenEmpty)
                               : TTemplateArg::Encoded(EncodeQueryValue(description));
}

} // namespace

TCollectAlbum *TUserAlbums::FindAlbum(const std::string &albumId) const
{
    for (const auto &album : *this) {
        if (album->AlbumID == albumId)
            return album.get();
    }
    return nullptr;
}

void GetPlayLists(TUserPlayLists &list, const std::string &userName)
{
    if (list.Loaded)
        return;
    list.Cancelled = false;
    GuardedVoid("GetPlayLists", [&] {
        TServiceAnswer answer;
        ReadAnswer(UserListUrl(SysConfig().GetPalyList, {userName}), answer);
        ReadUserList(list, answer, "PlayLists", [](const TXmlNode &record, TPlayList &playList) {
            playList.PlayListID = record.ChildText("PlayListID");
            playList.PlayListTitle = record.ChildText("PlayListTitle");
            playList.PlayListDesc = record.ChildText("PlayListDesc");
            playList.PlayListCreateDate = record.ChildText("PlayListCreateDate");
            playList.PlayListSize = record.ChildText("PlayListSize");
            playList.PlayListSImage = record.ChildText("PlayListSImage");
        });
    });
}

int GetPlayListTracks(TPlayList &playList, const std::string &userName,
                      const std::string &playListId)
{
    if (playList.Loaded)
        return 0;
    return Guarded("GetPlayListTracks", -1, [&] {
        TServiceAnswer answer;
        ReadAnswer(UserListUrl(SysConfig().GetPlayListTracks, {userName, playListId}), answer);
        int result = 0;
        switch (answer.status) {
        case TServiceAnswer::NoAnswer:
        case TServiceAnswer::Malformed:
            return -1;
        case TServiceAnswer::NoRoot:
            break;
        case TServiceAnswer::Refused:
            playList.ResultCode = answer.Code;
            result = answer.Code;
            break;
        case TServiceAnswer::Ok:
            playList.Clear();
            for (const TXmlNode &record : answer.Root.Children())
                ReadTrackRecord(record, *playList.AddNew(), true);
            break;
        }
        playList.Loaded = true;
        return result;
    });
}

int CreatePlayList(TUserPlayLists &list, const std::string &title, const std::string &description,
                   const std::string &token, std::string &newId)
{
    (void)list;
    return ChangeResult("CreatePlayList",
                        UserListUrl(SysConfig().AddPlayList,
                                    {token, TTemplateArg::Encoded(EncodeQueryValue(title)),
                                     EncodedDescription(description, "''")}),
                        &newId);
}

int CreatePlayListInWorker(const std::string &description, const std::string &title,
                           const std::string &token, std::string &newId)
{
    return ChangeResult("CreatePlayListInWorker",
                        UserListUrl(SysConfig().AddPlayList,
                                    {token, TTemplateArg::Encoded(EncodeQueryValue(title)),
                                     EncodedDescription(description, "'")}),
                        &newId);
}

int RenamePlayList(TUserPlayLists &list, const std::string &token, const std::string &playListId,
                   const std::string &title, const std::string &description)
{
    (void)list;
    return ChangeResult("RenamePlayList",
                        UserListUrl(SysConfig().ModifyPlayList,
                                    {token, playListId,
                                     TTemplateArg::Encoded(EncodeQueryValue(title)),
                                     EncodedDescription(description, "'")}));
}

int DeletePlayList(TUserPlayLists &list, const std::string &playListId, const std::string &token)
{
    (void)list;
    return ChangeResult("DeletePlayList",
                        UserListUrl(SysConfig().DelPlayList, {token, playListId}));
}

int AddPlayListTracks(const std::string &playListId, const std::string &trackIds,
                      const std::string &token)
{
    if (trackIds.empty())
        return 0;
    return ChangeResult("AddPlayListTracks",
                        UserListUrl(SysConfig().AddPlayListTracks, {playListId, trackIds, token}));
}

void GetCollectedAlbums(TUserAlbums &list, const std::string &userName)
{
    list.Cancelled = false;
    if (list.Loaded)
        return;
    GuardedVoid("GetCollectedAlbums", [&] {
        TServiceAnswer answer;
        ReadAnswerHttp11(UserListUrl(SysConfig().GetCollectedAlbums, {userName}), answer);
        ReadUserList(list, answer, "UserAlbums", &ReadAlbumRecord<TCollectAlbum>);
    });
}

int CollectAlbum(TUserAlbums &list, const std::string &albumId, const std::string &token)
{
    (void)list;
    return ChangeResult("CollectAlbum",
                        UserListUrl(SysConfig().AddCollectedAlbum, {albumId, token}));
}

int UncollectAlbum(TUserAlbums &list, const std::string &albumId, const std::string &token)
{
    (void)list;
    return ChangeResult("UncollectAlbum",
                        UserListUrl(SysConfig().DelCollectedAlbum, {albumId, token}));
}

} // namespace qarvon
