#pragma once

#include <string>
#include <vector>

namespace qarvon {

// Where a skin picture lives when the program runs.
enum class TSkinPlace {
    ImagesFolder, // a file of the app root's images/ folder, looked up by its file name
    Embedded      // a resource compiled into the program (":/pngfile/<name>.png")
};

// One picture of the skin: its exact file name (letter case matters), its
// size in logical pixels, and where the program looks for it.
struct TSkinPicture
{
    const char *name;
    int width;
    int height;
    TSkinPlace place;
};

// Every picture the skin consists of, drawn by the skin generator and looked
// up by the windows. The names here are the only copy of them.
const std::vector<TSkinPicture> &SkinPictures();

// The picture of that name, or nullptr.
const TSkinPicture *FindSkinPicture(const std::string &name);

// The name of the high-density variant: "a.png" -> "a@2x.png".
std::string HighDensityName(const std::string &name, int scale = 2);

} // namespace qarvon
