#pragma once

#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotLink.h"

#include <QObject>
#include <QString>
#include <memory>

struct KtSNMPError;
class KtSNMPVarList;
struct KtSnapshotGroup;

// Reads every group of the snapshot schema from the switch into a snapshot,
// each table with the request engine's walk, asynchronously: the answers
// arrive through the event pump, so a window stays responsive and a cancel
// takes effect at once.
class KtSnapshotBackup : public QObject
{
    Q_OBJECT

public:
    explicit KtSnapshotBackup(const KtSnapshotLink &link, QObject *parent = nullptr);
    ~KtSnapshotBackup() override;

    // Starts reading; finished() follows, also for a failure.
    void start(const QString &moduleVersion);
    // Stops at once; finished(false, ...) follows from the event loop.
    void cancel();
    bool running() const { return m_running; }

    // The snapshot read so far; whole once finished(true) was emitted.
    const KtSnapshot &snapshot() const { return m_snapshot; }
    int groupsDone() const { return m_group; }
    static int GroupCount();

    // Runs a whole backup in a local event loop (programs without a window).
    // False with the reason in error.
    static bool Read(const KtSnapshotLink &link, const QString &moduleVersion, KtSnapshot &out, QString *error);

signals:
    void progress(int groupsDone, int groupCount, const QString &menuPath);
    void finished(bool ok, const QString &error);

private:
    struct Private;
    static void answer(void *self, KtSNMPError *result, KtSNMPVarList *vars);
    void onAnswer(const KtSNMPError &result);
    void nextGroup();
    void readNext(bool restart);
    void probe();
    void end(bool ok, const QString &error);

    KtSnapshotLink m_link;
    KtSnapshot m_snapshot;
    std::unique_ptr<Private> d;
    int m_group = -1;   // -1 while the header is read
    bool m_running = false;
};
