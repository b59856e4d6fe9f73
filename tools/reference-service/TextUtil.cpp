#include "TextUtil.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <iconv.h>

namespace qarvon::refsvc {

std::string SearchFold(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        // U+FF01..U+FF5E is EF BC 81..EF BD 9E; U+3000 is E3 80 80.
        if (c == 0xEF && i + 2 < utf8.size()) {
            const auto b1 = static_cast<unsigned char>(utf8[i + 1]);
            const auto b2 = static_cast<unsigned char>(utf8[i + 2]);
            const unsigned code = ((c & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
            if (code >= 0xFF01 && code <= 0xFF5E) {
                char ascii = static_cast<char>(code - 0xFF01 + 0x21);
                if (ascii >= 'A' && ascii <= 'Z')
                    ascii = static_cast<char>(ascii - 'A' + 'a');
                out += ascii;
                i += 2;
                continue;
            }
        }
        if (c == 0xE3 && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) == 0x80
            && static_cast<unsigned char>(utf8[i + 2]) == 0x80) {
            out += ' ';
            i += 2;
            continue;
        }
        out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    }
    return out;
}

std::vector<std::string> SplitList(std::string_view text, char separator)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        const std::string piece = Trim(text.substr(start, end - start));
        if (!piece.empty())
            pieces.push_back(piece);
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return pieces;
}

std::string Trim(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

bool ParseInt64(std::string_view text, long long &value)
{
    if (text.empty())
        return false;
    const auto *end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

std::string FormatLrcTime(double seconds)
{
    auto hundredths = static_cast<long long>(seconds * 100.0 + 0.5);
    if (hundredths < 0)
        hundredths = 0;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld.%02lld", hundredths / 6000,
                  (hundredths / 100) % 60, hundredths % 100);
    return buf;
}

std::string Utf8ToGbk(std::string_view utf8)
{
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string out;
    out.reserve(utf8.size());
    std::string in(utf8);
    char *inPtr = in.data();
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char *outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (errno == EILSEQ) {
            // Skip the whole UTF-8 sequence GBK has no place for.
            const auto lead = static_cast<unsigned char>(*inPtr);
            std::size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            len = std::min(len, inLeft);
            inPtr += len;
            inLeft -= len;
            out += '?';
            continue;
        }
        out.clear(); // a sequence cut off at the end: the input was not UTF-8
        break;
    }
    iconv_close(cd);
    return out;
}

} // namespace qarvon::refsvc
