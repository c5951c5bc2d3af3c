// Command lines of the sibling module programs and their start; the
// failure to start one is covered with the main window's menu.

#include "support/FakeProgram.h"

#include "shell/KtDisplaySettings.h"
#include "shell/KtSiblingModule.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

KtDisplaySettings settings(const QString &version)
{
    KtDisplaySettings s;
    s.Version = version;
    s.ReadCommunity = QStringLiteral("read me");
    s.WriteCommunity = QStringLiteral("wr\"ite");
    s.Port = QStringLiteral("1161");
    s.ContextEngineID = QStringLiteral("80001f8880");
    s.SecurityModel = QStringLiteral("3");
    s.SecurityName = QStringLiteral("SHA_DES_User");
    s.SecurityLevel = QStringLiteral("3");
    s.AuthProtocol = QStringLiteral("3");
    s.PrivProtocol = QStringLiteral("2");
    s.AuthPassword = QStringLiteral("auth phrase");
    s.PrivPassword = QStringLiteral("priv'phrase");
    s.ContextName = QString();
    return s;
}

} // namespace

class TestSiblingModule : public QObject
{
    Q_OBJECT

private slots:
    void commandLines_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("module");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shown");  // the text, secrets masked
        const QStringList community{"/I10.1.2.3", "/Rread me", "/Wwr\"ite"};
        QTest::newRow("v1") << "0" << "/TRmon_History" << "Rmon" << community + QStringList{"/TRmon_History"}
                            << "Rmon /I10.1.2.3 /R**** /W**** /TRmon_History ";
        QTest::newRow("v2c") << "1" << "/TEthernetLike_dot3StatsTable" << "EthernetLike"
                             << community + QStringList{"/TEthernetLike_dot3StatsTable"}
                             << "EthernetLike /I10.1.2.3 /R**** /W**** /TEthernetLike_dot3StatsTable ";
        QTest::newRow("v3") << "3" << "/TLayer3_OSPF" << "Layer3"
                            << QStringList{"/I10.1.2.3", "/t1161", "/v3", "/d80001f8880", "/m3", "/nSHA_DES_User",
                                           "/l3", "/a3", "/p2", "/Aauth phrase", "/Ppriv'phrase", "/c",
                                           "/TLayer3_OSPF"}
                            << "Layer3 /I10.1.2.3 /t1161 /v3 /d80001f8880 /m3 /nSHA_DES_User /l3 /a3 /p2 /A**** "
                               "/P**** /c /TLayer3_OSPF ";
        QTest::newRow("no module") << "1" << "/Xfoo" << "" << community + QStringList{"/Xfoo"}
                                   << " /I10.1.2.3 /R**** /W**** /Xfoo ";
    }
    void commandLines()
    {
        QFETCH(QString, version);
        QFETCH(QString, argument);
        QFETCH(QString, module);
        QFETCH(QStringList, arguments);
        QFETCH(QString, shown);
        const KtSiblingCommand c = KtSiblingModule::CommandLine(argument, QStringLiteral("10.1.2.3"), settings(version));
        QCOMPARE(c.Module, module);
        // The sibling gets every value as it stands.
        QCOMPARE(c.Arguments, arguments);
        // The text: the module, the switches, a blank and the empty extra text.
        QCOMPARE(c.Text, shown);
    }

    void startsBesideUsWithEachArgumentWhole()
    {
        QTemporaryDir dir;
        const QString program = TestSupport::writeArgumentRecorder(dir.path(), QStringLiteral("Rmon"));
        QVERIFY(!program.isEmpty());
        QCOMPARE(KtSiblingModule::Locate(QStringLiteral("Rmon"), dir.path()), program);
        const KtSiblingCommand c =
            KtSiblingModule::CommandLine(QStringLiteral("/TRmon_Statistics"), QStringLiteral("::1"), settings("3"));
        QString reason;
        QVERIFY2(KtSiblingModule::Start(c, dir.path(), &reason), qPrintable(reason));
        QTRY_COMPARE_WITH_TIMEOUT(TestSupport::recordedArguments(program), c.Arguments, 20000);
    }
};

QTEST_GUILESS_MAIN(TestSiblingModule)
#include "tst_siblingmodule.moc"
