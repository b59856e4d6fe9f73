#include "Common_Config.h"

#include "IniFile.h"
#include "TempAppRoot.h"

#include <QRegularExpression>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace qarvon;

namespace {

// Each test starts from a freshly loaded configuration of its own root.
class Config : public ::testing::Test
{
protected:
    void load(const std::string &configIni = {}, const std::string &channelIni = {})
    {
        if (!configIni.empty())
            root.write("Data/Config.ini", configIni);
        if (!channelIni.empty())
            root.write("Data/channel.ini", channelIni);
        Settings() = TGeneralSettings();
        SysConfig() = TSystemConfig();
        LoadConfiguration();
    }

    test::TempAppRoot root;
};

bool isPeerId(const std::string &id)
{
    static const QRegularExpression re(
        QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
    return re.match(QString::fromStdString(id)).hasMatch();
}

} // namespace

TEST_F(Config, FirstStartUsesEveryDefault)
{
    load();
    const TGeneralSettings &s = Settings();
    EXPECT_FALSE(s.AutoRun);
    EXPECT_EQ(s.SavePath, root.path() + "Music/");
    EXPECT_FALSE(s.DLCRL);
    EXPECT_FALSE(s.DLFace);
    EXPECT_EQ(s.FileDirStyle, 2);
    EXPECT_EQ(s.NamingStyle, 2);
    EXPECT_TRUE(s.AutoPlaying);
    EXPECT_FALSE(s.AutoLogin);
    EXPECT_TRUE(s.IsFirstRun);
    EXPECT_EQ(s.SongNum, 5);
    EXPECT_EQ(s.UploadLimit, 300);
    EXPECT_EQ(s.DownloadLimt, 200);
    EXPECT_EQ(s.userId, "");
    EXPECT_EQ(s.password, "");
    EXPECT_FALSE(s.rmPWD);

    const TSystemConfig &c = SysConfig();
    const std::string base = "http://127.0.0.1:8080";
    const struct
    {
        const std::string &field;
        std::string expected;
    } fields[] = {
        {c.userRegister, base + "/reg/first.aspx"},
        {c.forgetPassword, base + "/recover.aspx"},
        {c.ostrel, base + "/partner/"},
        {c.mainbottomad, base + "/jq/675489.aspx"},
        {c.musicboxad, base + "/jq/675489.aspx"},
        {c.QuestionUrl, "http://127.0.0.1:8000/Question.aspx"},
        {c.HomeUrl, base + "/"},
        {c.RequestUrl, base + "/QarvonApis/requestQarvon?method="},
        {c.PlayListRequestUrl, base + "/QarvonApis/requestQarvon?method="},
        {c.login, "Qarvon.User.Login&u_pwd=%s&u_name=%s"},
        {c.userInfo, "Qarvon.User.GetUserInfo&u_name="},
        {c.logout, "Qarvon.User.Logout&u_name=%s&st=%s"},
        {c.GetTrack, "Qarvon.Track.GetTrack&trackID=%s"},
        {c.GetArtist, "Qarvon.Artist.GetArtist&artistID=%s"},
        {c.GetAlbum, "Qarvon.Album.GetAlbum&albumID=%s"},
        {c.GetHotAlbum, "Qarvon.Album.GetHotAlbum"},
        {c.GetByAlbumID, "Qarvon.Track.GetByAlbumID&albumID=%s"},
        {c.GetTopic, "Qarvon.Topic.GetTopicForPaging&per_page=10&page=1"},
        {c.GetByTopicID, "Qarvon.Topic.GetByTopicID&TopicID=%s"},
        {c.GetTrackPlayUrl, "Qarvon.Track.GetTrackPlayUrl&ProductID=%s"},
        {c.GetTrackDownUrl, "Qarvon.Track.GetTrackDownUrl&ProductID=%s"},
        {c.GetByArtistID, "Qarvon.Track.GetByArtistID&artistID=%s&per_page=%d&page=%d"},
        {c.SearchArtist, "Qarvon.Search.SearchArtist&keyword=%s&per_page=%d&page=%d"},
        {c.SearchAlbum, "Qarvon.Search.SearchAlbum&keyword=%s&per_page=%d&page=%d"},
        {c.SearchTrack, "Qarvon.Search.SearchTrack&keyword=%s&per_page=%d&page=%d"},
        {c.GetPalyList, "Qarvon.User.GetPalyList&u_name=%s"},
        {c.AddPlayList, "Qarvon.User.AddPlayList&tk=%s&PlayListTitle=%s&PlayListDesc=%s"},
        {c.DelPlayList, "Qarvon.User.DelPlayList&tk=%s&pl_id=%s"},
        {c.GetPlayListTracks, "Qarvon.User.GetPlayListTracks&u_name=%s&pl_id=%s"},
        {c.ModifyPlayList, "Qarvon.User.ModifyPlayList&tk=%s&pl_id=%s&PlayListTitle=%s&PlayListDesc=%s"},
        {c.AddPlayListTracks, "Qarvon.User.AddPlayListTracks&pl_id=%s&song_ids=%s&tk=%s"},
        {c.DelPlayListTracks, "Qarvon.User.DelPlayListTracks&pl_id=%s&song_ids=%s&tk=%s"},
        {c.GetCollectedAlbums, "Qarvon.User.GetCollectedAlbums&u_name=%s"},
        {c.AddCollectedAlbum, "Qarvon.User.AddCollectedAlbum&album_ids=%s&tk=%s"},
        {c.DelCollectedAlbum, "Qarvon.User.DelCollectedAlbum&album_ids=%s&tk=%s"},
        {c.GetHotTrack, "Qarvon.Area.GetHotTrack&areaID=%s"},
        {c.GetRaiseTrack, "Qarvon.Area.GetRaiseTrack&areaID=%s"},
        {c.GetHotDownload, "Qarvon.Area.GetHotDownload&areaID=%s"},
        {c.GetNewHotTrack, "Qarvon.Area.GetNewHotTrack&areaID=%s"},
        {c.GetNewHotTrack10, "Qarvon.Track.GetNewHotTrack"},
        {c.Statistics, base + "/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s&channel=%s"},
        {c.localchannel, "001"},
    };
    for (const auto &f : fields)
        EXPECT_EQ(f.field, f.expected);
    EXPECT_TRUE(isPeerId(c.localPeerId)) << c.localPeerId;
}

TEST_F(Config, GeneratedPeerIdIsStoredAtOnceAndKept)
{
    load();
    const std::string id = SysConfig().localPeerId;
    ASSERT_TRUE(isPeerId(id));
    EXPECT_EQ(TIniFile(ConfigFilePath()).ReadString("peerInfo", "localPeerId", ""), id);
    load();
    EXPECT_EQ(SysConfig().localPeerId, id);
}

TEST_F(Config, BlankPeerIdIsReplaced)
{
    load("[peerInfo]\nlocalPeerId=   \n");
    EXPECT_TRUE(isPeerId(SysConfig().localPeerId));
    load("[peerInfo]\nlocalPeerId=MY-OWN-ID\n");
    EXPECT_EQ(SysConfig().localPeerId, "MY-OWN-ID");
}

TEST_F(Config, StoredValuesOverrideDefaults)
{
    load("[BaseSet]\nAutoRun=1\nSavePath=/srv/music/\nNamingStyle=0x1\nIsFirstRun=0\n"
         "[DLSet]\nSongNum=$10\nUploadLimit=abc\nDownloadLimt=-4\n"
         "[userInfo]\nuserId=小明\npassword=pw\nrmPWD=1\n"
         "[linkurl]\nostrel=http://partner.test/\n");
    const TGeneralSettings &s = Settings();
    EXPECT_TRUE(s.AutoRun);
    EXPECT_EQ(s.SavePath, "/srv/music/");
    EXPECT_EQ(s.NamingStyle, 1);
    EXPECT_FALSE(s.IsFirstRun);
    EXPECT_EQ(s.SongNum, 16);
    EXPECT_EQ(s.UploadLimit, 300);
    EXPECT_EQ(s.DownloadLimt, -4);
    EXPECT_EQ(s.userId, "小明");
    EXPECT_EQ(s.password, "pw");
    EXPECT_TRUE(s.rmPWD);
    EXPECT_EQ(SysConfig().ostrel, "http://partner.test/");
    EXPECT_EQ(SysConfig().musicboxad, "http://127.0.0.1:8080/jq/675489.aspx");
}

TEST_F(Config, EmptySavePathAndBadNumbersFallBack)
{
    load("[BaseSet]\nSavePath=\n[DLSet]\nSongNum=abc\n");
    EXPECT_EQ(Settings().SavePath, root.path() + "Music/");
    EXPECT_EQ(Settings().SongNum, 5);
}

TEST_F(Config, ServiceKeysOverrideCompletely)
{
    load("[webServices]\nurl=http://other:1/api?m=\nlogin=Login&a=%s&b=%s\n");
    EXPECT_EQ(SysConfig().RequestUrl, "http://other:1/api?m=");
    EXPECT_EQ(SysConfig().PlayListRequestUrl, "http://other:1/api?m=");
    EXPECT_EQ(SysConfig().login, "Login&a=%s&b=%s");
    EXPECT_EQ(SysConfig().logout, "Qarvon.User.Logout&u_name=%s&st=%s");
}

TEST_F(Config, PlayTemplateKeyDrivesTheDownloadTemplateToo)
{
    load();
    EXPECT_NE(SysConfig().GetTrackPlayUrl, SysConfig().GetTrackDownUrl);
    load("[webServices]\nGetTrackPlayUrl=Qarvon.Track.Play&id=%s\n");
    EXPECT_EQ(SysConfig().GetTrackPlayUrl, "Qarvon.Track.Play&id=%s");
    EXPECT_EQ(SysConfig().GetTrackDownUrl, "Qarvon.Track.Play&id=%s");
}

TEST_F(Config, ChannelFile)
{
    const struct
    {
        const char *content;
        const char *channel;
    } cases[] = {
        {"", "001"},
        {"[channelInfo]\nlocalchannel=\n", "001"},
        {"[channelInfo]\nlocalchannel=  042 \n", "042"},
        {"[other]\nlocalchannel=9\n", "001"},
    };
    for (const auto &c : cases) {
        root.write("Data/channel.ini", c.content);
        EXPECT_EQ(ReadChannel(), c.channel) << c.content;
    }
}

TEST_F(Config, SaveWritesOnlyTheGeneralSettings)
{
    load("[webServices]\nurl=http://x/\n[Mine]\nkeep=1\n");
    Settings().IsFirstRun = false;
    Settings().SongNum = 3;
    Settings().userId = "not saved here";
    SaveConfiguration();
    const std::string text = root.read("Data/Config.ini");
    const std::string expectedTail = "[BaseSet]\nAutoRun=0\nSavePath=" + root.path()
                                     + "Music/\nDLCRL=0\nDLFace=0\nFileDirStyle=2\nNamingStyle=2\n"
                                       "AutoPlaying=1\nAutoLogin=0\nIsFirstRun=0\n\n"
                                       "[DLSet]\nSongNum=3\nUploadLimit=300\nDownloadLimt=200\n";
    EXPECT_NE(text.find("[webServices]\nurl=http://x/\n"), std::string::npos) << text;
    EXPECT_NE(text.find("[Mine]\nkeep=1\n"), std::string::npos) << text;
    EXPECT_NE(text.find(expectedTail), std::string::npos) << text;
    EXPECT_EQ(text.find("not saved here"), std::string::npos);
}

TEST_F(Config, CredentialsAndPrivacy)
{
    load();
    Settings().rmPWD = true;
    SaveCredentials("demo", "demo123");
    TIniFile ini(ConfigFilePath());
    EXPECT_EQ(ini.ReadString("userInfo", "userId", ""), "demo");
    EXPECT_EQ(ini.ReadString("userInfo", "password", ""), "demo123");
    EXPECT_TRUE(ini.ReadBool("userInfo", "rmPWD", false));

    struct stat st{};
    ASSERT_EQ(::stat(ConfigFilePath().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}
