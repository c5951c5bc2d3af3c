// Backs up the whole simulated switch, answering each request after a
// delay (20 ms unless given), and prints the time beside the number of
// objects and exchanges; beside it the hand-made way, snmpwalk over the
// same groups.
//
// bench_snapshot [delay-ms] [--no-peer]

#include "BenchDaemon.h"

#include "snapshot/KtSnapshot.h"
#include "snapshot/KtSnapshotBackup.h"
#include "snapshot/KtSnapshotSchema.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int delay = args.size() > 1 && !args.at(1).startsWith(QLatin1Char('-')) ? args.at(1).toInt() : 20;
    const bool peer = !args.contains(QStringLiteral("--no-peer"));

    QTemporaryDir dir;
    const quint16 port = Bench::freePort();
    Bench::Daemon agent(dir.path());
    if (!agent.start(QStringLiteral(QSX_AGENT_EXE),
                     {QStringLiteral("--listen"), QStringLiteral("udp:127.0.0.1:%1").arg(port), QStringLiteral("--state-dir"),
                      dir.filePath(QStringLiteral("state")), QStringLiteral("--delay"), QString::number(delay),
                      QStringLiteral("--quiet")},
                     port, QStringLiteral("cobalt"))) {
        std::printf("the agent did not start\n");
        return 1;
    }
    KtSNMPSession::StartSession(dir.path());

    KtSnapshotLink link;
    link.target.host = QStringLiteral("127.0.0.1");
    link.target.port = port;
    link.target.version = 1;
    link.target.timeout = 300;
    link.readCommunity = QStringLiteral("cobalt");

    const quint64 sentBefore = KtSnmpEngine::Instance().PacketsSent();
    QElapsedTimer clock;
    clock.start();
    KtSnapshot snapshot;
    QString error;
    if (!KtSnapshotBackup::Read(link, KtSnapshot::ModuleVersion(), snapshot, &error)) {
        std::printf("backup failed: %s\n", qPrintable(error));
        return 1;
    }
    const double seconds = clock.elapsed() / 1000.0;
    const quint64 exchanges = KtSnmpEngine::Instance().PacketsSent() - sentBefore;
    KtSNMPSession::StopSession();

    std::printf("agent delay %d ms per request\n", delay);
    std::printf("backup:   %7.1f s  %6lld objects  %3lld groups  %6llu exchanges  (target 30 s)\n", seconds,
                qlonglong(snapshot.values.size()), qlonglong(snapshot.present.size()),
                static_cast<unsigned long long>(exchanges));
    if (!peer)
        return 0;

    // snmpwalk, one varbind per exchange, over every column and scalar kept.
    const QProcessEnvironment env = Bench::netSnmpEnvironment(dir.path());
    clock.restart();
    qlonglong walked = 0;
    for (const KtSnapshotGroup &g : KtSnapshotSchema::Instance().groups()) {
        QStringList oids;
        for (const KtSnapshotColumn &c : g.columns)
            oids.append(g.table ? c.oid : c.oid + QStringLiteral(".0"));
        for (const QString &oid : oids) {
            QProcess walk;
            walk.setProcessEnvironment(env);
            walk.start(QStringLiteral("snmpwalk"),
                       {QStringLiteral("-v2c"), QStringLiteral("-c"), QStringLiteral("cobalt"), QStringLiteral("-On"),
                        QStringLiteral("-t"), QStringLiteral("3"), QStringLiteral("127.0.0.1:%1").arg(port), oid});
            walk.waitForFinished(120000);
            for (const QByteArray &line : walk.readAllStandardOutput().split('\n'))
                walked += line.startsWith('.') ? 1 : 0;
        }
    }
    const double peerSeconds = clock.elapsed() / 1000.0;
    std::printf("snmpwalk: %7.1f s  %6lld objects, one walk per object\n", peerSeconds, walked);
    std::printf("ratio snmpwalk / backup: %.2f\n", seconds > 0 ? peerSeconds / seconds : 0.0);
    return 0;
}
