// Commands about the program's own settings.
#include "CtlCommand.h"

#include "Common_Config.h"

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

const CtlRegistrar reg({"config", "", "show the effective settings and the app root", &runConfig});

} // namespace

} // namespace qarvon::ctl
