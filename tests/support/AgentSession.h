#pragma once

// The simulated agent with the engine's session aimed at it, for the tests
// of the layers above the engine. Header only: its users link qsx_snmp.

#include "support/AgentProcess.h"
#include "support/EnginePump.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QTemporaryDir>

class AgentSession
{
public:
    // Starts the agent, then the session (which resets its records) aimed at it.
    bool start(const QStringList &extra = {})
    {
        if (!agent.start(extra))
            return false;
        KtSNMPSession::StartSession(folder.path());
        aimAt(agent.port());
        return true;
    }

    void stop()
    {
        KtSNMPSession::StopSession();
        agent.stop();
    }

    // Every request built afterwards talks v2c to 127.0.0.1:port with the
    // agent's communities and a short time-out.
    static void aimAt(quint16 port)
    {
        KtSNMPSession::Device().Host = QStringLiteral("127.0.0.1");
        KtSNMPSession::Device().AgentPort = port;
        KtSNMPSession::Security().Version = 1;
        KtSNMPSession::Security().ReadCommunity = QStringLiteral("cobalt");
        KtSNMPSession::Security().WriteCommunity = QStringLiteral("lantern");
        KtSNMPSession::SetTimeout(200);
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

    // A read of our own from the agent at port, answered, and the pump run
    // on: the agent answers in the order it is asked, so by then every
    // exchange sent to it earlier has its answer, handed out. After it a
    // check that nothing more arrived holds on a machine of any speed.
    static bool fence(quint16 port)
    {
        KtSNMPRequest r;
        r.AgentPort = port;
        r.Vars.AppendVar(QStringLiteral("1.3.6.1.2.1.1.3.0"), QStringLiteral("fence"), KtType::TimeTicks,
                         KtAccess::ReadOnly);
        r.Vars.Kind = KtKind::MVT_SV;
        try {
            r.Fetch(true);
        } catch (const KtException &) {
            return false;
        }
        return TestSupport::pumpTicked();
    }

    AgentProcess agent;
    QTemporaryDir folder;
};
