// The test helpers themselves: loopback ports, the SNMP probe, the process
// base (start, time-out, stop, death with a crashed test) and codeOf.

#include "support/ChildCase.h"
#include "support/ExceptionCode.h"
#include "support/LoopbackUdp.h"
#include "support/SnmpdProcess.h"
#include "support/TestProcess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace TestSupport;

Q_DECLARE_METATYPE(TestSupport::Loopback)

namespace {

const char *const HoldAndCrash = "--hold-a-process-and-crash";

class ShellProcess : public TestProcess
{
public:
    ShellProcess() : TestProcess(QStringLiteral("sh")) {}
    ~ShellProcess() override { stop(); }
    bool start(const QString &script, const std::function<bool()> &ready, int timeoutMs)
    {
        return launch(QStringLiteral("sh"), {QStringLiteral("-c"), script}, QProcessEnvironment::systemEnvironment(),
                      ready, timeoutMs);
    }
};

// Gone, or a zombie nobody has reaped yet.
bool processGone(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
}

void addFamilies()
{
    QTest::addColumn<Loopback>("family");
    QTest::newRow("IPv4") << Loopback::V4;
    QTest::newRow("IPv6") << Loopback::V6;
}

} // namespace

class TestTestSupport : public QObject
{
    Q_OBJECT

    SnmpdTest::SnmpdProcess m_snmpd;
    ChildCase m_child;

private slots:
    void initTestCase()
    {
        QVERIFY(m_snmpd.start());
        m_child.start("childCaseFailsOnPurpose");
    }

    // In the child this case fails; the parent sees that failure, with its text.
    void childCaseFailsOnPurpose()
    {
        if (m_child.inParent()) {
            QVERIFY(!m_child.passed());
            QVERIFY2(m_child.output().contains(QLatin1String("FAIL!  : TestTestSupport::childCaseFailsOnPurpose()")),
                     qPrintable(m_child.output()));
            QVERIFY(m_child.output().contains(QLatin1String("failing on purpose")));
            QVERIFY(!m_child.output().contains(QLatin1String("freePortCanBeBound")));  // that case alone
            return;
        }
        QVERIFY(ChildCase::isChild());
        QFAIL("failing on purpose");
    }

    void freePortCanBeBound_data() { addFamilies(); }
    void freePortCanBeBound()
    {
        QFETCH(Loopback, family);
        const quint16 port = freeUdpPort(family);
        QVERIFY(port >= 1024);
        QVERIFY(!udpPortBound(port));
        const int fd = openUdpSocket(family, port);
        QVERIFY(fd >= 0);
        QCOMPARE(localPort(fd), port);
        QVERIFY(udpPortBound(port));
        ::close(fd);
        QVERIFY(!udpPortBound(port));
    }

