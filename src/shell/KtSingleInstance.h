#pragma once

#include <QObject>
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
class KtSingleInstance : public QObject
{
    Q_OBJECT

public:
    enum class Claim {
        First,      // this process owns the title and listens
        Activated,  // another process owns it and was asked to raise its window
        Unguarded,  // no title, or the running owner could not be reached: start without a guard
    };

    explicit KtSingleInstance(const QString &title, QObject *parent = nullptr);
    ~KtSingleInstance() override;

    // Waits at most waitMs for a running owner to answer.
    Claim Acquire(int waitMs = 5000);

    const QString &Title() const { return m_title; }

    // Server name for title: the same for every process of this user.
    static QString ServerName(const QString &title);

signals:
    // A later start for the same title wants this window in front.
    void activateRequested();

private:
    Claim activateOwner(const QString &name, int waitMs);
    void serveConnection(QLocalSocket *socket);
    QByteArray request() const;

    QString m_title;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer *m_server = nullptr;
};
