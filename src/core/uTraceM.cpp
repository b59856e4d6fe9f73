#include "uTraceM.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocalSocket>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace qarvon {

void Trace(const std::string &text)
{
    const char *target = std::getenv("QARVON_TRACE");
    if (!target || !*target)
        return;

    static std::mutex lock;
    const std::lock_guard<std::mutex> guard(lock);

    const std::string where(target);
    const std::string line = QDateTime::currentDateTime()
                                 .toString(QStringLiteral("HH:mm:ss.zzz "))
                                 .toStdString()
                             + text + "\n";
    if (where.rfind("socket:", 0) == 0) {
        // A viewer that is not listening is simply not there; try again next time.
        QLocalSocket socket;
        socket.connectToServer(QString::fromStdString(where.substr(7)));
        if (socket.waitForConnected(100)) {
            socket.write(line.data(), static_cast<qint64>(line.size()));
            socket.waitForBytesWritten(100);
            socket.disconnectFromServer();
        }
        return;
    }
    if (FILE *f = std::fopen(where.c_str(), "a")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
}

} // namespace qarvon
