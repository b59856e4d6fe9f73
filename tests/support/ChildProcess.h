#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <memory>
#include <string>

namespace qarvon::test {

// Full path of a program built by this project.
QString BuiltProgram(const QString &name);

struct ProcessResult
{
    bool finished = false; // false: it was still running at the time-out and was killed
    int exitCode = -1;
    bool crashed = false;
    std::string out;
    std::string err;
};

// Runs a program to its end; kills it after timeoutMs.
ProcessResult RunProgram(const QString &program, const QStringList &args, int timeoutMs = 30000,
                         const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                         const QByteArray &input = {});

// A program running beside the test; killed when the object goes away.
class ChildProcess
{
public:
    ChildProcess(const QString &program, const QStringList &args,
                 const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());
    ~ChildProcess();

    bool started() const;
    // Waits until a whole line of standard output is there and returns it ("" on time-out).
    std::string readLine(int timeoutMs = 10000);
    // Waits until the output so far contains text.
    bool waitForOutput(const std::string &text, int timeoutMs = 10000);
    bool waitForExit(int timeoutMs = 10000);
    int exitCode() const;
    void terminate(); // SIGTERM
    qint64 pid() const;
    std::string allOutput();

    QProcess &process() { return *m_process; }

private:
    std::unique_ptr<QProcess> m_process;
    std::string m_buffer;
    std::string m_seen;
};

} // namespace qarvon::test
