// Commands about the program's own settings.
#include "CtlCommand.h"

#include "Common_Config.h"
#include "IniFile.h"

#include <ostream>

namespace qarvon::ctl {

namespace {

int runConfig(CtlContext &context, CtlArgs &args)
{
    if (const std::string e = args.Check(); !e.empty())
        return UsageError(context, e);
    if (!args.Positional().empty())
        return UsageError(context, "takes no arguments");

    std::ostream &out = *context.out;
    const TGeneralSettings &s = Settings();
    const TSystemConfig &c = SysConfig();
    const auto row = [&out](const char *section, const char *key, const std::string &value) {
        out << section << '.' << key << " = " << value << '\n';
    };
    const auto b = [](bool v) { return std::string(v ? "1" : "0"); };
    const auto i = [](int v) { return std::to_string(v); };

    row("app", "root", context.root);
    row("app", "config", ConfigFilePath());
    row("BaseSet", "AutoRun", b(s.AutoRun));
    row("BaseSet", "SavePath", s.SavePath);
    row("BaseSet", "DLCRL", b(s.DLCRL));
    row("BaseSet", "DLFace", b(s.DLFace));
    row("BaseSet", "FileDirStyle", i(s.FileDirStyle));
    row("BaseSet", "NamingStyle", i(s.NamingStyle));
    row("BaseSet", "AutoPlaying", b(s.AutoPlaying));
    row("BaseSet", "AutoLogin", b(s.AutoLogin));
    row("BaseSet", "IsFirstRun", b(s.IsFirstRun));
    row("DLSet", "SongNum", i(s.SongNum));
    row("DLSet", "UploadLimit", i(s.UploadLimit));
    row("DLSet", "DownloadLimt", i(s.DownloadLimt));
    row("userInfo", "userId", s.userId);
    row("userInfo", "password", s.password.empty() ? "" : "(stored)");
    row("userInfo", "rmPWD", b(s.rmPWD));
    row("peerInfo", "localPeerId", c.localPeerId);
    row("channelInfo", "localchannel", c.localchannel);
    row("webServices", "url", c.RequestUrl);
    row("webServices", "Statistics", c.Statistics);
    row("linkurl", "userRegister", c.userRegister);
    row("linkurl", "forgetPassword", c.forgetPassword);
    row("linkurl", "ostrel", c.ostrel);
    row("linkurl", "mainbottomad", c.mainbottomad);
    row("linkurl", "musicboxad", c.musicboxad);
    return kOk;
}

// Points the program at a music service: its API, statistics and web links
// all live on one base address. Only these keys change; everything else in
// Config.ini stays as it was.
int runService(CtlContext &context, CtlArgs &args)
{
    if (const std::string e = args.Check(); !e.empty())
        return UsageError(context, e);
    const std::vector<std::string> words = args.Positional();
    if (words.size() != 1)
        return UsageError(context, "needs the service address, e.g. http://127.0.0.1:8080");
    std::string base = words[0];
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    if (base.rfind("http://", 0) != 0 && base.rfind("https://", 0) != 0)
        return UsageError(context, "the address must begin with http:// or https://");
    if (base.find_first_of(" \t\r\n") != std::string::npos)
        return UsageError(context, "the address must not contain blanks");

    TIniFile ini(ConfigFilePath(), /*privateFile=*/true);
    const bool ok = ini.WriteValues({
        {"webServices", "url", base + "/QarvonApis/requestQarvon?method="},
        {"webServices", "Statistics",
         base + "/datastatics.php?mode=%s&modu=%s&opr=%s&macAddress=%s&user=%s&channel=%s"},
        {"linkurl", "userRegister", base + "/reg/first.aspx"},
        {"linkurl", "forgetPassword", base + "/recover.aspx"},
        {"linkurl", "ostrel", base + "/partner/"},
        {"linkurl", "mainbottomad", base + "/jq/675489.aspx"},
        {"linkurl", "musicboxad", base + "/jq/675489.aspx"},
    });
    if (!ok) {
        *context.err << "qarvonctl service: cannot write " << ConfigFilePath() << "\n";
        return kFailed;
    }
    *context.out << "service: " << base << "\n";
    return kOk;
}

const CtlRegistrar regConfig({"config", "", "show the effective settings and the app root", &runConfig});
const CtlRegistrar regService({"service", "URL", "point the program at the music service at URL", &runService});

} // namespace

} // namespace qarvon::ctl
