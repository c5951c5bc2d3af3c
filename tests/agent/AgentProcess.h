#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// Starts the agent on a free loopback port with its own state folder and
// runs Net-SNMP's command-line tools against it.
class AgentProcess
{
public:
    struct Result
    {
        int exitCode = -1;
        QString out;
        QString err;
        qint64 elapsedMs = 0;
    };

    AgentProcess() : m_port(FreePort()) {}
    ~AgentProcess() { stop(); }

    static quint16 FreePort(bool v6 = false)
    {
        int fd = ::socket(v6 ? AF_INET6 : AF_INET, SOCK_DGRAM, 0);
        quint16 port = 0;
        if (v6) {
            sockaddr_in6 a{};
            a.sin6_family = AF_INET6;
            a.sin6_addr = in6addr_loopback;
            socklen_t len = sizeof a;
            if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
                && ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0)
                port = ntohs(a.sin6_port);
        } else {
            sockaddr_in a{};
            a.sin_family = AF_INET;
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t len = sizeof a;
            if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
                && ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0)
                port = ntohs(a.sin_port);
        }
        ::close(fd);
        return port;
    }

    QString target() const { return m_target.isEmpty() ? QStringLiteral("127.0.0.1:%1").arg(m_port) : m_target; }
    QString stateDir() const { return m_state.path(); }
    quint16 port() const { return m_port; }

    // Starts the agent and waits until it answers; false if it did not.
    bool start(const QStringList &extra = {}, const QString &listen = {})
    {
        const QString address = listen.isEmpty() ? QStringLiteral("udp:127.0.0.1:%1").arg(m_port) : listen;
        if (!listen.isEmpty())
            m_target = listen;
        m_proc.setProgram(QStringLiteral(QSX_AGENT_EXE));
        m_proc.setArguments(QStringList{"--listen", address, "--state-dir", m_state.path(), "--quiet"} + extra);
        m_proc.setProcessChannelMode(QProcess::SeparateChannels);
        m_proc.start();
        if (!m_proc.waitForStarted(5000))
            return false;
        QElapsedTimer t;
        t.start();
        const quint16 port = quint16(address.section(':', -1).toUInt());
        while (!portBound(port)) {
            if (m_proc.state() != QProcess::Running || t.elapsed() > 15000)
                return false;
            QThread::msleep(50);
        }
        if (extra.contains("--drop"))
            return true;   // an agent that loses requests cannot be probed
        const QStringList version = extra.contains("--v1-strict") ? QStringList{"-v1"} : QStringList{"-v2c"};
        const QString timeout = extra.contains("--delay") ? "5" : "0.5";
        while (t.elapsed() < 15000 && m_proc.state() == QProcess::Running) {
            if (tool("snmpget", version + QStringList{"-c", "cobalt", "-t", timeout, "-r", "0", target(), "1.3.6.1.2.1.1.3.0"})
                    .exitCode == 0)
                return true;
        }
        return false;
    }

    // Whether some socket is bound to this UDP port (IPv4 or IPv6).
    static bool portBound(quint16 port)
    {
        const QString needle = QStringLiteral(":%1 ").arg(port, 4, 16, QChar('0')).toUpper();
        for (const char *table : {"/proc/net/udp", "/proc/net/udp6"}) {
            QFile f(table);
            if (f.open(QIODevice::ReadOnly) && QString::fromLatin1(f.readAll()).toUpper().contains(needle))
                return true;
        }
        return false;
    }

    void stop()
    {
        if (m_proc.state() == QProcess::NotRunning)
            return;
        m_proc.terminate();
        if (!m_proc.waitForFinished(10000)) {
            m_proc.kill();
            m_proc.waitForFinished(3000);
        }
    }

    QProcess &process() { return m_proc; }

    // Runs a Net-SNMP tool with numeric output and a private client configuration.
    Result tool(const QString &name, const QStringList &args) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("MIBS", "");
        env.insert("SNMPCONFPATH", m_client.path());
        env.insert("SNMP_PERSISTENT_DIR", m_client.path());
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(name, QStringList{"-On"} + args);
        Result r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.elapsedMs = t.elapsed();
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }

    // sysUpTime in ticks, -1 on failure.
    qint64 uptime() const
    {
        Result r = tool("snmpget", {"-v2c", "-c", "cobalt", "-Ot", "-Oqv", "-t", "5", "-r", "1", target(), "1.3.6.1.2.1.1.3.0"});
        bool ok = false;
        const qint64 t = r.out.trimmed().toLongLong(&ok);
        return r.exitCode == 0 && ok ? t : -1;
    }

    Result v2(const QString &name, const QStringList &args, const QString &community = "cobalt") const
    {
        return tool(name, QStringList{"-v2c", "-c", community, "-t", "5", "-r", "1", target()} + args);
    }

    // The value text of one GET ("-Oqv"), empty on failure.
    QString value(const QString &oid) const
    {
        Result r = tool("snmpget", {"-v2c", "-c", "cobalt", "-Oqv", "-t", "5", "-r", "1", target(), oid});
        if (r.exitCode != 0 || r.out.startsWith("No Such"))
            return QString();
        return r.out.trimmed();
    }

    // The octets of a string value (read as hex), empty on failure.
    QByteArray octets(const QString &oid) const
    {
        Result r = tool("snmpget", {"-v2c", "-c", "cobalt", "-Oqvx", "-t", "5", "-r", "1", target(), oid});
        if (r.exitCode != 0 || r.out.startsWith("No Such"))
            return {};
        return QByteArray::fromHex(r.out.remove('"').simplified().remove(' ').toLatin1());
    }

private:
    quint16 m_port;
    QString m_target;
    QTemporaryDir m_state;
    QTemporaryDir m_client;
    QProcess m_proc;
};
