// The 1,000-row aggregator table of the benchmark seed walked into the
// editor binding's list view with get-bulk and with get-next, beside
// snmpbulkwalk -Cr25 of the whole table, against the simulated agent
// answering every request 50 ms late; then both walks without the delay.
//
//   bench_bulk_walk [delay-ms] [runs-without-delay]     (defaults 50 and 3)

#include "BenchDaemon.h"
#include "BenchListWalk.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

const QString Entry = QStringLiteral("1.3.6.1.4.1.32473.12.4.1.1.1.1");
constexpr int Rows = 1000;

struct Result
{
    double ms = 0;
    int rows = 0;
};

// One walk into the list view; repetitions as the profile key (-1 automatic, 0 get-next).
Result bindingWalk(QTreeWidget *view, QPlainTextEdit *memo, quint16 port, int repetitions)
{
    const Bench::ListWalk w = Bench::walkIntoListView(
        view, memo,
        KtSNMPVarList(*KtMibData::Instance().FindTable(QStringLiteral("AggregatorTable")), KtKind::MVT_UMV, 1),
        [&](KtSNMPRequest &r) {
            r.AgentPort = port;
            r.BulkRepetitions = repetitions;
        });
    if (w.code != 0)
        std::printf("walk ended with code %d\n", w.code);
    return {w.ms, w.rows};
}

// snmpbulkwalk of the whole table: column after column, 25 a request.
Result toolWalk(quint16 port, const QString &dir)
{
    QProcess p;
    p.setProcessEnvironment(Bench::netSnmpEnvironment(dir));
    QElapsedTimer clock;
    clock.start();
    p.start(QStringLiteral("snmpbulkwalk"), {"-v2c", "-c", "cobalt", "-Cr25", "-On", "-Oq", "-t", "5", "-r", "1",
                                              QStringLiteral("127.0.0.1:%1").arg(port), Entry});
    p.waitForFinished(600000);
    Result r{double(clock.nsecsElapsed()) / 1e6, 0};
    int varbinds = 0;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n'))
        varbinds += line.startsWith('.') ? 1 : 0;
    r.rows = varbinds / 10;
    return r;
}

bool startAgent(Bench::Daemon &agent, quint16 port, const QString &dir, int delayMs)
{
    QStringList args{QStringLiteral("--listen"), QStringLiteral("udp:127.0.0.1:%1").arg(port),
                     QStringLiteral("--state-dir"), dir, QStringLiteral("--seed"),
                     QStringLiteral(QSX_AGENT_BENCH_SEED), QStringLiteral("--quiet")};
    if (delayMs > 0)
        args << QStringLiteral("--delay") << QString::number(delayMs);
    return agent.start(QStringLiteral(QSX_AGENT_EXE), args, port, QStringLiteral("cobalt"));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int delay = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    QTemporaryDir dir;
    // Before the session, which puts its own Net-SNMP folders into our environment.
    const quint16 slowPort = Bench::freePort();
    Bench::Daemon slow(dir.filePath(QStringLiteral("slow")));
    if (!startAgent(slow, slowPort, dir.filePath(QStringLiteral("slow-state")), delay)) {
        std::printf("the delayed agent did not start\n");
        return 1;
    }
    const quint16 fastPort = Bench::freePort();
    Bench::Daemon fast(dir.filePath(QStringLiteral("fast")));
    if (!startAgent(fast, fastPort, dir.filePath(QStringLiteral("fast-state")), 0)) {
        std::printf("the agent did not start\n");
        return 1;
    }
    KtSNMPSession::StartSession(dir.path());
    KtSNMPSession::Device().Host = QStringLiteral("127.0.0.1");
    KtSNMPSession::Security().Version = 1;
    KtSNMPSession::Security().ReadCommunity = QStringLiteral("cobalt");
    KtSNMPSession::SetTimeout(300);

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *view = new QTreeWidget(&window);
    auto *memo = new QPlainTextEdit(&window);
    layout->addWidget(view);
    layout->addWidget(memo);
    window.resize(900, 550);
    window.show();

    std::printf("aggregator table: %d rows x 10 columns; agent delay %d ms\n", Rows, delay);
    const Result tool = toolWalk(slowPort, dir.filePath(QStringLiteral("tool")));
    const Result bulk = bindingWalk(view, memo, slowPort, -1);
    const Result next = bindingWalk(view, memo, slowPort, 0);
    std::printf("get-bulk walk into the list view: %9.1f ms  %d rows\n", bulk.ms, bulk.rows);
    std::printf("get-next walk into the list view: %9.1f ms  %d rows\n", next.ms, next.rows);
    std::printf("snmpbulkwalk -Cr25 of the table:  %9.1f ms  %d rows\n", tool.ms, tool.rows);
    std::printf("get-bulk / snmpbulkwalk: %.3f (target <= 0.125)\n", tool.ms > 0 ? bulk.ms / tool.ms : 0.0);
    std::printf("get-next / get-bulk:     %.1f (target >= 20)\n", bulk.ms > 0 ? next.ms / bulk.ms : 0.0);
    std::printf("get-bulk walk target: <= 2500 ms\n");

    QList<double> bulkFast, nextFast;
    bool complete = bulk.rows == Rows && next.rows == Rows && tool.rows == Rows;
    bindingWalk(view, memo, fastPort, -1);  // warm-up
    for (int run = 0; run < runs; ++run) {
        const Result b = bindingWalk(view, memo, fastPort, -1);
        const Result n = bindingWalk(view, memo, fastPort, 0);
        bulkFast.append(b.ms);
        nextFast.append(n.ms);
        complete = complete && b.rows == Rows && n.rows == Rows;
    }
    KtSNMPSession::StopSession();
    slow.stop();
    fast.stop();
    const double b = Bench::median(bulkFast), n = Bench::median(nextFast);
    std::printf("without delay, %d runs (median): get-bulk %.1f ms, get-next %.1f ms, get-bulk / get-next %.2f "
                "(target <= 1)\n",
                runs, b, n, n > 0 ? b / n : 0.0);
    return complete ? 0 : 2;
}
