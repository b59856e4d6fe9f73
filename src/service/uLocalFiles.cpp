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

std::string XmlAttributeText(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\t': out += "&#9;"; break;
        case '\n': out += "&#10;"; break;
        case '\r': out += "&#13;"; break;
        default:
            // Other control characters cannot appear in an XML 1.0 document at all.
            if (static_cast<unsigned char>(c) >= 0x20)
                out += c;
            break;
        }
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
