#include "uUserInfo.h"

#include "tool.h"
#include "uLocalFiles.h"
#include "uServiceCall.h"
#include "uXmlAnswer.h"

namespace qarvon {

TUserInfo::TUserInfo()
    : CollectedAlbums(std::make_unique<TUserAlbums>())
    , UserPlayLists(std::make_unique<TUserPlayLists>())
    , Topics(std::make_unique<TTopicList>())
    , HotAlbums(std::make_unique<THotAlbumList>())
    , HotSongs(std::make_unique<THotSongList>())
    , SearchResults(std::make_unique<TSearchMusicList>())
    , SearchItem(std::make_unique<TSearchMusic>())
{}

TUserInfo::~TUserInfo() = default;

void TUserInfo::Report(const char *operation) const
{
    if (ReportStatistics)
        ReportStatistics("01", "09", operation);
}

int TUserInfo::SignIn(const std::string &userName, const std::string &password)
{
    return Guarded("SignIn", -1, [&] {
        // Both values go out exactly as typed.
        TServiceAnswer answer;
        ReadAnswer(CatalogueUrl(SysConfig().login, {password, userName}), answer);
        if (answer.status == TServiceAnswer::NoAnswer || answer.status == TServiceAnswer::Malformed
            || answer.status == TServiceAnswer::NoRoot)
            return -1;
        const TXmlNode userId = answer.Root.Child("UserID");
        if (!userId)
            return answer.status == TServiceAnswer::Refused ? answer.Code : -1;
        // An answer without the name or the token cannot sign anybody in; it
        // changes nothing rather than leaving half a user behind.
        const TXmlNode name = answer.Root.Child("UserName");
        const TXmlNode token = answer.Root.Child("Token");
        if (!name || !token)
            return -1;
        UserID = userId.Text();
        UserName = name.Text();
        Token = token.Text();

        TServiceAnswer profile;
        ReadAnswer(CatalogueUrl(SysConfig().userInfo) + EscapeQueryDelimiters(UserName), profile);
        if (profile.status == TServiceAnswer::NoAnswer
            || profile.status == TServiceAnswer::Malformed)
            return -1;
        if (const TXmlNode user = profile.Root.Child("User")) {
            UserSex = user.ChildText("UserSex");
            UserBirthday = user.ChildText("UserBirthday");
            UserEmail = user.ChildText("UserEmail");
            UserAddress = user.ChildText("UserAddress");
            UserImage = user.ChildText("UserImage");
        }
        DownloadAvatar();
        SignedIn = true;
        Report("021");
        return 0;
    });
}

void TUserInfo::DownloadAvatar()
{
    const std::string address = Trim(UserImage);
    if (address.empty())
        return;
    // A picture fetched by an earlier sign-in is already local.
    if (UserImage.rfind(GetTempFolder(), 0) == 0)
        return;
    const std::string path = TempPathForUrl(address);
    if (DownloadToFile(address, path) > 0)
        UserImage = path;
}

int TUserInfo::SignOut(const std::string &userId, const std::string &token)
{
    return Guarded("SignOut", -1, [&] {
        TServiceAnswer answer;
        ReadAnswer(CatalogueUrl(SysConfig().logout, {userId, token}), answer);
        if (answer.status == TServiceAnswer::NoAnswer || answer.status == TServiceAnswer::Malformed)
            return -1;
        // Only an "err" standing as the document element refuses the sign-out.
        for (const TXmlNode &top : answer.Document.TopLevelElements()) {
            if (top.Name() == "err")
                return NodeInt(top.Attribute("code"));
        }
        SignedIn = false;
        ClearUser();
        Report("022");
        return 0;
    });
}

void TUserInfo::ClearUser()
{
    CollectedAlbums->Clear();
    CollectedAlbums->Loaded = false;
    UserPlayLists->Clear();
    UserPlayLists->Loaded = false;
    Token.clear();
    UserAddress.clear();
    UserBirthday.clear();
    UserEmail.clear();
    UserID.clear();
    UserImage.clear();
    UserName.clear();
    UserSex.clear();
}

TUserInfo &UserInfo()
{
    static TUserInfo user;
    return user;
}

} // namespace qarvon
