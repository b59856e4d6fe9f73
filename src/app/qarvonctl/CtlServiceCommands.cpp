// Commands for the account and the catalogue: sign-in and sign-out, search,
// charts, topics, hot albums, albums and artists.
#include "CtlServiceCommon.h"

#include "Common_Config.h"
#include "tool.h"
#include "uUserInfo.h"

#include <ostream>

namespace qarvon::ctl {

namespace {

constexpr int kDefaultPageSize = 50;

int runLogin(CtlContext &context, CtlArgs &args)
{
    const bool remember = args.TakeFlag("--remember");
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 2, 2, &words, &status))
        return status;
    const std::string &name = words[0];
    const std::string &password = words[1];

    TUserInfo &user = UserInfo();
    if (const int status = RunWatched(context, "sign-in as " + name + " failed",
                                      [&] { return user.SignIn(name, password); });
        status != kOk)
        return status;
    if (remember) {
        // Remembered so that later commands sign in the way the automatic sign-in does.
        TGeneralSettings &s = Settings();
        s.userId = name;
        s.password = password;
        s.rmPWD = true;
        s.AutoLogin = true;
        SaveCredentials(name, password);
        SaveConfiguration();
    }
    if (context.xml)
        return kOk;
    CtlTable profile({"FIELD", "VALUE"});
    profile.AddRow({"UserID", user.UserID});
    profile.AddRow({"UserName", user.UserName});
    profile.AddRow({"UserSex", user.UserSex});
    profile.AddRow({"UserBirthday", user.UserBirthday});
    profile.AddRow({"UserEmail", user.UserEmail});
    profile.AddRow({"UserAddress", user.UserAddress});
    profile.AddRow({"UserImage", user.UserImage});
    profile.Print(*context.out);
    if (remember)
        *context.out << "credentials remembered for " << name << "\n";
    return kOk;
}

int runLogout(CtlContext &context, CtlArgs &args)
{
    bool stored = false;
    std::vector<std::string> words;
    if (const int status = SignInForCommand(context, args, 0, 0, &words, &stored); status != kOk)
        return status;
    TUserInfo &user = UserInfo();
    const std::string name = user.UserName;
    if (const int status = RunWatched(context, "sign-out failed",
                                      [&] { return user.SignOut(user.UserID, user.Token); });
        status != kOk)
        return status;
    if (stored) {
        // The remembered password served this sign-out; it is not kept for the next one.
        TGeneralSettings &s = Settings();
        s.password.clear();
        s.rmPWD = false;
        s.AutoLogin = false;
        SaveCredentials(s.userId, "");
        SaveConfiguration();
    }
    PrintDone(context, "signed out " + name + (stored ? "; remembered password removed" : ""));
    return kOk;
}

void PrintSearchItems(std::ostream &out, const TSearchMusicList &list, int kind)
{
    if (kind == skAlbums) {
        CtlTable table({"ALBUM", "NAME", "ARTISTS"});
        for (const auto &item : list)
            table.AddRow({item->AlbumID, item->AlbumName, item->ArtistNameList});
        table.Print(out);
    } else {
        CtlTable table({"ARTIST", "NAME", "ENGLISH NAME"});
        for (const auto &item : list)
            table.AddRow({item->ArtistID, item->ArtistName, item->EnglishName});
        table.Print(out);
    }
}

int runSearch(CtlContext &context, CtlArgs &args)
{
    std::string kindText;
    std::string pageText;
    std::string sizeText;
    const bool hasKind = args.TakeOption("--kind", &kindText);
    const bool hasPage = args.TakeOption("--page", &pageText);
    const bool hasSize = args.TakeOption("--size", &sizeText);
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 1, 1, &words, &status))
        return status;
    int kind = skTracks;
    if (hasKind) {
        if (kindText == "tracks")
            kind = skTracks;
        else if (kindText == "albums")
            kind = skAlbums;
        else if (kindText == "artists")
            kind = skArtists;
        else
            return UsageError(context, "--kind is tracks, albums or artists");
    }
    int page = 1;
    int size = kDefaultPageSize;
    if (hasPage && !ParseNumber(pageText, 1, 1000000, &page))
        return UsageError(context, "--page needs a page number from 1");
    if (hasSize && !ParseNumber(sizeText, 1, 1000, &size))
        return UsageError(context, "--size needs a number from 1 to 1000");
    if (!hasKind && (hasPage || hasSize))
        return UsageError(context, "--page and --size go with --kind");

    TSearchMusicList &list = *UserInfo().SearchResults;
    list.Keyword = words[0];
    list.Page = page;
    list.PageSize = size;
    // Without a kind: the new search of the landing page, all three kinds at once.
    list.SearchAll = !hasKind;
    list.ResultCode = 0;
    if (const int status = RunWatched(context, "search",
                                      [&] {
                                          Search(list, kind);
                                          return list.ResultCode;
                                      });
        status != kOk || context.xml)
        return status;

    std::ostream &out = *context.out;
    if (!hasKind) {
        out << "tracks: " << SearchTotal(skTracks) << "  albums: " << SearchTotal(skAlbums)
            << "  artists: " << SearchTotal(skArtists) << "\n";
        PrintTracks(out, list.CachedTracks);
        return kOk;
    }
    out << kindText << ": " << SearchTotal(kind) << " found, page " << page << "\n";
    if (kind == skTracks)
        PrintTracks(out, list.CachedTracks);
    else
        PrintSearchItems(out, list, kind);
    return kOk;
}

