#include "IniFile.h"

#include "AtomicFile.h"
#include "tool.h"

#include <climits>
#include <unistd.h>
#include <vector>

namespace qarvon {

namespace {

struct Lines
{
    std::vector<std::string> lines; // without line ends
    std::string eol = "\n";
    std::string bom;
};

Lines splitLines(const std::string &content)
{
    Lines result;
    std::string text = content;
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
        result.bom = text.substr(0, 3);
        text.erase(0, 3);
    }
    if (text.find("\r\n") != std::string::npos)
        result.eol = "\r\n";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        result.lines.push_back(std::move(line));
        start = end + 1;
    }
    return result;
}

// The section name of a "[name]" line, or false when the line is not one.
bool sectionName(const std::string &line, std::string *name)
{
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    const auto close = t.find(']');
    if (close == std::string::npos)
        return false;
    *name = Trim(t.substr(1, close - 1));
    return true;
}

bool isComment(const std::string &trimmed)
{
    return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#');
}

// Key and value of a "key=value" line.
bool keyValue(const std::string &line, std::string *key, std::string *value)
{
    const std::string t = Trim(line);
    if (t.empty() || isComment(t))
        return false;
    const auto eq = t.find('=');
    if (eq == std::string::npos)
        return false;
    *key = Trim(t.substr(0, eq));
    if (value)
        *value = Trim(t.substr(eq + 1));
    return true;
}

std::string unquote(const std::string &value)
{
    if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"')
                              || (value.front() == '\'' && value.back() == '\'')))
        return value.substr(1, value.size() - 2);
    return value;
}

std::string joinLines(const Lines &l)
{
    std::string out = l.bom;
    for (const auto &line : l.lines) {
        out += line;
        out += l.eol;
    }
    return out;
}

} // namespace

bool ParseProfileInteger(const std::string &text, int *value)
{
    const std::string t = Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    long long acc = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        acc = acc * base + digit;
        // Hexadecimal may spell a negative 32-bit value ($FFFFFFFF is -1), decimal may not overflow.
        if (acc > (base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + (negative ? 1 : 0)))
            return false;
    }
    if (base == 16 && acc > INT_MAX)
        acc -= 0x100000000LL;
    *value = static_cast<int>(negative ? -acc : acc);
    return true;
}

TIniFile::TIniFile(std::string path, bool privateFile)
    : m_path(std::move(path))
    , m_private(privateFile)
{}

bool TIniFile::lookup(const std::string &section, const std::string &key, std::string *value) const
{
    std::string content;
    if (!ReadWholeFile(m_path, &content))
        return false;
    const Lines l = splitLines(content);
    bool inSection = false;
    for (const auto &line : l.lines) {
        std::string name;
        if (sectionName(line, &name)) {
            inSection = SameText(name, section);
            continue;
        }
        if (!inSection)
            continue;
        std::string k, v;
        if (keyValue(line, &k, &v) && SameText(k, key)) {
            if (value)
                *value = unquote(v);
            return true;
        }
    }
    return false;
}

std::string TIniFile::ReadString(const std::string &section, const std::string &key,
                                 const std::string &defaultValue) const
{
    std::string value;
    return lookup(section, key, &value) ? value : defaultValue;
}

int TIniFile::ReadInteger(const std::string &section, const std::string &key, int defaultValue) const
{
    std::string text;
    int value = 0;
    if (lookup(section, key, &text) && ParseProfileInteger(text, &value))
        return value;
    return defaultValue;
}

bool TIniFile::ReadBool(const std::string &section, const std::string &key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const std::string &section) const
{
    std::string content;
    if (!ReadWholeFile(m_path, &content))
        return false;
    for (const auto &line : splitLines(content).lines) {
        std::string name;
        if (sectionName(line, &name) && SameText(name, section))
            return true;
    }
    return false;
}

bool TIniFile::ValueExists(const std::string &section, const std::string &key) const
{
    return lookup(section, key, nullptr);
}

namespace {

void applyWrite(Lines &l, const std::string &section, const std::string &key, const std::string &value)
{
    // A value cannot span lines in this format; keep the file readable.
    std::string clean = value;
    for (char &c : clean)
        if (c == '\n' || c == '\r')
            c = ' ';

    std::ptrdiff_t sectionLine = -1;
    std::ptrdiff_t lastEntry = -1; // last non-blank line of the section
    bool inSection = false;
    for (std::size_t i = 0; i < l.lines.size(); ++i) {
        std::string name;
        if (sectionName(l.lines[i], &name)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = SameText(name, section);
            if (inSection) {
                sectionLine = static_cast<std::ptrdiff_t>(i);
                lastEntry = sectionLine;
            }
            continue;
        }
        if (!inSection)
            continue;
        std::string k;
        if (keyValue(l.lines[i], &k, nullptr) && SameText(k, key)) {
            l.lines[i] = k + "=" + clean;
            return;
        }
        if (!Trim(l.lines[i]).empty())
            lastEntry = static_cast<std::ptrdiff_t>(i);
    }

    if (sectionLine < 0) {
        if (!l.lines.empty() && !Trim(l.lines.back()).empty())
            l.lines.emplace_back();
        l.lines.push_back("[" + section + "]");
        l.lines.push_back(key + "=" + clean);
    } else {
        l.lines.insert(l.lines.begin() + lastEntry + 1, key + "=" + clean);
    }
}

} // namespace

bool TIniFile::WriteString(const std::string &section, const std::string &key, const std::string &value)
{
    return WriteValues({{section, key, value}});
}

bool TIniFile::WriteValues(const std::vector<Entry> &entries)
{
    std::string content;
    // A file that is there but cannot be read is left alone: writing it
    // anew from nothing would lose everything else it holds.
    if (!ReadWholeFile(m_path, &content) && ::access(m_path.c_str(), F_OK) == 0)
        return false;
    Lines l = splitLines(content);
    for (const Entry &e : entries)
        applyWrite(l, e.section, e.key, e.value);
    return save(joinLines(l));
}

bool TIniFile::save(const std::string &content) const
{
    // A private file (it may hold a password) is kept owner-only even if someone widened it.
    return m_private ? WriteFileAtomically(m_path, content, 0600, true)
                     : WriteFileAtomically(m_path, content, 0644, false);
}

bool TIniFile::WriteInteger(const std::string &section, const std::string &key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

bool TIniFile::WriteBool(const std::string &section, const std::string &key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}

} // namespace qarvon
