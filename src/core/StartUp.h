#pragma once

#include <string>

namespace qarvon {

struct TStartOptions
{
    std::string root;          // --root DIR
    std::string launchArgument; // the first argument that is not an option
    std::string skinGallery;   // --skin-gallery FILE.png
    bool help = false;
    std::string error;         // a usage error, empty when none
};

TStartOptions ParseStartOptions(int argc, char **argv);

// The folder of the running executable (from the kernel, before any Qt object exists).
std::string ExecutableFolder();

} // namespace qarvon
