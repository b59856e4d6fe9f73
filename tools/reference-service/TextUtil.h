#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qarvon::refsvc {

// Lower-case ASCII and fold full-width forms (U+FF01..U+FF5E, U+3000) to
// ASCII, so "ＡＢＣ" and "abc" find each other; everything else stays as it is.
std::string SearchFold(std::string_view utf8);

std::vector<std::string> SplitList(std::string_view text, char separator);
std::string Trim(std::string_view text);
bool ParseInt64(std::string_view text, long long &value);
std::string FormatLrcTime(double seconds); // mm:ss.xx

// UTF-8 to GBK; a character GBK cannot hold becomes "?". Empty on a broken input.
std::string Utf8ToGbk(std::string_view utf8);

} // namespace qarvon::refsvc
