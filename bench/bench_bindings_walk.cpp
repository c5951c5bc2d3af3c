// Walks a table of ROWS x 10 columns served by the simulated agent into the
// editor binding's list view, beside the bare asynchronous engine walk of
// the same table in the same run, and prints both times and their ratio.
//
//   bench_bindings_walk [rows] [runs]     (defaults 1000 and 3)

#include "BenchDaemon.h"
#include "BenchListWalk.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

const QString Table = QStringLiteral("1.3.6.1.4.1.32473.99.7.1");
constexpr int Columns = 10;

// Index, then text, numbers, addresses and counters, as a typical table has.
struct Column
{
    const char *tag;
    quint32 type;
};
constexpr Column Layout[Columns] = {{"2", KtType::Integer},    {"4", KtType::DisplayStr}, {"2", KtType::Integer},
                                    {"64", KtType::IpAddress}, {"65", KtType::Counter},   {"4x", KtType::MacAddress},
                                    {"66", KtType::Gauge},     {"4", KtType::DisplayStr}, {"67", KtType::TimeTicks},
                                    {"2", KtType::Integer}};

QString cell(int column, int row)
{
    switch (column) {
    case 0: return QString::number(row);
    case 1: return QStringLiteral("entry %1").arg(row);
    case 3: return QStringLiteral("10.%1.%2.1").arg(row / 256).arg(row % 256);
    case 5: return QStringLiteral("001b11%1").arg(row, 6, 16, QLatin1Char('0'));
    case 7: return QStringLiteral("description of row %1").arg(row);
    default: return QString::number(row * (column + 1));
    }
}

bool writeSeed(const QString &path, int rows)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QByteArray text;
    for (int c = 0; c < Columns; ++c)
        for (int r = 1; r <= rows; ++r)
            text += QStringLiteral("%1.%2.%3|%4|%5\n")
                        .arg(Table)
                        .arg(c + 1)
                        .arg(r)
                        .arg(QLatin1String(Layout[c].tag), cell(c, r))
                        .toLatin1();
    return f.write(text) == text.size();
}

KtSNMPVarList tableList(quint8 kind)
{
    KtSNMPVarList l;
    for (int c = 0; c < Columns; ++c)
        l.AppendVar(QStringLiteral("%1.%2").arg(Table).arg(c + 1), QStringLiteral("Column %1").arg(c + 1),
                    Layout[c].type, KtAccess::ReadOnly);
    l.Kind = kind;
    l.IndexCount = 1;
    return l;
}

// True once the agent serves the seeded table; false when it has exited.
bool waitForAgent(const Bench::Daemon &agent, quint16 port)
{
    KtSNMPRequest probe;
    probe.Vars.AppendVar(Table + QStringLiteral(".1.1"), QStringLiteral("probe"), KtType::Integer,
                         KtAccess::ReadOnly);
    probe.Vars.Kind = KtKind::MVT_SV;
    probe.AgentPort = port;
    probe.Timeout = 20;
    probe.Retries = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
        if (!agent.isRunning())
            return false;
        try {
            probe.Fetch(true);
            if (probe.Vars.Get(0).Value == QLatin1String("1"))
                return true;
        } catch (const KtException &) {
        }
        QThread::msleep(100);
    }
    return false;
}

struct BareWalk
{
    KtSNMPRequest request;
    QEventLoop loop;
    int rows = 0;
    int code = 0;
};

void bareStep(void *data, KtSNMPError *result, KtSNMPVarList *)
{
    auto *w = static_cast<BareWalk *>(data);
    w->code = result->Code;
    if (result->Code != 0 || result->Finished) {
        w->loop.quit();
        return;
    }
    ++w->rows;
    w->request.FetchAsync(bareStep, w, false);
}

// Milliseconds and rows of one bare engine walk.
QPair<double, int> bareWalk()
{
    BareWalk w;
    w.request.Vars = tableList(KtKind::MVT_UMV);
    QElapsedTimer clock;
    clock.start();
    w.request.FetchAsync(bareStep, &w, true);
    w.loop.exec();
    if (w.code != 0)
        std::printf("bare walk ended with code %d\n", w.code);
    return {double(clock.nsecsElapsed()) / 1e6, w.rows};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    QTemporaryDir dir;
    const QString seed = dir.filePath(QStringLiteral("table.snmprec"));
    if (!writeSeed(seed, rows)) {
        std::printf("cannot write the seed file %s\n", qPrintable(seed));
        return 1;
    }
    // Before the session, which puts its own Net-SNMP folders into our environment.
    const quint16 port = Bench::freePort();
    Bench::Daemon agent(dir.path());
    if (!agent.start(QStringLiteral(QSX_AGENT_EXE),
                     {QStringLiteral("--listen"), QStringLiteral("udp:127.0.0.1:%1").arg(port),
                      QStringLiteral("--state-dir"), dir.filePath(QStringLiteral("state")), QStringLiteral("--seed"),
                      seed, QStringLiteral("--quiet")},
                     port, QStringLiteral("cobalt"))) {
        std::printf("the agent did not start\n");
        return 1;
    }
    KtSNMPSession::StartSession(dir.path());
    KtSNMPSession::Security().Version = 1;
    KtSNMPSession::Security().ReadCommunity = QStringLiteral("cobalt");
    KtSNMPSession::SetTimeout(300);
    if (!waitForAgent(agent, port)) {
        std::printf("the agent does not serve the table\n");
        return 1;
    }
    KtSNMPSession::Device().Host = QStringLiteral("127.0.0.1");
    KtSNMPSession::Device().AgentPort = port;

    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *view = new QTreeWidget(&window);
    auto *memo = new QPlainTextEdit(&window);
    layout->addWidget(view);
    layout->addWidget(memo);
    window.resize(900, 550);
    window.show();

    QList<double> bare, bound;
    int bareRows = 0, boundRows = 0;
    bareWalk();  // warm-up: channel, caches
    for (int run = 0; run < runs; ++run) {
        const auto b = bareWalk();
        const Bench::ListWalk walk = Bench::walkIntoListView(view, memo, tableList(KtKind::MVT_UMV));
        if (walk.code != 0)
            std::printf("binding walk ended with code %d\n", walk.code);
        const QPair<double, int> v{walk.ms, walk.rows};
        bare.append(b.first);
        bound.append(v.first);
        bareRows = b.second;
        boundRows = v.second;
    }
    agent.stop();
    KtSNMPSession::StopSession();

    const double b = Bench::median(bare), v = Bench::median(bound);
    std::printf("table: %d rows x %d columns, %d runs (median)\n", rows, Columns, runs);
    std::printf("bare engine walk:       %8.1f ms  %d rows  %.3f ms/row\n", b, bareRows, b / std::max(1, bareRows));
    std::printf("walk into the list view: %7.1f ms  %d rows  %.3f ms/row\n", v, boundRows,
                v / std::max(1, boundRows));
    std::printf("ratio: %.2f (target <= 1.5)\n", b > 0 ? v / b : 0.0);
    return bareRows == rows && boundRows == rows ? 0 : 2;
}
