#pragma once

// Shared pieces of the request tests: credentials per protocol version,
// variable lists of well-known MIB-II objects, and the snmpd-plus-session
// set-up of a test object. Header only: its users link qsx_snmp anyway.

#include "support/SnmpdProcess.h"

#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSNMPVarList.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>
#include <utility>

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
    r.Timeout = 200;  // 2 s a try: a busy machine's answer still counts
    r.Retries = 1;
}

// A "cred" column with one row per given name and credentials. A template
// so that it sees the test's Q_DECLARE_METATYPE(SnmpdTest::Credentials).
template <class C = Credentials>
void addCredentialRows(std::initializer_list<std::pair<const char *, C>> rows)
{
    QTest::addColumn<C>("cred");
    for (const auto &[name, cred] : rows)
        QTest::newRow(name) << cred;
}

// A stock snmpd and a started session with a short default time-out, for
// the lifetime of a test object: start() in initTestCase, stop() in cleanupTestCase.
class SnmpdSession
{
public:
    bool start()
    {
        if (!m_agent.start())
            return false;
        KtSNMPSession::StartSession(m_folder.path());
        KtSNMPSession::SetTimeout(200);
        return true;
    }
    void stop()
    {
        KtSNMPSession::StopSession();
        m_agent.stop();
    }
    SnmpdProcess &agent() { return m_agent; }
    quint16 port() const { return m_agent.port(); }
    // The session's folder (engine state, settings).
    QString folder() const { return m_folder.path(); }

private:
    SnmpdProcess m_agent;
    QTemporaryDir m_folder;
};

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
