#pragma once

#include "snmp/KtBulkWalk.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPVarList.h"
#include "snmp/KtVarBind.h"
#include "snmp/KtWriteObserver.h"

#include <QHash>

#include <QList>
#include <QString>
#include <QStringList>

struct KtPduResult;
struct KtSnmpTarget;

// Called with the outcome of an asynchronous operation, on the GUI thread,
// never inside another such callback.
using KtSNMPCallback = void (*)(void *userData, KtSNMPError *result, KtSNMPVarList *vars);

// Reads and writes one variable list on the device.
//
// Fetch/Store block the caller until the answer or the time-out. The
// asynchronous forms return at once and report through the callback from
// the event pump (SnmpEventProcessor); answers that arrive while a
// synchronous operation or another callback is running are kept and
// delivered after it, never inside it. A table is handed out one row per
// fetch. SNMPv1 walks it with one get-next exchange per row; SNMPv2c and v3
// read ahead with get-bulk (KtBulkWalk) and give the very same rows, falling
// back to get-next for good when the agent refuses get-bulk.
//
// Pending counts asynchronous exchanges not yet answered; it drops before
// the callback runs, so a callback may start the next exchange or delete
// the request. Once Alive is cleared (the destructor does it) nothing is
// sent and no callback is called; the destructor waits at most
// DestroyWaitMs for outstanding answers and then lets them go.
//
// The asynchronous forms need the pump, started by KtSNMPSession::StartSession.
class KtSNMPRequest
{
public:
    KtSNMPRequest();
    explicit KtSNMPRequest(const KtSNMPVarList &vars);
    virtual ~KtSNMPRequest();

    KtSNMPRequest(const KtSNMPRequest &) = delete;
    KtSNMPRequest &operator=(const KtSNMPRequest &) = delete;

    static constexpr int DestroyWaitMs = 6000;

    bool UseGetNext = false;
    // Get-bulk repetitions of a table walk: -1 chosen from the answer's
    // estimated size, 0 get-next only, n at most n.
    int BulkRepetitions = -1;
    quint32 Timeout = 100;  // units of 10 ms
    quint32 Retries = 1;

    QString Host;
    quint16 AgentPort = 161;
    QString ContextEngineID;
    QString ContextName;
    quint8 Version = 0;
    QString ReadCommunity;
    QString WriteCommunity;
    qint32 SecurityModel = 1;
    qint32 SecurityLevel = 1;
    QString SecurityName;
    QString AuthPassword;
    QString PrivPassword;
    qint32 AuthProtocol = 1;
    qint32 PrivProtocol = 1;

    KtSNMPVarList Vars;
    QString Condition;
    bool Alive = true;
    int Pending = 0;

    void LoadSettings();

    // True when a table row was read and more may follow.
    bool Fetch(bool restart = true);
    void FetchAsync(KtSNMPCallback callback, void *userData, bool restart = true);
    // columnList: comma-separated positions; values[k] for the k-th listed position.
    bool Store(const QString &columnList = {}, const QStringList &values = {});
    void StoreAsync(KtSNMPCallback callback, void *userData, const QString &columnList = {},
                    const QStringList &values = {});

    bool MatchesCondition();
    bool Evaluate(const QString &text);

    QString BaseOid(int i) const;
    // A received value as descriptor i shows it (option label where it has one).
    QString DisplayText(int i, const KtVarBind &vb) const;

    virtual QString Substitute(const QString &text, bool quote, QChar marker);
    // Whole-row forms: the index columns from an instance suffix, and back.
    virtual void DecodeIndex(const QString &suffix);
    virtual QString EncodeIndex();
    virtual void TakeValue(int i, const KtVarBind &vb);
    virtual void PutValue(int i, KtVarBind &vb);
    virtual void ComputeValue(int i, bool afterRead);
    virtual bool EvaluateCondition(const QString &text);
    virtual bool ColumnEnded(const QString &base, const QString &previous, const QString &current);

private:
    struct ReadOutcome
    {
        int status = 0;  // of the exchange, 0 when the answer was taken
        bool more = false;
    };

    KtSnmpTarget target(bool forWrite) const;
    QList<KtVarBind> readBinds(bool restart, bool &getNext);
    // written: the descriptor of each varbind.
    QList<KtVarBind> prepareWrite(const QString &columnList, const QStringList &values, QList<int> *written = nullptr);
    // What the write observer is told of a set about to go out.
    QList<KtWrittenObject> noticeWrite(const QList<KtVarBind> &vbs, const QList<int> &vars);
    ReadOutcome takeAnswer(const KtPduResult &answer);
    void asyncAnswer(quint64 ticket, bool read, KtSNMPCallback callback, void *userData, const KtPduResult &answer);
    quint64 sendAsync(bool read, const KtSnmpTarget &target, int command, const QList<KtVarBind> &vbs,
                      KtSNMPCallback callback, void *userData);

    enum class BulkVerdict { Again, Fallback, Fail };
    bool bulkWalk(const QList<KtVarBind> &places) const;
    void startBulk(bool restart);
    KtPduResult fetchBulk(const QList<KtVarBind> &places);
    BulkVerdict judgeBulk(const KtBulkWalk::Request &request, const KtPduResult &answer);
    void stepBulkAsync(const QList<KtVarBind> &places, KtSNMPCallback callback, void *userData);
    void postAsync(const KtPduResult &answer, KtSNMPCallback callback, void *userData);

    QList<quint64> m_tickets;
    KtBulkWalk m_bulk;
    bool m_bulkRefused = false;
    // For the write observer only: the writable objects as last read, and
    // the sets on their way, by ticket.
    QHash<QString, QString> m_lastRead;
    QHash<quint64, QList<KtWrittenObject>> m_writes;
};
