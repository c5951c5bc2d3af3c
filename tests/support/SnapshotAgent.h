#pragma once

// The simulated agent with the engine's session started and a snapshot
// link aimed at it, for the snapshot tests. Header only: its users link
// qsx_snapshot.

#include "support/AgentProcess.h"

#include "snapshot/KtSnapshotLink.h"
#include "snmp/KtSNMPSession.h"

#include <QTemporaryDir>

class SnapshotAgent
{
public:
    bool start()
    {
        if (!agent.start())
            return false;
        KtSNMPSession::StartSession(session.path());
        link = linkTo(agent.port());
        return true;
    }
    void stop() { KtSNMPSession::StopSession(); }

    // v2c with the agent's communities at port.
    static KtSnapshotLink linkTo(quint16 port)
    {
        KtSnapshotLink l;
        l.target.host = QStringLiteral("127.0.0.1");
        l.target.port = port;
        l.target.version = 1;
        l.target.timeout = 300;
        l.readCommunity = QStringLiteral("cobalt");
        l.writeCommunity = QStringLiteral("lantern");
        return l;
    }

    AgentProcess agent;
    QTemporaryDir session;
    KtSnapshotLink link;
};
