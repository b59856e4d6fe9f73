#pragma once

#include <string>

namespace qarvon {

// Picks the app root: an explicit folder (--root), else QARVON_ROOT, else the
// executable's folder when it holds Data/, else the user's data folder
// ($XDG_DATA_HOME/qarvon). Returns the folder with a trailing "/".
std::string ResolveAppRoot(const std::string &explicitRoot, const std::string &executableFolder);

// Makes the root usable: creates it, and when it has no Data/ yet, seeds it
// from the installed assets (files already there are never replaced).
// Returns false when the root cannot be created.
bool PrepareAppRoot(const std::string &root);

// Where the shipped assets (Data/, images/, Actor/) are: QARVON_ASSETS, else
// beside the program (../share/qarvon), else the build tree's copy.
std::string AssetsFolder();

} // namespace qarvon
