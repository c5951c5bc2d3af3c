// The connection test against the simulated agent and the stock snmpd:
// every way of getting the settings wrong gives its own cause at its own
// step, no step takes longer than the time-out x (retries + 1), and no
// community or pass phrase shows anywhere in the report.

#include "ShellWords.h"
#include "support/AgentProcess.h"
#include "support/SnmpdProcess.h"

#include "doctor/KtConnectionDoctor.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

namespace T = KtDoctorTexts;
using Step = KtDoctorStep;

enum class Peer { Agent, DroppingAgent, Snmpd, SnmpdV2cOnly, ClosedPort };

constexpr quint32 Timeout = 50;   // 0.5 s a try, one retry: at most 1 s a step
constexpr qint64 Margin = 1500;   // slack of a loaded machine; there is no lower bound

const char *const AgentAuth = "qsx4810auth";
const char *const AgentPriv = "qsx4810priv";

struct Case
{
    Peer peer = Peer::Agent;
    KtDoctorSettings settings;
    int failing = -1;  // Step::Kind; -1: every step passes
    T::Entry cause = T::AllPassed;
};

KtDoctorSettings community(const QString &read, const QString &write, quint8 version = 1)
{
    KtDoctorSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.version = version;
    s.readCommunity = read;
    s.writeCommunity = write;
    s.timeout = Timeout;
    s.retries = 1;
    return s;
}

// The running session's communities stay in the settings, as they do in the program.
KtDoctorSettings user(const QString &name, qint32 level, qint32 auth, qint32 priv, const QString &authPass,
                      const QString &privPass)
{
    KtDoctorSettings s = community(QStringLiteral("cobalt"), QStringLiteral("lantern"), 3);
    s.securityName = name;
    s.securityLevel = level;
    s.authProtocol = auth;
    s.privProtocol = priv;
    s.authPassword = authPass;
    s.privPassword = privPass;
    return s;
}

struct AgentUser
{
    const char *name;
    qint32 auth;  // 1 none, 2 MD5, 3 SHA
    qint32 priv;  // 1 none, 2 DES, 4 AES
};

const AgentUser AgentUsers[] = {
    {"noAuthUser", 1, 1}, {"MD5_User", 2, 1},     {"MD5_DES_User", 2, 2}, {"SHA_User", 3, 1},
    {"SHA_DES_User", 3, 2}, {"MD5_AES_User", 2, 4}, {"SHA_AES_User", 3, 4},
};

void row(const QString &name, const Case &c)
{
    QTest::newRow(qPrintable(name)) << c;
}

// Every v3 user of the agent right, then wrong in each way that applies to it.
void agentUserRows()
{
    const QString authPass = QString::fromLatin1(AgentAuth), privPass = QString::fromLatin1(AgentPriv);
    for (const AgentUser &u : AgentUsers) {
        const QString n = QString::fromLatin1(u.name);
        const qint32 level = u.priv != 1 ? 3 : u.auth != 1 ? 2 : 1;
        const auto settings = [&](qint32 lv, qint32 auth, qint32 priv, const QString &a, const QString &p) {
            return user(n, lv, auth, priv, a, p);
        };
        const KtDoctorSettings right = settings(level, u.auth, u.priv, authPass, privPass);
        row(n + QStringLiteral(" works"), {Peer::Agent, right});
        KtDoctorSettings unknown = right;
        unknown.securityName += QStringLiteral("x");
        row(n + QStringLiteral(" unknown name"), {Peer::Agent, unknown, Step::User, T::UnknownUser});
        if (u.auth != 1) {
            row(n + QStringLiteral(" wrong auth pass phrase"),
                {Peer::Agent, settings(level, u.auth, u.priv, QStringLiteral("wrong-auth-pass"), privPass), Step::User,
                 T::WrongAuth});
            row(n + QStringLiteral(" wrong auth protocol"),
                {Peer::Agent, settings(level, u.auth == 2 ? 3 : 2, u.priv, authPass, privPass), Step::User,
                 T::WrongAuth});
        }
        if (u.priv != 1) {
            row(n + QStringLiteral(" wrong priv pass phrase"),
                {Peer::Agent, settings(level, u.auth, u.priv, authPass, QStringLiteral("wrong-priv-pass")), Step::User,
                 T::WrongPriv});
            row(n + QStringLiteral(" wrong priv protocol"),
                {Peer::Agent, settings(level, u.auth, u.priv == 2 ? 4 : 2, authPass, privPass), Step::User,
                 T::WrongPriv});
        } else {
            row(n + QStringLiteral(" level too high"),
                {Peer::Agent, settings(level + 1, u.auth == 1 ? 2 : u.auth, 2, authPass, privPass), Step::User,
                 T::LevelNotConfigured});
        }
    }
}

