// Failures, lifetime and delivery rules of the request engine, against the
// stock snmpd and against a bound port that never answers.

#include "support/ChildCase.h"
#include "support/EnginePump.h"
#include "support/ExceptionCode.h"
#include "support/SnmpTestSupport.h"

#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"
#include "snmp/SnmpEventProcessor.h"

#include <QElapsedTimer>
#include <QSysInfo>
#include <QTest>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <memory>

#include <netinet/in.h>
#include <unistd.h>

using namespace SnmpdTest;

Q_DECLARE_METATYPE(SnmpdTest::Credentials)

namespace {

struct Outcome
{
    int calls = 0;
    KtSNMPError e;
};

void record(void *data, KtSNMPError *result, KtSNMPVarList *)
{
    auto *o = static_cast<Outcome *>(data);
    ++o->calls;
    o->e = *result;
}

KtSNMPVarList contactList()
{
    KtSNMPVarList l;
    l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.4"), QStringLiteral("sysContact"), KtType::DisplayStr,
                KtAccess::ReadWrite);
    return l;
}

// Forwards datagrams between one client and the agent, keeping the requests.
class UdpRelay
{
public:
    explicit UdpRelay(quint16 agentPort)
        : m_front(TestSupport::openUdpSocket()), m_back(TestSupport::openUdpSocket()),
          m_port(TestSupport::localPort(m_front)), m_agent(TestSupport::Loopback::V4, agentPort)
    {
        m_frontNotifier = std::make_unique<QSocketNotifier>(m_front, QSocketNotifier::Read);
        m_backNotifier = std::make_unique<QSocketNotifier>(m_back, QSocketNotifier::Read);
        QObject::connect(m_frontNotifier.get(), &QSocketNotifier::activated, [this] { forward(true); });
        QObject::connect(m_backNotifier.get(), &QSocketNotifier::activated, [this] { forward(false); });
    }
    ~UdpRelay()
    {
        m_frontNotifier.reset();
        m_backNotifier.reset();
        ::close(m_front);
        ::close(m_back);
    }
    quint16 port() const { return m_port; }
    QList<QByteArray> requests() const { return m_requests; }

private:
    void forward(bool fromClient)
    {
        char buf[65536];
        if (fromClient) {
            socklen_t len = sizeof m_client;
            const ssize_t n = ::recvfrom(m_front, buf, sizeof buf, 0, reinterpret_cast<sockaddr *>(&m_client), &len);
            if (n <= 0)
                return;
            m_requests.append(QByteArray(buf, int(n)));
            ::sendto(m_back, buf, size_t(n), 0, m_agent.get(), m_agent.length);
        } else {
            const ssize_t n = ::recv(m_back, buf, sizeof buf, 0);
            if (n > 0)
                ::sendto(m_front, buf, size_t(n), 0, reinterpret_cast<sockaddr *>(&m_client), sizeof m_client);
        }
    }

    int m_front = -1;
    int m_back = -1;
    quint16 m_port = 0;
    TestSupport::LoopbackAddress m_agent;
    sockaddr_in m_client{};
    std::unique_ptr<QSocketNotifier> m_frontNotifier;
    std::unique_ptr<QSocketNotifier> m_backNotifier;
    QList<QByteArray> m_requests;
};

} // namespace

class TestRequestFaults : public QObject
{
    Q_OBJECT

private:
    SnmpdSession m_env;
    TestSupport::ChildCase m_sixSeconds;

