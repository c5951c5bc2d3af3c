// The checks of the MD5, BOOTP, IP interface, SSL, access-control server
// and ACL meter dialogs, without widgets.

#include "dialogs/dedicated/KtAddressRules.h"
#include "dialogs/dedicated/TACLMeterFormRules.h"
#include "dialogs/dedicated/TBOOTCtrlTableFormRules.h"
#include "dialogs/dedicated/TIpCtrlFormRules.h"
#include "dialogs/dedicated/TMd5InformationFormRules.h"
#include "dialogs/dedicated/TSSLManagementFormRules.h"
#include "dialogs/dedicated/TfrmACCServerCtrlRules.h"

#include <QTest>

using Suites = TSSLManagementFormRules::Suites;
Q_DECLARE_METATYPE(TIpCtrlFormRules::Entry)
Q_DECLARE_METATYPE(Suites)

namespace {

TIpCtrlFormRules::Row ipRow(const char *address, const char *ifIndex, const char *name, const char *mask,
                            const char *vlan, const char *secondary)
{
    return {QString::fromLatin1(address), QString::fromLatin1(ifIndex), QString::fromLatin1(name),
            QString::fromLatin1(mask),    QString::fromLatin1(vlan),    QString::fromLatin1(secondary)};
}

// The interfaces a new one is checked against: the system interface, a
// primary with its secondary on "v2", a primary alone on "v3".
QList<TIpCtrlFormRules::Row> ipRows()
{
    return {ipRow("10.90.90.90", "5120", "System", "255.0.0.0", "default", "false"),
            ipRow("192.168.2.1", "2", "ipif2", "255.255.255.0", "v2", "false"),
            ipRow("192.168.3.1", "3", "ipif3", "255.255.255.0", "v2", "true"),
            ipRow("172.16.0.1", "4", "ipif4", "255.255.0.0", "v3", "false")};
}

// A new interface that passes every check against ipRows().
TIpCtrlFormRules::Entry goodEntry()
{
    return {QStringLiteral("192.168.9.1"), QStringLiteral("9"),      QStringLiteral("ipif9"),
            QStringLiteral("255.255.255.0"), QStringLiteral("v9"),   QStringLiteral("manual"),
            QStringLiteral("false"),       QStringLiteral("createAndGo"), QStringLiteral("up")};
}

} // namespace

