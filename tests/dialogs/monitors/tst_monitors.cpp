// The monitors against the simulated agent, whose counters advance with
// every request (so any two polls see them move, however close together):
// a normal agent, one with empty tables and a bad group, and a slow one.

#include "support/AgentSession.h"
#include "support/ScriptedMessages.h"

#include "bindings/KtRequestLink.h"
#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/monitors/KtHistoryChart.h"
#include "dialogs/monitors/KtMonitorDialogs.h"
#include "dialogs/monitors/KtRatePlot.h"
#include "dialogs/monitors/TICMP_Counters.h"
#include "dialogs/monitors/TIF_Counters.h"
#include "dialogs/monitors/TIP_Counters.h"
#include "dialogs/monitors/TIP_Routing.h"
#include "dialogs/monitors/TSNMP_Counters.h"
#include "dialogs/monitors/TTpBridgePortInfo_Table.h"
#include "dialogs/monitors/TUDP_Counters.h"
#include "dialogs/registry/KtDialogRegistry.h"
#include "dialogs/registry/KtMainWindowServices.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

struct MainWindow : KtMainWindowServices
{
    QWidget window;
    QWidget *Window() override { return &window; }
    QString HostText() const override { return kHost; }
    void ShowStatus(const QString &) override {}
    QString StpVersionText() const override { return {}; }
    void SetStpVersionText(const QString &) override {}
};

using Maker = std::function<KtCounterMonitor *()>;

Maker maker(const QString &cls)
{
    if (cls == "TUDP_Counters")
        return [] { return new TUDP_Counters(nullptr, {}, kHost); };
    if (cls == "TIP_Counters")
        return [] { return new TIP_Counters(nullptr, {}, kHost); };
    if (cls == "TICMP_Counters")
        return [] { return new TICMP_Counters(nullptr, {}, kHost); };
    if (cls == "TSNMP_Counters")
        return [] { return new TSNMP_Counters(nullptr, {}, kHost); };
    if (cls == "TIF_Counters")
        return [] { return new TIF_Counters(nullptr, {}, kHost); };
    return [] { return new TTpBridgePortInfo_Table(nullptr, {}, kHost); };
}

// Waits for n answers that were taken into the model.
bool samples(KtCounterMonitor *d, int n, int ms = 20000)
{
    QSignalSpy spy(d, &KtCounterMonitor::PollDone);
    QElapsedTimer t;
    t.start();
    int taken = 0;
    while (taken < n && t.elapsed() < ms) {
        if (spy.isEmpty() && !spy.wait(int(ms - t.elapsed())))
            break;
        while (!spy.isEmpty())
            taken += spy.takeFirst().at(0).toBool() ? 1 : 0;
    }
    return taken >= n;
}

QStringList column(const QTreeWidget *list, int c)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(c));
    return texts;
}

} // namespace

class TestMonitors : public QObject
{
    Q_OBJECT

    AgentProcess m_agent;
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        QVERIFY(m_agent.startClean({"--counters-per-request"}));
        KtSNMPSession::StartSession(m_folder.path());
    }
    void init() { AgentSession::aimAt(m_agent.port()); }
    void cleanupTestCase()
    {
        KtSNMPSession::StopSession();
        m_agent.stop();
    }

    void opensAndPolls_data();
    void opensAndPolls();
    void controls();
    void pickRestarts();
    void bridgeHistory();
    void copy_data();
    void copy();
    void emptyAndBadAnswers();
    void slowAgent();
};

void TestMonitors::opensAndPolls_data()
{
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("names");  // first, fourth and last row
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("listName");
    QTest::newRow("udp") << "TUDP_Counters" << "UDP Counters : "
                         << QStringList{"udpInDatagrams", "udpOutDatagramsms", "udpOutDatagramsms"} << 4
                         << "LV_IPCounterData";
    QTest::newRow("ip") << "TIP_Counters" << "IP Counters : "
                        << QStringList{"ipInReceives", "ipForwDatagrams", "ipOutNoRoutes"} << 10
                        << "LV_IPCounterData";
    QTest::newRow("icmp") << "TICMP_Counters" << "ICMP Counters : "
                          << QStringList{"icmpInMsgs", "icmpInTimeExcdsms", "icmpOutAddrMaskReps"} << 26
                          << "LV_ICMPCounterData";
    QTest::newRow("snmp") << "TSNMP_Counters" << "SNMP Counters : "
                          << QStringList{"snmpInPkts", "snmpInBadCommunityNames", "snmpOutTraps"} << 27
                          << "LV_SNMPCounterData";
    QTest::newRow("interface") << "TIF_Counters" << "IF Counters : "
                               << QStringList{"InOctets", "InDiscards", "OutErrors"} << 11 << "LV_IF_Counters";
    QTest::newRow("bridge port") << "TTpBridgePortInfo_Table" << "Transparent Bridge Port Counter : "
                                 << QStringList{"Input Frames", "Discard Frames", "Discard Frames"} << 3
                                 << "LV_TpBridge_Port_Info";
}

