#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One running window per title. The first process for a title holds a
// lock file and a local server named from a hash of the title (the host
// part may hold any character); a later process for the same title asks
// it to come to the front and then ends. A lock left by a crashed
// process is recognised by its dead process id and taken over.
//
// The owner answers only once it knows how its own start ends: a request
// that arrives while it is still starting (a slow host look-up, an agent
// that does not answer) is held until SetReady() or SetFailed(). A later
// start therefore waits for the owner's whole start-up, and takes the
// title over when the owner ends without answering.
class KtSingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        First,        // this process owns the title and listens
        Activated,    // the owner has its window and was asked to raise it
        OwnerFailed,  // the owner's start failed and is showing why
        NoAnswer,     // the owner neither answered nor ended within the wait
        Unguarded,    // no title, or no lock could be had: start without a guard
    };

    // Longer than any start-up: host look-up, engine discovery and the
    // first synchronous read, each with its own time-outs.
    static constexpr int StartWaitMs = 120000;

    explicit KtSingleInstance(const QString &title, QObject *parent = nullptr);
    ~KtSingleInstance() override;

    // Waits at most waitMs for a running owner to answer or to end.
    Claim Acquire(int waitMs = StartWaitMs);

    // The owner's window is up: held and later requests raise it.
    void SetReady();
    // The owner's start failed and it is showing why: held and later
    // requests are told so.
    void SetFailed();

    const QString &Title() const { return m_title; }

    // Server name for title: the same for every process of this user.
    static QString ServerName(const QString &title);
    // Where the owner's lock file lies.
    static QString LockPath(const QString &title);

signals:
    // A later start for the same title wants this window in front.
    void activateRequested();

private:
    enum class State { Starting, Ready, Failed };
    enum class Answer { Raised, Failed, Gone, TimeUp };

    Answer askOwner(const QString &name, int waitMs);
    bool listen(const QString &name);
    void serveConnection(QLocalSocket *socket);
    void answer(QLocalSocket *socket);
    void answerHeld();
    QByteArray request() const;

    QString m_title;
    State m_state = State::Starting;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
    QList<QPointer<QLocalSocket>> m_held;
};
