// The engine-boots store, session start-up and the settings records.

#include "snmp/KtBootCounter.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"
#include "snmp/SnmpEventProcessor.h"
#include "support/ExceptionCode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

int startCode(const QString &folder, QString *message = nullptr)
{
    return codeOf([&] { KtSNMPSession::StartSession(folder); }, message);
}

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { KtSNMPSession::StopSession(); }

    void counterRoundTripKeepsOtherIdentifiers()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("boots"));
        QCOMPARE(KtBootCounter::Save(file, QStringLiteral("alpha"), 7), 0);
        QCOMPARE(KtBootCounter::Save(file, QStringLiteral("beta two"), 4000000000u), 0);
        QCOMPARE(KtBootCounter::Save(file, QStringLiteral("alpha"), 8), 0);
        quint32 boots = 0;
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("alpha"), boots), 0);
        QCOMPARE(boots, 8u);
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("beta two"), boots), 0);
        QCOMPARE(boots, 4000000000u);
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("gamma"), boots), int(KtBootCounter::NoEntry));
        QCOMPARE(boots, 0u);
        // Only the file itself remains: the new copy replaced it by renaming.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("boots")});
    }

    void loadReportsMissingAndForeignFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::newRow("blank lines only") << QByteArray("\n\n  \n") << int(KtBootCounter::NoEntry);
        QTest::newRow("one word") << QByteArray("garbage\n") << int(KtBootCounter::Malformed);
        QTest::newRow("counter not a number") << QByteArray("616263 many\n") << int(KtBootCounter::Malformed);
        QTest::newRow("identifier not hex") << QByteArray("zz 5\n") << int(KtBootCounter::Malformed);
        QTest::newRow("three fields") << QByteArray("616263 1 2\n") << int(KtBootCounter::Malformed);
        QTest::newRow("negative counter") << QByteArray("616263 -1\n") << int(KtBootCounter::Malformed);
        QTest::newRow("ours") << QByteArray("616263 12\n") << int(KtBootCounter::Ok);
    }
    void loadReportsMissingAndForeignFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("boots"));
        quint32 boots = 99;
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("abc"), boots), int(KtBootCounter::NotOpenable));
        writeAll(file, content);
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("abc"), boots), status);
        QCOMPARE(boots, status == 0 ? 12u : 0u);
        if (status == KtBootCounter::Malformed) {
            // A file that is not ours is never replaced.
            QCOMPARE(KtBootCounter::Save(file, QStringLiteral("abc"), 1), int(KtBootCounter::Malformed));
            QCOMPARE(readAll(file), content);
        }
    }

    void bootsFileBesideTheFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("path");
        QTest::newRow("empty") << "" << "KtSNMP_PP_BootCounter";
        QTest::newRow("plain") << "/var/x" << "/var/x/KtSNMP_PP_BootCounter";
        QTest::newRow("slash") << "/var/x/" << "/var/x/KtSNMP_PP_BootCounter";
        QTest::newRow("backslash") << "C:\\conf\\" << "C:\\conf\\KtSNMP_PP_BootCounter";
    }
    void bootsFileBesideTheFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        QCOMPARE(KtSNMPSession::BootsFilePath(folder), path);
    }

    void everyStartAdvancesTheBoots()
    {
        QTemporaryDir dir;
        QCOMPARE(startCode(dir.path()), 0);
        QVERIFY(KtSNMPSession::IsStarted());
        QVERIFY(SnmpEventProcessor::Instance()->IsActive());
        QCOMPARE(KtSNMPSession::EngineBoots(), 1u);
        QCOMPARE(KtSnmpEngine::Instance().LocalEngineBoots(), 1u);
        const QString file = KtSNMPSession::BootsFilePath(dir.path());
        quint32 boots = 0;
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("KtSNMP_PP_Application"), boots), 0);
        QCOMPARE(boots, 1u);

        // A second call while started changes nothing.
        QCOMPARE(startCode(dir.path()), 0);
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("KtSNMP_PP_Application"), boots), 0);
        QCOMPARE(boots, 1u);

        KtSNMPSession::StopSession();
        QVERIFY(!SnmpEventProcessor::Instance()->IsActive());
        QCOMPARE(startCode(dir.path() + QLatin1Char('/')), 0);
        QCOMPARE(KtSNMPSession::EngineBoots(), 2u);
        QCOMPARE(KtSnmpEngine::Instance().LocalEngineBoots(), 2u);  // what our messages carry
        QCOMPARE(KtBootCounter::Load(file, QStringLiteral("KtSNMP_PP_Application"), boots), 0);
        QCOMPARE(boots, 2u);
    }

    // RFC 3414: the counter stays at its maximum instead of wrapping.
    void bootsStopAtTheirMaximum_data()
    {
        QTest::addColumn<quint32>("stored");
        QTest::addColumn<quint32>("boots");
        QTest::newRow("one below") << 2147483646u << 2147483647u;
        QTest::newRow("at the maximum") << 2147483647u << 2147483647u;
        QTest::newRow("above it") << 4294967295u << 2147483647u;
    }
    void bootsStopAtTheirMaximum()
    {
        QFETCH(quint32, stored);
        QFETCH(quint32, boots);
        QTemporaryDir dir;
        const QString file = KtSNMPSession::BootsFilePath(dir.path());
        const QString id = QString::fromLatin1(KtSNMPSession::LocalEngineId);
        QCOMPARE(KtBootCounter::Save(file, id, stored), 0);
        QCOMPARE(startCode(dir.path()), 0);
        QCOMPARE(KtSNMPSession::EngineBoots(), boots);
        QCOMPARE(KtSnmpEngine::Instance().LocalEngineBoots(), boots);
        quint32 saved = 0;
        QCOMPARE(KtBootCounter::Load(file, id, saved), 0);
        QCOMPARE(saved, boots);
    }

    void emptyFolderMeansTheCurrentDirectory()
    {
        QTemporaryDir dir;
        const QString old = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const int code = startCode(QString());
        QDir::setCurrent(old);
        QCOMPARE(code, 0);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("KtSNMP_PP_BootCounter"))));
    }

    void unwritableFolderFailsTheStart_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("a file, not a folder") << "file";
        if (::geteuid() != 0)  // root writes into read-only folders anyway
            QTest::newRow("read-only folder") << "readonly";
    }
    void unwritableFolderFailsTheStart()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("sub"));
        if (kind == QLatin1String("file"))
            writeAll(folder, "x");
        if (kind == QLatin1String("readonly")) {
            QDir().mkpath(folder);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        }
        QString message;
        QCOMPARE(startCode(folder, &message), -508);
        QCOMPARE(message, QStringLiteral("Error when saving SNMP engine boots counter!"));
        QVERIFY(!KtSNMPSession::IsStarted());
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void foreignBootsFileFailsTheStartAndStays()
    {
        QTemporaryDir dir;
        const QString file = KtSNMPSession::BootsFilePath(dir.path());
        writeAll(file, "this is not a counter file\n");
        QString message;
        QCOMPARE(startCode(dir.path(), &message), -507);
        QCOMPARE(message, QStringLiteral("Error when loading SNMP engine boots counter!"));
        QCOMPARE(readAll(file), QByteArray("this is not a counter file\n"));
        QVERIFY(!KtSNMPSession::IsStarted());
    }

    void startSetsTheRecordDefaults()
    {
        QTemporaryDir dir;
        KtSNMPSession::Device().Host = QStringLiteral("10.1.1.1");
        KtSNMPSession::Security().Version = 3;
        KtSNMPSession::SetTimeout(555);
        QCOMPARE(startCode(dir.path()), 0);
        const KtSNMPDevice &d = KtSNMPSession::Device();
        const KtSNMPScope &sc = KtSNMPSession::Scope();
        const KtSNMPSecurity &s = KtSNMPSession::Security();
        QCOMPARE(d.Host, QStringLiteral("127.0.0.1"));
        QCOMPARE(d.AgentPort, quint16(161));
        QVERIFY(sc.ContextEngineID.isEmpty() && sc.ContextName.isEmpty());
        QCOMPARE(s.Version, quint8(0));
        QCOMPARE(s.ReadCommunity, QStringLiteral("cobalt"));
        QCOMPARE(s.WriteCommunity, QStringLiteral("lantern"));
        QCOMPARE(s.SecurityModel, 1);
        QCOMPARE(s.SecurityLevel, 1);
        QCOMPARE(s.AuthProtocol, 1);
        QCOMPARE(s.PrivProtocol, 1);
        QVERIFY(s.SecurityName.isEmpty() && s.AuthPassword.isEmpty() && s.PrivPassword.isEmpty());
        QCOMPARE(KtSNMPSession::Timeout(), 100u);
    }

    void requestCopiesTheRecords()
    {
        QTemporaryDir dir;
        QCOMPARE(startCode(dir.path()), 0);
        KtSNMPSession::Device() = {QStringLiteral("192.0.2.7"), 1161};
        KtSNMPSession::Scope() = {QStringLiteral("80001f88"), QStringLiteral("ctx")};
        KtSNMPSecurity &s = KtSNMPSession::Security();
        s = {3, QStringLiteral("r"), QStringLiteral("w"), 3, 3, QStringLiteral("user"), QStringLiteral("apass"),
             QStringLiteral("ppass"), 3, 4};
        KtSNMPSession::SetTimeout(200);

        KtSNMPRequest r;
        QCOMPARE(r.Host, QStringLiteral("192.0.2.7"));
        QCOMPARE(r.AgentPort, quint16(1161));
        QCOMPARE(r.ContextEngineID, QStringLiteral("80001f88"));
        QCOMPARE(r.ContextName, QStringLiteral("ctx"));
        QCOMPARE(r.Version, quint8(3));
        QCOMPARE(r.ReadCommunity, QStringLiteral("r"));
        QCOMPARE(r.WriteCommunity, QStringLiteral("w"));
        QCOMPARE(r.SecurityModel, 3);
        QCOMPARE(r.SecurityLevel, 3);
        QCOMPARE(r.SecurityName, QStringLiteral("user"));
        QCOMPARE(r.AuthPassword, QStringLiteral("apass"));
        QCOMPARE(r.PrivPassword, QStringLiteral("ppass"));
        QCOMPARE(r.AuthProtocol, 3);
        QCOMPARE(r.PrivProtocol, 4);
        QCOMPARE(r.Timeout, 200u);
        QCOMPARE(r.Retries, 1u);
        QVERIFY(r.Alive);
        QCOMPARE(r.Pending, 0);

        // A request keeps its copy until it loads the settings again.
        KtSNMPSession::Security().ReadCommunity = QStringLiteral("changed");
        QCOMPARE(r.ReadCommunity, QStringLiteral("r"));
        r.LoadSettings();
        QCOMPARE(r.ReadCommunity, QStringLiteral("changed"));
    }
};

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
