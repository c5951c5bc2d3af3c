#pragma once

// Shared pieces of the binding tests: a message service that answers
// instead of a person, and the simulated agent with the session aimed at it.

#include "AgentProcess.h"

#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QList>
#include <QTemporaryDir>

// Records every box; questions are answered with Yes.
struct RecordedMessages : KtMessageService::Backend
{
    QList<KtMessageService::Message> shown;
    KtMessageService::Backend *previous;

    RecordedMessages() : previous(KtMessageService::SetBackend(this)) {}
    ~RecordedMessages() override { KtMessageService::SetBackend(previous); }

    bool Show(const KtMessageService::Message &m) override
    {
        shown.append(m);
        return true;
    }
};

// One agent per test executable; every request built afterwards talks v2c to it.
struct AgentSession
{
    AgentProcess agent;
    QTemporaryDir folder;

    bool start(const QStringList &extra = {})
    {
        if (!agent.start(extra))
            return false;
        KtSNMPSession::StartSession(folder.path());
        aimAt(agent.port());
        return true;
    }

    // The session puts its own Net-SNMP folders into the process
    // environment; an agent started later must not read its configuration
    // from there.
    static bool startClean(AgentProcess &a, const QStringList &extra)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("SNMPCONFPATH"));
        env.remove(QStringLiteral("SNMP_PERSISTENT_DIR"));
        a.process().setProcessEnvironment(env);
        return a.start(extra);
    }

    static void aimAt(quint16 port)
    {
        KtSNMPSession::Device().Host = QStringLiteral("127.0.0.1");
        KtSNMPSession::Device().AgentPort = port;
        KtSNMPSession::Security().Version = 1;
        KtSNMPSession::Security().ReadCommunity = QStringLiteral("cobalt");
        KtSNMPSession::Security().WriteCommunity = QStringLiteral("lantern");
        KtSNMPSession::SetTimeout(200);
    }

    void stop()
    {
        KtSNMPSession::StopSession();
        agent.stop();
    }

    // The agent's value of one instance, read by a request of our own.
    static QString value(const QString &oid, quint32 type)
    {
        KtSNMPRequest r;
        r.Vars.AppendVar(oid, QStringLiteral("probe"), type, KtAccess::ReadOnly);
        r.Vars.Kind = KtKind::MVT_SV;
        r.Fetch(true);
        return r.Vars.Get(0).Value;
    }
};
