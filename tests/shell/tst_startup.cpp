// The start-up sequence: session, catalogues, switches, host look-up, profile.

#include "support/ScriptedMessages.h"

#include "shell/KtStartup.h"

#include "errors/KtCatalogue.h"
#include "snmp/KtSNMPSession.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_oldCurrent = QDir::currentPath();

    static bool write(const QString &path, const QByteArray &content)
    {
        QFile f(path);
        return QDir().mkpath(QFileInfo(path).path()) && f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    }

private slots:
    void initTestCase()
    {
        qputenv("HOME", m_dir.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_STATE_HOME", m_dir.filePath(QStringLiteral("state")).toUtf8());  // the ledger of changes
        QVERIFY(QDir::setCurrent(m_dir.path()));  // where the boots file goes
        const QByteArray profile = "[Program Information]\r\nVersion=3\r\nAgentPort=1161\r\nSecurityName=SHA_User";
        for (const char *folder : {"orvix_ems", "bin"}) {
            const QDir exe(m_dir.filePath(QLatin1String(folder)));
            QVERIFY(write(exe.filePath(QStringLiteral("errMSg/snmpclass.err")), "\n  Custom failure!\n"));
            QVERIFY(write(exe.filePath(QStringLiteral("127.0.0.1.cfg")), profile));
        }
        // Outside installation mode the host application's settings name the folder (no separator at its end).
        QVERIFY(write(m_dir.filePath(QStringLiteral("hex/Conf/MBF/192.0.2.1.cfg")), QByteArray(profile).replace("1161", "1162")));
        QSettings(QStringLiteral("Orvix"), QStringLiteral("Hexmon5.1")).setValue("ExePath/Path", m_dir.filePath("hex/bin"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("hex/bin")));
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
        QTest::addColumn<QString>("result");  // the message, or host version port read-community name ; title
        QTest::newRow("no argument") << "bin" << QStringList{} << "No parameter input";
        QTest::newRow("unknown host") << "bin" << QStringList{"/Ino-such-host.invalid"} << "Error Host Name!";
        QTest::newRow("bad number") << "bin" << QStringList{"/I127.0.0.1", "/v3", "/t16x"}
                                    << "The value \"16x\" of the switch /t is not a valid number.";
        QTest::newRow("host name") << "bin" << QStringList{"/Ilocalhost", "/v1", "/Rr"}
                                   << "127.0.0.1 1 161 r  ; QSX-4810 : localhost";
        QTest::newRow("no profile outside installation") << "bin" << QStringList{"/I127.0.0.1", "/v3", "/t2000", "/nme"}
                                                         << "127.0.0.1 3 2000 cobalt me ; QSX-4810 : 127.0.0.1";
        QTest::newRow("profile over command line") << "orvix_ems" << QStringList{"/I127.0.0.1", "/v3", "/t2000", "/nme", "/Rr"}
                                                   << "127.0.0.1 3 1161 r SHA_User ; QSX-4810 : 127.0.0.1";
        QTest::newRow("host application's profile") << "bin" << QStringList{"/I192.0.2.1", "/v1"}
                                                    << "192.0.2.1 3 1162 cobalt SHA_User ; QSX-4810 : 192.0.2.1";
        QTest::newRow("without /I") << "orvix_ems" << QStringList{"/v1"}
                                    << "127.0.0.1 3 1161 cobalt SHA_User ; QSX-4810 : 127.0.0.1";
    }
    void run()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, arguments);
        QFETCH(QString, result);
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        const KtStartupResult r = KtStartup::Run(arguments, m_dir.filePath(folder));
        // Session, catalogues and time-out come first, whatever follows.
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("KtSNMP_PP_BootCounter"))));
        QCOMPARE(KtSNMPSession::Timeout(), 200u);
        QCOMPARE(KtCatalogue::Text(KtCatalogue::SnmpClass, 0), QStringLiteral("  Custom failure!"));
        QCOMPARE(r.ExitCode, r.Proceed ? 0 : 1);
        // The single-instance guard is claimed by the title before anything is looked up.
        if (r.Proceed || arguments.isEmpty())
            QCOMPARE(KtStartup::GuardTitle(arguments), r.Title);
        if (!r.Proceed) {
            QCOMPARE(boxes.texts(), QStringList{result});
            return;
        }
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(r.InstallationMode, folder == QLatin1String("orvix_ems"));
        const KtDisplaySettings &d = r.Display;
        QCOMPARE(r.ProfileLoaded, d.SecurityName == QLatin1String("SHA_User"));  // only the profiles name it
        QCOMPARE(QStringList({d.Host, d.Version, d.Port, d.ReadCommunity, d.SecurityName}).join(' ') + " ; " + r.Title,
                 result);
        QCOMPARE(d.Port.toUInt(), KtSNMPSession::Device().AgentPort);
    }

    void sessionFailureIsShown()
    {
        // A folder in place of the boots file cannot be written.
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sub/KtSNMP_PP_BootCounter")));
        QVERIFY(QDir::setCurrent(m_dir.filePath(QStringLiteral("sub"))));
        ScriptedMessages boxes{ScriptedMessages::RecordOnly{}};
        const KtStartupResult r = KtStartup::Run({QStringLiteral("/I127.0.0.1")}, m_dir.filePath("bin"));
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(!r.Proceed);
        QCOMPARE(r.ExitCode, 1);
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Error when saving SNMP engine boots counter!")});
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