    void addVersions()
    {
        addCredentialRows({{"v1", v1()}, {"v2c", v2c()}, {"v3", v3(QStringLiteral("shaaes"), 3, 3, 4)}});
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_env.start());
        m_sixSeconds.start("destructionWaitsAtMostSixSeconds");
    }
    void cleanupTestCase() { m_env.stop(); }

    void timeOutAfterTheConfiguredRetries_data() { addVersions(); }
    void timeOutAfterTheConfiguredRetries()
    {
        QFETCH(Credentials, cred);
        SilentPort silent;
        KtSNMPRequest r(systemList());
        aim(r, silent.port(), cred);
        r.Timeout = 10;
        r.Retries = 1;
        QString message;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(codeOf([&] { r.Fetch(true); }, &message), -405);
        // Two tries of 100 ms, less the timer's slack.
        QVERIFY2(clock.elapsed() >= 180, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(message, QStringLiteral("SNMP request timed out!"));
        QCOMPARE(silent.received(), 2);  // first try and one retry

        r.Retries = 2;
        Outcome o;
        r.FetchAsync(record, &o, true);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        QCOMPARE(o.e.Code, -405);
        QCOMPARE(o.e.Message, QStringLiteral("SNMP request timed out!"));
        QVERIFY(o.e.Finished);
        QCOMPARE(silent.received(), 2 + 3);
        QCOMPARE(r.Pending, 0);
    }

    // Nothing bound: the host answers with port-unreachable errors.
    void timeOutWhereNothingListens_data() { addVersions(); }
    void timeOutWhereNothingListens()
    {
        QFETCH(Credentials, cred);
        KtSNMPRequest r(systemList());
        aim(r, freeUdpPort(), cred);
        r.Timeout = 5;
        r.Retries = 1;
        QCOMPARE(codeOf([&] { r.Fetch(true); }), -405);
        Outcome o;
        r.FetchAsync(record, &o, true);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        QCOMPARE(o.e.Code, -405);
    }

    void wrongCommunityGetsNoAnswer()
    {
        KtSNMPRequest r(systemList());
        aim(r, m_env.port(), v2c());
        r.ReadCommunity = QStringLiteral("brass");
        r.Timeout = 100;  // two tries of 1 s: a late answer would still be seen
        QCOMPARE(codeOf([&] { r.Fetch(true); }), -405);
    }

    void usmFailuresReachTheirCodes_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("authPass");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("wrong pass phrase") << "md5des" << 3 << "not-the-pass" << -308 << "Authentication failure!";
        QTest::newRow("unknown user") << "stranger" << 3 << AuthPass << -304 << "Unknown SecurityName!";
        QTest::newRow("level above the user's") << "noauth" << 2 << AuthPass << -303 << "Unsupported SecurityLevel!";
    }
    void usmFailuresReachTheirCodes()
    {
        QFETCH(QString, user);
        QFETCH(int, level);
        QFETCH(QString, authPass);
        QFETCH(int, code);
        QFETCH(QString, text);
        KtSNMPRequest r(systemList());
        aim(r, m_env.port(), v3(user, level, 2, 2));
        r.AuthPassword = authPass;
        r.Timeout = 200;  // refusals are reports, at once; the time-out only has to outlast a slow one
        QString message;
        QCOMPARE(codeOf([&] { r.Fetch(true); }, &message), code);
        QCOMPARE(message, text);

        Outcome o;
        r.FetchAsync(record, &o, true);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        QCOMPARE(o.e.Code, code);
        QCOMPARE(o.e.Message, text);
        QVERIFY(o.e.Finished);
    }

    // Refused before anything leaves the host.
    void settingsRefusedBeforeSending_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("auth");
        QTest::addColumn<int>("priv");
        QTest::addColumn<QString>("authPass");
        QTest::addColumn<QString>("privPass");
        QTest::addColumn<int>("code");
        const QString a = QString::fromLatin1(AuthPass), p = QString::fromLatin1(PrivPass);
        QTest::newRow("IDEA") << "127.0.0.1" << 3 << 3 << 9 << a << p << -313;
        QTest::newRow("unknown privacy code") << "127.0.0.1" << 3 << 3 << 3 << a << p << -313;
        QTest::newRow("unknown authentication code") << "127.0.0.1" << 2 << 8 << 1 << a << p << -312;
        QTest::newRow("short auth pass phrase") << "127.0.0.1" << 2 << 3 << 1 << "short" << p << -307;
        QTest::newRow("short priv pass phrase") << "127.0.0.1" << 3 << 3 << 4 << a << "tiny" << -305;
        QTest::newRow("auth level without protocol") << "127.0.0.1" << 2 << 1 << 1 << a << p << -303;
        QTest::newRow("level 4") << "127.0.0.1" << 4 << 3 << 4 << a << p << -303;
        QTest::newRow("part above 255") << "127.0.0.300" << 1 << 1 << 1 << a << p << -509;
        QTest::newRow("three parts") << "127.0.1" << 1 << 1 << 1 << a << p << -509;
        QTest::newRow("host name") << "switch.example" << 1 << 1 << 1 << a << p << -509;
        QTest::newRow("empty") << "" << 1 << 1 << 1 << a << p << -509;
    }
    void settingsRefusedBeforeSending()
    {
        QFETCH(QString, host);
        QFETCH(int, level);
        QFETCH(int, auth);
        QFETCH(int, priv);
        QFETCH(QString, authPass);
        QFETCH(QString, privPass);
        QFETCH(int, code);
        SilentPort silent;
        KtSNMPRequest r(contactList());
        aim(r, silent.port(), v3(QStringLiteral("shaaes"), level, auth, priv));
        r.Host = host;
        r.AuthPassword = authPass;
        r.PrivPassword = privPass;
        QString message;
        QCOMPARE(codeOf([&] { r.Fetch(true); }, &message), code);
        QVERIFY(!message.isEmpty());
        QCOMPARE(codeOf([&] { r.FetchAsync(record, nullptr, true); }), code);
        QCOMPARE(codeOf([&] { r.Store(); }), code);
        QCOMPARE(codeOf([&] { r.StoreAsync(record, nullptr); }), code);
        QCOMPARE(r.Pending, 0);
        QVERIFY(TestSupport::pumpTicked());  // nothing left for the pump to send either
        QCOMPARE(silent.received(), 0);
    }

    void clearedAliveSendsNothing()
    {
        SilentPort silent;
        Outcome o;
        {
            KtSNMPRequest r(contactList());
            aim(r, silent.port(), v2c());
            r.Alive = false;
            QCOMPARE(r.Fetch(true), false);
            QCOMPARE(r.Store(), false);
            r.FetchAsync(record, &o, true);
            r.StoreAsync(record, &o);
            QCOMPARE(r.Pending, 0);
        }
        QVERIFY(TestSupport::pumpTicked());
        QCOMPARE(silent.received(), 0);
        QCOMPARE(o.calls, 0);
    }

    void destructionWithAnAnswerOnItsWayIsQuick()
    {
        Outcome o;
        auto r = std::make_unique<KtSNMPRequest>(contactList());
        aim(*r, m_env.port(), v2c());
        r->FetchAsync(record, &o, true);
        QElapsedTimer clock;
        clock.start();
        r.reset();
        // Its answer ended the wait, long before the longest one.
        QVERIFY2(clock.elapsed() < KtSNMPRequest::DestroyWaitMs / 2, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(TestSupport::pumpTicked());
        QCOMPARE(o.calls, 0);  // a request being destroyed calls nobody
    }

    // A binding may close its dialog, and so delete its request, from the callback.
    void callbackMayDeleteItsRequest()
    {
        struct Ctx
        {
            KtSNMPRequest *request = nullptr;
            int pendingSeen = -1;
            int calls = 0;
        } ctx;
        ctx.request = new KtSNMPRequest(systemList());
        aim(*ctx.request, m_env.port(), v2c());
        ctx.request->FetchAsync(
            [](void *d, KtSNMPError *, KtSNMPVarList *) {
                auto *c = static_cast<Ctx *>(d);
                ++c->calls;
                c->pendingSeen = c->request->Pending;
                QElapsedTimer clock;
                clock.start();
                delete c->request;  // nothing outstanding: no waiting
                c->request = nullptr;
                QVERIFY(clock.elapsed() < KtSNMPRequest::DestroyWaitMs / 2);
            },
            &ctx, true);
        QTRY_COMPARE_WITH_TIMEOUT(ctx.calls, 1, 20000);
        QCOMPARE(ctx.pendingSeen, 0);
        QVERIFY(!ctx.request);
    }

    void passPhraseChangeTakesEffectAtTheNextRequest_data()
    {
        QTest::addColumn<QStringList>("passes");
        QTest::addColumn<QList<int>>("codes");
        const QString right = QString::fromLatin1(AuthPass);
        const QString wrong = QStringLiteral("wrong-pass-9");
        QTest::newRow("right, wrong, right") << QStringList{right, wrong, right} << QList<int>{0, -308, 0};
        QTest::newRow("wrong, right, wrong") << QStringList{wrong, right, wrong} << QList<int>{-308, 0, -308};
    }
    void passPhraseChangeTakesEffectAtTheNextRequest()
    {
        QFETCH(QStringList, passes);
        QFETCH(QList<int>, codes);
        // A fresh agent: the first request learns its engine in each row.
        SnmpdProcess agent;
        QVERIFY(agent.start());
        for (int i = 0; i < passes.size(); ++i) {
            KtSNMPRequest r(systemList());
            aim(r, agent.port(), v3(QStringLiteral("shades"), 3, 3, 2));
            r.AuthPassword = passes.at(i);
            r.Timeout = 200;
            QCOMPARE(codeOf([&] { r.Fetch(true); }), codes.at(i));
            if (codes.at(i) == 0)
                QCOMPARE(r.Vars.Get(4).Value, QSysInfo::machineHostName());
        }
    }

    // With -C the daemon takes a new engine identifier on every start.
    void restartedAgentIsDiscoveredAgain()
    {
        SnmpdProcess agent;
        QVERIFY(agent.start());
        KtSNMPRequest r(systemList());
        aim(r, agent.port(), v3(QStringLiteral("md5des"), 3, 2, 2));
        r.Timeout = 200;
        r.Fetch(true);
        QCOMPARE(r.Vars.Get(4).Value, QSysInfo::machineHostName());
        const quint16 port = agent.port();
        agent.stop();
        QVERIFY(agent.start(port));
        r.Vars.Get(4).Value.clear();
        r.Fetch(true);
        QCOMPARE(r.Vars.Get(4).Value, QSysInfo::machineHostName());
        Outcome o;
        r.FetchAsync(record, &o, true);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        QCOMPARE(o.e.Code, 0);

        // Gone for good: the identity is checked once, then time-outs are final.
        agent.stop();
        SilentPort silent(port);
        QVERIFY(silent.isOpen());
        r.Timeout = 5;
        QCOMPARE(codeOf([&] { r.Fetch(true); }), -405);
        // Two tries of the request, and two of the check beside it, which may outlast it.
        QTRY_COMPARE_WITH_TIMEOUT(silent.received(), 4, 20000);
        QCOMPARE(codeOf([&] { r.Fetch(true); }), -405);
        QCOMPARE(silent.received(), 6);
    }

    // A relay between engine and agent sees the plaintext of noAuth messages.
    // (snmpd ignores requests for contexts it does not serve.)
    void contextTravelsInEveryPdu()
    {
        UdpRelay relay(m_env.port());
        KtSNMPRequest r(systemList());
        aim(r, relay.port(), v3(QStringLiteral("noauth"), 1, 1, 1));
        r.Timeout = 50;  // the discovery is answered, through the relay, within it on a busy machine
        r.ContextEngineID = QStringLiteral("0x8000aabbcc");
        r.ContextName = QStringLiteral("ctx-name-1");
        Outcome o;
        r.FetchAsync(record, &o, true);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        r.ContextEngineID = QStringLiteral("plain-text-id");
        r.StoreAsync(record, &o);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 2, 20000);
        const QList<QByteArray> sent = relay.requests();
        QVERIFY(sent.size() >= 3);
        // The scoped PDU starts with the context engine identifier and name.
        const QByteArray hexScope = QByteArray("\x04\x05\x80\x00\xaa\xbb\xcc\x04\x0a", 9) + "ctx-name-1";
        const QByteArray textScope = QByteArray("\x04\x0d") + "plain-text-id" + QByteArray("\x04\x0a") + "ctx-name-1";
        QVERIFY(!sent.first().contains("ctx-name-1"));  // the discovery carries no scope
        QVERIFY(std::any_of(sent.begin(), sent.end(), [&](const QByteArray &p) { return p.contains(hexScope); }));
        QVERIFY(std::any_of(sent.begin(), sent.end(), [&](const QByteArray &p) { return p.contains(textScope); }));
        for (const QByteArray &p : sent)
            QVERIFY(p.contains("ctx-name-1") || !p.contains("noauth"));
    }

    void eventLoopRunsWhileV3AgentIsSilent()
    {
        SilentPort silent;
        KtSNMPRequest r(systemList());
        aim(r, silent.port(), v3(QStringLiteral("shaaes"), 3, 3, 4));
        // 2 s in all, and each try outlasts the beat gap allowed below, which a
        // discovery that blocked would exceed; a busy machine does not.
        r.Timeout = 100;
        r.Retries = 1;
        Outcome o;
        QElapsedTimer clock;
        qint64 last = 0, longest = 0;
        QTimer beat;
        beat.setInterval(5);
        connect(&beat, &QTimer::timeout, this, [&] {
            const qint64 now = clock.elapsed();
            longest = qMax(longest, now - last);
            last = now;
        });
        clock.start();
        beat.start();
        r.FetchAsync(record, &o, true);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        beat.stop();
        QCOMPARE(o.e.Code, -405);
        QVERIFY2(clock.elapsed() >= 1900, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(longest < 1000, qPrintable(QString::number(longest)));
    }

    void noCallbackRunsInsideAnother()
    {
        static int depth = 0;
        static int deepest = 0;
        struct Ctx
        {
            KtSNMPRequest *syncRequest = nullptr;
            int calls = 0;
        };
        auto reentrant = [](void *data, KtSNMPError *, KtSNMPVarList *) {
            auto *c = static_cast<Ctx *>(data);
            ++depth;
            deepest = qMax(deepest, depth);
            ++c->calls;
            // The other answers arrive while this blocks, or while the
            // event loop runs inside the callback (a message box); they wait.
            if (c->syncRequest)
                c->syncRequest->Fetch(true);
            // What the pump queued for them has had its turn (its timer may be
            // the one this callback runs in, so no ticks are waited for).
            QVERIFY(TestSupport::queuedWorkDone());
            --depth;
        };
        KtSNMPRequest syncer(systemList());
        aim(syncer, m_env.port(), v2c());
        Ctx first{&syncer, 0}, others{&syncer, 0};
        KtSNMPRequest a(systemList()), b(systemList()), c(systemList());
        for (KtSNMPRequest *r : {&a, &b, &c})
            aim(*r, m_env.port(), v2c());
        a.FetchAsync(reentrant, &first, true);
        b.FetchAsync(reentrant, &others, true);
        c.FetchAsync(reentrant, &others, true);
        QTRY_COMPARE_WITH_TIMEOUT(first.calls + others.calls, 3, 20000);
        QCOMPARE(deepest, 1);
    }

    void answerDuringSynchronousOperationIsDeliveredAfterIt()
    {
        KtSNMPRequest async(systemList()), sync(systemList());
        aim(async, m_env.port(), v2c());
        aim(sync, m_env.port(), v2c());
        Outcome o;
        async.FetchAsync(record, &o, true);
        sync.Fetch(true);  // the agent answers the earlier request first
        QCOMPARE(o.calls, 0);
        QVERIFY(KtSnmpEngine::Instance().Queued() >= 1);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        QCOMPARE(o.e.Code, 0);
        QCOMPARE(async.Pending, 0);
    }

    void timerAloneDeliversWithoutNotifiers()
    {
        SnmpEventProcessor *pump = SnmpEventProcessor::Instance();
        pump->SetSocketNotifierEnabled(false);
        KtSNMPRequest r(systemList());
        aim(r, m_env.port(), v2c());
        Outcome o;
        const quint64 ticks = pump->TickCount();
        r.FetchAsync(record, &o, true);
        QTRY_COMPARE_WITH_TIMEOUT(o.calls, 1, 20000);
        pump->SetSocketNotifierEnabled(true);
        QVERIFY(pump->TickCount() > ticks);
        QCOMPARE(o.e.Code, 0);
    }

    void stoppedSessionEndsOutstandingExchangesQuietly()
    {
        SilentPort silent;
        Outcome o;
        KtSNMPRequest r(contactList());
        aim(r, silent.port(), v2c());
        r.Timeout = 1000;
        r.FetchAsync(record, &o, true);
        KtSNMPSession::StopSession();
        QTRY_COMPARE_WITH_TIMEOUT(r.Pending, 0, 20000);
        QCOMPARE(o.calls, 0);
        KtSNMPSession::StartSession(m_env.folder());
        QVERIFY(SnmpEventProcessor::Instance()->IsActive());
        // Working again after the restart.
        KtSNMPRequest again(systemList());
        aim(again, m_env.port(), v2c());
        again.Fetch(true);
        QCOMPARE(again.Vars.Get(4).Value, QSysInfo::machineHostName());
    }

    // Runs in a child started by initTestCase, beside the other cases: it
    // only waits.
    void destructionWaitsAtMostSixSeconds()
    {
        if (m_sixSeconds.inParent()) {
            QVERIFY2(m_sixSeconds.passed(), qPrintable(m_sixSeconds.output()));
            return;
        }
        SilentPort silent;
        Outcome o;
        auto r = std::make_unique<KtSNMPRequest>(contactList());
        aim(*r, silent.port(), v2c());
        r->Timeout = 1000;  // the answer would come after 10 s
        r->Retries = 0;
        r->FetchAsync(record, &o, true);
        QCOMPARE(r->Pending, 1);
        QElapsedTimer clock;
        clock.start();
        r.reset();
        const qint64 waited = clock.elapsed();
        // Six seconds, not the ten of the exchange's time-out, on a machine of any speed.
        QVERIFY2(waited >= 5900 && waited < 9000, qPrintable(QString::number(waited)));
        QCOMPARE(o.calls, 0);
        // The orphaned exchange runs out later without reaching anyone.
        QCOMPARE(KtSnmpEngine::Instance().Outstanding(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRequestFaults)
#include "tst_request_faults.moc"