// Whether the system's hosts file names localhost 127.0.0.1: then its look-up
// never leaves the machine.
bool localhostInHostsFile()
{
    QFile hosts(QStringLiteral("/etc/hosts"));
    if (!hosts.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!hosts.atEnd()) {
        const QStringList words = QString::fromLatin1(hosts.readLine()).section(QLatin1Char('#'), 0, 0).simplified().split(
            QLatin1Char(' '));
        if (words.value(0) == QLatin1String("127.0.0.1") && words.mid(1).contains(QLatin1String("localhost")))
            return true;
    }
    return false;
}

QStringList secretsOf(const KtDoctorSettings &s)
{
    QStringList secrets;
    for (const QString &secret : {s.readCommunity, s.writeCommunity, s.authPassword, s.privPassword})
        if (!secret.isEmpty())
            secrets << secret;
    return secrets;
}

} // namespace

Q_DECLARE_METATYPE(Case)

class TestConnectionDoctor : public QObject
{
    Q_OBJECT

    AgentProcess m_agent;
    AgentProcess m_dropping;
    SnmpdTest::SnmpdProcess m_snmpd;
    // A library setting: it needs its section in the agent's file.
    SnmpdTest::SnmpdProcess m_v2cOnly{QStringLiteral("[snmp] disableSNMPv3 yes\n")};
    QTemporaryDir m_folder;

    quint16 portOf(Peer peer) const
    {
        switch (peer) {
        case Peer::Agent: return m_agent.port();
        case Peer::DroppingAgent: return m_dropping.port();
        case Peer::Snmpd: return m_snmpd.port();
        case Peer::SnmpdV2cOnly: return m_v2cOnly.port();
        case Peer::ClosedPort: return TestSupport::freeUdpPort();
        }
        return 0;
    }

