#pragma once

// Shared pieces of the request tests: credentials per protocol version and
// variable lists of well-known MIB-II objects.

#include "SnmpdProcess.h"

#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QString>

namespace SnmpdTest {

struct Credentials
{
    quint8 version = 1;
    QString user;  // v3
    qint32 level = 3;
    qint32 auth = 3;
    qint32 priv = 4;
};

inline Credentials v1() { return {0, {}, 1, 1, 1}; }
inline Credentials v2c() { return {1, {}, 1, 1, 1}; }
inline Credentials v3(const QString &user, qint32 level, qint32 auth, qint32 priv)
{
    return {3, user, level, auth, priv};
}

inline void aim(KtSNMPRequest &r, quint16 port, const Credentials &c)
{
    r.Host = QStringLiteral("127.0.0.1");
    r.AgentPort = port;
    r.Version = c.version;
    r.ReadCommunity = QStringLiteral("cobalt");
    r.WriteCommunity = QStringLiteral("lantern");
    r.SecurityName = c.user;
    r.SecurityLevel = c.level;
    r.AuthProtocol = c.auth;
    r.PrivProtocol = c.priv;
    r.AuthPassword = QString::fromLatin1(AuthPass);
    r.PrivPassword = QString::fromLatin1(PrivPass);
    r.Timeout = 100;
    r.Retries = 1;
}

inline const char *IfTable = "1.3.6.1.2.1.2.2.1";

// ifIndex (index and column), ifDescr, ifType, ifMtu, ifPhysAddress.
inline KtSNMPVarList ifTableList()
{
    KtSNMPVarList l;
    const QString t = QString::fromLatin1(IfTable);
    l.AppendVar(t + QStringLiteral(".1"), QStringLiteral("ifIndex"), KtType::Integer, KtAccess::ReadOnly);
    l.AppendVar(t + QStringLiteral(".2"), QStringLiteral("ifDescr"), KtType::DisplayStr, KtAccess::ReadOnly);
    l.AppendVar(t + QStringLiteral(".3"), QStringLiteral("ifType"), KtType::Integer, KtAccess::ReadOnly);
    l.AppendVar(t + QStringLiteral(".4"), QStringLiteral("ifMtu"), KtType::Integer, KtAccess::ReadOnly);
    l.AppendVar(t + QStringLiteral(".6"), QStringLiteral("ifPhysAddress"), KtType::MacAddress, KtAccess::ReadOnly);
    l.Kind = KtKind::MVT_FMV;
    l.IndexCount = 1;
    return l;
}

// sysDescr, sysObjectID, sysUpTime, sysContact, sysName.
inline KtSNMPVarList systemList()
{
    KtSNMPVarList l;
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.1"), QStringLiteral("sysDescr"), KtType::DisplayStr, KtAccess::ReadOnly);
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.2"), QStringLiteral("sysObjectID"), KtType::ObjectId, KtAccess::ReadOnly);
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.3"), QStringLiteral("sysUpTime"), KtType::TimeTicks, KtAccess::ReadOnly);
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.4"), QStringLiteral("sysContact"), KtType::DisplayStr, KtAccess::ReadWrite);
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.5"), QStringLiteral("sysName"), KtType::DisplayStr, KtAccess::ReadOnly);
    l.Kind = KtKind::SVT_SV;
    return l;
}

} // namespace SnmpdTest
