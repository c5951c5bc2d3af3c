#pragma once

// The simulated agent on a free loopback port with its own state folder,
// and Net-SNMP's command-line tools run against it.

#include "support/LoopbackUdp.h"
#include "support/TestProcess.h"

#include <QStringList>
#include <QTemporaryDir>

class AgentProcess : public TestSupport::TestProcess
{
public:
    using Result = TestSupport::ToolResult;

    AgentProcess();
    ~AgentProcess() override;

    // The agent executable of this build.
    static QString executable();

    static quint16 FreePort(bool v6 = false);
    // Whether some socket is bound to this UDP port (IPv4 or IPv6).
    static bool portBound(quint16 port);

    QString target() const;
    QString stateDir() const { return m_state.path(); }
    quint16 port() const { return m_port; }

    // Starts the agent with more options, on its free port or at listen (a
    // Net-SNMP address), and waits until it answers; false if it did not.
    bool start(const QStringList &extra = {}, const QString &listen = {});
    // start() without the Net-SNMP folders a running session has put into
    // this process's environment: the agent must not read its configuration there.
    bool startClean(const QStringList &extra = {});

    // Runs a Net-SNMP tool with numeric output and a private client configuration.
    Result tool(const QString &name, const QStringList &args) const;
    Result v2(const QString &name, const QStringList &args, const QString &community = QStringLiteral("cobalt")) const;
    // sysUpTime in ticks, -1 on failure.
    qint64 uptime() const;
    // The value text of one GET ("-Oqv"), empty on failure.
    QString value(const QString &oid) const;
    // The octets of a string value (read as hex), empty on failure.
    QByteArray octets(const QString &oid) const;

private:
    bool launchAgent(const QStringList &extra, const QString &listen, const QProcessEnvironment &environment);
    QString get(const QString &oid, const QStringList &formats) const;

    quint16 m_port;
    QString m_target;
    QTemporaryDir m_state;
    QTemporaryDir m_client;
};
