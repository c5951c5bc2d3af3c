#pragma once

#include "snapshot/KtRestorePlan.h"
#include "snapshot/KtSnapshotLink.h"

#include <QObject>

// Sends a restore plan item after item, asynchronously, one PDU at a time;
// a refused item keeps the agent's reason and the next item goes on.
class KtRestoreRun : public QObject
{
    Q_OBJECT

public:
    KtRestoreRun(const KtSnapshotLink &link, KtRestorePlan &plan, QObject *parent = nullptr);
    ~KtRestoreRun() override;

    void start();
    // No further PDU is sent; items not yet sent stay pending.
    void stop();
    bool running() const { return m_running; }

    // Runs the whole plan in a local event loop (programs and tests).
    static void Run(const KtSnapshotLink &link, KtRestorePlan &plan);

signals:
    void itemFinished(int item);
    void finished();

private:
    void sendNext();
    void onAnswer(const KtPduResult &r);

    KtSnapshotLink m_link;
    KtRestorePlan &m_plan;
    int m_item = 0;
    int m_pdu = 0;
    quint64 m_ticket = 0;
    bool m_running = false;
};
