#include "TempAppRoot.h"

#include "Common_Config.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace qarvon::test {

TempAppRoot::TempAppRoot()
    : m_previousFolder(ProgramFolder())
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot create a temporary app root");
    QDir(m_dir.path()).mkpath(QStringLiteral("Data"));
    SetProgramFolder(path());
}

TempAppRoot::~TempAppRoot()
{
    SetProgramFolder(m_previousFolder);
}

std::string TempAppRoot::path() const
{
    return m_dir.path().toStdString() + "/";
}

std::string TempAppRoot::file(const std::string &relative) const
{
    return path() + relative;
}

void TempAppRoot::write(const std::string &relative, const std::string &content) const
{
    const QString name = QString::fromStdString(file(relative));
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write " + relative);
    f.write(content.data(), static_cast<qint64>(content.size()));
}

std::string TempAppRoot::read(const std::string &relative) const
{
    QFile f(QString::fromStdString(file(relative)));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll().toStdString();
}

bool TempAppRoot::exists(const std::string &relative) const
{
    return QFileInfo::exists(QString::fromStdString(file(relative)));
}

} // namespace qarvon::test
