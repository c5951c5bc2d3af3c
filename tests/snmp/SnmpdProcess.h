#pragma once

// Test helper: the stock snmpd on 127.0.0.1 and a free high port, with a
// generated configuration in a temporary folder, stopped on destruction.

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace SnmpdTest {

// Users of the generated configuration: name, auth, auth pass, priv, priv pass.
inline constexpr const char *AuthPass = "authpass-1";
inline constexpr const char *PrivPass = "privpass-1";

// A UDP port on 127.0.0.1 that nothing listens on right now.
inline quint16 freeUdpPort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    ::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

// A bound UDP socket that never answers; counts what reaches it.
class SilentPort
{
public:
    explicit SilentPort(quint16 port = 0)
    {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len);
        m_port = ntohs(a.sin_port);
    }
    ~SilentPort() { ::close(m_fd); }
    quint16 port() const { return m_port; }
    // Datagrams received so far (drains the socket).
    int received()
    {
        char buf[2048];
        pollfd p{m_fd, POLLIN, 0};
        while (::poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
            if (::recv(m_fd, buf, sizeof buf, 0) < 0)
                break;
            ++m_count;
        }
        return m_count;
    }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    int m_count = 0;
};

class SnmpdProcess
{
public:
    explicit SnmpdProcess(const QString &extraConfig = {}) : m_extra(extraConfig) {}
    ~SnmpdProcess() { stop(); }

    quint16 port() const { return m_port; }
    QString folder() const { return m_dir.path(); }
    QString log() const { return m_log; }

    // On a free port, or on the given one (a restart).
    bool start(quint16 port = 0)
    {
        if (!m_dir.isValid())
            return false;
        m_port = port ? port : freeUdpPort();
        const QString conf = m_dir.filePath(QStringLiteral("snmpd.conf"));
        QFile f(conf);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        const QByteArray a = AuthPass, p = PrivPass;
        f.write("dontLogTCPWrappersConnects yes\n"
                "rocommunity cobalt 127.0.0.1\n"
                "rwcommunity lantern 127.0.0.1\n"
                "createUser md5des MD5 \"" + a + "\" DES \"" + p + "\"\n"
                "createUser shades SHA \"" + a + "\" DES \"" + p + "\"\n"
                "createUser shaaes SHA \"" + a + "\" AES \"" + p + "\"\n"
                "createUser sha256aes256 SHA-256 \"" + a + "\" AES-256 \"" + p + "\"\n"
                "createUser sha224aes192 SHA-224 \"" + a + "\" AES-192 \"" + p + "\"\n"
                "createUser sha384des SHA-384 \"" + a + "\" DES \"" + p + "\"\n"
                "createUser sha512aes SHA-512 \"" + a + "\" AES \"" + p + "\"\n"
                "createUser shaonly SHA \"" + a + "\"\n"
                "createUser noauth\n"
                "rwuser md5des priv\n"
                "rwuser shades priv\n"
                "rwuser shaaes priv\n"
                "rwuser sha256aes256 priv\n"
                "rwuser sha224aes192 priv\n"
                "rwuser sha384des priv\n"
                "rwuser sha512aes priv\n"
                "rwuser shaonly auth\n"
                "createUser viewuser SHA \"" + a + "\" AES \"" + p + "\"\n"
                "rouser noauth noauth\n"
                "view systemonly included .1.3.6.1.2.1.1\n"
                "rocommunity sysonly 127.0.0.1 -V systemonly\n"
                "rouser viewuser priv -V systemonly\n");
        f.write(m_extra.toUtf8());
        f.close();
        QDir().mkpath(m_dir.filePath(QStringLiteral("state")));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MIBS"), QString());
        env.insert(QStringLiteral("SNMP_PERSISTENT_DIR"), m_dir.filePath(QStringLiteral("state")));
        m_process.setProcessEnvironment(env);
        // The daemon dies with the test, even when the test crashes.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        // A file, not a pipe: a full pipe would stall the daemon.
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("snmpd.log")));
        m_process.start(QStringLiteral("snmpd"),
                        {QStringLiteral("-f"), QStringLiteral("-Lo"), QStringLiteral("-C"), QStringLiteral("-c"), conf,
                         QStringLiteral("-I"), QStringLiteral("-smux"),
                         QStringLiteral("udp:127.0.0.1:%1").arg(m_port)});
        if (!m_process.waitForStarted(5000))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 10000) {
            if (m_process.state() != QProcess::Running)
                break;
            if (answers())
                return true;
            QThread::msleep(20);
        }
        QFile log(m_dir.filePath(QStringLiteral("snmpd.log")));
        if (log.open(QIODevice::ReadOnly))
            m_log = QString::fromLocal8Bit(log.readAll());
        return false;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

private:
    // A v2c get of sysUpTime.0 with community "cobalt", built by hand.
    bool answers() const
    {
        static const unsigned char get[] = {
            0x30, 0x26, 0x02, 0x01, 0x01, 0x04, 0x06, 'c', 'o', 'b', 'a', 'l', 't', 0xa0, 0x19,
            0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01, 0x00, 0x30, 0x0e, 0x30, 0x0c, 0x06,
            0x08, 0x2b, 0x06, 0x01, 0x02, 0x01, 0x01, 0x03, 0x00, 0x05, 0x00};
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(m_port);
        ::sendto(fd, get, sizeof get, 0, reinterpret_cast<sockaddr *>(&a), sizeof a);
        pollfd p{fd, POLLIN, 0};
        const bool ok = ::poll(&p, 1, 200) > 0;
        ::close(fd);
        return ok;
    }

    QString m_extra;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_log;
};

} // namespace SnmpdTest
