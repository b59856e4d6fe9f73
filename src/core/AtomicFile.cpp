#include "AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qarvon {

namespace {

bool writeAll(int fd, const std::string &content)
{
    const char *p = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::string &path, const std::string &content, unsigned mode,
                         bool forceMode)
{
    struct stat existing{};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    const mode_t finalMode = exists && !forceMode ? (existing.st_mode & 07777) : static_cast<mode_t>(mode);

    std::string tmpl = path + ".XXXXXX";
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, finalMode) == 0 && writeAll(fd, content) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmpl.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(tmpl.c_str());
    return false;
}

bool ReadWholeFile(const std::string &path, std::string *content)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    content->clear();
    char buf[65536];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        content->append(buf, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

} // namespace qarvon
