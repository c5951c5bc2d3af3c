// What the device profile sets, read through the INI reader.

#include "shell/KtProfile.h"
#include "snmp/KtSNMPSession.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestProfile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QByteArray &content)
    {
        QFile f(m_dir.filePath(QStringLiteral("p.cfg")));
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size() ? f.fileName() : QString();
    }

private slots:
    // records: version port |context|engine model level |name auth priv |auth pass|priv pass
    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("records");
        const QByteArray head = "[Program Information]\r\n";
        QTest::newRow("only AgentPort") << head + "AgentPort=1161" << "0 1161 || 1 1 | 1 1 ||";
        QTest::newRow("PrivProtocol 2 is IDEA") << head + "PrivProtocol=2" << "0 161 || 1 1 | 1 9 ||";
        QTest::newRow("PrivProtocol 5") << head + "PrivProtocol=5" << "0 161 || 1 1 | 1 6 ||";
        QTest::newRow("SecurityLevel -1") << head + "SecurityLevel=-1" << "0 161 || 1 0 | 1 1 ||";
        QTest::newRow("names ignore case, values trimmed")
            << QByteArray("[program information]\n;Version=1\nagentPORT = 1161 \t\nVersion=  \nVersion=3") << "0 1161 || 1 1 | 1 1 ||";
        QTest::newRow("first key wins") << head + "AuthPassword= a b \r\nAuthPassword=c" << "0 161 || 1 1 | 1 1 |a b|";
        QTest::newRow("other section") << QByteArray("[Else]\nVersion=1\n[Program Information]\nAgentPort=7\n[X]\nVersion=3")
                                       << "0 7 || 1 1 | 1 1 ||";
        QTest::newRow("not numbers") << head + "Version=x\r\nAgentPort=99999\r\nAuthProtocol=2a" << "0 161 || 1 1 | 1 1 ||";
        QTest::newRow("everything")
            << head + "AgentIP=1.2.3.4\r\nAgentPort=1161\r\nVersion=3\r\nSecurityName=SHA_DES_User\r\nAuthPassword=au\r\n"
                      "PrivPassword=pr\r\nAuthProtocol=2\r\nPrivProtocol=1\r\nContextEngineID=8007\r\nSecurityLevel=2\r\n"
                      "ContextName=ctx\r\nGetCommStr=g\r\nSetCommStr=s\r\nSecurityModel=3"
            << "3 1161 |ctx|8007 3 3 |SHA_DES_User 3 2 |au|pr";
    }
    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, records);
        // Command-line values that the profile replaces or keeps.
        KtSNMPDevice device{QStringLiteral("1.2.3.4"), 2000};
        KtSNMPScope scope{QStringLiteral("cmdEngine"), QStringLiteral("cmdContext")};
        KtSNMPSecurity security;
        security.Version = 1;
        security.ReadCommunity = QStringLiteral("r");
        security.WriteCommunity = QStringLiteral("w");
        security.SecurityName = QStringLiteral("cmdUser");
        QVERIFY(KtProfile::LoadProfile(write(content), device, scope, security));
        QCOMPARE(QStringLiteral("%1 %2 |%3|%4 %5 %6 |%7 %8 %9 |%10|%11")
                     .arg(security.Version).arg(device.AgentPort).arg(scope.ContextName, scope.ContextEngineID)
                     .arg(security.SecurityModel).arg(security.SecurityLevel).arg(security.SecurityName)
                     .arg(security.AuthProtocol).arg(security.PrivProtocol).arg(security.AuthPassword, security.PrivPassword),
                 records);
        QCOMPARE(device.Host + security.ReadCommunity + security.WriteCommunity, QStringLiteral("1.2.3.4rw"));

        KtSNMPSecurity untouched;
        QVERIFY(!KtProfile::LoadProfile(m_dir.filePath(QStringLiteral("absent.cfg")), device, scope, untouched));
        QVERIFY(!KtProfile::LoadProfile(m_dir.path(), device, scope, untouched));  // a folder
        QCOMPARE(untouched.SecurityLevel, 1);
    }

    // Empty or absent: the walk chooses; a bad value does too.
    void bulkRepetitions_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("repetitions");
        QTest::newRow("absent") << QByteArray() << -1;
        QTest::newRow("empty") << QByteArray("BulkRepetitions=") << -1;
        QTest::newRow("off") << QByteArray("BulkRepetitions=0") << 0;
        QTest::newRow("at most 12") << QByteArray("BulkRepetitions= 12") << 12;
        QTest::newRow("negative") << QByteArray("BulkRepetitions=-2") << -1;
        QTest::newRow("not a number") << QByteArray("BulkRepetitions=many") << -1;
    }
    void bulkRepetitions()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, repetitions);
        KtSNMPDevice device;
        KtSNMPScope scope;
        KtSNMPSecurity security;
        int read = 99;
        QVERIFY(KtProfile::LoadProfile(write("[Program Information]\r\nVersion=1\r\n" + line), device, scope, security,
                                       &read));
        QCOMPARE(read, repetitions);
        QCOMPARE(security.Version, 1);
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