    // Runs the test and checks what every report must hold.
    KtDoctorReport run(KtDoctorSettings settings, Peer peer)
    {
        if (settings.port == 161)
            settings.port = portOf(peer);
        KtConnectionDoctor doctor;
        QSignalSpy finished(&doctor, &KtConnectionDoctor::Finished);
        doctor.Start(settings);
        const qint64 bound = settings.StepBoundMs();
        [&] { QVERIFY(finished.wait(int(6 * (bound + Margin)))); }();
        const KtDoctorReport report = doctor.Report();
        const QString text = report.Text();
        for (const Step &step : report.steps)
            if (step.state == Step::Passed || step.state == Step::Failed)
                [&] { QVERIFY2(step.elapsedMs <= bound + Margin, qPrintable(text)); }();
        for (const QString &secret : secretsOf(settings))
            [&] { QVERIFY2(!text.contains(secret), qPrintable(secret + QStringLiteral(" in\n") + text)); }();
        return report;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_agent.start());
        QVERIFY(m_dropping.start({QStringLiteral("--drop"), QStringLiteral("100")}));
        QVERIFY(m_snmpd.start());
        QVERIFY(m_v2cOnly.start());
        KtSNMPSession::StartSession(m_folder.path());
    }

    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    void ladder_data()
    {
        QTest::addColumn<Case>("c");
        agentUserRows();
        const QString authPass = QString::fromLatin1(SnmpdTest::AuthPass);
        const QString privPass = QString::fromLatin1(SnmpdTest::PrivPass);
        const KtDoctorSettings v2 = community(QStringLiteral("cobalt"), QStringLiteral("lantern"));
        row("v2c works", {Peer::Agent, v2});
        row("v1 works", {Peer::Agent, community(QStringLiteral("cobalt"), QStringLiteral("lantern"), 0)});
        row("v2c wrong community",
            {Peer::Agent, community(QStringLiteral("wrong-community-7"), QStringLiteral("lantern")), Step::Read,
             T::WrongCommunity});
        row("v2c wrong write community",
            {Peer::Agent, community(QStringLiteral("cobalt"), QStringLiteral("wrong-write-7")), Step::Write,
             T::WrongWriteCommunity});
        row("v2c read-only credentials",
            {Peer::Agent, community(QStringLiteral("cobalt"), QStringLiteral("cobalt")), Step::Write, T::ReadOnly});
        row("closed port", {Peer::ClosedPort, v2, Step::Port, T::PortRefused});
        row("agent dropping every request", {Peer::DroppingAgent, v2, Step::Port, T::PortSilent});
        KtDoctorSettings badHost = v2;
        badHost.host = QStringLiteral("300.1.2.3");
        row("not an address", {Peer::Agent, badHost, Step::Resolve, T::HostBadAddress});
        if (localhostInHostsFile()) {
            KtDoctorSettings named = v2;
            named.host = QStringLiteral("localhost");
            row("host name", {Peer::Agent, named});
        }
        KtDoctorSettings portZero = v2;
        portZero.port = 0;
        row("port 0", {Peer::Agent, portZero, Step::Port, T::BadPort});
        row("IDEA privacy",
            {Peer::Agent, user(QStringLiteral("MD5_DES_User"), 3, 2, 9, QString::fromLatin1(AgentAuth),
                               QString::fromLatin1(AgentPriv)),
             Step::User, T::PrivUnavailable});
        row("short auth pass phrase",
            {Peer::Agent, user(QStringLiteral("MD5_User"), 2, 2, 1, QStringLiteral("k9!z"), {}), Step::User,
             T::AuthPassShort});

        row("snmpd without SNMPv3",
            {Peer::SnmpdV2cOnly, user(QStringLiteral("shaaes"), 3, 3, 4, authPass, privPass), Step::Discovery,
             T::NoSnmpV3});
        row("snmpd SHA-256/AES-256 works",
            {Peer::Snmpd, user(QStringLiteral("sha256aes256"), 3, 5, 6, authPass, privPass)});
        row("snmpd SHA-512/AES wrong priv pass phrase",
            {Peer::Snmpd, user(QStringLiteral("sha512aes"), 3, 7, 4, authPass, QStringLiteral("wrong-priv-pass")),
             Step::User, T::WrongPriv});
        row("snmpd authNoPriv for a privacy user",
            {Peer::Snmpd, user(QStringLiteral("shades"), 2, 3, 1, authPass, {}), Step::User, T::UserRefused});
        row("snmpd v2c read-only credentials",
            {Peer::Snmpd, community(QStringLiteral("cobalt"), QStringLiteral("cobalt")), Step::Write, T::ReadOnly});
        row("snmpd v1 read-only credentials",
            {Peer::Snmpd, community(QStringLiteral("cobalt"), QStringLiteral("cobalt"), 0), Step::Write, T::ReadOnly});
        row("snmpd read-only user",
            {Peer::Snmpd, user(QStringLiteral("viewuser"), 3, 3, 4, authPass, privPass), Step::Write, T::ReadOnly});
    }

    void ladder()
    {
        QFETCH(Case, c);
        const KtDoctorReport report = run(c.settings, c.peer);
        const QString text = report.Text();
        QVERIFY2(report.finished, qPrintable(text));
        const Step *failed = report.FailedStep();
        if (c.failing < 0) {
            QVERIFY2(!failed, qPrintable(text));
            QCOMPARE(report.steps.first().cause, c.settings.host == QLatin1String("127.0.0.1") ? T::HostIsAddress
                                                                                              : T::HostResolved);
            QCOMPARE(report.Summary(), T::Text(T::AllPassed));
            return;
        }
        QVERIFY2(failed, qPrintable(text));
        QCOMPARE(int(failed->kind), c.failing);
        QVERIFY2(failed->cause == c.cause, qPrintable(text));
        // The sentence is the cause's catalogue text with its fields filled.
        QVERIFY(!failed->sentence.contains(QLatin1Char('[')));
        QVERIFY2(failed->command.startsWith(QLatin1String("snmpget ")) || failed->command.startsWith(
                     QLatin1String("snmpset ")), qPrintable(failed->command));
        for (const Step &later : report.steps)
            if (later.kind > failed->kind)
                QCOMPARE(later.state, Step::NotRun);
    }

    // The command of the failing step, secrets filled back in, fails the same way.
    void commandReproducesTheFailure_data()
    {
        QTest::addColumn<Case>("c");
        QTest::addColumn<QStringList>("secrets");
        QTest::addColumn<QString>("expected");
        QTest::newRow("read-only") << Case{Peer::Agent, community(QStringLiteral("cobalt"), QStringLiteral("cobalt"))}
                                   << QStringList{"cobalt"} << "noAccess";
        QTest::newRow("wrong auth") << Case{Peer::Agent, user(QStringLiteral("SHA_User"), 2, 3, 1,
                                                              QStringLiteral("wrong-auth-pass"), {})}
                                    << QStringList{"wrong-auth-pass"} << "Authentication failure";
        QTest::newRow("wrong priv") << Case{Peer::Agent, user(QStringLiteral("SHA_AES_User"), 3, 3, 4,
                                                              QString::fromLatin1(AgentAuth),
                                                              QStringLiteral("wrong-priv-pass"))}
                                    << QStringList{QString::fromLatin1(AgentAuth), "wrong-priv-pass"} << "Timeout";
    }

    void commandReproducesTheFailure()
    {
        QFETCH(Case, c);
        QFETCH(QStringList, secrets);
        QFETCH(QString, expected);
        const KtDoctorReport report = run(c.settings, c.peer);
        const Step *failed = report.FailedStep();
        QVERIFY2(failed, qPrintable(report.Text()));
        QStringList words = shellWords(failed->command);
        for (QString &w : words)
            if (w == QLatin1String("****") && !secrets.isEmpty())
                w = secrets.takeFirst();
        QVERIFY(secrets.isEmpty());
        QTemporaryDir client;
        const TestSupport::ToolResult r = TestSupport::runNetSnmpTool(client.path(), words.takeFirst(), words);
        QVERIFY2((r.out + r.err).contains(expected), qPrintable(failed->command + QLatin1Char('\n') + r.out + r.err));
    }

    // The module's own requests of the same user may be out while the test
    // runs (the LED poll does not stop): with the same keys the test goes
    // beside them; with other keys it says that it could not send, instead
    // of blaming the device.
    void besideTheModulesOwnRequests_data()
    {
        // The poll's privacy key is wrong too, so the device keeps it waiting.
        QTest::addColumn<QString>("pollPriv");
        QTest::addColumn<int>("cause");
        QTest::newRow("same keys") << QStringLiteral("wrong-priv-pass") << int(T::WrongPriv);
        QTest::newRow("other keys") << QStringLiteral("other-priv-pass") << int(T::UserBusy);
    }

    void besideTheModulesOwnRequests()
    {
        QFETCH(QString, pollPriv);
        QFETCH(int, cause);
        const KtDoctorSettings settings = user(QStringLiteral("SHA_AES_User"), 3, 3, 4, QString::fromLatin1(AgentAuth),
                                               QStringLiteral("wrong-priv-pass"));
        KtSnmpTarget poll;
        poll.host = settings.host;
        poll.port = m_agent.port();
        poll.version = 3;
        poll.timeout = 300;  // out for longer than a step of the test
        poll.retries = 1;
        poll.securityLevel = 3;
        poll.securityName = settings.securityName;
        poll.authProtocol = 3;
        poll.privProtocol = 4;
        poll.authPassword = settings.authPassword;
        poll.privPassword = pollPriv;
        KtVarBind uptime;
        uptime.oid = QStringLiteral("1.3.6.1.2.1.1.3.0");
        KtSnmpEngine &engine = KtSnmpEngine::Instance();
        const quint64 ticket = engine.Send(poll, KtPduCommand::Get, {uptime}, [](const KtPduResult &) {});
        engine.Detach(ticket);
        QTRY_VERIFY_WITH_TIMEOUT(engine.Sent(ticket), 15000);
        const KtDoctorReport report = run(settings, Peer::Agent);
        QVERIFY2(report.FailedStep() && report.FailedStep()->cause == cause, qPrintable(report.Text()));
    }
};

QTEST_GUILESS_MAIN(TestConnectionDoctor)
#include "tst_connectiondoctor.moc"
