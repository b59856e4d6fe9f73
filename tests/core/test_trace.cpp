#include "uTraceM.h"

#include "TempAppRoot.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>

#include <gtest/gtest.h>
#include <cstdlib>

using namespace qarvon;

TEST(Trace, WritesLinesOnlyWhenATargetIsNamed)
{
    test::TempAppRoot root;
    ::unsetenv("QARVON_TRACE");
    Trace("nobody listens");
    EXPECT_FALSE(root.exists("trace.log"));

    ::setenv("QARVON_TRACE", root.file("trace.log").c_str(), 1);
    Trace("Begin show");
    Trace("End show");
    ::unsetenv("QARVON_TRACE");
    const std::string log = root.read("trace.log");
    const auto begin = log.find("Begin show\n");
    const auto end = log.find("End show\n");
    ASSERT_NE(begin, std::string::npos) << log;
    ASSERT_NE(end, std::string::npos) << log;
    EXPECT_LT(begin, end);
}

TEST(Trace, ReachesAViewerListeningOnALocalSocket)
{
    const QString name = QStringLiteral("qarvon-test-viewer-%1").arg(QCoreApplication::applicationPid());
    QLocalServer viewer;
    ASSERT_TRUE(viewer.listen(name));
    ::setenv("QARVON_TRACE", ("socket:" + name.toStdString()).c_str(), 1);
    Trace("EndUPdate");
    ::unsetenv("QARVON_TRACE");

    ASSERT_TRUE(viewer.waitForNewConnection(5000));
    QLocalSocket *peer = viewer.nextPendingConnection();
    QByteArray received;
    while (!received.contains('\n') && (peer->bytesAvailable() > 0 || peer->waitForReadyRead(5000)))
        received += peer->readAll();
    EXPECT_TRUE(received.endsWith("EndUPdate\n")) << received.toStdString();

    // With the viewer gone, a line is dropped without an error.
    viewer.close();
    ::setenv("QARVON_TRACE", ("socket:" + name.toStdString()).c_str(), 1);
    Trace("dropped");
    ::unsetenv("QARVON_TRACE");
}
