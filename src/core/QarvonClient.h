#pragma once

#include <string>
#include <vector>

namespace qarvon {

inline constexpr const char *kLaunchPrefix = "CALLORVELLINKER:";
inline constexpr const char *kMainWindowTitle = "Qarvon P2P DownLoad";
inline constexpr const char *kApplicationTitle = "沃澜音乐盒";

// Drops everything up to and including the first occurrence of the launch
// prefix (found in any letter case); the rest keeps its case. Without the
// prefix the argument is returned unchanged.
std::string StripLaunchPrefix(const std::string &argument);

// A download request carried by the hand-off text.
struct THandOffRequest
{
    std::string TrackID;
    int Flag = 0;
    // A download starts for a non-empty identifier whose flag is not 1.
    bool StartsDownload() const { return !TrackID.empty() && Flag != 1; }
};

// Splits the text into fields (comma and blanks separate, double quotes
// group): three fields give identifier, ignored, flag; any other count gives
// the first field as identifier and flag 0.
THandOffRequest ParseHandOff(const std::string &text);

// Delimited-text splitting as the hand-off uses it.
std::vector<std::string> SplitDelimitedText(const std::string &text, char delimiter);

// Starts "Update" beside the program with the argument "QarvonMusic" when it
// exists and is executable. Does not wait; a missing updater is no error.
bool StartUpdater(const std::string &programFolder);

} // namespace qarvon
