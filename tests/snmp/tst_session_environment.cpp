// Programs started after the session see our environment, not the SNMP
// library's settings.

#include "snmp/KtSNMPSession.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSessionEnvironment : public QObject
{
    Q_OBJECT

private slots:
    void childSeesOurVariables()
    {
        // Before the first start: the library reads the environment once.
        qputenv("SNMPCONFPATH", "/our/own/snmp");
        qunsetenv("SNMP_PERSISTENT_DIR");
        qunsetenv("MIBS");
        qputenv("MIBDIRS", "/our/own/mibs");
        QTemporaryDir folder;
        KtSNMPSession::StartSession(folder.path());
        QProcess child;
        child.start(QStringLiteral("/bin/sh"),
                    {"-c", "echo \"$SNMPCONFPATH|${SNMP_PERSISTENT_DIR-unset}|${MIBS-unset}|$MIBDIRS\""});
        QVERIFY(child.waitForFinished(10000));
        KtSNMPSession::StopSession();
        QCOMPARE(child.readAllStandardOutput(), QByteArray("/our/own/snmp|unset|unset|/our/own/mibs\n"));
    }
};

QTEST_GUILESS_MAIN(TestSessionEnvironment)
#include "tst_session_environment.moc"
