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
    {
        CtlAnswerWatch watch(context);
        GetPlayLists(lists, user.UserName);
    }
    if (lists.ResultCode != 0)
        return ReportFailure(context, "playlists", lists.ResultCode);
    if (!lists.Loaded)
        return ReportFailure(context, "playlists", -1);
    if (context.xml)
        return kOk;
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
    int result = 0;
    {
        CtlAnswerWatch watch(context);
        result = GetPlayListTracks(playList, UserInfo().UserName, words[0]);
    }
    if (result != 0)
        return ReportFailure(context, "playlist " + words[0], result);
    if (!context.xml)
        PrintTracks(*context.out, playList, true);
    return kOk;
}

int runPlaylistCreate(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 2, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    std::string newId;
    int result = 0;
    {
        CtlAnswerWatch watch(context);
        result = CreatePlayList(*user.UserPlayLists, words[0], words.size() > 1 ? words[1] : "",
                                user.Token, newId);
    }
    if (result != 0)
        return ReportFailure(context, "cannot create the playlist", result);
    if (!context.xml)
        *context.out << "created playlist " << newId << "\n";
    return kOk;
}

int runPlaylistRename(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 2, 3, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    int result = 0;
    {
        CtlAnswerWatch watch(context);
        result = RenamePlayList(*user.UserPlayLists, user.Token, words[0], words[1],
                                words.size() > 2 ? words[2] : "");
    }
    if (result != 0)
        return ReportFailure(context, "cannot rename playlist " + words[0], result);
    if (!context.xml)
        *context.out << "renamed playlist " << words[0] << "\n";
    return kOk;
}

int runPlaylistDelete(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 1, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    int result = 0;
    {
        CtlAnswerWatch watch(context);
        result = DeletePlayList(*user.UserPlayLists, words[0], user.Token);
    }
    if (result != 0)
        return ReportFailure(context, "cannot delete playlist " + words[0], result);
    if (!context.xml)
        *context.out << "deleted playlist " << words[0] << "\n";
    return kOk;
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
    CtlAnswerWatch watch(context);
    for (std::size_t first = 1; first < words.size(); first += kTracksPerRequest) {
        std::string ids;
        for (std::size_t i = first; i < words.size() && i < first + kTracksPerRequest; ++i)
            ids += (ids.empty() ? "" : ",") + words[i];
        const int result = AddPlayListTracks(playListId, ids, user.Token);
        if (result != 0) {
            if (added > 0 && !context.xml)
                *context.out << "added " << added << " tracks before the failure\n";
            return ReportFailure(context, "cannot add tracks to playlist " + playListId, result);
        }
        added += static_cast<std::size_t>(std::count(ids.begin(), ids.end(), ',')) + 1;
    }
    if (!context.xml)
        *context.out << "added " << added << " tracks to playlist " << playListId << "\n";
    return kOk;
}

int LoadCollection(CtlContext &context)
{
    TUserInfo &user = UserInfo();
    TUserAlbums &albums = *user.CollectedAlbums;
    {
        CtlAnswerWatch watch(context);
        GetCollectedAlbums(albums, user.UserName);
    }
    if (albums.ResultCode != 0)
        return ReportFailure(context, "collected albums", albums.ResultCode);
    if (!albums.Loaded)
        return ReportFailure(context, "collected albums", -1);
    return kOk;
}

int runAlbums(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 0, 0, &words); status != kOk)
        return status;
    if (const int status = LoadCollection(context); status != kOk)
        return status;
    if (context.xml)
        return kOk;
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
    int result = 0;
    {
        CtlAnswerWatch watch(context);
        result = CollectAlbum(*user.CollectedAlbums, words[0], user.Token);
    }
    if (result != 0)
        return ReportFailure(context, "cannot collect album " + words[0], result);
    if (!context.xml)
        *context.out << "collected album " << words[0] << "\n";
    return kOk;
}

int runUncollect(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 1, 1, &words); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    int result = 0;
    {
        CtlAnswerWatch watch(context);
        result = UncollectAlbum(*user.CollectedAlbums, words[0], user.Token);
    }
    if (result != 0)
        return ReportFailure(context, "cannot remove album " + words[0], result);
    if (!context.xml)
        *context.out << "removed album " << words[0] << " from the collection\n";
    return kOk;
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
