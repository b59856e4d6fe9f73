#pragma once

#include <string>
#include <vector>

namespace qarvon {

// Profile-style INI file. Every read opens the file and every write rewrites
// it, so two readers never see a stale copy. Section and key names compare
// without case; values are trimmed. A write keeps everything else in the file
// as it was (comments, unknown keys, order) and replaces the file atomically.
class TIniFile
{
public:
    // privateFile: a newly created file is readable by its owner only.
    explicit TIniFile(std::string path, bool privateFile = false);

    const std::string &FileName() const { return m_path; }

    std::string ReadString(const std::string &section, const std::string &key,
                           const std::string &defaultValue) const;
    // Decimal, or hexadecimal with a leading "$" or "0x"; anything else gives the default.
    int ReadInteger(const std::string &section, const std::string &key, int defaultValue) const;
    // An integer, true when non-zero; not a number gives the default.
    bool ReadBool(const std::string &section, const std::string &key, bool defaultValue) const;
    bool SectionExists(const std::string &section) const;
    bool ValueExists(const std::string &section, const std::string &key) const;

    // Returns false when the file could not be written; nothing is reported otherwise.
    bool WriteString(const std::string &section, const std::string &key, const std::string &value);
    struct Entry
    {
        std::string section;
        std::string key;
        std::string value;
    };
    // Several writes in order, with one rewrite of the file.
    bool WriteValues(const std::vector<Entry> &entries);
    bool WriteInteger(const std::string &section, const std::string &key, int value);
    bool WriteBool(const std::string &section, const std::string &key, bool value);

private:
    bool save(const std::string &content) const;
    bool lookup(const std::string &section, const std::string &key, std::string *value) const;

    std::string m_path;
    bool m_private;
};

// The integer rule of the profile reader, exposed for the configuration and its tests.
bool ParseProfileInteger(const std::string &text, int *value);

} // namespace qarvon
