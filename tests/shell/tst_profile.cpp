// The INI reader, where the device profile is looked for and what it sets.

#include "shell/KtIni.h"
#include "shell/KtProfile.h"
#include "snmp/KtSNMPSession.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestProfile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &content)
    {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            return {};
        return f.fileName();
    }

private slots:
    void initTestCase()
    {
        // The host application's settings live under this test's own folder.
        QVERIFY(m_dir.isValid());
        qputenv("HOME", m_dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
    }

    void ini_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray head = "[Program Information]\r\n";
        QTest::newRow("trimmed") << head + "Key =  a b \t\r\n" << "Key" << "a b";
        QTest::newRow("empty gives default") << head + "Key=   \r\n" << "Key" << "dflt";
        QTest::newRow("missing key") << head + "Other=1" << "Key" << "dflt";
        QTest::newRow("names ignore case") << QByteArray("[program information]\nkEY=v") << "Key" << "v";
        QTest::newRow("first wins") << head + "Key=1\r\nKey=2" << "Key" << "1";
        QTest::newRow("other section") << QByteArray("[Else]\nKey=x\n[Program Information]\nKey=y") << "Key" << "y";
        QTest::newRow("only other section") << QByteArray("[Else]\nKey=x\n") << "Key" << "dflt";
        QTest::newRow("equals in value") << head + "Key=a=b" << "Key" << "a=b";
        QTest::newRow("comment") << head + ";Key=x\nKey=y" << "Key" << "y";
        QTest::newRow("utf-8") << head + "Key=\xc3\xa9t\xc3\xa9" << "Key" << QString::fromUtf8("\xc3\xa9t\xc3\xa9");
    }
    void ini()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const KtIni ini(write(QStringLiteral("t.ini"), content));
        QCOMPARE(ini.Read(QStringLiteral("Program Information"), key, QStringLiteral("dflt")), expected);
        QCOMPARE(KtIni(m_dir.filePath(QStringLiteral("none.ini"))).Read(QStringLiteral("Program Information"), key,
                                                                        QStringLiteral("dflt")),
                 QStringLiteral("dflt"));
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("records");  // version port context engine model level name auth priv pass pass
        const QByteArray head = "[Program Information]\r\n";
        QTest::newRow("only AgentPort") << head + "AgentPort=1161" << "0 1161 || 1 1 | 1 1 ||";
        QTest::newRow("PrivProtocol 2 is IDEA") << head + "PrivProtocol=2" << "0 161 || 1 1 | 1 9 ||";
        QTest::newRow("PrivProtocol 1 is DES") << head + "PrivProtocol=1" << "0 161 || 1 1 | 1 2 ||";
        QTest::newRow("PrivProtocol 5") << head + "PrivProtocol=5" << "0 161 || 1 1 | 1 6 ||";
        QTest::newRow("SecurityLevel -1") << head + "SecurityLevel=-1" << "0 161 || 1 0 | 1 1 ||";
        QTest::newRow("not numbers") << head + "Version=x\r\nAgentPort=99999\r\nAuthProtocol=2a"
                                     << "0 161 || 1 1 | 1 1 ||";
        QTest::newRow("everything")
            << head + "AgentIP=1.2.3.4\r\nAgentPort=1161\r\nVersion=3\r\nSecurityName=SHA_DES_User\r\n"
                      "AuthPassword=qsx4810auth\r\nPrivPassword=qsx4810priv\r\nAuthProtocol=2\r\nPrivProtocol=1\r\n"
                      "ContextEngineID=800007\r\nSecurityLevel=2\r\nContextName=ctx\r\nGetCommStr=g\r\n"
                      "SetCommStr=s\r\nSecurityModel=3"
            << "3 1161 |ctx|800007 3 3 |SHA_DES_User 3 2 |qsx4810auth|qsx4810priv";
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
        security.SecurityModel = 2;
        security.SecurityName = QStringLiteral("cmdUser");
        QVERIFY(KtProfile::LoadProfile(write(QStringLiteral("p.cfg"), content), device, scope, security));
        const QString got = QStringLiteral("%1 %2 |%3|%4 %5 %6 |%7 %8 %9 |%10|%11")
                                .arg(security.Version).arg(device.AgentPort).arg(scope.ContextName, scope.ContextEngineID)
                                .arg(security.SecurityModel).arg(security.SecurityLevel).arg(security.SecurityName)
                                .arg(security.AuthProtocol).arg(security.PrivProtocol)
                                .arg(security.AuthPassword, security.PrivPassword);
        QCOMPARE(got, records);
        QCOMPARE(device.Host, QStringLiteral("1.2.3.4"));
        QCOMPARE(security.ReadCommunity, QStringLiteral("r"));
        QCOMPARE(security.WriteCommunity, QStringLiteral("lantern"));
    }

    void missingProfileChangesNothing()
    {
        KtSNMPDevice device{QStringLiteral("1.2.3.4"), 2000};
        KtSNMPScope scope;
        KtSNMPSecurity security;
        security.Version = 3;
        QVERIFY(!KtProfile::LoadProfile(m_dir.filePath(QStringLiteral("absent.cfg")), device, scope, security));
        QVERIFY(!KtProfile::LoadProfile(QString(), device, scope, security));
        QVERIFY(!KtProfile::LoadProfile(m_dir.path(), device, scope, security));  // a folder
        QCOMPARE(device.AgentPort, quint16(2000));
        QCOMPARE(security.Version, quint8(3));
    }

    void location_data()
    {
        QTest::addColumn<bool>("installation");
        QTest::addColumn<QVariant>("hostPath");  // invalid: not set
        QTest::addColumn<QString>("expected");
        QTest::newRow("installation mode") << true << QVariant("/opt/hex/") << "/opt/orvix_ems/10.0.0.1.cfg";
        QTest::newRow("host application") << false << QVariant("/opt/hex/") << "/opt/hex/../Conf/MBF/10.0.0.1.cfg";
        QTest::newRow("without separator") << false << QVariant("/opt/hex") << "/opt/hex/../Conf/MBF/10.0.0.1.cfg";
        QTest::newRow("not set") << false << QVariant() << "";
        QTest::newRow("empty") << false << QVariant("") << "";
    }
    void location()
    {
        QFETCH(bool, installation);
        QFETCH(QVariant, hostPath);
        QFETCH(QString, expected);
        {
            QSettings settings(QStringLiteral("Orvix"), QStringLiteral("Hexmon5.1"));
            if (hostPath.isValid())
                settings.setValue(QStringLiteral("ExePath/Path"), hostPath);
            else
                settings.remove(QStringLiteral("ExePath"));
        }
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("config/Orvix/Hexmon5.1.conf"))));
        QCOMPARE(KtProfile::PathFor(installation, QStringLiteral("/opt/orvix_ems"), QStringLiteral("10.0.0.1")),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestProfile)
#include "tst_profile.moc"
