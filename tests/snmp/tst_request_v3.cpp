// SNMPv3 exchanges across pass-phrase changes and agents that fall silent,
// against the stock snmpd.

#include "SnmpResults.h"
#include "support/ExceptionCode.h"
#include "support/SnmpTestSupport.h"

#include "errors/KtException.h"
#include "snmp/KtSNMPSession.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace SnmpdTest;

namespace {

int fetchCode(KtSNMPRequest &r)
{
    return codeOf([&] { r.Fetch(true); });
}

} // namespace

class TestRequestV3 : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void initTestCase() { KtSNMPSession::StartSession(m_folder.path()); }
    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    // Each answer is checked with the keys its request was sent with, even
    // when the next request of the same user already carries other ones.
    void requestsInFlightKeepTheirKeys_data()
    {
        QTest::addColumn<QStringList>("passes");
        QTest::addColumn<QList<int>>("codes");
        const QString right = QString::fromLatin1(AuthPass);
        const QString wrong = QStringLiteral("wrong-pass-9");
        QTest::newRow("right, wrong") << QStringList{right, wrong} << QList<int>{0, -308};
        QTest::newRow("wrong, right") << QStringList{wrong, right} << QList<int>{-308, 0};
        QTest::newRow("right, wrong, right") << QStringList{right, wrong, right} << QList<int>{0, -308, 0};
    }
    void requestsInFlightKeepTheirKeys()
    {
        QFETCH(QStringList, passes);
        QFETCH(QList<int>, codes);
        SnmpdProcess agent;
        QVERIFY(agent.start());
        std::vector<std::unique_ptr<KtSNMPRequest>> requests;
        for (const QString &pass : passes) {
            requests.push_back(std::make_unique<KtSNMPRequest>(systemList()));
            aim(*requests.back(), agent.port(), v3(QStringLiteral("shades"), 3, 3, 2));
            requests.back()->AuthPassword = pass;
        }
        QCOMPARE(fetchCode(*requests.front()), codes.front());  // the engine is known from here on

        QList<QList<KtSNMPError>> results(passes.size());
        for (qsizetype i = 0; i < passes.size(); ++i)
            requests.at(size_t(i))->FetchAsync(KeepResult, &results[i], true);
        for (qsizetype i = 0; i < passes.size(); ++i) {
            QTRY_COMPARE_WITH_TIMEOUT(results.at(i).size(), 1, 20000);
            QCOMPARE(results.at(i).first().Code, codes.at(i));
        }
        // The last pass phrase stays in force for the next request.
        QCOMPARE(fetchCode(*requests.back()), codes.back());
    }

    // Against an agent that answered before, the first time-out takes the
    // request's time-out times its tries, like every later one.
    void firstTimeOutTakesItsOwnTime_data()
    {
        QTest::addColumn<int>("retries");
        QTest::addColumn<bool>("async");
        for (int retries : {0, 1, 2}) {
            QTest::addRow("%d retries", retries) << retries << false;
            QTest::addRow("%d retries, async", retries) << retries << true;
        }
    }
    void firstTimeOutTakesItsOwnTime()
    {
        QFETCH(int, retries);
        QFETCH(bool, async);
        SnmpdProcess agent;
        QVERIFY(agent.start());
        KtSNMPRequest r(systemList());
        aim(r, agent.port(), v3(QStringLiteral("md5des"), 3, 2, 2));
        QCOMPARE(fetchCode(r), 0);
        const quint16 port = agent.port();
        agent.stop();
        SilentPort silent(port);

        r.Timeout = 150;
        r.Retries = quint32(retries);
        const qint64 budget = 1500 * (retries + 1);
        QElapsedTimer clock;
        clock.start();
        if (async) {
            QList<KtSNMPError> results;
            r.FetchAsync(KeepResult, &results, true);
            QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 30000);
            QCOMPARE(results.first().Code, -405);
        } else {
            QCOMPARE(fetchCode(r), -405);
        }
        const qint64 took = clock.elapsed();
        // An identity check on top would double it; up to three quarters more
        // is a busy machine's slack.
        QVERIFY2(took >= budget - 50 && took < budget * 7 / 4, qPrintable(QString::number(took)));
    }
};

QTEST_GUILESS_MAIN(TestRequestV3)
#include "tst_request_v3.moc"
