#pragma once

#include <atomic>
#include <mutex>
#include <string>

namespace qarvon {

// Service request templates and link addresses. Defaults point at the
// reference service on loopback (its default port is 8080); every keyed field
// can be overridden in Config.ini.
struct TSystemConfig
{
    std::string userRegister;      // linkurl/userRegister
    std::string forgetPassword;    // linkurl/forgetPassword
    std::string ostrel;            // linkurl/ostrel
    std::string mainbottomad;      // linkurl/mainbottomad
    std::string musicboxad;        // linkurl/musicboxad
    std::string QuestionUrl;       // fixed: feedback page
    std::string HomeUrl;           // fixed: service web site
    std::string RequestUrl;        // webServices/url: base of catalogue and user requests
    std::string PlayListRequestUrl; // webServices/url again: base of playlist requests
    std::string login;
    std::string userInfo;          // the user name is appended, not formatted
    std::string logout;
    std::string GetTrack;
    std::string GetArtist;
    std::string GetAlbum;
    std::string GetHotAlbum;
    std::string GetByAlbumID;
    std::string GetTopic;
    std::string GetByTopicID;
    std::string GetTrackPlayUrl;
    std::string GetTrackDownUrl;   // read from the GetTrackPlayUrl key when it is present
    std::string GetByArtistID;
    std::string SearchArtist;
    std::string SearchAlbum;
    std::string SearchTrack;
    std::string GetPalyList;
    std::string AddPlayList;
    std::string DelPlayList;
    std::string GetPlayListTracks;
    std::string ModifyPlayList;
    std::string AddPlayListTracks;
    std::string DelPlayListTracks;
    std::string GetCollectedAlbums;
    std::string AddCollectedAlbum;
    std::string DelCollectedAlbum;
    std::string GetHotTrack;
    std::string GetRaiseTrack;
    std::string GetHotDownload;
    std::string GetNewHotTrack;
    std::string GetNewHotTrack10;
    std::string Statistics;
    std::string localPeerId;
    std::string localchannel;
};

// The general settings, read directly by their users and changed on the UI thread only.
struct TGeneralSettings
{
    bool AutoRun = false;
    std::string SavePath;
    bool DLCRL = false;
    bool DLFace = false;
    int FileDirStyle = 2;
    int NamingStyle = 2;
    bool AutoPlaying = true;
    bool AutoLogin = false;
    bool IsFirstRun = true;
    int SongNum = 5;
    int UploadLimit = 300;
    int DownloadLimt = 200;
    std::string userId;
    std::string password;
    bool rmPWD = false;
};

// Built-in defaults of every keyed field (what a missing key reads as).
TSystemConfig DefaultSystemConfig();

// Process-wide values.
TGeneralSettings &Settings();
TSystemConfig &SysConfig();

// The app root with a trailing "/"; every data folder lives below it.
const std::string &ProgramFolder();
void SetProgramFolder(const std::string &folder);

std::string ConfigFilePath();  // <root>/Data/Config.ini
std::string ChannelFilePath(); // <root>/Data/channel.ini

// Guards the neighbours' link state and the start of the chart hand-over.
std::recursive_mutex &ProcessLock();
// Neighbour link state; 0 is idle. Its other values belong to the transfer client.
std::atomic<int> &NeighbourLinkState();

void LoadConfiguration();
void SaveConfiguration();
void SaveCredentials(const std::string &userName, const std::string &password);
void SaveLocalPeerId(const std::string &identifier);
std::string ReadChannel();

// 36 upper-case characters, 8-4-4-4-12; empty when no identifier can be made.
std::string NewPeerIdentifier();

} // namespace qarvon