// Every monitor opens, polls once a tick of its one-second timer and shows
// the first counter rising; the rate plot follows the selected row.
void TestMonitors::opensAndPolls()
{
    QFETCH(QString, cls);
    QFETCH(QString, caption);
    QFETCH(QStringList, names);
    QFETCH(int, rows);
    QFETCH(QString, listName);
    std::unique_ptr<KtCounterMonitor> d(maker(cls)());
    QSignalSpy ticks(d->findChild<QTimer *>("Timer1"), &QTimer::timeout);
    d->show();
    QCOMPARE(d->windowTitle(), caption + kHost);
    auto *interval = d->findChild<QComboBox *>("CB_Interval");
    QCOMPARE(interval->currentText(), QString("1"));

    QList<quint32> first;
    connect(d.get(), &KtCounterMonitor::PollDone, d.get(), [&](bool sampled) {
        if (sampled)
            first.append(d->Model().RowAt(0).Current);
    });
    QVERIFY2(samples(d.get(), 4), qPrintable(d->findChild<QLabel *>("StatusPanel0")->text()));
    QCOMPARE(d->findChild<QTimer *>("Timer1")->interval(), 1000);
    // One poll when the dialog opens, then at most one a tick.
    QVERIFY2(first.size() <= ticks.size() + 1,
             qPrintable(QString("polled faster than the interval: %1 samples, %2 ticks").arg(first.size()).arg(ticks.size())));
    // Risen as a Counter32 rises: port 1's octets wrap a minute's traffic after the start.
    const quint32 rise = first.last() - first.at(1);
    QVERIFY2(rise > 0 && rise < 0x80000000u, qPrintable(QString("%1 -> %2").arg(first.at(1)).arg(first.last())));

    auto *list = d->findChild<QTreeWidget *>(listName);
    QCOMPARE(list->headerItem()->text(5), QString("Peak Occured at"));
    QCOMPARE(list->topLevelItemCount(), rows);
    const QStringList shown = column(list, 0);
    QCOMPARE((QStringList{shown.first(), shown.value(qMin(3, rows - 1)), shown.last()}), names);
    const KtCounterModel::Row &r = d->Model().RowAt(0);
    QCOMPARE(list->topLevelItem(0)->text(1), QString::number(r.Current));
    QCOMPARE(list->topLevelItem(0)->text(2), QString::number(r.Delta));
    QVERIFY(r.Delta > 0);

    if (auto *plot = d->findChild<KtRatePlot *>()) {
        list->setCurrentItem(list->topLevelItem(0));
        QVERIFY(samples(d.get(), 1));
        QCOMPARE(plot->Name(), names.first());
        QCOMPARE(plot->Series()->count(), d->Model().RowAt(0).Rates.size());
        QCOMPARE(plot->Series()->points().last().y(), double(d->Model().RowAt(0).Rates.last()));
    }
}

