#include "SingleInstance.h"

#include "uTraceM.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qarvon {

namespace {

constexpr char kAck = 'A';

// True when path is a real folder (not a link) of this user that nobody else can enter.
bool isPrivateFolder(const QString &path)
{
    struct stat st{};
    const QByteArray p = QFile::encodeName(path);
    if (::lstat(p.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid())
        return false;
    if ((st.st_mode & 077) != 0 && ::chmod(p.constData(), 0700) != 0)
        return false;
    return true;
}

// A folder only this user can enter: the runtime folder when there is one.
// A shared temporary folder may hold a folder of that name made by someone
// else to listen in; then the home folder is used instead.
QString privateFolder()
{
    QStringList candidates;
    if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        candidates << QDir::cleanPath(QString::fromLocal8Bit(runtime) + QStringLiteral("/qarvon"));
    candidates << QDir::tempPath() + QStringLiteral("/qarvon-") + QString::number(::getuid());
    candidates << QDir::homePath() + QStringLiteral("/.cache/qarvon-run");
    for (const QString &folder : candidates) {
        ::mkdir(QFile::encodeName(QFileInfo(folder).absolutePath()).constData(), 0700);
        ::mkdir(QFile::encodeName(folder).constData(), 0700);
        if (isPrivateFolder(folder))
            return folder;
    }
    return candidates.back();
}

bool readExactly(QLocalSocket &socket, char *out, qint64 size, QDeadlineTimer deadline)
{
    qint64 got = 0;
    while (got < size) {
        if (socket.bytesAvailable() == 0
            && !socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            return false;
        const qint64 n = socket.read(out + got, size - got);
        if (n < 0)
            return false;
        got += n;
        if (deadline.hasExpired() && got < size)
            return false;
    }
    return true;
}

} // namespace

TSingleInstance::TSingleInstance(const std::string &appRoot, QObject *parent)
    : QObject(parent)
{
    const QByteArray key = QCryptographicHash::hash(QByteArray::fromStdString(appRoot),
                                                    QCryptographicHash::Sha1)
                               .toHex()
                               .left(16);
    const QString folder = privateFolder();
    m_serverName = folder + QStringLiteral("/instance-") + QString::fromLatin1(key);
    m_lockPath = m_serverName + QStringLiteral(".lock");
}

TSingleInstance::~TSingleInstance()
{
    if (m_server)
        m_server->close();
    if (m_lockFd >= 0)
        ::close(m_lockFd);
}

bool TSingleInstance::TryBecomePrimary()
{
    if (m_lockFd >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_lockFd = fd;
    return true;
}

bool TSingleInstance::Listen()
{
    if (m_lockFd < 0)
        return false;
    // We hold the lock, so a socket file left here belongs to a dead instance.
    QLocalServer::removeServer(m_serverName);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server.get(), &QLocalServer::newConnection, this, &TSingleInstance::onNewConnection);
    return m_server->listen(m_serverName);
}

void TSingleInstance::SetReceiver(std::function<void(const std::string &)> receiver)
{
    m_receiver = std::move(receiver);
}

void TSingleInstance::onNewConnection()
{
    while (QLocalSocket *raw = m_server->nextPendingConnection()) {
        QPointer<QLocalSocket> socket(raw);
        connect(raw, &QLocalSocket::disconnected, raw, &QObject::deleteLater);
        // Read the whole message without blocking the loop: it arrives in one
        // small burst; a peer that sends nothing is dropped after a while.
        auto *buffer = new QByteArray;
        connect(raw, &QObject::destroyed, [buffer] { delete buffer; });
        auto handle = [this, socket, buffer] {
            if (!socket)
                return;
            buffer->append(socket->readAll());
            if (buffer->size() < 4)
                return;
            const quint32 length = qFromBigEndian<quint32>(buffer->constData());
            if (length > static_cast<quint32>(kMaxHandOffBytes)) {
                Trace("hand-off refused: too long");
                socket->abort();
                return;
            }
            if (static_cast<quint32>(buffer->size()) < 4 + length)
                return;
            const std::string text = buffer->mid(4, static_cast<int>(length)).toStdString();
            buffer->clear();
            if (m_receiver)
                m_receiver(text);
            if (socket) {
                socket->write(&kAck, 1);
                socket->flush();
                socket->disconnectFromServer();
            }
        };
        connect(raw, &QLocalSocket::readyRead, this, handle);
        QTimer::singleShot(10000, raw, [socket] {
            if (socket)
                socket->abort();
        });
        handle();
    }
}

bool TSingleInstance::SendToPrimary(const std::string &text, int timeoutMs) const
{
    if (text.size() > static_cast<std::size_t>(kMaxHandOffBytes))
        return false;
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    // The first instance may still be starting: try again until the deadline.
    for (;;) {
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(static_cast<int>(std::max<qint64>(1, std::min<qint64>(500, deadline.remainingTime())))))
            break;
        socket.abort();
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    char header[4];
    qToBigEndian<quint32>(static_cast<quint32>(text.size()), header);
    socket.write(header, 4);
    socket.write(text.data(), static_cast<qint64>(text.size()));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    char ack = 0;
    return readExactly(socket, &ack, 1, deadline) && ack == kAck;
}

} // namespace qarvon
