#include "AppRoot.h"

#include "StartUp.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>

namespace qarvon {

namespace {

std::string withSlash(const QString &path)
{
    std::string p = QDir::cleanPath(path).toStdString();
    if (p.empty() || p.back() != '/')
        p += '/';
    return p;
}

QString expandHome(const QString &path)
{
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

// Copies every file below from into to, keeping what to already has.
void seedTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (QFileInfo::exists(target))
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
        QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                     | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
}

} // namespace

std::string ResolveAppRoot(const std::string &explicitRoot, const std::string &executableFolder)
{
    if (!explicitRoot.empty())
        return withSlash(QDir(expandHome(QString::fromStdString(explicitRoot))).absolutePath());
    if (const char *env = std::getenv("QARVON_ROOT"); env && *env)
        return withSlash(QDir(expandHome(QString::fromLocal8Bit(env))).absolutePath());
    const QString exeDir = QString::fromStdString(executableFolder);
    if (!exeDir.isEmpty() && QFileInfo(exeDir + QStringLiteral("/Data")).isDir())
        return withSlash(exeDir);
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                     + QStringLiteral("/qarvon"));
}

std::string AssetsFolder()
{
    if (const char *env = std::getenv("QARVON_ASSETS"); env && *env)
        return withSlash(QString::fromLocal8Bit(env));
    // From the kernel, not the application object: the root is prepared before one exists.
    const QString installed = QString::fromStdString(ExecutableFolder()) + QStringLiteral("/../share/qarvon");
    if (QFileInfo(installed).isDir())
        return withSlash(installed);
#ifdef QARVON_BUILD_ASSETS
    return withSlash(QStringLiteral(QARVON_BUILD_ASSETS));
#else
    return {};
#endif
}

bool PrepareAppRoot(const std::string &root)
{
    const QString r = QString::fromStdString(root);
    if (!QDir().mkpath(r))
        return false;
    const bool fresh = !QFileInfo(r + QStringLiteral("/Data")).isDir();
    const std::string assets = AssetsFolder();
    if (!assets.empty()) {
        // A fresh root gets everything; an existing one only the pictures it lacks.
        const QStringList folders = fresh ? QStringList{QStringLiteral("Data"), QStringLiteral("images"),
                                                        QStringLiteral("Actor")}
                                          : QStringList{QStringLiteral("images"), QStringLiteral("Actor")};
        for (const QString &folder : folders) {
            const QString from = QString::fromStdString(assets) + folder;
            if (QFileInfo(from).isDir())
                seedTree(from, r + QLatin1Char('/') + folder);
        }
    }
    return QDir().mkpath(r + QStringLiteral("/Data"));
}

} // namespace qarvon
