// Programs started after the session see our environment, not the SNMP
// library's settings.

#include "snmp/KtSNMPSession.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestSessionEnvironment : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QHash<QString, QString> m_child;  // the environment a child process saw

private slots:
    void initTestCase()
    {
        // Before the first start: the library reads the environment once.
        qputenv("SNMPCONFPATH", "/our/own/snmp");
        qunsetenv("SNMP_PERSISTENT_DIR");
        qunsetenv("MIBS");
        qputenv("MIBDIRS", "/our/own/mibs");
        KtSNMPSession::StartSession(m_folder.path());
        QProcess env;
        env.start(QStringLiteral("env"), {});
        QVERIFY(env.waitForFinished(10000));
        for (const QByteArray &line : env.readAllStandardOutput().split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                m_child.insert(QString::fromLocal8Bit(line.left(eq)), QString::fromLocal8Bit(line.mid(eq + 1)));
        }
        QVERIFY(m_child.contains(QStringLiteral("PATH")));
    }
    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    void childSeesOurVariables_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("set");
        QTest::addColumn<QString>("value");
        QTest::newRow("SNMPCONFPATH") << "SNMPCONFPATH" << true << "/our/own/snmp";
        QTest::newRow("SNMP_PERSISTENT_DIR") << "SNMP_PERSISTENT_DIR" << false << "";
        QTest::newRow("MIBS") << "MIBS" << false << "";
        QTest::newRow("MIBDIRS") << "MIBDIRS" << true << "/our/own/mibs";
    }
    void childSeesOurVariables()
    {
        QFETCH(QString, name);
        QFETCH(bool, set);
        QFETCH(QString, value);
        QCOMPARE(m_child.contains(name), set);
        QCOMPARE(m_child.value(name), value);
    }
};

QTEST_GUILESS_MAIN(TestSessionEnvironment)
#include "tst_session_environment.moc"