// Pause stops the polls, Start resumes them, Reset writes zeros, the
// interval sets the timer and the rate's divisor.
void TestMonitors::controls()
{
    TUDP_Counters d(nullptr, {}, kHost);
    d.show();
    QVERIFY(samples(&d, 2));
    QTest::mouseClick(d.findChild<QPushButton *>("BT_Stop"), Qt::LeftButton);
    // A poll may have been out; once it is in, the timer ticks on and starts none.
    QTRY_VERIFY_WITH_TIMEOUT(!d.CounterBinding()->Busy, 20000);
    QSignalSpy polls(&d, &KtCounterMonitor::PollDone);
    QSignalSpy ticks(d.findChild<QTimer *>("Timer1"), &QTimer::timeout);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 2, 20000);
    QVERIFY(!d.CounterBinding()->Busy);
    QCOMPARE(polls.size(), 0);
    QTest::mouseClick(d.findChild<QPushButton *>("BT_Start"), Qt::LeftButton);
    QVERIFY(samples(&d, 1));

    QTest::mouseClick(d.findChild<QPushButton *>("BT_Reset"), Qt::LeftButton);
    auto *list = d.findChild<QTreeWidget *>("LV_IPCounterData");
    for (int i = 0; i < 4; ++i)
        QCOMPARE(list->topLevelItem(i)->text(4), QString("0"));
    QVERIFY(samples(&d, 1));
    QCOMPARE(list->topLevelItem(0)->text(2), QString("0"));  // no Delta on the first poll after Reset
    QVERIFY(list->topLevelItem(0)->text(1) != "0");

    d.findChild<QComboBox *>("CB_Interval")->setCurrentIndex(1);
    QCOMPARE(d.findChild<QTimer *>("Timer1")->interval(), 5000);
    QCOMPARE(d.Model().IntervalSeconds(), 5);
}

// Another interface restarts the counting on its index: the first poll
// brings the rows back empty, the second the values.
void TestMonitors::pickRestarts()
{
    TIF_Counters d(nullptr, {}, kHost);
    d.show();
    QVERIFY(samples(&d, 2));
    auto *interfaces = d.findChild<QTreeWidget *>("LV_IFTableIndex");
    auto *counters = d.findChild<QTreeWidget *>("LV_IF_Counters");
    QVERIFY(interfaces->topLevelItemCount() > 2);
    QCOMPARE(d.PolledIndex(), interfaces->topLevelItem(0)->text(0));

    QTreeWidgetItem *second = interfaces->topLevelItem(1);
    QTest::mouseClick(interfaces->viewport(), Qt::LeftButton, {}, interfaces->visualItemRect(second).center());
    QCOMPARE(d.PolledIndex(), second->text(0));
    QCOMPARE(d.findChild<QLabel *>("ST_Index")->text(), second->text(0));
    QCOMPARE(counters->topLevelItemCount(), 0);
    QVERIFY(samples(&d, 1));
    QCOMPARE(counters->topLevelItemCount(), 11);
    QCOMPARE(column(counters, 1), QStringList(11));
    QCOMPARE(d.findChild<QTreeWidget *>("LV_IFCounterData")->topLevelItem(0)->text(0), second->text(0));
    QVERIFY(samples(&d, 1));
    QVERIFY(!counters->topLevelItem(0)->text(1).isEmpty());

    // The keyboard picks too.
    interfaces->setFocus();
    QTest::keyClick(interfaces, Qt::Key_Down);
    QCOMPARE(d.PolledIndex(), interfaces->topLevelItem(2)->text(0));
    // Refresh (F5) reads the list again and goes back to its first row.
    QTest::keyClick(interfaces, Qt::Key_F5);
    QVERIFY(d.PickerBinding()->Busy);
    QTRY_VERIFY_WITH_TIMEOUT(!d.PickerBinding()->Busy, 15000);
    QCOMPARE(d.PolledIndex(), interfaces->topLevelItem(0)->text(0));
    QCOMPARE(interfaces->currentItem(), interfaces->topLevelItem(0));
}

