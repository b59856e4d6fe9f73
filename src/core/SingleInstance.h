#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QLocalServer;

namespace qarvon {

// One running instance per user and app root. The first start holds a lock
// (released by the kernel when the process ends, so a killed instance never
// blocks a new start) and listens on a local socket in a folder private to
// the user. A later start hands its text over and ends.
class TSingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit TSingleInstance(const std::string &appRoot, QObject *parent = nullptr);
    ~TSingleInstance() override;

    // True when this process is the first instance (it now holds the lock).
    bool TryBecomePrimary();
    // Starts receiving hand-offs; only for the first instance.
    bool Listen();

    // The receiver runs on the UI thread before the sender is acknowledged,
    // as a synchronous hand-off would.
    void SetReceiver(std::function<void(const std::string &)> receiver);

    // From a later start: delivers text to the first instance and waits for its
    // acknowledgement. False when no first instance answered within timeoutMs.
    bool SendToPrimary(const std::string &text, int timeoutMs = 5000) const;

    // The socket's full path and the lock file's path, for tests and diagnostics.
    QString ServerName() const { return m_serverName; }
    QString LockPath() const { return m_lockPath; }

private:
    void onNewConnection();

    QString m_serverName;
    QString m_lockPath;
    int m_lockFd = -1;
    std::unique_ptr<QLocalServer> m_server;
    std::function<void(const std::string &)> m_receiver;
};

// The largest hand-off accepted; anything longer is refused unread.
inline constexpr int kMaxHandOffBytes = 64 * 1024;

} // namespace qarvon
