#include "AgentOptions.h"

#include <QtTest>

class TestAgentOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void defaultStateDirFollowsXdg();
};

void TestAgentOptions::parse_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("listen");
    QTest::addColumn<int>("delay");
    QTest::addColumn<int>("drop");
    QTest::addColumn<bool>("v1");
    QTest::newRow("defaults") << QStringList{} << true << "udp:127.0.0.1:16161" << 0 << 0 << false;
    QTest::newRow("ipv6 listen") << QStringList{"--listen", "udp6:[::1]:16161"} << true << "udp6:[::1]:16161" << 0 << 0 << false;
    QTest::newRow("faults") << QStringList{"--delay", "250", "--drop", "30", "--v1-strict"} << true << "udp:127.0.0.1:16161" << 250 << 30 << true;
    QTest::newRow("drop above 100") << QStringList{"--drop", "101"} << false << "" << 0 << 0 << false;
    QTest::newRow("negative delay") << QStringList{"--delay", "-5"} << false << "" << 0 << 0 << false;
    QTest::newRow("delay not a number") << QStringList{"--delay", "5ms"} << false << "" << 0 << 0 << false;
    QTest::newRow("listen without value") << QStringList{"--listen"} << false << "" << 0 << 0 << false;
    QTest::newRow("empty seed") << QStringList{"--seed", ""} << false << "" << 0 << 0 << false;
    QTest::newRow("unknown") << QStringList{"--verbose"} << false << "" << 0 << 0 << false;
}

void TestAgentOptions::parse()
{
    QFETCH(QStringList, args);
    QFETCH(bool, ok);
    QFETCH(QString, listen);
    QFETCH(int, delay);
    QFETCH(int, drop);
    QFETCH(bool, v1);
    std::vector<std::string> a;
    for (const QString &s : args)
        a.push_back(s.toStdString());
    AgentOptions o;
    const std::string err = o.parse(a);
    QCOMPARE(err.empty(), ok);
    if (!ok)
        return;
    QCOMPARE(QString::fromStdString(o.listen), listen);
    QCOMPARE(o.delayMs, delay);
    QCOMPARE(o.dropPercent, drop);
    QCOMPARE(o.v1Strict, v1);
}

void TestAgentOptions::defaultStateDirFollowsXdg()
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/tmp/qsx-xdg");
    QCOMPARE(QString::fromStdString(AgentOptions::DefaultStateDir()), QString("/tmp/qsx-xdg/qsx4810-agent"));
    qunsetenv("XDG_STATE_HOME");
    const QString home = QString::fromLocal8Bit(qgetenv("HOME"));
    QCOMPARE(QString::fromStdString(AgentOptions::DefaultStateDir()), home + "/.local/state/qsx4810-agent");
    QVERIFY(!QString::fromStdString(AgentOptions::DefaultStateDir()).contains("/.snmp"));
    if (!saved.isNull())
        qputenv("XDG_STATE_HOME", saved);
}

QTEST_GUILESS_MAIN(TestAgentOptions)
#include "tst_agentoptions.moc"
