#include "StartUp.h"

#include <climits>
#include <unistd.h>

namespace qarvon {

namespace {

// Single-dash toolkit options that take a value ("-platform offscreen").
bool takesQtValue(const std::string &w)
{
    static const char *const options[] = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                          "-display", "-style", "-stylesheet", "-session", "-geometry",
                                          "-title", "-qwindowgeometry", "-qwindowtitle", "-qwindowicon"};
    for (const char *o : options) {
        if (w == o)
            return true;
    }
    return false;
}

} // namespace

TStartOptions ParseStartOptions(int argc, char **argv)
{
    TStartOptions o;
    bool positionalOnly = false;
    for (int i = 1; i < argc; ++i) {
        const std::string w = argv[i];
        if (!positionalOnly && w == "--") {
            positionalOnly = true;
        } else if (!positionalOnly && (w == "--root" || w == "--skin-gallery")) {
            if (i + 1 >= argc) {
                o.error = w + " needs a value";
                return o;
            }
            (w == "--root" ? o.root : o.skinGallery) = argv[++i];
        } else if (!positionalOnly && w.rfind("--root=", 0) == 0) {
            o.root = w.substr(7);
        } else if (!positionalOnly && (w == "--help" || w == "-h")) {
            o.help = true;
        } else if (!positionalOnly && w.rfind("--", 0) == 0) {
            // Qt's own options (-platform, -style ...) are single-dash and pass through.
            o.error = "unknown option " + w;
            return o;
        } else if (!positionalOnly && takesQtValue(w)) {
            ++i; // the toolkit's own option and its value are not the launch argument
        } else if (o.launchArgument.empty() && (positionalOnly || w.rfind("-", 0) != 0)) {
            o.launchArgument = w;
        }
    }
    return o;
}

std::string ExecutableFolder()
{
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return {};
    std::string path(buf, static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

} // namespace qarvon
