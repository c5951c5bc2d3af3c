#include "BenchDaemon.h"

#include <QDir>
#include <QFile>

#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace Bench {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

quint16 freePort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    quint16 port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    ::close(fd);
    return port;
}

QProcessEnvironment netSnmpEnvironment(const QString &folder)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MIBS", "");
    env.insert("SNMPCONFPATH", folder);
    env.insert("SNMP_PERSISTENT_DIR", folder);
    return env;
}

bool Daemon::start(const QString &program, const QStringList &arguments, quint16 port, const QString &community)
{
    m_process.start(program, arguments);
    if (!m_process.waitForStarted()) {
        std::fprintf(stderr, "%s does not start: %s\n", qPrintable(program), qPrintable(m_process.errorString()));
        return false;
    }
    for (int i = 0; i < 100 && m_process.state() == QProcess::Running; ++i) {
        QProcess get;
        get.setProcessEnvironment(netSnmpEnvironment(m_folder));
        get.start("snmpget", {"-v2c", "-c", community, "-t", "0.3", "-r", "0",
                              QStringLiteral("127.0.0.1:%1").arg(port), "1.3.6.1.2.1.1.3.0"});
        if (get.waitForFinished(5000) && get.exitCode() == 0)
            return true;
        m_process.waitForFinished(100);
    }
    std::fprintf(stderr, "%s does not answer on port %u: %s\n", qPrintable(program), port,
                 m_process.readAll().constData());
    stop();
    return false;
}

bool Daemon::startSnmpd(quint16 port, const QString &community)
{
    QFile conf(QDir(m_folder).filePath("snmpd.conf"));
    if (!QDir().mkpath(m_folder) || !conf.open(QIODevice::WriteOnly))
        return false;
    conf.write("rocommunity " + community.toUtf8() + " 127.0.0.1\n");  // the address is on the command line
    conf.close();
    m_process.setProcessEnvironment(netSnmpEnvironment(m_folder));
    return start("/usr/sbin/snmpd",
                 {"-f", "-C", "-c", conf.fileName(), "-Lf", QDir(m_folder).filePath("snmpd.log"), "-I", "-smux",
                  "-p", QDir(m_folder).filePath("snmpd.pid"), QStringLiteral("udp:127.0.0.1:%1").arg(port)},
                 port, community);
}

void Daemon::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(2000);
}

long peakKiB(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace Bench