// After a reset and twelve polls with HistoryCount 10 every series shows
// the deltas of polls 3 to 12 at their times; 60 gives 60 zero points.
// The polls follow each other at once: the agent's counters moved between
// them because each poll is a request.
void TestMonitors::bridgeHistory()
{
    TTpBridgePortInfo_Table d(nullptr, {}, kHost);
    d.show();
    QTRY_VERIFY_WITH_TIMEOUT(!d.PolledIndex().isEmpty(), 15000);
    d.findChild<QTimer *>("Timer1")->stop();
    d.BT_ResetClick();
    QList<QList<double>> deltas(3);
    QStringList times;
    for (int poll = 1; poll <= 12; ++poll) {
        d.Timer1Timer();
        QVERIFY(samples(&d, 1));
        for (int i = 0; i < 3; ++i)
            deltas[i].append(d.Model().RowAt(i).Delta);
        times.append(d.Model().RowAt(0).History.last().label);
    }
    QVERIFY(deltas[0].last() > 0);
    KtHistoryChart *chart = d.Chart();
    for (int i = 0; i < 3; ++i) {
        QList<double> ys;
        for (const QPointF &p : chart->Series(i)->points())
            ys.append(p.y());
        QCOMPARE(ys, deltas[i].mid(2));
    }
    QCOMPARE(chart->TimeLabels(), times.mid(2));
    QCOMPARE(chart->Series(0)->color(), QColor(Qt::red));
    QCOMPARE(chart->Series(2)->color(), QColor(Qt::yellow));

    d.findChild<QComboBox *>("CB_HistoryCount")->setCurrentText("60");
    d.Timer1Timer();
    QVERIFY(samples(&d, 1));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(chart->Series(i)->count(), 60);
        for (const QPointF &p : chart->Series(i)->points())
            QCOMPARE(p.y(), 0.0);
    }

    auto *threeD = d.findChild<QCheckBox *>("CK_U3D");
    QCOMPARE(threeD->isEnabled(), KtHistoryChart::OpenGLAvailable());
    if (!threeD->isEnabled())
        QVERIFY(!threeD->toolTip().isEmpty());
}

void TestMonitors::copy_data()
{
    QTest::addColumn<bool>("routing");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("firstCell");
    QTest::newRow("routing table") << true
                                   << "Dest\tIF Index\tMetric1\tMetric2\tMetric3\tMetric4\tNext Hop\tType\tProto"
                                      "\tAge\tMask\tMetric5\tInfo"
                                   << "0.0.0.0";
    QTest::newRow("counters") << false << "Name\tValue\tDelta\tRate\tPeak\tPeak Occured at" << "udpInDatagrams";
}

// "Copy" puts the rows as tab-separated lines on the clipboard; the
// routing view reads its table again on Refresh.
void TestMonitors::copy()
{
    QFETCH(bool, routing);
    QFETCH(QString, header);
    QFETCH(QString, firstCell);
    std::unique_ptr<QDialog> d;
    QTreeWidget *list = nullptr;
    if (routing) {
        auto *r = new TIP_Routing(nullptr, {}, kHost);
        d.reset(r);
        d->show();
        list = r->findChild<QTreeWidget *>("LV_IP_Routing");
        QTRY_VERIFY_WITH_TIMEOUT(!r->Binding()->Busy && list->topLevelItemCount() > 0, 15000);
        const int rows = list->topLevelItemCount();
        QCOMPARE(d->windowTitle(), "IP Routing : " + kHost);
        r->BT_GetClick();
        QVERIFY(r->Binding()->Busy);
        QTRY_VERIFY_WITH_TIMEOUT(!r->Binding()->Busy, 15000);
        QCOMPARE(list->topLevelItemCount(), rows);
    } else {
        auto *u = new TUDP_Counters(nullptr, {}, kHost);
        d.reset(u);
        d->show();
        QVERIFY(samples(u, 1));
        list = u->findChild<QTreeWidget *>("LV_IPCounterData");
    }
    QApplication::clipboard()->clear();
    list->findChild<QAction *>("CopyAction")->trigger();
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), list->topLevelItemCount() + 1);
    QCOMPARE(lines.first(), header);
    QCOMPARE(lines.at(1).section('\t', 0, 0), firstCell);
    QCOMPARE(lines.at(1).count('\t'), list->columnCount() - 1);
}

