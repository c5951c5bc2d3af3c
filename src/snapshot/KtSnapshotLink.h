#pragma once

#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"

// Where the switch is and how to talk to it, with the two communities kept
// apart so that reads never travel with the write community.
struct KtSnapshotLink
{
    KtSnmpTarget target;   // community unused
    QString readCommunity = QStringLiteral("public");
    QString writeCommunity = QStringLiteral("private");

    // The switch and settings of the module's one session.
    static KtSnapshotLink FromSession()
    {
        KtSnapshotLink l;
        const KtSNMPSecurity &s = KtSNMPSession::Security();
        l.target.host = KtSNMPSession::Device().Host;
        l.target.port = KtSNMPSession::Device().AgentPort;
        l.target.version = s.Version;
        l.target.timeout = KtSNMPSession::Timeout();
        l.target.securityLevel = s.SecurityLevel;
        l.target.securityName = s.SecurityName;
        l.target.authPassword = s.AuthPassword;
        l.target.privPassword = s.PrivPassword;
        l.target.authProtocol = s.AuthProtocol;
        l.target.privProtocol = s.PrivProtocol;
        l.target.contextName = KtSNMPSession::Scope().ContextName;
        l.target.contextEngineID = KtSNMPSession::Scope().ContextEngineID;
        l.readCommunity = s.ReadCommunity;
        l.writeCommunity = s.WriteCommunity;
        return l;
    }

    KtSnmpTarget forRead() const
    {
        KtSnmpTarget t = target;
        t.community = readCommunity;
        return t;
    }
    KtSnmpTarget forWrite() const
    {
        KtSnmpTarget t = target;
        t.community = writeCommunity;
        return t;
    }
};
