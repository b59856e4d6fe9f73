#include "ChildProcess.h"

#include <QDeadlineTimer>

namespace qarvon::test {

QString BuiltProgram(const QString &name)
{
    return QStringLiteral(QARVON_BIN_DIR) + QLatin1Char('/') + name;
}

ProcessResult RunProgram(const QString &program, const QStringList &args, int timeoutMs,
                         const QProcessEnvironment &env, const QByteArray &input)
{
    ProcessResult result;
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs)) {
        result.err = "cannot start " + program.toStdString();
        return result;
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    result.finished = p.waitForFinished(timeoutMs);
    if (!result.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    result.crashed = p.exitStatus() == QProcess::CrashExit;
    result.exitCode = p.exitCode();
    result.out = p.readAllStandardOutput().toStdString();
    result.err = p.readAllStandardError().toStdString();
    return result;
}

ChildProcess::ChildProcess(const QString &program, const QStringList &args,
                           const QProcessEnvironment &env)
    : m_process(std::make_unique<QProcess>())
{
    m_process->setProcessEnvironment(env);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->start(program, args);
    m_process->waitForStarted(10000);
}

ChildProcess::~ChildProcess()
{
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(5000);
    }
}

bool ChildProcess::started() const
{
    return m_process->state() != QProcess::NotRunning || m_process->exitStatus() == QProcess::NormalExit;
}

std::string ChildProcess::readLine(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const auto nl = m_buffer.find('\n');
        if (nl != std::string::npos) {
            std::string line = m_buffer.substr(0, nl);
            m_buffer.erase(0, nl + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        if (deadline.hasExpired() || m_process->state() == QProcess::NotRunning) {
            const QByteArray rest = m_process->readAllStandardOutput();
            m_buffer += rest.toStdString();
            m_seen += rest.toStdString();
            if (m_buffer.find('\n') == std::string::npos)
                return {};
            continue;
        }
        m_process->waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        const QByteArray chunk = m_process->readAllStandardOutput();
        m_buffer += chunk.toStdString();
        m_seen += chunk.toStdString();
    }
}

bool ChildProcess::waitForOutput(const std::string &text, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QByteArray chunk = m_process->readAllStandardOutput();
        m_buffer += chunk.toStdString();
        m_seen += chunk.toStdString();
        if (m_seen.find(text) != std::string::npos)
            return true;
        if (deadline.hasExpired() || m_process->state() == QProcess::NotRunning)
            return false;
        m_process->waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
}

bool ChildProcess::waitForExit(int timeoutMs)
{
    if (m_process->state() == QProcess::NotRunning)
        return true;
    return m_process->waitForFinished(timeoutMs);
}

int ChildProcess::exitCode() const
{
    return m_process->exitCode();
}

void ChildProcess::terminate()
{
    m_process->terminate();
}

qint64 ChildProcess::pid() const
{
    return m_process->processId();
}

std::string ChildProcess::allOutput()
{
    const QByteArray chunk = m_process->readAllStandardOutput();
    m_buffer += chunk.toStdString();
    m_seen += chunk.toStdString();
    return m_seen;
}

} // namespace qarvon::test
