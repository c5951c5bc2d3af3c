// GETNEXT exchanges per second served by the simulated agent on loopback,
// beside the stock snmpd walked the same way in the same run, and the
// agent's peak memory after serving every table.
#include "BenchDaemon.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

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
    p.setProcessEnvironment(Bench::netSnmpEnvironment(dir));
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString subtree = "1.3.6.1.2.1";
    const int runs = 3;

    const quint16 agentPort = Bench::freePort();
    Bench::Daemon agent(dir.path());
    if (!agent.start(QStringLiteral(QSX_AGENT_EXE),
                     {"--listen", QStringLiteral("udp:127.0.0.1:%1").arg(agentPort), "--state-dir",
                      dir.filePath("agent"), "--quiet"},
                     agentPort, "cobalt")) {
        std::fprintf(stderr, "the agent did not start\n");
        return 1;
    }

    const quint16 snmpdPort = Bench::freePort();
    Bench::Daemon snmpd(dir.filePath("snmpd"));
    const bool haveSnmpd = snmpd.startSnmpd(snmpdPort, "public");

    std::printf("GETNEXT walk of %s with snmpwalk -v2c on loopback, best of %d runs\n", qPrintable(subtree), runs);
    const Walk a = best(runs, "snmpwalk", "cobalt", agentPort, subtree, dir.path());
    std::printf("  qsx4810-agent: %6d exchanges in %.3f s = %8.0f exchanges/s\n", a.varbinds, a.seconds, a.rate());
    if (haveSnmpd) {
        const Walk s = best(runs, "snmpwalk", "public", snmpdPort, subtree, dir.path());
        std::printf("  snmpd:         %6d exchanges in %.3f s = %8.0f exchanges/s\n", s.varbinds, s.seconds, s.rate());
        std::printf("  ratio agent/snmpd: %.2f (target at least 0.5; and at least 5000/s)\n",
                    s.rate() > 0 ? a.rate() / s.rate() : 0.0);
        snmpd.stop();
    } else {
        std::printf("  snmpd: did not answer, no comparison\n");
    }

    // Serve every table once, then read the high-water mark of the resident set.
    const Walk all = walk("snmpbulkwalk", "cobalt", agentPort, ".1", dir.path());
    const Walk ent = walk("snmpwalk", "cobalt", agentPort, "1.3.6.1.4.1.32473", dir.path());
    std::printf("Whole tree: %d instances by GETBULK in %.3f s; enterprise subtree: %d exchanges at %.0f/s\n",
                all.varbinds, all.seconds, ent.varbinds, ent.rate());
    std::printf("Agent peak memory (VmHWM): %.1f MB (target under 50 MB)\n", Bench::peakKiB(agent.pid()) / 1024.0);
    agent.stop();
    return 0;
}
