#include "shell/KtSingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#include <utility>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr qint64 MaxRequest = 4096;
constexpr int RetryMs = 100;
constexpr int SilentClientMs = 10000;
const QByteArray RaisedReply = QByteArrayLiteral("raised\n");
const QByteArray FailedReply = QByteArrayLiteral("failed\n");

QByteArray userKey()
{
#ifdef Q_OS_UNIX
    return QByteArray::number(qulonglong(::getuid()));
#else
    return qEnvironmentVariable("USERNAME").toUtf8();
#endif
}

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
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

QString KtSingleInstance::LockPath(const QString &title)
{
    return QDir(QDir::tempPath()).filePath(ServerName(title) + QStringLiteral(".lock"));
}

QByteArray KtSingleInstance::request() const
{
    return QByteArrayLiteral("raise ") + m_title.toUtf8().toBase64() + '\n';
}

KtSingleInstance::Claim KtSingleInstance::Acquire(int waitMs)
{
    if (m_server)
        return Claim::First;
    if (m_title.isEmpty())
        return Claim::Unguarded;
    const QString name = ServerName(m_title);
    m_lock = std::make_unique<QLockFile>(LockPath(m_title));
    // Held for the life of the process; only a dead owner makes it stale.
    m_lock->setStaleLockTime(0);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_lock->tryLock(0)) {
            // We own the title, so a socket of that name is a crashed owner's.
            QLocalServer::removeServer(name);
            return listen(name) ? Claim::First : Claim::Unguarded;
        }
        if (m_lock->error() != QLockFile::LockFailedError) {
            qWarning("Single-instance lock %s not usable; starting without it", qPrintable(m_lock->fileName()));
            return Claim::Unguarded;
        }
        const int left = waitMs - int(clock.elapsed());
        const Answer answer = left > 0 ? askOwner(name, left) : Answer::TimeUp;
        switch (answer) {
        case Answer::Raised: return Claim::Activated;
        case Answer::Failed: return Claim::OwnerFailed;
        case Answer::TimeUp:
            qWarning("The running window for \"%s\" does not answer", qPrintable(m_title));
            return Claim::NoAnswer;
        case Answer::Gone:
            // Ended (its lock is free or stale now), or not listening yet.
            pause(RetryMs);
            break;
        }
    }
}

bool KtSingleInstance::listen(const QString &name)
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        qWarning("Cannot listen on %s: %s", qPrintable(name), qPrintable(m_server->errorString()));
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection())
            serveConnection(socket);
    });
    return true;
}

void KtSingleInstance::serveConnection(QLocalSocket *socket)
{
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    // A client that says nothing is not kept; one that asked waits for the answer.
    auto *silent = new QTimer(socket);
    silent->setSingleShot(true);
    connect(silent, &QTimer::timeout, socket, [socket] { socket->abort(); });
    silent->start(SilentClientMs);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket, silent] {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > MaxRequest)
                socket->abort();
            return;
        }
        const QByteArray line = socket->readLine(MaxRequest);
        if (line != request() || !silent->isActive()) {
            socket->abort();
            return;
        }
        silent->stop();
        answer(socket);
    });
}

void KtSingleInstance::answer(QLocalSocket *socket)
{
    switch (m_state) {
    case State::Starting:
        m_held.append(socket);
        return;
    case State::Ready:
        socket->write(RaisedReply);
        socket->flush();
        emit activateRequested();
        return;
    case State::Failed:
        socket->write(FailedReply);
        socket->flush();
        return;
    }
}

void KtSingleInstance::answerHeld()
{
    const QList<QPointer<QLocalSocket>> held = std::exchange(m_held, {});
    for (const QPointer<QLocalSocket> &socket : held)
        if (socket)
            answer(socket);
}

void KtSingleInstance::SetReady()
{
    m_state = State::Ready;
    answerHeld();
}

void KtSingleInstance::SetFailed()
{
    m_state = State::Failed;
    answerHeld();
}

KtSingleInstance::Answer KtSingleInstance::askOwner(const QString &name, int waitMs)
{
    QLocalSocket socket;
    QEventLoop loop;
    bool done = false;
    Answer result = Answer::TimeUp;
    QByteArray reply;
    const auto finish = [&](Answer a) {
        if (done)
            return;
        done = true;
        result = a;
        loop.quit();
    };

    connect(&socket, &QLocalSocket::connected, &loop, [&] { socket.write(request()); });
    connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        reply += socket.read(MaxRequest);
        if (!reply.contains('\n'))
            return;
        // An owner that says something else is not one we can wait for.
        finish(reply == RaisedReply ? Answer::Raised : reply == FailedReply ? Answer::Failed : Answer::TimeUp);
    });
    // Refused, not there, or closed before answering: the owner is not listening (yet) or has ended.
    connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] { finish(Answer::Gone); });
    connect(&socket, &QLocalSocket::disconnected, &loop, [&] { finish(Answer::Gone); });
    QTimer::singleShot(waitMs, &loop, [&] { finish(Answer::TimeUp); });

    socket.connectToServer(name);
    if (!done)
        loop.exec();
    socket.abort();
    return result;
}