// A device with no interfaces or ports: the message, and only that dialog
// closes. A group with a missing counter: the status line says why and
// the counters stay as they were.
void TestMonitors::emptyAndBadAnswers()
{
    QTemporaryDir dir;
    QFile seed(dir.filePath("minimal.snmprec"));
    QVERIFY(seed.open(QIODevice::WriteOnly));
    seed.write("1.3.6.1.2.1.1.1.0|4|minimal\n"
               "1.3.6.1.2.1.7.1.0|65|10\n"
               "1.3.6.1.2.1.7.3.0|65|0\n"
               "1.3.6.1.2.1.7.4.0|65|12\n");
    seed.close();
    AgentProcess bare;
    QVERIFY(bare.startClean({"--seed", seed.fileName()}));
    AgentSession::aimAt(bare.port());

    RegisterMonitorDialogs();
    MainWindow main;
    main.window.show();
    ScriptedMessages messages{ScriptedMessages::RecordOnly{true}};
    for (const QString &cls : {QString("TIF_Counters"), QString("TTpBridgePortInfo_Table")}) {
        QTimer guard;  // a dialog that stayed open would hang the test
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] {
            if (QWidget *w = QApplication::activeModalWidget())
                w->close();
        });
        guard.start(30000);
        QVERIFY(KtDialogRegistry::Open(cls, {&main, "Picked : "}));
        QVERIFY2(guard.isActive(), qPrintable(cls + " did not close by itself"));
    }
    QCOMPARE(messages.texts(), QStringList(2, "This device don't support it!"));
    QStringList owners;
    for (const ScriptedMessages::Shown &m : messages.shown())
        owners << m.ownerTitle;
    QCOMPARE(owners, QStringList(2, "Picked : " + kHost));
    QVERIFY(main.window.isVisible());
    QSignalSpy later(&main.window, &QObject::objectNameChanged);
    QTimer::singleShot(10, &main.window, [&] { main.window.setObjectName("still running"); });
    QVERIFY(later.wait(5000));

    TUDP_Counters udp(nullptr, {}, kHost);
    udp.show();
    QSignalSpy polls(&udp, &KtCounterMonitor::PollDone);
    QTRY_VERIFY_WITH_TIMEOUT(polls.size() >= 2, 15000);
    for (const QList<QVariant> &p : polls)
        QCOMPARE(p.at(0).toBool(), false);
    const QString status = udp.findChild<QLabel *>("StatusPanel0")->text();
    QVERIFY2(!status.contains("Ok!") && !status.isEmpty(), qPrintable(status));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(udp.Model().RowAt(i).Current, 0u);
        QCOMPARE(udp.Model().RowAt(i).ValueText, QString());
    }
    messages.clear();
    udp.close();
    bare.stop();
    QCOMPARE(messages.texts(), QStringList());
}

// Against a slow agent: a tick never starts a poll while one is out, and
// closing a dialog with a read still out is safe.
void TestMonitors::slowAgent()
{
    AgentProcess slow;
    QVERIFY(slow.startClean({"--delay", "1200"}));
    AgentSession::aimAt(slow.port());
    QTRY_COMPARE_WITH_TIMEOUT(KtSnmpEngine::Instance().Outstanding(), 0, 30000);  // nothing of the cases before

    auto *icmp = new TICMP_Counters(nullptr, {}, kHost);
    QSignalSpy polls(icmp, &KtCounterMonitor::PollDone);
    // A poll is two exchanges of at least 1.2 s, so ticks of the one-second
    // timer come while one is out; after each tick (this slot runs after
    // the dialog's) no more than that one exchange may be out.
    int ticks = 0, ticksWhileOut = 0, mostOut = 0, lastOut = 0;
    qsizetype pollsAtLastTick = 0;
    connect(icmp->findChild<QTimer *>("Timer1"), &QTimer::timeout, icmp, [&] {
        const int out = KtSnmpEngine::Instance().Outstanding();
        ++ticks;
        mostOut = qMax(mostOut, out);
        if (out > 0 && lastOut > 0 && polls.size() == pollsAtLastTick)
            ++ticksWhileOut;  // the poll out at the last tick was still out at this one
        lastOut = out;
        pollsAtLastTick = polls.size();
    });
    icmp->show();
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 7 && ticksWhileOut >= 2 && polls.size() >= 1, 60000);
    QCOMPARE(mostOut, 1);

    QTRY_VERIFY_WITH_TIMEOUT(icmp->CounterBinding()->Busy, 20000);
    delete icmp;
    auto *routing = new TIP_Routing(nullptr, {}, kHost);
    routing->show();
    QTRY_VERIFY_WITH_TIMEOUT(routing->Binding()->Busy, 20000);
    delete routing;
    QVERIFY(KtRequestLink::KeptRequests() > 0);
    QTRY_COMPARE_WITH_TIMEOUT(KtRequestLink::KeptRequests(), 0, 30000);
    slow.stop();
}

QTEST_MAIN(TestMonitors)
#include "tst_monitors.moc"