class TestSecondHalfRules : public QObject
{
    Q_OBJECT

private slots:
    void serverAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sent");  // empty: refused
        QTest::newRow("class C") << "223.1.1.1" << "223.1.1.1";
        QTest::newRow("class A") << "10.1.2.3" << "10.1.2.3";
        QTest::newRow("class B") << "172.16.0.1" << "172.16.0.1";
        QTest::newRow("LAN broadcast") << "192.168.1.255" << "192.168.1.255";
        QTest::newRow("zero above non-zero") << "10.0.0.0" << "10.0.0.0";
        QTest::newRow("leading zeros written plainly") << "010.001.1.1" << "10.1.1.1";
        QTest::newRow("class D") << "224.0.0.5" << "";
        QTest::newRow("class E") << "240.1.1.1" << "";
        QTest::newRow("local host") << "127.0.0.1" << "";
        QTest::newRow("three parts") << "10.0.0" << "";
        QTest::newRow("all zero") << "0.0.0.0" << "";
        QTest::newRow("all broadcast") << "255.255.255.255" << "";
        QTest::newRow("part above 255") << "10.256.1.1" << "";
        QTest::newRow("empty part") << "10..1.1" << "";
        QTest::newRow("five parts") << "10.1.1.1.1" << "";
        QTest::newRow("letters") << "10.a.1.1" << "";
        QTest::newRow("blank") << "10.1.1.1 " << "";
        QTest::newRow("too long") << "0010.0001.0001.01" << "";
        QTest::newRow("empty") << "" << "";
    }
    void serverAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, sent);
        const auto address = KtAddressRules::CheckServerAddress(text);
        QCOMPARE(address.value_or(QString()), sent);
    }

    void md5Set_data()
    {
        using namespace TMd5InformationFormRules;
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("keyId");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("refusal");  // empty: the set may go
        const QString create = QStringLiteral("createAndGo");
        QTest::newRow("new key") << int(AddMode) << "7" << "secret" << create << "";
        QTest::newRow("duplicate 5") << int(AddMode) << "5" << "secret" << create << "KeyID must be different.";
        QTest::newRow("duplicate 05") << int(AddMode) << "05" << "secret" << create << "KeyID must be different.";
        QTest::newRow("no id") << int(AddMode) << "" << "secret" << create << "KeyID is needed.";
        QTest::newRow("id out of range") << int(AddMode) << "256" << "secret" << create
                                         << "KeyID must be a number from 1 to 255.";
        QTest::newRow("id not a number") << int(AddMode) << "5a" << "secret" << create
                                         << "KeyID must be a number from 1 to 255.";
        QTest::newRow("add, no key") << int(AddMode) << "7" << "" << create << "Key is needed.";
        QTest::newRow("add, blank in key") << int(AddMode) << "7" << "sec ret" << create << "Invalid key.";
        QTest::newRow("add, tab in key") << int(AddMode) << "7" << "sec\tret" << create << "Invalid key.";
        QTest::newRow("add, long key") << int(AddMode) << "7" << "seventeen-chars-x" << create
                                       << "A key has at most 16 characters.";
        QTest::newRow("add, wrong status") << int(AddMode) << "7" << "secret" << "active"
                                           << "Status should be createAndGo.";
        QTest::newRow("change") << int(ChangeMode) << "5" << "other" << "active" << "";
        QTest::newRow("change, blank in key") << int(ChangeMode) << "5" << " other" << "active" << "Invalid key.";
        QTest::newRow("change, no key") << int(ChangeMode) << "5" << "" << "active" << "Key is needed.";
    }
    void md5Set()
    {
        QFETCH(int, mode);
        QFETCH(QString, keyId);
        QFETCH(QString, key);
        QFETCH(QString, status);
        QFETCH(QString, refusal);
        const auto r = TMd5InformationFormRules::CheckSet(mode, keyId, key, status, {"1", "5", "12"});
        QCOMPARE(r ? r->Message : QString(), refusal);
    }

    void bootpAdd_data()
    {
        QTest::addColumn<QString>("interfaceName");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("warning");
        QTest::newRow("third server") << "ipif2" << "223.1.1.1" << "" << false;
        QTest::newRow("fifth server") << "System" << "10.1.1.9" << "One Interface Can Only With Four Bootp Servers"
                                      << true;
        QTest::newRow("bad server first") << "System" << "224.0.0.5" << "Invalid Bootp Server IP Address." << false;
        QTest::newRow("no interface") << "" << "10.1.1.9" << "Please input Interface Name." << false;
    }
    void bootpAdd()
    {
        QFETCH(QString, interfaceName);
        QFETCH(QString, server);
        QFETCH(QString, refusal);
        QFETCH(bool, warning);
        const QStringList listed{"System", "ipif2", "System", "System", "ipif2", "System"};
        QString sent;
        const auto r = TBOOTCtrlTableFormRules::CheckAdd(interfaceName, server, listed, &sent);
        QCOMPARE(r ? r->Message : QString(), refusal);
        QCOMPARE(r ? r->Warning : false, warning);
        QCOMPARE(sent, r ? QString() : server);
    }

    void ipAdd_data()
    {
        using Entry = TIpCtrlFormRules::Entry;
        QTest::addColumn<Entry>("entry");
        QTest::addColumn<QString>("refusal");
        const auto with = [](auto change) {
            Entry e = goodEntry();
            change(e);
            return e;
        };
        QTest::newRow("new primary") << goodEntry() << "";
        QTest::newRow("secondary of v3") << with([](Entry &e) { e.Vlan = "v3"; e.Secondary = "true"; }) << "";
        QTest::newRow("class D address") << with([](Entry &e) { e.Address = "224.0.0.5"; })
                                         << "Please input valid IP Address.";
        QTest::newRow("mask /25") << with([](Entry &e) { e.Mask = "255.255.255.128"; })
                                  << "Please input valid Subnet Mask.";
        QTest::newRow("same network") << with([](Entry &e) { e.Address = "192.168.2.7"; })
                                      << "There is an same interface, please modify IP or Subnet Mask!";
        QTest::newRow("inside a wider network") << with([](Entry &e) { e.Address = "172.16.5.1"; })
                                                << "There is an same interface, please modify IP or Subnet Mask!";
        QTest::newRow("index not a number") << with([](Entry &e) { e.IfIndex = "x9"; }) << "Please input If Index.";
        QTest::newRow("index taken as 03") << with([](Entry &e) { e.IfIndex = "03"; })
                                           << "Please input different If Index.";
        QTest::newRow("no name") << with([](Entry &e) { e.Name.clear(); }) << "Please input Interface Name.";
        QTest::newRow("name taken") << with([](Entry &e) { e.Name = "ipif4"; })
                                    << "Please input different Interface Name.";
        QTest::newRow("no secondary choice") << with([](Entry &e) { e.Secondary.clear(); })
                                             << "Please choose Secondary.";
        QTest::newRow("third on a VLAN") << with([](Entry &e) { e.Vlan = "v2"; e.Secondary = "true"; })
                                         << "A VLAN can just create two interface.";
        QTest::newRow("second primary") << with([](Entry &e) { e.Vlan = "v3"; })
                                        << "This vlan has been used to create primary interface.\n"
                                           "Please choose true in Secondary";
        QTest::newRow("secondary first") << with([](Entry &e) { e.Secondary = "true"; })
                                         << "You should create primary interface at first.";
        QTest::newRow("no mode") << with([](Entry &e) { e.Mode.clear(); }) << "Please choose Mode";
        QTest::newRow("no link state") << with([](Entry &e) { e.Oper.clear(); }) << "Please choose Link State";
    }
    void ipAdd()
    {
        QFETCH(TIpCtrlFormRules::Entry, entry);
        QFETCH(QString, refusal);
        QString address;
        const auto r = TIpCtrlFormRules::CheckAdd(entry, ipRows(), &address);
        QCOMPARE(r ? r->Message : QString(), refusal);
        QCOMPARE(address, r ? QString() : entry.Address);
    }

    void ipSecondaryOfSecondary()
    {
        // A VLAN whose only row is a secondary takes no second secondary.
        QList<TIpCtrlFormRules::Row> rows{ipRow("192.168.4.1", "4", "ipif4", "255.255.255.0", "v4", "true")};
        TIpCtrlFormRules::Entry e = goodEntry();
        e.Vlan = QStringLiteral("v4");
        e.Secondary = QStringLiteral("true");
        const auto r = TIpCtrlFormRules::CheckAdd(e, rows, nullptr);
        QCOMPARE(r ? r->Message : QString(), QStringLiteral("Please input different VLAN Name."));
    }

    void ipDelete_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("system") << 0 << "The system IP interface can't be deleted.";
        QTest::newRow("primary before its secondary") << 1 << "The secondary interface must be deleted first!";
        QTest::newRow("secondary") << 2 << "";
        QTest::newRow("primary alone") << 3 << "";
    }
    void ipDelete()
    {
        QFETCH(int, row);
        QFETCH(QString, refusal);
        const auto rows = ipRows();
        QCOMPARE(TIpCtrlFormRules::CheckDelete(rows.at(row), rows).value_or(QString()), refusal);
    }

    void ipStatesByMode()
    {
        using namespace TIpCtrlFormRules;
        QCOMPARE(StateChoices(EditMode), QStringList({"active", "notInService"}));
        // After an Edit narrowed the choices, Add offers createAndGo again.
        QVERIFY(StateChoices(AddMode).contains(FixedState(AddMode)));
        QCOMPARE(FixedState(AddMode), QStringLiteral("createAndGo"));
        QVERIFY(StateChoices(AddMode).contains(QStringLiteral("destroy")));
        // A change keeps the index, name, mask, VLAN and secondary; a delete
        // sends only the address's row state.
        QVERIFY(!KeptByEdit().contains(ModeColumn) && !KeptByEdit().contains(ArpColumn)
                && !KeptByEdit().contains(AdminColumn));
        QVERIFY(!LeftOutOfDelete().contains(AdminColumn) && LeftOutOfDelete().contains(ArpColumn));
    }

    void cipherUnpack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("changes");
        QTest::addColumn<Suites>("suites");
        QTest::newRow("A0") << "A0" << true << Suites{true, false, true, false};
        QTest::newRow("lower case a0") << "a0" << true << Suites{true, false, true, false};
        QTest::newRow("F0") << "F0" << true << Suites{true, true, true, true};
        QTest::newRow("1F") << "1F" << true << Suites{false, false, false, true};
        QTest::newRow("one character") << "A" << false << Suites{};
        QTest::newRow("three characters") << "A00" << false << Suites{};
        QTest::newRow("not hex") << "G0" << false << Suites{};
        QTest::newRow("empty") << "" << false << Suites{};
    }
    void cipherUnpack()
    {
        QFETCH(QString, text);
        QFETCH(bool, changes);
        QFETCH(Suites, suites);
        const auto got = TSSLManagementFormRules::UnpackSuites(text);
        QCOMPARE(got.has_value(), changes);
        if (changes)
            QVERIFY(*got == suites);
    }

    void cipherPack_data()
    {
        QTest::addColumn<Suites>("suites");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("sent");
        QTest::newRow("all four") << Suites{true, true, true, true} << "00" << "F0";
        QTest::newRow("suite 4 alone") << Suites{false, false, false, true} << "A0" << "10";
        QTest::newRow("suites 1 and 3") << Suites{true, false, true, false} << "00" << "A0";
        QTest::newRow("low bits kept") << Suites{true, false, false, false} << "f5" << "85";
        QTest::newRow("nothing read before") << Suites{false, true, false, false} << "" << "40";
        QTest::newRow("odd value before") << Suites{false, true, false, false} << "4" << "40";
    }
    void cipherPack()
    {
        QFETCH(Suites, suites);
        QFETCH(QString, previous);
        QFETCH(QString, sent);
        QCOMPARE(TSSLManagementFormRules::PackSuites(suites, previous), sent);
        QVERIFY(*TSSLManagementFormRules::UnpackSuites(sent) == suites);
    }

    void cacheTimeout_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");  // -1: refused
        QTest::newRow("zero") << "0" << 0LL;
        QTest::newRow("largest") << "4294967295" << 4294967295LL;
        QTest::newRow("one past") << "4294967296" << -1LL;
        QTest::newRow("negative") << "-1" << -1LL;
        QTest::newRow("hex") << "0x10" << -1LL;
        QTest::newRow("huge") << "99999999999999999999999" << -1LL;
    }
    void cacheTimeout()
    {
        QFETCH(QString, text);
        QFETCH(qint64, value);
        const auto v = TSSLManagementFormRules::ParseCacheTimeout(text);
        QCOMPARE(v ? qint64(*v) : -1LL, value);
    }

    void serverControl_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<QString>("address");
        const QString empty = QStringLiteral("Don't Leave Empty Fileds !");
        QTest::newRow("complete") << QStringList{"radius", "10.90.90.11", "radius", "add"} << "" << "10.90.90.11";
        QTest::newRow("address written plainly") << QStringList{"g", "010.1.1.1", "tacacs", "delete"} << ""
                                                 << "10.1.1.1";
        QTest::newRow("empty group") << QStringList{"", "10.90.90.11", "radius", "add"} << empty << "";
        QTest::newRow("empty address") << QStringList{"g", "", "radius", "add"} << empty << "";
        QTest::newRow("no protocol") << QStringList{"g", "10.1.1.1", "", "add"} << empty << "";
        QTest::newRow("no row state") << QStringList{"g", "10.1.1.1", "radius", ""} << empty << "";
        QTest::newRow("address of three parts") << QStringList{"g", "10.1.1", "radius", "add"}
                                                << "Please input valid IP Address." << "";
    }
    void serverControl()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, refusal);
        QFETCH(QString, address);
        QString sent;
        const auto r = TfrmACCServerCtrlRules::CheckSet(fields[0], fields[1], fields[2], fields[3], &sent);
        QCOMPARE(r ? r->Message : QString(), refusal);
        QCOMPARE(sent, address);
    }

    void meterSet_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("rate");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("row chosen") << true << "999936" << "drop-packet" << "";
        QTest::newRow("rate 0 disables") << true << "0" << "other" << "";
        QTest::newRow("no row") << false << "64" << "drop-packet" << "Choose the item first.";
        QTest::newRow("rate too high") << true << "999937" << "drop-packet"
                                       << "Meter Rate must be a whole number from 0 to 999936.";
        QTest::newRow("rate not a number") << true << "6k" << "drop-packet"
                                           << "Meter Rate must be a whole number from 0 to 999936.";
        QTest::newRow("no action") << true << "64" << "" << "Please choose Meter Action For Rate Exceed.";
    }
    void meterSet()
    {
        QFETCH(bool, selected);
        QFETCH(QString, rate);
        QFETCH(QString, action);
        QFETCH(QString, refusal);
        const auto r = TACLMeterFormRules::CheckSet(selected, rate, action);
        QCOMPARE(r ? r->Message : QString(), refusal);
    }
};

QTEST_GUILESS_MAIN(TestSecondHalfRules)
#include "tst_secondhalfrules.moc"
