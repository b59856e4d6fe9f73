// Sign-in, sign-out and the user's state, against a scripted service.
#include "test_query_fixture.h"

#include "AtomicFile.h"
#include "uLocalFiles.h"
#include "uUserInfo.h"

#include <filesystem>

using namespace qarvon;
using namespace qarvon::test;

namespace {

const std::string kLogin = "Qarvon.User.Login&u_pwd=secret&u_name=demo";
const std::string kProfile = "Qarvon.User.GetUserInfo&u_name=demo";
const std::string kSignedIn = "<UserID>u1</UserID><UserName>demo</UserName><Token>tk1</Token>";

using Reports = std::vector<std::vector<std::string>>;

void RecordReports(TUserInfo &user, Reports *reports)
{
    user.ReportStatistics = [reports](const std::string &mode, const std::string &module,
                                      const std::string &operation) {
        reports->push_back({mode, module, operation});
    };
}

enum class Avatar { None, Bytes, Empty, TrailingSlash };

struct SignInCase
{
    const char *name;
    AnswerKind login;
    std::string loginPayload; // with AnswerKind::Records
    int refusalCode;
    AnswerKind profile;
    bool profileHasUser;
    Avatar avatar;
    int result;
    bool signedIn;
    std::string userId; // after the call; "old" = untouched
};

void PrintTo(const SignInCase &c, std::ostream *os)
{
    *os << c.name;
}

class SignIn : public ServiceTest, public ::testing::WithParamInterface<SignInCase>
{
};

TEST_P(SignIn, Paths)
{
    const SignInCase &c = GetParam();
    Answer(kLogin, MakeAnswer(c.login, c.loginPayload, c.refusalCode));

    std::string avatarUrl;
    switch (c.avatar) {
    case Avatar::None: break;
    case Avatar::Bytes:
        avatarUrl = server.url("/pics/face.jpg");
        server.SetResponse("/pics/face.jpg", TScriptedResponse::Ok("JPEGDATA", "image/jpeg"));
        break;
    case Avatar::Empty:
        avatarUrl = server.url("/pics/face.jpg");
        server.SetResponse("/pics/face.jpg", TScriptedResponse::Ok("", "image/jpeg"));
        break;
    case Avatar::TrailingSlash:
        avatarUrl = server.url("/pics/");
        server.SetResponse("/pics/", TScriptedResponse::Ok("PNGDATA", "image/png"));
        break;
    }
    const std::string user = "<User><UserSex>m</UserSex><UserBirthday>1990-01-02</UserBirthday>"
                             "<UserEmail>d@example.org</UserEmail><UserAddress>北京</UserAddress>"
                             "<UserImage>"
                             + avatarUrl + "</UserImage></User>";
    Answer(kProfile, MakeAnswer(c.profile, c.profileHasUser ? user : "<Other/>"));

    TUserInfo info;
    info.UserID = "old";
    info.UserName = "old";
    info.Token = "old";
    Reports reports;
    RecordReports(info, &reports);

    EXPECT_EQ(info.SignIn("demo", "secret"), c.result);
    EXPECT_EQ(info.SignedIn, c.signedIn);
    EXPECT_EQ(info.UserID, c.userId);
    ASSERT_FALSE(Methods().empty());
    EXPECT_EQ(Methods()[0], kLogin);
    if (c.userId == "old") {
        EXPECT_EQ(info.UserName, "old");
        EXPECT_EQ(info.Token, "old");
        EXPECT_EQ(Methods().size(), 1u) << "nothing after a failed sign-in request";
    } else {
        EXPECT_EQ(info.UserName, "demo");
        EXPECT_EQ(info.Token, "tk1");
    }
    EXPECT_EQ(reports, (c.signedIn ? Reports{{"01", "09", "021"}} : Reports{}));
    if (!c.signedIn)
        return;

    if (!c.profileHasUser) {
        EXPECT_EQ(info.UserSex, "");
        EXPECT_EQ(info.UserImage, "");
        return;
    }
    EXPECT_EQ(info.UserSex, "m");
    EXPECT_EQ(info.UserBirthday, "1990-01-02");
    EXPECT_EQ(info.UserEmail, "d@example.org");
    EXPECT_EQ(info.UserAddress, "北京");
    std::string content;
    switch (c.avatar) {
    case Avatar::None: EXPECT_EQ(info.UserImage, ""); break;
    case Avatar::Bytes:
        EXPECT_EQ(info.UserImage, root.file("temp/face.jpg"));
        EXPECT_EQ(root.read("temp/face.jpg"), "JPEGDATA");
        break;
    case Avatar::Empty:
        // The address stays; the empty file is left behind.
        EXPECT_EQ(info.UserImage, avatarUrl);
        EXPECT_TRUE(root.exists("temp/face.jpg"));
        EXPECT_EQ(root.read("temp/face.jpg"), "");
        break;
    case Avatar::TrailingSlash:
        // No name in the address: a made-up one, still inside temp/.
        EXPECT_EQ(info.UserImage, root.file("temp/" + SafeFileNameFromUrl(avatarUrl)));
        ASSERT_TRUE(ReadWholeFile(info.UserImage, &content));
        EXPECT_EQ(content, "PNGDATA");
        EXPECT_EQ(std::filesystem::path(info.UserImage).parent_path(),
                  std::filesystem::path(root.file("temp")));
        break;
    }
}

const std::string kNoToken = "<UserID>u1</UserID><UserName>demo</UserName>";

INSTANTIATE_TEST_SUITE_P(
    Table, SignIn,
    ::testing::Values(
        SignInCase{"signsIn", AnswerKind::Records, kSignedIn, 0,
                   AnswerKind::Records, true, Avatar::Bytes, 0, true, "u1"},
        SignInCase{"refused", AnswerKind::Refused, "", 20, AnswerKind::Records, true, Avatar::None,
                   20, false, "old"},
        SignInCase{"noAnswer", AnswerKind::NoAnswer, "", 0, AnswerKind::Records, true,
                   Avatar::None, -1, false, "old"},
        SignInCase{"errorStatus", AnswerKind::ErrorStatus, kNoToken, 0, AnswerKind::Records, true,
                   Avatar::None, -1, false, "old"},
        SignInCase{"malformed", AnswerKind::Malformed, "", 0, AnswerKind::Records, true,
                   Avatar::None, -1, false, "old"},
        SignInCase{"truncated", AnswerKind::Truncated, kSignedIn,
                   0, AnswerKind::Records, true, Avatar::None, -1, false, "old"},
        SignInCase{"withoutToken", AnswerKind::Records, kNoToken, 0, AnswerKind::Records, true,
                   Avatar::None, -1, false, "old"},
        SignInCase{"neitherUserNorErr", AnswerKind::Records, "<Hello/>", 0, AnswerKind::Records,
                   true, Avatar::None, -1, false, "old"},
        SignInCase{"profileWithoutUser", AnswerKind::Records,
                   kSignedIn, 0, AnswerKind::Records, false,
                   Avatar::None, 0, true, "u1"},
        SignInCase{"profileNoAnswer", AnswerKind::Records,
                   kSignedIn, 0, AnswerKind::NoAnswer, true,
                   Avatar::None, -1, false, "u1"},
        SignInCase{"emptyAvatar", AnswerKind::Records, kSignedIn,
                   0, AnswerKind::Records, true, Avatar::Empty, 0, true, "u1"},
        SignInCase{"avatarWithoutName", AnswerKind::Records,
                   kSignedIn, 0, AnswerKind::Records, true,
                   Avatar::TrailingSlash, 0, true, "u1"}),
    [](const ::testing::TestParamInfo<SignInCase> &info) { return std::string(info.param.name); });

struct SignOutCase
{
    const char *name;
    TScriptedResponse answer;
    int result;
    bool signedIn;
};

void PrintTo(const SignOutCase &c, std::ostream *os)
{
    *os << c.name;
}

class SignOut : public ServiceTest, public ::testing::WithParamInterface<SignOutCase>
{
};

TEST_P(SignOut, Paths)
{
    const SignOutCase &c = GetParam();
    Answer("Qarvon.User.Logout&u_name=u1&st=tk1", c.answer);

    TUserInfo info;
    info.SignedIn = true;
    info.UserID = "u1";
    info.Token = "tk1";
    info.UserName = "demo";
    info.UserImage = "face";
    info.UserPlayLists->AddNew()->PlayListID = "p1";
    info.UserPlayLists->Loaded = true;
    info.CollectedAlbums->AddNew()->AlbumID = "a1";
    info.CollectedAlbums->Loaded = true;
    info.Topics->AddNew()->TopicID = "t1";
    info.Topics->Loaded = true;
    Reports reports;
    RecordReports(info, &reports);

    EXPECT_EQ(info.SignOut(info.UserID, info.Token), c.result);
    EXPECT_EQ(info.SignedIn, c.signedIn);
    // The catalogue lists are the program's, not the user's: they stay either way.
    EXPECT_EQ(info.Topics->Count(), 1);
    EXPECT_TRUE(info.Topics->Loaded);
    if (c.signedIn) {
        EXPECT_EQ(info.UserID, "u1");
        EXPECT_EQ(info.UserPlayLists->Count(), 1);
        EXPECT_TRUE(reports.empty());
        return;
    }
    EXPECT_EQ(reports, (Reports{{"01", "09", "022"}}));
    EXPECT_EQ(info.UserID, "");
    EXPECT_EQ(info.Token, "");
    EXPECT_EQ(info.UserName, "");
    EXPECT_EQ(info.UserImage, "");
    EXPECT_EQ(info.UserPlayLists->Count(), 0);
    EXPECT_FALSE(info.UserPlayLists->Loaded);
    EXPECT_EQ(info.CollectedAlbums->Count(), 0);
    EXPECT_FALSE(info.CollectedAlbums->Loaded);
}

const std::string kHead = "<?xml version=\"1.0\"?>";

INSTANTIATE_TEST_SUITE_P(
    Table, SignOut,
    ::testing::Values(
        SignOutCase{"errAsDocumentElement", TScriptedResponse::Ok(kHead + "<err code=\"10\"/>"),
                    10, true},
        // Only an err standing alone refuses; one below the root does not.
        SignOutCase{"errBelowRoot",
                    TScriptedResponse::Ok(kHead + "<result><err code=\"10\"/></result>"), 0,
                    false},
        SignOutCase{"plainAnswer", TScriptedResponse::Ok(kHead + "<result>ok</result>"), 0, false},
        SignOutCase{"noAnswer", MakeAnswer(AnswerKind::NoAnswer, ""), -1, true},
        SignOutCase{"errorStatus", TScriptedResponse::Status(500, kHead + "<result/>"), -1, true},
        SignOutCase{"malformed", MakeAnswer(AnswerKind::Malformed, ""), -1, true}),
    [](const ::testing::TestParamInfo<SignOutCase> &info) { return std::string(info.param.name); });

TEST(UserInfo, OneInstanceForTheProcess)
{
    EXPECT_EQ(&UserInfo(), &UserInfo());
    EXPECT_FALSE(UserInfo().SignedIn);
    ASSERT_NE(UserInfo().SearchResults, nullptr);
    ASSERT_NE(UserInfo().SearchItem, nullptr);
}

} // namespace