    void silentPortCountsAndNeverAnswers_data() { addFamilies(); }
    void silentPortCountsAndNeverAnswers()
    {
        QFETCH(Loopback, family);
        SilentPort silent(0, family);
        QVERIFY(silent.isOpen());
        QCOMPARE(silent.received(), 0);
        const int fd = openUdpSocket(family);
        const LoopbackAddress to(family, silent.port());
        for (int i = 0; i < 3; ++i)
            QVERIFY(::sendto(fd, "x", 1, 0, to.get(), to.length) == 1);
        ::close(fd);
        QTRY_COMPARE(silent.received(), 3);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!snmpGetAnswered(family, silent.port(), 1, "cobalt", 100));
        QVERIFY(clock.elapsed() >= 90);
        QCOMPARE(silent.received(), 4);  // the probe arrived, nobody answered
        // A port in use cannot be had twice.
        SilentPort again(silent.port(), family);
        QVERIFY(!again.isOpen());
    }

    // snmpd drops malformed requests and foreign communities: an answer
    // proves the probe is a well-formed get.
    void probeAndToolsAgainstSnmpd_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QByteArray>("community");
        QTest::addColumn<bool>("answered");
        QTest::newRow("v2c") << 1 << QByteArray("cobalt") << true;
        QTest::newRow("v1") << 0 << QByteArray("cobalt") << true;
        QTest::newRow("write community") << 1 << QByteArray("lantern") << true;
        QTest::newRow("unknown community") << 1 << QByteArray("brass") << false;
    }
    void probeAndToolsAgainstSnmpd()
    {
        QFETCH(int, version);
        QFETCH(QByteArray, community);
        QFETCH(bool, answered);
        // Long enough for a busy machine's answer, so that silence means none.
        QCOMPARE(snmpGetAnswered(Loopback::V4, m_snmpd.port(), version, community, 2000), answered);
        const ToolResult r = runNetSnmpTool(
            m_snmpd.folder(), QStringLiteral("snmpget"),
            {QStringLiteral("-v") + (version ? QStringLiteral("2c") : QStringLiteral("1")), QStringLiteral("-c"),
             QString::fromLatin1(community), QStringLiteral("-On"), QStringLiteral("-t"), QStringLiteral("2"),
             QStringLiteral("-r"), QStringLiteral("0"), QStringLiteral("127.0.0.1:%1").arg(m_snmpd.port()),
             QStringLiteral("1.3.6.1.2.1.1.3.0")});
        QCOMPARE(r.exitCode == 0, answered);
        QCOMPARE(r.out.contains(QLatin1String(".1.3.6.1.2.1.1.3.0 = Timeticks")), answered);
    }

    void snmpdStopsByItsPidAndKeepsItsLog()
    {
        const qint64 pid = m_snmpd.pid();
        QVERIFY(m_snmpd.isRunning());
        m_snmpd.stop();
        QVERIFY(!m_snmpd.isRunning());
        QVERIFY(processGone(pid));
        QVERIFY2(m_snmpd.log().contains(QLatin1String("NET-SNMP version")), qPrintable(m_snmpd.log()));
    }

    void startFailsWhenTheProcessDoesNotAnswer_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<bool>("waitsItOut");
        QTest::newRow("silent") << "echo waiting here; exec sleep 30" << "waiting here" << true;
        QTest::newRow("exits") << "echo bad option; exit 3" << "bad option" << false;
    }
    void startFailsWhenTheProcessDoesNotAnswer()
    {
        QFETCH(QString, script);
        QFETCH(QString, logged);
        QFETCH(bool, waitsItOut);
        ShellProcess p;
        QElapsedTimer clock;
        clock.start();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^sh: ")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("log, last")));
        // An exit ends the wait at once, long before a time-out no busy
        // machine reaches; silence only at the time-out.
        const int timeoutMs = waitsItOut ? 800 : 30000;
        QVERIFY(!p.start(script, [] { return false; }, timeoutMs));
        QVERIFY2(waitsItOut ? clock.elapsed() >= timeoutMs : clock.elapsed() < timeoutMs / 2,
                 qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!p.isRunning());
        QVERIFY2(p.log().contains(logged), qPrintable(p.log()));
    }

    void readyEndsTheWaitAndStopEndsOnlyItsOwnProcess()
    {
        ShellProcess a, b;
        int polls = 0;
        QVERIFY(a.start(QStringLiteral("exec sleep 30"), [&] { return ++polls == 3; }, 20000));
        QCOMPARE(polls, 3);
        QVERIFY(b.start(QStringLiteral("exec sleep 30"), [] { return true; }, 20000));
        const qint64 pa = a.pid(), pb = b.pid();
        a.stop();
        QVERIFY(processGone(pa));
        QVERIFY(b.isRunning());
        QVERIFY(!processGone(pb));
    }

    // A process that ignores SIGTERM is killed after the grace time.
    void stopEscalatesToKill()
    {
        ShellProcess p;
        p.setStopGrace(200);
        QVERIFY(p.start(QStringLiteral("trap '' TERM; echo trapped; exec sleep 30"),
                        [&p] { return p.log().contains(QLatin1String("trapped")); }, 20000));
        QElapsedTimer clock;
        clock.start();
        p.stop();
        QVERIFY(!p.isRunning());
        QCOMPARE(p.process().exitStatus(), QProcess::CrashExit);
        QVERIFY2(clock.elapsed() >= 190 && clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }

    // The test runs itself with HoldAndCrash: it starts a process and kills
    // itself with SIGKILL, so that no destructor runs.
    void processDiesWithACrashedTest()
    {
        QProcess crashing;
        crashing.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(HoldAndCrash)});
        QVERIFY(crashing.waitForFinished(20000));
        QCOMPARE(crashing.exitStatus(), QProcess::CrashExit);
        bool ok = false;
        const qint64 pid = crashing.readAllStandardOutput().trimmed().toLongLong(&ok);
        QVERIFY(ok && pid > 0);
        QTRY_VERIFY_WITH_TIMEOUT(processGone(pid), 20000);
    }

    void codeOfReportsCodeAndMessage()
    {
        QString message = QStringLiteral("untouched");
        QCOMPARE(codeOf([] {}, &message), 0);
        QCOMPARE(message, QStringLiteral("untouched"));
        QCOMPARE(codeOf([] { throw KtException(-405, QStringLiteral("SNMP request timed out!")); }, &message), -405);
        QCOMPARE(message, QStringLiteral("SNMP request timed out!"));
    }
};

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], HoldAndCrash) == 0) {
        QCoreApplication app(argc, argv);
        ShellProcess held;
        if (!held.start(QStringLiteral("exec sleep 30"), [] { return true; }, 20000))
            return 1;
        std::printf("%lld\n", held.pid());
        std::fflush(stdout);
        ::raise(SIGKILL);
    }
    QCoreApplication app(argc, argv);
    TestTestSupport test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_testsupport.moc"
