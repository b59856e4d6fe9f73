#include "SingleInstance.h"

#include "ChildProcess.h"
#include "IniFile.h"
#include "TempAppRoot.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <thread>

using namespace qarvon;
using qarvon::test::TempAppRoot;

namespace {

// Runs the event loop until done() holds or the deadline passes.
template<typename Pred>
bool pumpUntil(Pred done, int timeoutMs = 20000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

bool contains(const TempAppRoot &root, const char *file, const std::string &text)
{
    return root.read(file).find(text) != std::string::npos;
}

QProcessEnvironment programEnv(const TempAppRoot &root)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QARVON_TRACE"), QString::fromStdString(root.file("trace.log")));
    return env;
}

bool haveGuiProgram()
{
    return QFileInfo(test::BuiltProgram(QStringLiteral("qarvon"))).isExecutable();
}

} // namespace

TEST(SingleInstance, OneLockPerRootAndTheTextArrivesWhole)
{
    TempAppRoot root;
    TSingleInstance first(root.path());
    TSingleInstance second(root.path());
    TempAppRoot otherRoot;
    TSingleInstance elsewhere(otherRoot.path());

    ASSERT_TRUE(first.TryBecomePrimary());
    EXPECT_FALSE(second.TryBecomePrimary());
    EXPECT_TRUE(elsewhere.TryBecomePrimary()) << "another app root is another instance";

    std::vector<std::string> received;
    first.SetReceiver([&received](const std::string &text) { received.push_back(text); });
    ASSERT_TRUE(first.Listen());

    const std::string text = "CALLORVELLINKER:歌曲 123,0,0";
    bool delivered = false;
    std::atomic<bool> finished{false};
    std::thread sender([&] {
        delivered = second.SendToPrimary(text);
        finished = true;
    });
    EXPECT_TRUE(pumpUntil([&] { return finished.load(); }));
    sender.join();
    EXPECT_TRUE(delivered);
    EXPECT_EQ(received, std::vector<std::string>{text});
}

TEST(SingleInstance, SenderGivesUpWhenNobodyAnswers)
{
    TempAppRoot root;
    TSingleInstance holder(root.path());
    ASSERT_TRUE(holder.TryBecomePrimary()); // holds the lock but never listens
    TSingleInstance later(root.path());
    EXPECT_FALSE(later.TryBecomePrimary());
    EXPECT_FALSE(later.SendToPrimary("lost", 300));
}

TEST(SingleInstance, OversizedHandOffIsRefused)
{
    TempAppRoot root;
    TSingleInstance first(root.path());
    ASSERT_TRUE(first.TryBecomePrimary());
    ASSERT_TRUE(first.Listen());
    TSingleInstance second(root.path());
    EXPECT_FALSE(second.SendToPrimary(std::string(kMaxHandOffBytes + 1, 'x'), 300));
}

TEST(SingleInstance, TwoProgramsHandOverAndEndInOrder)
{
    if (!haveGuiProgram())
        GTEST_SKIP() << "the windowed program is not built";
    TempAppRoot root;
    const QString program = test::BuiltProgram(QStringLiteral("qarvon"));
    const QStringList rootArgs{QStringLiteral("--root"), QString::fromStdString(root.path())};

    test::ChildProcess first(program, rootArgs, programEnv(root));
    ASSERT_TRUE(pumpUntil([&] { return contains(root, "trace.log", "hand-off: \n"); }))
        << "the first instance hands itself its own (empty) argument";

    const test::ProcessResult second = test::RunProgram(
        program, rootArgs + QStringList{QStringLiteral("callorvellinker:T-42,0,0")}, 20000, programEnv(root));
    EXPECT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(pumpUntil([&] { return contains(root, "trace.log", "hand-off: T-42,0,0\n"); }));
    EXPECT_TRUE(contains(root, "trace.log", "download request: T-42\n"));

    // A flag of 1 reaches the window but starts nothing.
    test::RunProgram(program, rootArgs + QStringList{QStringLiteral("T-43,0,1")}, 20000, programEnv(root));
    EXPECT_TRUE(pumpUntil([&] { return contains(root, "trace.log", "hand-off: T-43,0,1\n"); }));
    EXPECT_FALSE(contains(root, "trace.log", "download request: T-43"));

    first.terminate();
    ASSERT_TRUE(first.waitForExit(20000));
    EXPECT_EQ(first.exitCode(), 0);
    TIniFile ini(root.file("Data/Config.ini"));
    EXPECT_TRUE(ini.SectionExists("BaseSet"));
    EXPECT_TRUE(ini.SectionExists("DLSet"));
    EXPECT_EQ(ini.ReadString("peerInfo", "localPeerId", "").size(), 36u);
}

TEST(SingleInstance, KilledInstanceDoesNotBlockTheNextStart)
{
    if (!haveGuiProgram())
        GTEST_SKIP() << "the windowed program is not built";
    TempAppRoot root;
    const QString program = test::BuiltProgram(QStringLiteral("qarvon"));
    const QStringList rootArgs{QStringLiteral("--root"), QString::fromStdString(root.path())};
    {
        test::ChildProcess doomed(program, rootArgs, programEnv(root));
        ASSERT_TRUE(pumpUntil([&] { return contains(root, "trace.log", "hand-off: \n"); }));
        ::kill(static_cast<pid_t>(doomed.pid()), SIGKILL);
        ASSERT_TRUE(doomed.waitForExit(10000));
    }
    test::ChildProcess next(program, rootArgs + QStringList{QStringLiteral("CALLORVELLINKER:77")},
                            programEnv(root));
    EXPECT_TRUE(pumpUntil([&] { return contains(root, "trace.log", "download request: 77\n"); }))
        << "the new start runs as the first instance";
    next.process().kill();
}

TEST(SingleInstance, ForeignRuntimeFolderIsNotUsed)
{
    TempAppRoot runtime;
    TempAppRoot elsewhere;
    // Someone put a link where our private folder would be.
    ASSERT_EQ(::symlink(elsewhere.path().c_str(), (runtime.path() + "qarvon").c_str()), 0);
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
    TSingleInstance instance(runtime.path());
    qputenv("XDG_RUNTIME_DIR", old);
    EXPECT_FALSE(instance.ServerName().startsWith(QString::fromStdString(runtime.path())))
        << instance.ServerName().toStdString();

    // A plain folder of ours with loose permissions is tightened and used.
    TempAppRoot runtime2;
    ASSERT_EQ(::mkdir((runtime2.path() + "qarvon").c_str(), 0777), 0);
    ::chmod((runtime2.path() + "qarvon").c_str(), 0777);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime2.path()));
    TSingleInstance second(runtime2.path());
    qputenv("XDG_RUNTIME_DIR", old);
    EXPECT_TRUE(second.ServerName().startsWith(QString::fromStdString(runtime2.path() + "qarvon/")));
    struct stat st{};
    ASSERT_EQ(::stat((runtime2.path() + "qarvon").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}
