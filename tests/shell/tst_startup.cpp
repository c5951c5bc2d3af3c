// The start-up sequence: session, catalogues, switches, host look-up, profile.

#include "ShellTestSupport.h"

#include "shell/KtStartup.h"

#include "errors/KtCatalogue.h"
#include "snmp/KtSNMPSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_oldCurrent;

    static bool write(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        return QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("HOME", m_dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        // The boots file is written to the current folder.
        m_oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const QByteArray profile = "[Program Information]\r\nVersion=3\r\nAgentPort=1161\r\nSecurityName=SHA_User";
        for (const char *folder : {"orvix_ems", "bin"}) {
            const QDir exe(m_dir.filePath(QLatin1String(folder)));
            QVERIFY(write(exe.filePath(QStringLiteral("errMSg/snmpclass.err")), "\n  Custom failure!\n"));
            QVERIFY(write(exe.filePath(QStringLiteral("127.0.0.1.cfg")), profile));
        }
    }
    void cleanupTestCase() { QDir::setCurrent(m_oldCurrent); }
    void cleanup()
    {
        KtSNMPSession::StopSession();
        for (int id = 0; id < KtCatalogue::Count; ++id)
            KtCatalogue::RestoreBuiltIn(KtCatalogue::Id(id));
    }

    void run_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("settings");  // host version port read-community security-name; title
        const QStringList none;
        QTest::newRow("no argument") << "bin" << QStringList{} << QStringList{"No parameter input"} << "";
        QTest::newRow("unknown host") << "bin" << QStringList{"/Ino-such-host.invalid"}
                                      << QStringList{"Error Host Name!"} << "";
        QTest::newRow("bad number") << "bin" << QStringList{"/I127.0.0.1", "/v3", "/t16x"}
                                    << QStringList{"The value \"16x\" of the switch /t is not a valid number."} << "";
        QTest::newRow("host name") << "bin" << QStringList{"/Ilocalhost", "/v1", "/Rr"} << none
                                   << "127.0.0.1 1 161 r  ; QSX-4810 : localhost";
        QTest::newRow("no profile outside installation")
            << "bin" << QStringList{"/I127.0.0.1", "/v3", "/t2000", "/nme"} << none
            << "127.0.0.1 3 2000 cobalt me ; QSX-4810 : 127.0.0.1";
        QTest::newRow("profile over command line")
            << "orvix_ems" << QStringList{"/I127.0.0.1", "/v3", "/t2000", "/nme", "/Rr"} << none
            << "127.0.0.1 3 1161 r SHA_User ; QSX-4810 : 127.0.0.1";
        QTest::newRow("without /I") << "orvix_ems" << QStringList{"/v1"} << none
                                    << "127.0.0.1 3 1161 cobalt SHA_User ; QSX-4810 : 127.0.0.1";
    }
    void run()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, messages);
        QFETCH(QString, settings);
        RecordingBackend boxes;
        const QString exe = m_dir.filePath(folder);
        const KtStartupResult result = KtStartup::Run(arguments, exe);

        QCOMPARE(boxes.texts, messages);
        QCOMPARE(result.Proceed, messages.isEmpty());
        QCOMPARE(result.ExitCode, messages.isEmpty() ? 0 : 1);
        // Session and catalogues come first, whatever follows.
        QVERIFY(KtSNMPSession::IsStarted());
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("KtSNMP_PP_BootCounter"))));
        QCOMPARE(KtSNMPSession::Timeout(), 200u);
        QCOMPARE(KtCatalogue::Text(KtCatalogue::SnmpClass, 0), QStringLiteral("  Custom failure!"));
        if (!result.Proceed)
            return;
        QCOMPARE(result.InstallationMode, folder == QLatin1String("orvix_ems"));
        QCOMPARE(result.ProfileLoaded, result.InstallationMode);
        const KtDisplaySettings &d = result.Display;
        QCOMPARE(QStringList({d.Host, d.Version, d.Port, d.ReadCommunity, d.SecurityName}).join(' ') + " ; " +
                     result.Title,
                 settings);
        QCOMPARE(d.Port, QString::number(KtSNMPSession::Device().AgentPort));
        QCOMPARE(d.SecurityName, KtSNMPSession::Security().SecurityName);
    }

    void sessionFailureIsShown()
    {
        // A folder in place of the boots file cannot be written.
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(QDir(m_dir.filePath(QStringLiteral("sub"))).mkdir(QStringLiteral("KtSNMP_PP_BootCounter")));
        QVERIFY(QDir::setCurrent(m_dir.filePath(QStringLiteral("sub"))));
        RecordingBackend boxes;
        const KtStartupResult result = KtStartup::Run({QStringLiteral("/I127.0.0.1")}, m_dir.filePath("bin"));
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(!result.Proceed);
        QCOMPARE(result.ExitCode, 1);
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("Error when saving SNMP engine boots counter!")});
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
