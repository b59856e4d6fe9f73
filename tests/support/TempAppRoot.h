#pragma once

#include <QTemporaryDir>

#include <string>

namespace qarvon::test {

// A fresh app root with an empty Data/ folder, removed when the test ends.
// It becomes the process-wide program folder while it lives.
class TempAppRoot
{
public:
    TempAppRoot();
    ~TempAppRoot();

    // The root with a trailing "/".
    std::string path() const;
    std::string file(const std::string &relative) const;
    void write(const std::string &relative, const std::string &content) const;
    std::string read(const std::string &relative) const;
    bool exists(const std::string &relative) const;

private:
    QTemporaryDir m_dir;
    std::string m_previousFolder;
};

} // namespace qarvon::test
