// GETNEXT exchanges per second served by the simulated agent on loopback,
// beside the stock snmpd walked the same way in the same run, and the
// agent's peak memory after serving every table.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

quint16 freePort()
{
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
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

QProcessEnvironment clientEnv(const QString &dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("MIBS", "");
    env.insert("SNMPCONFPATH", dir);
    env.insert("SNMP_PERSISTENT_DIR", dir);
    return env;
}

struct Walk
{
    int varbinds = 0;
    double seconds = 0;
    double rate() const { return seconds > 0 ? varbinds / seconds : 0; }
};

// One snmpwalk (GETNEXT, one varbind per exchange) of a subtree.
Walk walk(const QString &tool, const QString &community, quint16 port, const QString &subtree, const QString &dir)
{
    QProcess p;
    p.setProcessEnvironment(clientEnv(dir));
    QElapsedTimer t;
    t.start();
    p.start(tool, {"-v2c", "-c", community, "-On", "-Oq", "-t", "5", "-r", "1",
                   QStringLiteral("127.0.0.1:%1").arg(port), subtree});
    p.waitForFinished(600000);
    Walk w;
    w.seconds = t.nsecsElapsed() / 1e9;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n'))
        if (line.startsWith('.'))
            ++w.varbinds;
    return w;
}

Walk best(int runs, const QString &tool, const QString &community, quint16 port, const QString &subtree, const QString &dir)
{
    Walk b;
    for (int i = 0; i < runs; ++i) {
        Walk w = walk(tool, community, port, subtree, dir);
        if (w.rate() > b.rate())
            b = w;
    }
    return b;
}

bool waitForAnswer(quint16 port, const QString &community, const QString &dir)
{
    for (int i = 0; i < 100; ++i) {
        QProcess p;
        p.setProcessEnvironment(clientEnv(dir));
        p.start("snmpget", {"-v2c", "-c", community, "-t", "0.3", "-r", "0",
                            QStringLiteral("127.0.0.1:%1").arg(port), "1.3.6.1.2.1.1.3.0"});
        p.waitForFinished(5000);
        if (p.exitCode() == 0)
            return true;
        QThread::msleep(100);
    }
    return false;
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

void stop(QProcess &p)
{
    p.terminate();
    if (!p.waitForFinished(10000))
        p.kill();
    p.waitForFinished(2000);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString subtree = "1.3.6.1.2.1";
    const int runs = 3;

    const quint16 agentPort = freePort();
    QProcess agent;
    agent.start(QStringLiteral(QSX_AGENT_EXE), {"--listen", QStringLiteral("udp:127.0.0.1:%1").arg(agentPort),
                                                "--state-dir", dir.filePath("agent"), "--quiet"});
    if (!agent.waitForStarted() || !waitForAnswer(agentPort, "cobalt", dir.path())) {
        std::fprintf(stderr, "the agent did not start\n");
        return 1;
    }

    const quint16 snmpdPort = freePort();
    QFile conf(dir.filePath("snmpd.conf"));
    if (!conf.open(QIODevice::WriteOnly))
        return 1;
    conf.write("rocommunity public 127.0.0.1\n");   // the address is given on the command line
    conf.close();
    QProcess snmpd;
    QProcessEnvironment env = clientEnv(dir.path());
    snmpd.setProcessEnvironment(env);
    snmpd.start("/usr/sbin/snmpd", {"-f", "-C", "-c", conf.fileName(), "-Lf", dir.filePath("snmpd.log"),
                                    "-I", "-smux", "-p", dir.filePath("snmpd.pid"),
                                    QStringLiteral("udp:127.0.0.1:%1").arg(snmpdPort)});
    const bool haveSnmpd = snmpd.waitForStarted() && waitForAnswer(snmpdPort, "public", dir.path());

    std::printf("GETNEXT walk of %s with snmpwalk -v2c on loopback, best of %d runs\n", qPrintable(subtree), runs);
    const Walk a = best(runs, "snmpwalk", "cobalt", agentPort, subtree, dir.path());
    std::printf("  qsx4810-agent: %6d exchanges in %.3f s = %8.0f exchanges/s\n", a.varbinds, a.seconds, a.rate());
    if (haveSnmpd) {
        const Walk s = best(runs, "snmpwalk", "public", snmpdPort, subtree, dir.path());
        std::printf("  snmpd:         %6d exchanges in %.3f s = %8.0f exchanges/s\n", s.varbinds, s.seconds, s.rate());
        std::printf("  ratio agent/snmpd: %.2f (target at least 0.5; and at least 5000/s)\n",
                    s.rate() > 0 ? a.rate() / s.rate() : 0.0);
        stop(snmpd);
    } else {
        std::printf("  snmpd: did not answer, no comparison\n");
        if (snmpd.state() != QProcess::NotRunning)
            stop(snmpd);
    }

    // Serve every table once, then read the high-water mark of the resident set.
    const Walk all = walk("snmpbulkwalk", "cobalt", agentPort, ".1", dir.path());
    const Walk ent = walk("snmpwalk", "cobalt", agentPort, "1.3.6.1.4.1.32473", dir.path());
    std::printf("Whole tree: %d instances by GETBULK in %.3f s; enterprise subtree: %d exchanges at %.0f/s\n",
                all.varbinds, all.seconds, ent.varbinds, ent.rate());
    std::printf("Agent peak memory (VmHWM): %.1f MB (target under 50 MB)\n", peakKiB(agent.processId()) / 1024.0);
    stop(agent);
    return 0;
}
