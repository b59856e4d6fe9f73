#include "uLocalFiles.h"

#include "AtomicFile.h"
#include "tool.h"
#include "uQarvonHttp.h"
#include "uTraceM.h"
#include "uXmlAnswer.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace qarvon {

namespace {

// Well below the usual 255-byte limit of a file name.
constexpr std::size_t kMaxNameBytes = 200;

bool IsPlainName(const std::string &name)
{
    if (name.empty() || name == "." || name == ".." || name.size() > kMaxNameBytes)
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7f)
            return false;
    }
    return true;
}

std::string HashName(const std::string &address)
{
    // FNV-1a: stable across runs, so the same address maps to the same file.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : address) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return std::string("picture-") + text;
}

} // namespace

std::string SafeFileNameFromUrl(const std::string &address)
{
    const std::string name = UrlLastSegment(address);
    return IsPlainName(name) ? name : HashName(address);
}

std::string TempPathForUrl(const std::string &address)
{
    return GetTempFolder() + SafeFileNameFromUrl(address);
}

std::size_t DownloadToFile(const std::string &address, const std::string &path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::string body;
    FetchUrl(address, body);
    if (!WriteFileAtomically(path, body)) {
        Trace("cannot write " + path);
        return 0;
    }
    return body.size();
}

namespace {

// Length of the well-formed UTF-8 sequence at text[i] (no overlong forms, no
// surrogates, nothing above U+10FFFF); 0 when there is none.
std::size_t Utf8SequenceLength(const std::string &text, std::size_t i)
{
    const auto at = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = at(i);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0)
            low = 0xa0;
        if (lead == 0xed)
            high = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0)
            low = 0x90;
        if (lead == 0xf4)
            high = 0x8f;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k) {
        if (at(i + k) < 0x80 || at(i + k) > 0xbf)
            return 0;
    }
    return length;
}

} // namespace

std::string XmlAttributeText(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default: {
            // Other control characters cannot appear in an XML 1.0 document
            // at all, and bytes that are not UTF-8 would make the file
            // unreadable: the first are left out, the second become "?".
            if (static_cast<unsigned char>(c) < 0x20)
                break;
            const std::size_t length = Utf8SequenceLength(text, i);
            if (length == 0) {
                out += '?';
            } else {
                out.append(text, i, length);
                i += length;
                continue;
            }
            break;
        }
        }
        ++i;
    }
    return out;
}

void KeepUnreadableAside(const std::string &path)
{
    std::string content;
    if (!ReadWholeFile(path, &content))
        return;
    TXmlDocument document;
    if (document.Load(content))
        return;
    Trace(path + " cannot be parsed (" + document.Error() + "); kept as " + path + ".bad");
    WriteFileAtomically(path + ".bad", content);
}

} // namespace qarvon
