// The report of a connection test without an agent: the Net-SNMP command
// of a failing step (secrets as ****, words a shell reads back as they
// were) and the report text.

#include "ShellWords.h"

#include "doctor/KtDoctorReport.h"
#include "snmp/KtSnmpEngine.h"

#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(KtSnmpTarget)

class TestDoctorReport : public QObject
{
    Q_OBJECT

    static KtSnmpTarget target(quint8 version, qint32 level = 1)
    {
        KtSnmpTarget t;
        t.host = QStringLiteral("192.0.2.7");
        t.port = 16161;
        t.version = version;
        t.timeout = 250;
        t.retries = 2;
        t.community = QStringLiteral("s3cret community");
        t.securityLevel = level;
        t.securityName = QStringLiteral("O'Brien ops");
        t.authProtocol = 5;
        t.privProtocol = 6;
        t.authPassword = QStringLiteral("auth pass phrase");
        t.privPassword = QStringLiteral("priv pass phrase");
        return t;
    }

private slots:
    void command_data()
    {
        QTest::addColumn<KtSnmpTarget>("t");
        QTest::addColumn<bool>("set");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QStringList>("words");
        const QStringList tail{"-t", "2.5", "-r", "2", "udp:192.0.2.7:16161"};
        const QString oid = QStringLiteral("1.3.6.1.2.1.1.4.0");
        QTest::newRow("v1 get") << target(0) << false << QByteArray()
                                << QStringList{"snmpget", "-v", "1", "-c", "****"} + tail + QStringList{oid};
        QTest::newRow("v2c set of a text") << target(1) << true << QByteArray("Ops desk, it's 'here'")
                                           << QStringList{"snmpset", "-v", "2c", "-c", "****"} + tail
                                                  + QStringList{oid, "s", "Ops desk, it's 'here'"};
        QTest::newRow("set of octets") << target(1) << true << QByteArray("\x01\xff", 2)
                                       << QStringList{"snmpset", "-v", "2c", "-c", "****"} + tail
                                              + QStringList{oid, "x", "01FF"};
        QTest::newRow("v3 noAuthNoPriv") << target(3, 1) << false << QByteArray()
                                         << QStringList{"snmpget", "-v", "3", "-l", "noAuthNoPriv", "-u", "O'Brien ops"}
                                                + tail + QStringList{oid};
        KtSnmpTarget scoped = target(3, 3);
        scoped.contextName = QStringLiteral("bridge 1");
        scoped.contextEngineID = QStringLiteral("0x8000");
        QTest::newRow("v3 authPriv with context")
            << scoped << false << QByteArray()
            << QStringList{"snmpget", "-v", "3", "-l", "authPriv", "-u", "O'Brien ops", "-a", "SHA-256", "-A",
                           "****", "-x", "AES-256", "-X", "****", "-n", "bridge 1", "-E", "0x8000"}
                   + tail + QStringList{oid};
    }

    void command()
    {
        QFETCH(KtSnmpTarget, t);
        QFETCH(bool, set);
        QFETCH(QByteArray, value);
        QFETCH(QStringList, words);
        const QString line = KtNetSnmpCommand(t, set, QStringLiteral("1.3.6.1.2.1.1.4.0"), value);
        QCOMPARE(shellWords(line), words);
        for (const QString &secret : {t.community, t.authPassword, t.privPassword})
            QVERIFY(!line.contains(secret));
    }

    void reportText()
    {
        KtDoctorReport report;
        KtDoctorSettings s;
        s.host = QStringLiteral("switch-7");
        s.port = 16161;
        s.version = 3;
        s.securityName = QStringLiteral("SHA_AES_User");
        s.securityLevel = 3;
        s.authProtocol = 3;
        s.privProtocol = 4;
        report.settings = s;
        QCOMPARE(report.Summary(), QStringLiteral("Testing the connection to switch-7..."));
        for (auto [kind, state] : {std::pair{KtDoctorStep::Resolve, KtDoctorStep::Passed},
                                   {KtDoctorStep::Port, KtDoctorStep::Failed},
                                   {KtDoctorStep::Discovery, KtDoctorStep::NotRun}}) {
            KtDoctorStep step;
            step.kind = kind;
            step.state = state;
            step.elapsedMs = 12;
            step.sentence = KtDoctorStep::Title(kind) + QStringLiteral(" sentence.");
            step.command = state == KtDoctorStep::Failed ? QStringLiteral("snmpget -v 3 ...") : QString();
            report.steps.append(step);
        }
        report.finished = true;
        QCOMPARE(report.FailedStep(), &report.steps[1]);
        QCOMPARE(report.Summary(), QStringLiteral("Test Connection, step 2 (UDP port) failed: UDP port sentence."));
        const QStringList lines = report.Text().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Test Connection: switch-7 port 16161, SNMPv3 user SHA_AES_User "
                                                "(authPriv, SHA/AES), time-out 2 s, 1 retry (at most 4 s a step)"));
        for (const char *expected : {"^1\\. Host name +passed +12 ms  Host name sentence\\.$",
                                     "^2\\. UDP port +FAILED +12 ms  UDP port sentence\\.$",
                                     "^3\\. SNMPv3 engine +not run$"})
            QVERIFY2(lines.indexOf(QRegularExpression(QLatin1String(expected))) >= 0, expected);
        QCOMPARE(lines.at(lines.size() - 2), QStringLiteral("snmpget -v 3 ..."));
    }

    // A value filled in is never taken for a placeholder.
    void fillIsOnePass()
    {
        QCOMPARE(KtDoctorTexts::Fill(QStringLiteral("[HOST] on [PORT] [X]"),
                                     {{QStringLiteral("HOST"), QStringLiteral("[PORT]")},
                                      {QStringLiteral("PORT"), QStringLiteral("161")}}),
                 QStringLiteral("[PORT] on 161 [X]"));
    }
};

QTEST_GUILESS_MAIN(TestDoctorReport)
#include "tst_doctorreport.moc"
