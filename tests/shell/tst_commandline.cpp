// The window title (prefix form) and the switch table (search form).

#include "shell/KtCommandLine.h"
#include "snmp/KtSNMPSession.h"

#include <QTest>

namespace {

// No network: "switch1" is known, "bad" is not, an address is itself.
QString fakeResolve(const QString &host)
{
    return host == QLatin1String("switch1") ? QStringLiteral("10.0.0.1") : host.startsWith("192.") ? host : QString();
}

const QString Defaults = QStringLiteral("127.0.0.1:161 v0 r=cobalt w=lantern c= e= m1 l1 n= A= P= a1 p1");

// Applies the switches to fresh records and returns them as one text.
QString apply(const QStringList &arguments, KtCommandLine::Outcome &outcome)
{
    KtSNMPDevice d;
    KtSNMPScope s;
    KtSNMPSecurity c;
    outcome = KtCommandLine::Apply(arguments, fakeResolve, d, s, c);
    return QStringLiteral("%1:%2 v%3 r=%4 w=%5 c=%6 e=%7 m%8 l%9 n=%10 A=%11 P=%12 a%13 p%14")
        .arg(d.Host).arg(d.AgentPort).arg(c.Version).arg(c.ReadCommunity, c.WriteCommunity, s.ContextName)
        .arg(s.ContextEngineID).arg(c.SecurityModel).arg(c.SecurityLevel)
        .arg(c.SecurityName, c.AuthPassword, c.PrivPassword).arg(c.AuthProtocol).arg(c.PrivProtocol);
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    // records: the result; error: "switch value" of the first bad number; title: from the last
    // argument starting with /I.
    void table_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("records");
        QTest::addColumn<bool>("hostFailed");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("title");
        const QString v3 = QString(Defaults).replace("v0", "v3");
        const QString sw1 = QStringLiteral("QSX-4810 : switch1");
        QTest::newRow("none") << QStringList{} << Defaults << false << "" << "";
        QTest::newRow("same /I twice") << QStringList{"/I192.0.2.1", "/v1", "/I192.0.2.2"}
                                       << QString(Defaults).replace("127.0.0.1:161 v0", "192.0.2.2:161 v1") << false << ""
                                       << "QSX-4810 : 192.0.2.2";
        QTest::newRow("/I inside") << QStringList{"/Iswitch1", "x/I192.0.2.9"}
                                   << QString(Defaults).replace("127.0.0.1", "192.0.2.9") << false << "" << sw1;
        QTest::newRow("empty /I") << QStringList{"/Iswitch1", "/I"} << QString(Defaults).replace("127.0.0.1", "10.0.0.1")
                                  << true << "" << sw1;
        QTest::newRow("host unknown") << QStringList{"/Ibad"} << Defaults << true << "" << "QSX-4810 : bad";
        QTest::newRow("/R inside") << QStringList{"abc/Rpub/lic"} << QString(Defaults).replace("r=cobalt", "r=pub/lic")
                                   << false << "" << "";
        QTest::newRow("first row only") << QStringList{"/Wx/Ry"} << QString(Defaults).replace("r=cobalt", "r=y") << false
                                        << "" << "";
        QTest::newRow("/t before /v3") << QStringList{"/t1161", "/nuser", "/v3"} << v3 << false << "" << "";
        QTest::newRow("/t after /v3")
            << QStringList{"/v3", "/t1161", "/cctx", "/d0x80", "/m3", "/l3", "/nMD5_DES_User", "/Aau", "/Ppr", "/a2", "/p2", "/Iswitch1"}
            << "10.0.0.1:1161 v3 r=cobalt w=lantern c=ctx e=0x80 m3 l3 n=MD5_DES_User A=au P=pr a2 p2" << false << "" << sw1;
        QTest::newRow("v3 then v1") << QStringList{"/v3", "/v1", "/t1161"} << QString(Defaults).replace("v0", "v1") << false
                                    << "" << "";
        QTest::newRow("version text") << QStringList{"/Rr", "/vthree", "/Ww"} << QString(Defaults).replace("r=cobalt", "r=r")
                                      << false << "/v three" << "";
        QTest::newRow("version empty") << QStringList{"/v"} << Defaults << false << "/v " << "";
        QTest::newRow("port too large") << QStringList{"/v3", "/t65536"} << v3 << false << "/t 65536" << "";
        QTest::newRow("level with blank") << QStringList{"/v3", "/l1 2"} << v3 << false << "/l 1 2" << "";
        QTest::newRow("hex protocol") << QStringList{"/v3", "/a0x2", "/p2"} << v3 << false << "/a 0x2" << "";
        // What follows a switch found inside an argument may be part of a pass phrase.
        QTest::newRow("/v inside a pass phrase") << QStringList{"/v3", "/Ppass/vword"} << v3 << false << "/v ****" << "";
    }
    void table()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, records);
        QFETCH(bool, hostFailed);
        QFETCH(QString, error);
        QFETCH(QString, title);
        QCOMPARE(KtCommandLine::Title(arguments), title);
        KtCommandLine::Outcome outcome;
        QCOMPARE(apply(arguments, outcome), records);
        QCOMPARE(outcome.HostFailed, hostFailed);
        QCOMPARE(outcome.Error ? outcome.Error->Switch + ' ' + outcome.Error->Value : QString(), error);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
