// Switch extraction, the window title and the switch table.

#include "shell/KtCommandLine.h"
#include "snmp/KtSNMPSession.h"

#include <QTest>

namespace {

// Look-ups without a network: "switch1" is known, "bad" is not, an address is itself.
QString fakeResolve(const QString &host)
{
    if (host == QLatin1String("switch1"))
        return QStringLiteral("10.0.0.1");
    return host.startsWith(QLatin1String("192.")) ? host : QString();
}

// The records after the switches, as one comparable text.
QString summary(const KtSNMPDevice &d, const KtSNMPScope &s, const KtSNMPSecurity &c)
{
    return QStringLiteral("%1:%2 v%3 r=%4 w=%5 c=%6 e=%7 m%8 l%9 n=%10 A=%11 P=%12 a%13 p%14")
        .arg(d.Host).arg(d.AgentPort).arg(c.Version).arg(c.ReadCommunity, c.WriteCommunity, s.ContextName,
                                                        s.ContextEngineID)
        .arg(c.SecurityModel).arg(c.SecurityLevel).arg(c.SecurityName, c.AuthPassword, c.PrivPassword)
        .arg(c.AuthProtocol).arg(c.PrivProtocol);
}

const QString Defaults = QStringLiteral("127.0.0.1:161 v0 r=cobalt w=lantern c= e= m1 l1 n= A= P= a1 p1");

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void extraction_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("search");
        QTest::newRow("value") << "/Ihost" << "host" << true << "host";
        QTest::newRow("switch alone") << "/I" << "" << true << "";
        QTest::newRow("inside") << "xx/Ihost" << "" << true << "host";
        QTest::newRow("case matters") << "/ihost" << "" << false << "";
        QTest::newRow("first occurrence") << "/Ia/Ib" << "a/Ib" << true << "a/Ib";
        QTest::newRow("shorter") << "/" << "" << false << "";
    }
    void extraction()
    {
        QFETCH(QString, argument);
        QFETCH(QString, prefix);
        QFETCH(bool, found);
        QFETCH(QString, search);
        QString value;
        QCOMPARE(KtCommandLine::PrefixValue(argument, QStringLiteral("/I")), prefix);
        QCOMPARE(KtCommandLine::SearchValue(argument, QStringLiteral("/I"), &value), found);
        QCOMPARE(value, search);
    }

    void title_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("title");
        QTest::newRow("no argument") << QStringList{} << "";
        QTest::newRow("one host") << QStringList{"/v1", "/I192.0.2.7"} << "QSX-4810 : 192.0.2.7";
        QTest::newRow("same /I twice") << QStringList{"/Ia", "/Ib"} << "QSX-4810 : b";
        QTest::newRow("/I not first") << QStringList{"x/Ia"} << "";
        QTest::newRow("empty /I keeps") << QStringList{"/Ia", "/I"} << "QSX-4810 : a";
    }
    void title()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, title);
        QCOMPARE(KtCommandLine::Title(arguments), title);
    }

    void table_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("records");
        QTest::addColumn<bool>("hostFailed");
        QTest::newRow("none") << QStringList{} << Defaults << false;
        QTest::newRow("host resolved") << QStringList{"/Iswitch1"} << QString(Defaults).replace("127.0.0.1", "10.0.0.1") << false;
        QTest::newRow("last /I wins") << QStringList{"/Iswitch1", "/I192.0.2.9"} << QString(Defaults).replace("127.0.0.1", "192.0.2.9") << false;
        QTest::newRow("host unknown") << QStringList{"/Ibad"} << Defaults << true;
        QTest::newRow("/R inside") << QStringList{"abc/Rpub/lic"} << QString(Defaults).replace("r=cobalt", "r=pub/lic") << false;
        QTest::newRow("first row only") << QStringList{"/Wx/Ry"} << QString(Defaults).replace("r=cobalt", "r=y") << false;
        QTest::newRow("v3 rows ignored before v3")
            << QStringList{"/t1161", "/nuser", "/v3"} << QString(Defaults).replace("v0", "v3") << false;
        QTest::newRow("v3 rows after v3")
            << QStringList{"/v3", "/t1161", "/cctx", "/d0x8000", "/m3", "/l3", "/nMD5_DES_User", "/Aauthpass",
                           "/Pprivpass", "/a2", "/p2", "/Rr", "/Ww"}
            << "127.0.0.1:1161 v3 r=r w=w c=ctx e=0x8000 m3 l3 n=MD5_DES_User A=authpass P=privpass a2 p2" << false;
        QTest::newRow("v3 then v1") << QStringList{"/v3", "/v1", "/t1161"} << QString(Defaults).replace("v0", "v1") << false;
    }
    void table()
    {
        QFETCH(QStringList, arguments);
        KtSNMPDevice device;
        KtSNMPScope scope;
        KtSNMPSecurity security;
        const KtCommandLine::Outcome outcome = KtCommandLine::Apply(arguments, fakeResolve, device, scope, security);
        QFETCH(QString, records);
        QFETCH(bool, hostFailed);
        QCOMPARE(summary(device, scope, security), records);
        QCOMPARE(outcome.HostFailed, hostFailed);
        QVERIFY(!outcome.Error);
    }

    void badNumber_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("sw");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("records");
        QTest::newRow("version text") << QStringList{"/Rr", "/vthree", "/Ww"} << "/v" << "three"
                                      << QString(Defaults).replace("r=cobalt", "r=r");
        QTest::newRow("version empty") << QStringList{"/v"} << "/v" << "" << Defaults;
        QTest::newRow("port too large") << QStringList{"/v3", "/t65536"} << "/t" << "65536"
                                        << QString(Defaults).replace("v0", "v3");
        QTest::newRow("level with blank") << QStringList{"/v3", "/l1 2"} << "/l" << "1 2"
                                          << QString(Defaults).replace("v0", "v3");
        QTest::newRow("hex protocol") << QStringList{"/v3", "/a0x2"} << "/a" << "0x2"
                                      << QString(Defaults).replace("v0", "v3");
    }
    void badNumber()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, sw);
        QFETCH(QString, value);
        QFETCH(QString, records);
        KtSNMPDevice device;
        KtSNMPScope scope;
        KtSNMPSecurity security;
        const KtCommandLine::Outcome outcome = KtCommandLine::Apply(arguments, fakeResolve, device, scope, security);
        QVERIFY(outcome.Error);
        QCOMPARE(outcome.Error->Switch, sw);
        QCOMPARE(outcome.Error->Value, value);
        QVERIFY(outcome.Error->Message().contains(sw + QLatin1Char(' ')));
        QVERIFY(outcome.Error->Message().contains(QLatin1Char('"') + value + QLatin1Char('"')));
        // Switches before the bad one were applied, those after it not.
        QCOMPARE(summary(device, scope, security), records);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
