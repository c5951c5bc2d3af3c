#include "support/AgentProcess.h"

using TestSupport::Loopback;

namespace {

// Seconds a tool waits for each answer. An agent that answers does so in
// milliseconds, but a sanitizer build sharing a busy machine may take
// seconds over one large bulk answer; the cases that expect silence pass
// their own short time-out.
const char *const AnswerWait = "5";

} // namespace

AgentProcess::AgentProcess() : TestProcess(QStringLiteral("agent")), m_port(FreePort())
{
    setStopGrace(10000);  // it saves its state on the way out
}

AgentProcess::~AgentProcess()
{
    stop();
}

QString AgentProcess::executable()
{
    return QStringLiteral(QSX_AGENT_EXE);
}

quint16 AgentProcess::FreePort(bool v6)
{
    return TestSupport::freeUdpPort(v6 ? Loopback::V6 : Loopback::V4);
}

bool AgentProcess::portBound(quint16 port)
{
    return TestSupport::udpPortBound(port);
}

QString AgentProcess::target() const
{
    return m_target.isEmpty() ? QStringLiteral("127.0.0.1:%1").arg(m_port) : m_target;
}

bool AgentProcess::start(const QStringList &extra, const QString &listen)
{
    return launchAgent(extra, listen, QProcessEnvironment::systemEnvironment());
}

bool AgentProcess::startClean(const QStringList &extra)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("SNMPCONFPATH"));
    env.remove(QStringLiteral("SNMP_PERSISTENT_DIR"));
    return launchAgent(extra, {}, env);
}

bool AgentProcess::launchAgent(const QStringList &extra, const QString &listen, const QProcessEnvironment &environment)
{
    const QString address = listen.isEmpty() ? QStringLiteral("udp:127.0.0.1:%1").arg(m_port) : listen;
    if (!listen.isEmpty())
        m_target = listen;
    const quint16 port = quint16(address.section(QLatin1Char(':'), -1).toUInt());
    const Loopback family = address.startsWith(QLatin1String("udp6:")) ? Loopback::V6 : Loopback::V4;
    // An agent that loses requests cannot be probed: bound is all there is to see.
    const bool probe = !extra.contains(QLatin1String("--drop"));
    const int version = extra.contains(QLatin1String("--v1-strict")) ? 0 : 1;
    const int delay = extra.contains(QLatin1String("--delay"))
                          ? extra.value(int(extra.indexOf(QLatin1String("--delay"))) + 1).toInt()
                          : 0;
    return launch(executable(),
                  QStringList{QStringLiteral("--listen"), address, QStringLiteral("--state-dir"), m_state.path(),
                              QStringLiteral("--quiet")} + extra,
                  environment,
                  [=] {
                      if (!portBound(port))
                          return false;
                      return !probe || TestSupport::snmpGetAnswered(family, port, version, "cobalt", delay + 500);
                  },
                  30000);  // a sanitizer build's start on a busy machine
}

AgentProcess::Result AgentProcess::tool(const QString &name, const QStringList &args) const
{
    return TestSupport::runNetSnmpTool(m_client.path(), name, QStringList{QStringLiteral("-On")} + args);
}

AgentProcess::Result AgentProcess::v2(const QString &name, const QStringList &args, const QString &community) const
{
    return tool(name, QStringList{QStringLiteral("-v2c"), QStringLiteral("-c"), community, QStringLiteral("-t"),
                                  QString::fromLatin1(AnswerWait), QStringLiteral("-r"), QStringLiteral("1"), target()}
                          + args);
}

qint64 AgentProcess::uptime() const
{
    bool ok = false;
    const qint64 t = get(QStringLiteral("1.3.6.1.2.1.1.3.0"), {QStringLiteral("-Ot"), QStringLiteral("-Oqv")}).toLongLong(&ok);
    return ok ? t : -1;
}

QString AgentProcess::get(const QString &oid, const QStringList &formats) const
{
    const Result r = tool(QStringLiteral("snmpget"),
                          QStringList{QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("cobalt")} + formats
                              + QStringList{QStringLiteral("-t"), QString::fromLatin1(AnswerWait), QStringLiteral("-r"),
                                            QStringLiteral("1"), target(), oid});
    if (r.exitCode != 0 || r.out.startsWith(QLatin1String("No Such")))
        return QString();
    return r.out.trimmed();
}

QString AgentProcess::value(const QString &oid) const
{
    return get(oid, {QStringLiteral("-Oqv")});
}

QByteArray AgentProcess::octets(const QString &oid) const
{
    QString hex = get(oid, {QStringLiteral("-Oqvx")});
    return QByteArray::fromHex(hex.remove(QLatin1Char('"')).simplified().remove(QLatin1Char(' ')).toLatin1());
}