// Identifiers, names, passwords and tokens go as they are, but a character
// that would end the value or the request is escaped, so it arrives whole.
TEST_F(ServiceTest, CredentialsThatLookLikeQuerySyntaxArriveWhole)
{
    const struct
    {
        const char *user;
        const char *password;
        const char *login; // the method text on the wire
        const char *profile;
    } cases[] = {
        {"demo", "secret", "Qarvon.User.Login&u_pwd=secret&u_name=demo",
         "Qarvon.User.GetUserInfo&u_name=demo"},
        {"小明_1.a-b", "p@ss:w/rd!~*'()", "Qarvon.User.Login&u_pwd=p@ss:w/rd!~*'()&u_name=小明_1.a-b",
         "Qarvon.User.GetUserInfo&u_name=小明_1.a-b"},
        {"a b", "x&u_name=admin", "Qarvon.User.Login&u_pwd=x%26u_name%3Dadmin&u_name=a%20b",
         "Qarvon.User.GetUserInfo&u_name=a%20b"},
        {"#1", "50%+1?", "Qarvon.User.Login&u_pwd=50%25%2B1%3F&u_name=%231",
         "Qarvon.User.GetUserInfo&u_name=%231"},
    };
    for (const auto &c : cases) {
        server.ClearRequests();
        AnswerXml(c.login, "<root><UserID>u1</UserID><UserName>" + std::string(c.user)
                               + "</UserName><Token>t</Token></root>");
        AnswerXml(c.profile, "<root/>");
        TUserInfo info;
        EXPECT_EQ(info.SignIn(c.user, c.password), 0) << c.user;
        EXPECT_EQ(Methods(), (std::vector<std::string>{c.login, c.profile})) << c.user;
    }
}
