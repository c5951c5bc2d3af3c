#include "shell/KtSingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr qint64 MaxRequest = 4096;
const QByteArray Reply = QByteArrayLiteral("raised\n");

QByteArray userKey()
{
#ifdef Q_OS_UNIX
    return QByteArray::number(qulonglong(::getuid()));
#else
    return qEnvironmentVariable("USERNAME").toUtf8();
#endif
}

} // namespace

KtSingleInstance::KtSingleInstance(const QString &title, QObject *parent)
    : QObject(parent)
    , m_title(title)
{
}

KtSingleInstance::~KtSingleInstance()
{
    if (m_server)
        m_server->close();
}

QString KtSingleInstance::ServerName(const QString &title)
{
    // Users share the temporary folder: the user is part of the key.
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(userKey());
    hash.addData(QByteArrayView("\n"));
    hash.addData(title.toUtf8());
    return QStringLiteral("qsx4810-") + QString::fromLatin1(hash.result().toHex().left(32));
}

QByteArray KtSingleInstance::request() const
{
    return QByteArrayLiteral("raise ") + m_title.toUtf8().toBase64() + '\n';
}

KtSingleInstance::Claim KtSingleInstance::Acquire(int waitMs)
{
    if (m_title.isEmpty() || m_server)
        return m_server ? Claim::First : Claim::Unguarded;
    const QString name = ServerName(m_title);
    m_lock = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(name + QStringLiteral(".lock")));
    // Held for the life of the process; only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            return activateOwner(name, waitMs);
        qWarning("Single-instance lock %s not usable; starting without it", qPrintable(m_lock->fileName()));
        return Claim::Unguarded;
    }

    // We own the title, so a socket of that name is a crashed owner's.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        qWarning("Cannot listen on %s: %s", qPrintable(name), qPrintable(m_server->errorString()));
        delete m_server;
        m_server = nullptr;
        return Claim::Unguarded;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            serveConnection(socket);
    });
    return Claim::First;
}

void KtSingleInstance::serveConnection(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > MaxRequest)
                socket->abort();
            return;
        }
        const QByteArray line = socket->readLine(MaxRequest);
        if (line != request()) {
            socket->abort();
            return;
        }
        socket->write(Reply);
        socket->flush();
        emit activateRequested();
    });
    // A client that says nothing is not kept.
    QTimer::singleShot(10000, socket, [socket] { socket->abort(); });
}

KtSingleInstance::Claim KtSingleInstance::activateOwner(const QString &name, int waitMs)
{
    // The owner may be between taking the lock and listening: retry until
    // it answers or the time is up.
    QLocalSocket socket;
    QEventLoop loop;
    QTimer retry;
    retry.setSingleShot(true);
    retry.setInterval(100);
    bool answered = false;
    QByteArray reply;

    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(request()); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        reply += socket.read(MaxRequest);
        if (reply.contains('\n')) {
            answered = reply == Reply;
            loop.quit();
        }
    });
    connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] {
        if (!reply.contains('\n'))
            retry.start();
    });
    connect(&retry, &QTimer::timeout, &loop, [&] {
        socket.abort();
        socket.connectToServer(name);
    });
    QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);

    socket.connectToServer(name);
    loop.exec();
    socket.abort();
    if (answered)
        return Claim::Activated;
    qWarning("The running window for \"%s\" does not answer; starting another", qPrintable(m_title));
    return Claim::Unguarded;
}
