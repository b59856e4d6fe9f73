#include "uQarvonHttp.h"

namespace qarvon {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

} // namespace

std::string PercentEncode(const std::string &bytes, bool blankAsPlus)
{
    std::string out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += blankAsPlus ? "+" : "%20";
        } else if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                   || c == '-' || c == '.' || c == '_') {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

std::string EncodeQueryValue(const std::string &text)
{
    // Texts are UTF-8 already; after encoding only ASCII is left to lower-case.
    std::string out = PercentEncode(text, true);
    for (char &c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string EscapeQueryDelimiters(const std::string &value)
{
    std::string out;
    out.reserve(value.size());
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        const bool delimiter = c <= 0x20 || c == 0x7F || ch == '%' || ch == '&' || ch == '#'
                               || ch == '+' || ch == '=' || ch == '?';
        if (delimiter) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out;
}

std::string FormatTemplate(const std::string &tmpl, const std::vector<TTemplateArg> &args)
{
    std::string out;
    out.reserve(tmpl.size() + 64);
    std::size_t next = 0;
    for (std::size_t i = 0; i < tmpl.size(); ++i) {
        const bool placeholder
            = tmpl[i] == '%' && i + 1 < tmpl.size() && (tmpl[i + 1] == 's' || tmpl[i + 1] == 'd');
        if (placeholder && next < args.size()) {
            out += args[next++].text;
            ++i;
        } else {
            out += tmpl[i];
        }
    }
    return out;
}

} // namespace qarvon
