#include "Common_Config.h"

#include "IniFile.h"
#include "tool.h"

#include <QUuid>

namespace qarvon {

namespace {

// Loopback addresses of the reference service (default port 8080). The paths
// and query keys are the service's own; only the host part is ours to choose.
constexpr const char *kServiceHost = "http://127.0.0.1:8080";

std::string &programFolderStorage()
{
    static std::string folder;
    return folder;
}

TIniFile configFile()
{
    return TIniFile(ConfigFilePath(), /*privateFile=*/true);
}

void loadGeneralSettings(const TIniFile &ini, TGeneralSettings &s)
{
    const TGeneralSettings d;
    s.AutoRun = ini.ReadBool("BaseSet", "AutoRun", d.AutoRun);
    s.SavePath = ini.ReadString("BaseSet", "SavePath", "");
    if (s.SavePath.empty())
        s.SavePath = ProgramFolder() + "Music/";
    s.DLCRL = ini.ReadBool("BaseSet", "DLCRL", d.DLCRL);
    s.DLFace = ini.ReadBool("BaseSet", "DLFace", d.DLFace);
    s.FileDirStyle = ini.ReadInteger("BaseSet", "FileDirStyle", d.FileDirStyle);
    s.NamingStyle = ini.ReadInteger("BaseSet", "NamingStyle", d.NamingStyle);
    s.AutoPlaying = ini.ReadBool("BaseSet", "AutoPlaying", d.AutoPlaying);
    s.AutoLogin = ini.ReadBool("BaseSet", "AutoLogin", d.AutoLogin);
    s.IsFirstRun = ini.ReadBool("BaseSet", "IsFirstRun", d.IsFirstRun);
    s.SongNum = ini.ReadInteger("DLSet", "SongNum", d.SongNum);
    s.UploadLimit = ini.ReadInteger("DLSet", "UploadLimit", d.UploadLimit);
    s.DownloadLimt = ini.ReadInteger("DLSet", "DownloadLimt", d.DownloadLimt);
}

void loadServiceTemplates(const TIniFile &ini, TSystemConfig &c)
{
    const TSystemConfig d = DefaultSystemConfig();
    const auto ws = [&ini](const char *key, const std::string &def) {
        return ini.ReadString("webServices", key, def);
    };
    c.RequestUrl = ws("url", d.RequestUrl);
    c.PlayListRequestUrl = c.RequestUrl;
    c.login = ws("login", d.login);
    c.userInfo = ws("userInfo", d.userInfo);
    c.logout = ws("logout", d.logout);
    c.GetTrack = ws("GetTrack", d.GetTrack);
    c.GetArtist = ws("GetArtist", d.GetArtist);
    c.GetAlbum = ws("GetAlbum", d.GetAlbum);
    c.GetHotAlbum = ws("GetHotAlbum", d.GetHotAlbum);
    c.GetByAlbumID = ws("GetByAlbumID", d.GetByAlbumID);
    c.GetTopic = ws("GetTopic", d.GetTopic);
    c.GetByTopicID = ws("GetByTopicID", d.GetByTopicID);
    c.GetTrackPlayUrl = ws("GetTrackPlayUrl", d.GetTrackPlayUrl);
    // The download template has no key of its own: a stored play template
    // overrides both, its absence leaves each with its own default.
    c.GetTrackDownUrl = ws("GetTrackPlayUrl", d.GetTrackDownUrl);
    c.GetByArtistID = ws("GetByArtistID", d.GetByArtistID);
    c.SearchArtist = ws("SearchArtist", d.SearchArtist);
    c.SearchAlbum = ws("SearchAlbum", d.SearchAlbum);
    c.SearchTrack = ws("SearchTrack", d.SearchTrack);
    c.GetPalyList = ws("GetPalyList", d.GetPalyList);
    c.AddPlayList = ws("AddPlayList", d.AddPlayList);
    c.DelPlayList = ws("DelPlayList", d.DelPlayList);
    c.GetPlayListTracks = ws("GetPlayListTracks", d.GetPlayListTracks);
    c.ModifyPlayList = ws("ModifyPlayList", d.ModifyPlayList);
    c.AddPlayListTracks = ws("AddPlayListTracks", d.AddPlayListTracks);
    c.DelPlayListTracks = ws("DelPlayListTracks", d.DelPlayListTracks);
    c.GetCollectedAlbums = ws("GetCollectedAlbums", d.GetCollectedAlbums);
    c.AddCollectedAlbum = ws("AddCollectedAlbum", d.AddCollectedAlbum);
    c.DelCollectedAlbum = ws("DelCollectedAlbum", d.DelCollectedAlbum);
    c.GetHotTrack = ws("GetHotTrack", d.GetHotTrack);
    c.GetRaiseTrack = ws("GetRaiseTrack", d.GetRaiseTrack);
    c.GetHotDownload = ws("GetHotDownload", d.GetHotDownload);
    c.GetNewHotTrack = ws("GetNewHotTrack", d.GetNewHotTrack);
    c.GetNewHotTrack10 = ws("GetNewHotTrack10", d.GetNewHotTrack10);
    c.Statistics = ws("Statistics", d.Statistics);
}

void loadLinks(const TIniFile &ini, TSystemConfig &c)
{
    const TSystemConfig d = DefaultSystemConfig();
    c.userRegister = ini.ReadString("linkurl", "userRegister", d.userRegister);
    c.forgetPassword = ini.ReadString("linkurl", "forgetPassword", d.forgetPassword);
    c.ostrel = ini.ReadString("linkurl", "ostrel", d.ostrel);
    c.mainbottomad = ini.ReadString("linkurl", "mainbottomad", d.mainbottomad);
    c.musicboxad = ini.ReadString("linkurl", "musicboxad", d.musicboxad);
    c.QuestionUrl = d.QuestionUrl;
    c.HomeUrl = d.HomeUrl;
}

} // namespace

TSystemConfig DefaultSystemConfig()
{
    const std::string host = kServiceHost;
    TSystemConfig c;
    c.userRegister = host + "/reg/first.aspx";
    c.forgetPassword = host + "/recover.aspx";
    c.ostrel = host + "/partner/";
    c.mainbottomad = host + "/jq/675489.aspx";
    c.musicboxad = c.mainbottomad;
    c.QuestionUrl = "http://127.0.0.1:8000/Question.aspx";
    c.HomeUrl = host + "/";
    c.RequestUrl = host + "/QarvonApis/requestQarvon?method=";
    c.PlayListRequestUrl = c.RequestUrl;
    c.login = "Qarvon.User.Login&u_pwd=%s&u_name=%s";
    c.userInfo = "Qarvon.User.GetUserInfo&u_name=";
    c.logout = "Qarvon.User.Logout&u_name=%s&st=%s";
    c.GetTrack = "Qarvon.Track.GetTrack&trackID=%s";
    c.GetArtist = "Qarvon.Artist.GetArtist&artistID=%s";
    c.GetAlbum = "Qarvon.Album.GetAlbum&albumID=%s";
    c.GetHotAlbum = "Qarvon.Album.GetHotAlbum";
    c.GetByAlbumID = "Qarvon.Track.GetByAlbumID&albumID=%s";
    c.GetTopic = "Qarvon.Topic.GetTopicForPaging&per_page=10&page=1";
    c.GetByTopicID = "Qarvon.Topic.GetByTopicID&TopicID=%s";
    c.GetTrackPlayUrl = "Qarvon.Track.GetTrackPlayUrl&ProductID=%s";
    c.GetTrackDownUrl = "Qarvon.Track.GetTrackDownUrl&ProductID=%s";
    c.GetByArtistID = "Qarvon.Track.GetByArtistID&artistID=%s&per_page=%d&page=%d";
    c.SearchArtist = "Qarvon.Search.SearchArtist&keyword=%s&per_page=%d&page=%d";
    c.SearchAlbum = "Qarvon.Search.SearchAlbum&keyword=%s&per_page=%d&page=%d";
    c.SearchTrack = "Qarvon.Search.SearchTrack&keyword=%s&per_page=%d&page=%d";
    c.GetPalyList = "Qarvon.User.GetPalyList&u_name=%s";
    c.AddPlayList = "Qarvon.User.AddPlayList&tk=%s&PlayListTitle=%s&PlayListDesc=%s";
    c.DelPlayList = "Qarvon.User.DelPlayList&tk=%s&pl_id=%s";
    c.GetPlayListTracks = "Qarvon.User.GetPlayListTracks&u_name=%s&pl_id=%s";
    c.ModifyPlayList = "Qarvon.User.ModifyPlayList&tk=%s&pl_id=%s&PlayListTitle=%s&PlayListDesc=%s";
    c.AddPlayListTracks = "Qarvon.User.AddPlayListTracks&pl_id=%s&song_ids=%s&tk=%s";
    c.DelPlayListTracks = "Qarvon.User.DelPlayListTracks&pl_id=%s&song_ids=%s&tk=%s";
    c.GetCollectedAlbums = "Qarvon.User.GetCollectedAlbums&u_name=%s";
    c.AddCollectedAlbum = "Qarvon.User.AddCollectedAlbum&album_ids=%s&tk=%s";
    c.DelCollectedAlbum = "Qarvon.User.DelCollectedAlbum&album_ids=%s&tk=%s";
    c.GetHotTrack = "Qarvon.Area.GetHotTrack&areaID=%s";
    c.GetRaiseTrack = "Qarvon.Area.GetRaiseTrack&areaID=%s";
    c.GetHotDownload = "Qarvon.Area.GetHotDownload&areaID=%s";
    c.GetNewHotTrack = "Qarvon.Area.GetNewHotTrack&areaID=%s";
    c.GetNewHotTrack10 = "Qarvon.Track.GetNewHotTrack";
    c.Statistics = host + "/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s&channel=%s";
    c.localchannel = "001";
    return c;
}

TGeneralSettings &Settings()
{
    static TGeneralSettings settings;
    return settings;
}

TSystemConfig &SysConfig()
{
    static TSystemConfig config = DefaultSystemConfig();
    return config;
}

const std::string &ProgramFolder()
{
    return programFolderStorage();
}

void SetProgramFolder(const std::string &folder)
{
    std::string f = Trim(folder);
    if (!f.empty() && f.back() != '/')
        f += '/';
    programFolderStorage() = f;
}

std::string ConfigFilePath()
{
    return ProgramFolder() + "Data/Config.ini";
}

std::string ChannelFilePath()
{
    return ProgramFolder() + "Data/channel.ini";
}

std::recursive_mutex &ProcessLock()
{
    static std::recursive_mutex lock;
    return lock;
}

std::atomic<int> &NeighbourLinkState()
{
    static std::atomic<int> state{0};
    return state;
}

std::string ReadChannel()
{
    const std::string channel = TIniFile(ChannelFilePath()).ReadString("channelInfo", "localchannel", "");
    return channel.empty() ? "001" : channel;
}

std::string NewPeerIdentifier()
{
    const QUuid id = QUuid::createUuid();
    if (id.isNull())
        return {};
    return id.toString(QUuid::WithoutBraces).toUpper().toStdString();
}

void LoadConfiguration()
{
    NeighbourLinkState() = 0;
    const TIniFile ini = configFile();
    TGeneralSettings &s = Settings();
    TSystemConfig &c = SysConfig();

    loadGeneralSettings(ini, s);
    loadServiceTemplates(ini, c);
    c.localchannel = ReadChannel();
    loadLinks(ini, c);
    s.userId = ini.ReadString("userInfo", "userId", "");
    s.password = ini.ReadString("userInfo", "password", "");
    s.rmPWD = ini.ReadBool("userInfo", "rmPWD", false);
    c.localPeerId = ini.ReadString("peerInfo", "localPeerId", "");

    if (Trim(c.localPeerId).empty()) {
        const std::string id = NewPeerIdentifier();
        c.localPeerId = id;
        if (!id.empty())
            SaveLocalPeerId(id);
    }
}

void SaveConfiguration()
{
    const TGeneralSettings &s = Settings();
    const auto b = [](bool v) { return std::string(v ? "1" : "0"); };
    const auto i = [](int v) { return std::to_string(v); };
    // One rewrite of the file for the whole set: a crash leaves the old or the new settings.
    configFile().WriteValues({
        {"BaseSet", "AutoRun", b(s.AutoRun)},
        {"BaseSet", "SavePath", s.SavePath},
        {"BaseSet", "DLCRL", b(s.DLCRL)},
        {"BaseSet", "DLFace", b(s.DLFace)},
        {"BaseSet", "FileDirStyle", i(s.FileDirStyle)},
        {"BaseSet", "NamingStyle", i(s.NamingStyle)},
        {"BaseSet", "AutoPlaying", b(s.AutoPlaying)},
        {"BaseSet", "AutoLogin", b(s.AutoLogin)},
        {"BaseSet", "IsFirstRun", b(s.IsFirstRun)},
        {"DLSet", "SongNum", i(s.SongNum)},
        {"DLSet", "UploadLimit", i(s.UploadLimit)},
        {"DLSet", "DownloadLimt", i(s.DownloadLimt)},
    });
}

void SaveCredentials(const std::string &userName, const std::string &password)
{
    configFile().WriteValues({{"userInfo", "userId", userName},
                              {"userInfo", "password", password},
                              {"userInfo", "rmPWD", Settings().rmPWD ? "1" : "0"}});
}

void SaveLocalPeerId(const std::string &identifier)
{
    TIniFile ini = configFile();
    ini.WriteString("peerInfo", "localPeerId", identifier);
}

} // namespace qarvon
