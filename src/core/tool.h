#pragma once

#include <string>
#include <vector>

namespace qarvon {

// Folders below the app root, created when missing; both end with "/".
std::string GetTempFolder();
std::string GetImagesFolder();

// Opens a link or file with the desktop's default handler, never through a
// shell. Always true: a failure of the desktop is not reported.
bool OpenDocument(const std::string &target);

// n delimiters give n + 1 pieces; an empty text gives one empty piece.
void SplitByChar(const std::string &text, char delimiter, std::vector<std::string> &list);
// Empty pieces between separators are kept; an empty remainder is not.
std::vector<std::string> SplitByText(const std::string &text, const std::string &separator);
// 1-based character position of the last occurrence, 0 when there is none.
int LastPosition(const std::string &separator, const std::string &text);
// The part after the last "/" (the whole address when it has none).
std::string UrlLastSegment(const std::string &address);

std::string LocalIPv4();
// 12 upper-case hexadecimal digits of a network adapter's hardware address;
// stable across calls on one machine, empty when there is no such adapter.
std::string AdapterAddress(int adapterIndex);

std::string ServiceErrorText(int code, bool chinese);
std::string FormatDuration(int seconds);

// UTF-8 helpers: character counts, and the width of a text where every
// character above U+007F counts two (the old double-byte measure).
std::size_t Utf8Length(const std::string &text);
std::size_t DoubleByteWidth(const std::string &text);
std::string Trim(const std::string &text);
std::string UpperCase(const std::string &text); // ASCII letters only
std::string LowerCase(const std::string &text); // ASCII letters only
bool SameText(const std::string &a, const std::string &b); // ASCII case-insensitive

} // namespace qarvon
