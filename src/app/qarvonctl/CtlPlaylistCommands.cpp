// Commands for the signed-in user's playlists and collected albums.
#include "CtlServiceCommon.h"

#include "uUserInfo.h"

#include <algorithm>
#include <cstdint>
#include <ostream>

namespace qarvon::ctl {

namespace {

// The add-tracks request carries this many identifiers at most, as the
// program's own playlist workers send them.
constexpr std::size_t kTracksPerRequest = 6;

int runPlaylists(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 0, 0, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    TUserPlayLists &lists = *user.UserPlayLists;
    const int status = RunWatched(context, "playlists", [&] {
        GetPlayLists(lists, user.UserName);
        return FetchResult(lists);
    });
    if (status != kOk || context.xml)
        return status;
    CtlTable table({"PLAYLIST", "TITLE", "TRACKS", "CREATED", "DESCRIPTION"});
    for (const auto &list : lists)
        table.AddRow({list->PlayListID, list->PlayListTitle, list->PlayListSize,
                      list->PlayListCreateDate, list->PlayListDesc});
    table.Print(*context.out);
    return kOk;
}

int runPlaylist(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 1, &words); status != kOk)
        return status;
    TPlayList playList;
    const int status = RunWatched(context, "playlist " + words[0], [&] {
        return GetPlayListTracks(playList, UserInfo().UserName, words[0]);
    });
    if (status == kOk && !context.xml)
        PrintTracks(*context.out, playList, true);
    return status;
}

int runPlaylistCreate(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 2, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    std::string newId;
    const int status = RunWatched(context, "cannot create the playlist", [&] {
        return CreatePlayList(*user.UserPlayLists, words[0], words.size() > 1 ? words[1] : "",
                              user.Token, newId);
    });
    if (status == kOk)
        PrintDone(context, "created playlist " + newId);
    return status;
}

int runPlaylistRename(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 2, 3, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    const int status = RunWatched(context, "cannot rename playlist " + words[0], [&] {
        return RenamePlayList(*user.UserPlayLists, user.Token, words[0], words[1],
                              words.size() > 2 ? words[2] : "");
    });
    if (status == kOk)
        PrintDone(context, "renamed playlist " + words[0]);
    return status;
}

int runPlaylistDelete(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 1, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    const int status = RunWatched(context, "cannot delete playlist " + words[0], [&] {
        return DeletePlayList(*user.UserPlayLists, words[0], user.Token);
    });
    if (status == kOk)
        PrintDone(context, "deleted playlist " + words[0]);
    return status;
}

int runPlaylistAdd(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 2, SIZE_MAX, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    const std::string &playListId = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) {
        if (words[i].empty() || words[i].find_first_of(",&") != std::string::npos)
            return UsageError(context, "a track identifier is empty or holds \",\" or \"&\"");
    }
    std::size_t added = 0;
    for (std::size_t first = 1; first < words.size(); first += kTracksPerRequest) {
        const std::size_t last = std::min(words.size(), first + kTracksPerRequest);
        std::string ids;
        for (std::size_t i = first; i < last; ++i)
            ids += (ids.empty() ? "" : ",") + words[i];
        const int status = RunWatched(context, "cannot add tracks to playlist " + playListId,
                                      [&] { return AddPlayListTracks(playListId, ids, user.Token); });
        if (status != kOk) {
            if (added > 0)
                PrintDone(context, "added " + std::to_string(added) + " tracks before the failure");
            return status;
        }
        added += last - first;
    }
    PrintDone(context, "added " + std::to_string(added) + " tracks to playlist " + playListId);
    return kOk;
}

int LoadCollection(CtlContext &context)
{
    TUserInfo &user = UserInfo();
    return RunWatched(context, "collected albums", [&] {
        GetCollectedAlbums(*user.CollectedAlbums, user.UserName);
        return FetchResult(*user.CollectedAlbums);
    });
}

int runAlbums(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 0, 0, &words); status != kOk)
        return status;
    if (const int status = LoadCollection(context); status != kOk || context.xml)
        return status;
    CtlTable table({"ALBUM", "NAME", "ARTISTS"});
    for (const auto &album : *UserInfo().CollectedAlbums)
        table.AddRow({album->AlbumID, album->AlbumName, album->ArtistNameList});
    table.Print(*context.out);
    return kOk;
}

int runCollect(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 1, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    // Like the windows: an album already collected is not sent again.
    {
        const bool xml = context.xml;
        context.xml = false;
        const int status = LoadCollection(context);
        context.xml = xml;
        if (status != kOk)
            return status;
    }
    if (user.CollectedAlbums->FindAlbum(words[0])) {
        *context.out << "该专辑已经被收藏。\n";
        return kOk;
    }
    const int status = RunWatched(context, "cannot collect album " + words[0], [&] {
        return CollectAlbum(*user.CollectedAlbums, words[0], user.Token);
    });
    if (status == kOk)
        PrintDone(context, "collected album " + words[0]);
    return status;
}

int runUncollect(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 1, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    const int status = RunWatched(context, "cannot remove album " + words[0], [&] {
        return UncollectAlbum(*user.CollectedAlbums, words[0], user.Token);
    });
    if (status == kOk)
        PrintDone(context, "removed album " + words[0] + " from the collection");
    return status;
}

#define QARVON_SIGN_IN "[--user NAME --password PASS]"

const CtlRegistrar regPlaylists({"playlists", QARVON_SIGN_IN, "the user's playlists", &runPlaylists});
const CtlRegistrar regPlaylist({"playlist", "ID " QARVON_SIGN_IN, "the tracks of a playlist",
                                &runPlaylist});
const CtlRegistrar regCreate({"playlist-create", "TITLE [DESCRIPTION] " QARVON_SIGN_IN,
                              "create a playlist", &runPlaylistCreate});
const CtlRegistrar regRename({"playlist-rename", "ID TITLE [DESCRIPTION] " QARVON_SIGN_IN,
                              "rename a playlist", &runPlaylistRename});
const CtlRegistrar regDelete({"playlist-delete", "ID " QARVON_SIGN_IN, "delete a playlist",
                              &runPlaylistDelete});
const CtlRegistrar regAdd({"playlist-add", "ID TRACKID... " QARVON_SIGN_IN,
                           "add tracks to a playlist", &runPlaylistAdd});
const CtlRegistrar regAlbums({"albums", QARVON_SIGN_IN, "the user's collected albums", &runAlbums});
const CtlRegistrar regCollect({"collect", "ALBUMID " QARVON_SIGN_IN, "collect an album",
                               &runCollect});
const CtlRegistrar regUncollect({"uncollect", "ALBUMID " QARVON_SIGN_IN,
                                 "remove an album from the collection", &runUncollect});

} // namespace

} // namespace qarvon::ctl
