#pragma once

// The listener's account: profile and token after a sign-in, and the
// catalogue lists every window shows.

#include "uHotAlbumn.h"
#include "uHotSongs.h"
#include "uPalyList.h"
#include "uQarvonTopic.h"
#include "uSearchMusicInfo.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>

namespace qarvon {

// A usage event for the statistics reporter: mode, module, operation.
using TStatisticsReport = std::function<void(const std::string &mode, const std::string &module,
                                             const std::string &operation)>;

class TUserInfo
{
public:
    TUserInfo();
    ~TUserInfo();
    TUserInfo(const TUserInfo &) = delete;
    TUserInfo &operator=(const TUserInfo &) = delete;

    // 0 signed in, -1 no usable answer, else the service's code. Blocks for
    // up to three requests (sign-in, profile, avatar).
    int SignIn(const std::string &userName, const std::string &password);
    // 0 signed out, -1 no answer, else the service's code (the user stays signed in).
    int SignOut(const std::string &userId, const std::string &token);
    // Forgets the profile, the playlists and the collected albums; SignedIn stays.
    void ClearUser();

    std::unique_ptr<TUserAlbums> CollectedAlbums;
    std::unique_ptr<TUserPlayLists> UserPlayLists;
    std::unique_ptr<TTopicList> Topics;
    std::unique_ptr<THotAlbumList> HotAlbums;
    std::unique_ptr<THotSongList> HotSongs;
    std::unique_ptr<TSearchMusicList> SearchResults;
    std::unique_ptr<TSearchMusic> SearchItem;
    std::string Token;
    std::string UserAddress;
    std::string UserBirthday;
    std::string UserEmail;
    std::string UserID;
    std::string UserImage; // the picture address, or the local file once downloaded
    std::string UserName;
    std::string UserSex;
    std::atomic<bool> SignedIn{false}; // read by worker threads

    // Receives the sign-in and sign-out events; skipped while unset.
    TStatisticsReport ReportStatistics;

private:
    void Report(const char *operation) const;
    void DownloadAvatar();
};

// The one process-wide user.
TUserInfo &UserInfo();

} // namespace qarvon