int runCharts(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 0, 1, &words, &status))
        return status;
    int wanted = 0;
    if (!words.empty() && !ParseNumber(words[0], 1, 4, &wanted))
        return UsageError(context, "the chart number is 1 to 4");

    THotSongList &charts = *UserInfo().HotSongs;
    BuildCharts(charts);
    CtlTable summary({"#", "CHART", "TRACKS"});
    bool noAnswer = false;
    {
        CtlAnswerWatch watch(context);
        for (int i = 0; i < charts.Count(); ++i) {
            if (wanted != 0 && wanted != i + 1)
                continue;
            THotSongs &chart = *charts.Item(i);
            int area = 1;
            ParseNumber(chart.AreaID, 0, 1000000000, &area);
            chart.ResultCode = 0;
            LoadChartTracks(chart, chart.Template, area, false);
            if (chart.ResultCode != 0)
                return ReportFailure(context, chart.ChartName, chart.ResultCode);
            summary.AddRow({std::to_string(i + 1), chart.ChartName,
                            std::to_string(chart.Tracks.Count())});
        }
        noAnswer = watch.SawNoAnswer();
    }
    if (noAnswer)
        return ReportFailure(context, "charts", -1);
    if (context.xml)
        return kOk;
    if (wanted == 0) {
        summary.Print(*context.out);
        return kOk;
    }
    const THotSongs &chart = *charts.Item(wanted - 1);
    *context.out << chart.ChartName << "\n";
    PrintTracks(*context.out, chart.Tracks);
    return kOk;
}

int runTopics(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 0, 0, &words, &status))
        return status;
    TTopicList &topics = *UserInfo().Topics;
    topics.ResultCode = 0;
    if (const int status = RunWatched(context, "topics",
                                      [&] {
                                          LoadTopics(topics);
                                          return FetchResult(topics);
                                      });
        status != kOk || context.xml)
        return status;
    CtlTable table({"TOPIC", "TITLE", "CREATED"});
    for (const auto &topic : topics)
        table.AddRow({topic->TopicID, topic->Title, topic->CreateDate});
    table.Print(*context.out);
    return kOk;
}

int runTopic(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 1, 1, &words, &status))
        return status;
    TTopic topic;
    status = RunWatched(context, "topic " + words[0], [&] {
        LoadTopicTracks(topic, words[0]);
        return FetchResult(topic);
    });
    if (status == kOk && !context.xml)
        PrintTracks(*context.out, topic.Tracks);
    return status;
}

int runHotAlbums(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 0, 0, &words, &status))
        return status;
    THotAlbumList &albums = *UserInfo().HotAlbums;
    albums.ResultCode = 0;
    if (const int status = RunWatched(context, "hot albums",
                                      [&] {
                                          LoadHotAlbums(albums);
                                          return FetchResult(albums);
                                      });
        status != kOk || context.xml)
        return status;
    CtlTable table({"ALBUM", "NAME", "ARTISTS"});
    for (const auto &album : albums)
        table.AddRow({album->AlbumID, album->AlbumName, album->ArtistNameList});
    table.Print(*context.out);
    return kOk;
}

int runAlbum(CtlContext &context, CtlArgs &args)
{
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 1, 1, &words, &status))
        return status;
    TCollectAlbum album;
    if (const int status = RunWatched(context, "album " + words[0],
                                      [&] {
                                          LoadAlbumDetails(album, words[0]);
                                          return LoadAlbumTracks(album, words[0]);
                                      });
        status != kOk || context.xml)
        return status;
    std::ostream &out = *context.out;
    if (album.Loaded) {
        CtlTable details({"FIELD", "VALUE"});
        details.AddRow({"AlbumID", album.AlbumID});
        details.AddRow({"AlbumName", album.AlbumName});
        details.AddRow({"ArtistNameList", album.ArtistNameList});
        details.AddRow({"ReleaseDate", album.ReleaseDate});
        details.AddRow({"Description", album.Description});
        details.Print(out);
        out << "\n";
    }
    PrintTracks(out, album.Tracks, true);
    return kOk;
}

int runArtist(CtlContext &context, CtlArgs &args)
{
    std::string pageText;
    const bool hasPage = args.TakeOption("--page", &pageText);
    std::vector<std::string> words;
    int status = kOk;
    if (!TakePositional(context, args, 1, 1, &words, &status))
        return status;
    int page = 1;
    if (hasPage && !ParseNumber(pageText, 1, 1000000, &page))
        return UsageError(context, "--page needs a page number from 1");
    TSearchMusic &result = *UserInfo().SearchItem;
    result.ArtistID = words[0];
    status = RunWatched(context, "artist " + words[0], [&] {
        LoadSearchDetail(result, words[0], kDefaultPageSize, skArtists, page);
        return result.ResultCode;
    });
    if (status == kOk && !context.xml)
        PrintTracks(*context.out, result.Tracks);
    return status;
}

const CtlRegistrar regLogin({"login", "NAME PASSWORD [--remember]",
                             "sign in and show the profile; --remember keeps the credentials",
                             &runLogin});
const CtlRegistrar regLogout({"logout", "[--user NAME --password PASS]",
                              "sign out and forget a remembered password", &runLogout});
const CtlRegistrar regSearch({"search", "KEYWORD [--kind tracks|albums|artists] [--page N] [--size N]",
                              "search the catalogue (all three kinds without --kind)", &runSearch});
const CtlRegistrar regCharts({"charts", "[N]", "the four hot-song charts, or the tracks of chart N",
                              &runCharts});
const CtlRegistrar regTopics({"topics", "", "the editorial topics", &runTopics});
const CtlRegistrar regTopic({"topic", "ID", "the tracks of a topic", &runTopic});
const CtlRegistrar regHotAlbums({"hot-albums", "", "the hot albums", &runHotAlbums});
const CtlRegistrar regAlbum({"album", "ID", "an album's details and tracks", &runAlbum});
const CtlRegistrar regArtist({"artist", "ID [--page N]", "a page of an artist's tracks", &runArtist});

} // namespace

} // namespace qarvon::ctl
