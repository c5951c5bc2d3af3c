// Varbind conversions, end-of-column rule and PDU contents of the request
// engine, without an agent (sets go to a port that never answers).

#include "support/EnginePump.h"
#include "support/ExceptionCode.h"
#include "support/LoopbackUdp.h"

#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSNMPSession.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(KtVarBind)

namespace {

const KtOptionList &enabledDisabled()
{
    static const KtOptionList list({{1, {}, QStringLiteral("enabled")}, {2, {}, QStringLiteral("disabled")}});
    return list;
}

KtVarBind bind(quint8 syntax, qint64 integer = 0, const QByteArray &octets = {}, const QString &objectId = {})
{
    KtVarBind vb;
    vb.oid = QStringLiteral("1.3.6.1.4.1.1.0");
    vb.syntax = syntax;
    vb.integer = integer;
    vb.counter64 = quint64(integer);
    vb.octets = octets;
    vb.objectId = objectId;
    return vb;
}

// Records the OIDs of a set as the engine puts them into the PDU.
class RecordingRequest : public KtSNMPRequest
{
public:
    using KtSNMPRequest::KtSNMPRequest;
    QStringList oids;
    void PutValue(int i, KtVarBind &vb) override
    {
        oids.append(vb.oid);
        KtSNMPRequest::PutValue(i, vb);
    }
};

} // namespace

class TestRequestValues : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;

private slots:
    void initTestCase()
    {
        KtSNMPSession::StartSession(m_folder.path());
    }

    void cleanupTestCase() { KtSNMPSession::StopSession(); }

    void takeValue_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<bool>("options");
        QTest::addColumn<KtVarBind>("vb");
        QTest::addColumn<QString>("text");
        QTest::newRow("integer") << quint32(KtType::Integer) << false << bind(KtSyntax::Integer, -5) << "-5";
        QTest::newRow("counter max") << quint32(KtType::Counter) << false << bind(KtSyntax::Counter32, 4294967295LL)
                                     << "4294967295";
        QTest::newRow("gauge") << quint32(KtType::Gauge) << false << bind(KtSyntax::Gauge32, 17) << "17";
        QTest::newRow("uinteger") << quint32(KtType::UInteger) << false << bind(KtSyntax::UInteger32, 3) << "3";
        QTest::newRow("counter64") << quint32(KtType::Counter64) << false
                                   << bind(KtSyntax::Counter64, 1099511627776LL) << "1099511627776";
        QTest::newRow("ticks") << quint32(KtType::TimeTicks) << false << bind(KtSyntax::TimeTicks, 123456)
                               << KtValue::TicksToText(123456);
        QTest::newRow("object id") << quint32(KtType::ObjectId) << false
                                   << bind(KtSyntax::ObjectId, 0, {}, QStringLiteral("1.3.6.1.4")) << "1.3.6.1.4";
        QTest::newRow("ip address") << quint32(KtType::IpAddress) << false
                                    << bind(KtSyntax::IpAddress, 0, QByteArray("\xC0\xA8\x01\x14", 4))
                                    << "192.168.1.20";
        QTest::newRow("octets as hex") << quint32(KtType::OctetStr) << false
                                       << bind(KtSyntax::OctetString, 0, QByteArray("\x01\xAB", 2)) << "01AB";
        QTest::newRow("empty octets") << quint32(KtType::OctetStr) << false << bind(KtSyntax::OctetString) << "";
        QTest::newRow("display string") << quint32(KtType::DisplayStr) << false
                                        << bind(KtSyntax::OctetString, 0, "hello") << "hello";
        QTest::newRow("truth true") << quint32(KtType::Boolean) << false << bind(KtSyntax::Integer, 1) << "true";
        QTest::newRow("truth false") << quint32(KtType::Boolean) << false << bind(KtSyntax::Integer, 2) << "false";
        QTest::newRow("label of value") << quint32(KtType::Integer) << true << bind(KtSyntax::Integer, 2)
                                        << "disabled";
        QTest::newRow("value without label") << quint32(KtType::Integer) << true << bind(KtSyntax::Integer, 9)
                                             << "9";
        QTest::newRow("noSuchObject") << quint32(KtType::Integer) << false << bind(KtSyntax::NoSuchObject)
                                      << "(NULL)";
        QTest::newRow("noSuchInstance string") << quint32(KtType::DisplayStr) << false
                                               << bind(KtSyntax::NoSuchInstance) << "(NULL)";
        QTest::newRow("null varbind") << quint32(KtType::Counter) << false << bind(KtSyntax::Null) << "(NULL)";
        QTest::newRow("string where a number belongs") << quint32(KtType::Integer) << false
                                                       << bind(KtSyntax::OctetString, 0, "12") << "(NULL)";
        QTest::newRow("short ip address") << quint32(KtType::IpAddress) << false
                                          << bind(KtSyntax::IpAddress, 0, QByteArray("\x01\x02\x03", 3))
                                          << "(NULL)";
        QTest::newRow("null type") << quint32(KtType::Null) << false << bind(KtSyntax::Integer, 4) << "(NULL)";
    }
    void takeValue()
    {
        QFETCH(quint32, type);
        QFETCH(bool, options);
        QFETCH(KtVarBind, vb);
        QFETCH(QString, text);
        KtSNMPVarList l;
        l.AppendVarShared(QStringLiteral("1.3.6.1.4.1.1"), QStringLiteral("v"), type, KtAccess::ReadWrite,
                          options ? &enabledDisabled() : nullptr);
        KtSNMPRequest r(l);
        r.TakeValue(0, vb);
        QCOMPARE(r.Vars.Get(0).Value, text);
    }

    void putValue_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<bool>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<KtVarBind>("expected");
        QTest::newRow("integer") << quint32(KtType::Integer) << false << "-12" << bind(KtSyntax::Integer, -12);
        QTest::newRow("integer saturates") << quint32(KtType::Integer) << false << "99999999999"
                                           << bind(KtSyntax::Integer, 2147483647);
        QTest::newRow("counter") << quint32(KtType::Counter) << false << "7" << bind(KtSyntax::Counter32, 7);
        QTest::newRow("gauge") << quint32(KtType::Gauge) << false << "8" << bind(KtSyntax::Gauge32, 8);
        QTest::newRow("uinteger") << quint32(KtType::UInteger) << false << "9" << bind(KtSyntax::UInteger32, 9);
        QTest::newRow("ticks") << quint32(KtType::TimeTicks) << false << KtValue::TicksToText(500)
                               << bind(KtSyntax::TimeTicks, 500);
        QTest::newRow("counter64") << quint32(KtType::Counter64) << false << "1099511627776"
                                   << bind(KtSyntax::Counter64, 1099511627776LL);
        QTest::newRow("ip address") << quint32(KtType::IpAddress) << false << "10.0.0.1"
                                    << bind(KtSyntax::IpAddress, 0, QByteArray("\x0A\x00\x00\x01", 4));
        QTest::newRow("object id") << quint32(KtType::ObjectId) << false << "1.3.6.1"
                                   << bind(KtSyntax::ObjectId, 0, {}, QStringLiteral("1.3.6.1"));
        QTest::newRow("hex octets") << quint32(KtType::OctetStr) << false << "01AB"
                                    << bind(KtSyntax::OctetString, 0, QByteArray("\x01\xAB", 2));
        QTest::newRow("display string as octet string") << quint32(KtType::DisplayStr) << false << "hi"
                                                        << bind(KtSyntax::OctetString, 0, "hi");
        QTest::newRow("absent") << quint32(KtType::Integer) << false << "(NULL)" << bind(KtSyntax::Null);
        QTest::newRow("truth true") << quint32(KtType::Boolean) << false << "true" << bind(KtSyntax::Integer, 1);
        QTest::newRow("truth other") << quint32(KtType::Boolean) << false << "yes" << bind(KtSyntax::Integer, 2);
        QTest::newRow("label to value") << quint32(KtType::Integer) << true << "disabled"
                                        << bind(KtSyntax::Integer, 2);
    }
    void putValue()
    {
        QFETCH(quint32, type);
        QFETCH(bool, options);
        QFETCH(QString, text);
        QFETCH(KtVarBind, expected);
        KtSNMPVarList l;
        l.AppendVarShared(QStringLiteral("1.3.6.1.4.1.1"), QStringLiteral("v"), type, KtAccess::ReadWrite,
                          options ? &enabledDisabled() : nullptr);
        KtSNMPRequest r(l);
        r.Vars.Get(0).Value = text;
        KtVarBind vb;
        r.PutValue(0, vb);
        QCOMPARE(vb.syntax, expected.syntax);
        if (expected.syntax == KtSyntax::Counter64)
            QCOMPARE(vb.counter64, expected.counter64);
        else
            QCOMPARE(vb.integer, expected.integer);
        QCOMPARE(vb.octets, expected.octets);
        QCOMPARE(vb.objectId, expected.objectId);
    }

    void conversionsRefuseBadValues_data()
    {
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("text");
        QTest::newRow("ip with three parts") << quint32(KtType::IpAddress) << "1.2.3";
        QTest::newRow("ip part above 255") << quint32(KtType::IpAddress) << "1.2.3.256";
        QTest::newRow("counter64 not a number") << quint32(KtType::Counter64) << "lots";
        QTest::newRow("unknown type") << quint32(99) << "1";
    }
    void conversionsRefuseBadValues()
    {
        QFETCH(quint32, type);
        QFETCH(QString, text);
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.4.1.1"), QStringLiteral("v"), type, KtAccess::ReadWrite);
        KtSNMPRequest r(l);
        r.Vars.Get(0).Value = text;
        KtVarBind vb;
        QCOMPARE(codeOf([&] { r.PutValue(0, vb); }), -511);
        if (type == 99)
            QCOMPARE(codeOf([&] { r.TakeValue(0, bind(KtSyntax::Integer, 1)); }), -511);
    }

    void columnEnded_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("previous");
        QTest::addColumn<QString>("current");
        QTest::addColumn<bool>("ended");
        const QString base = QStringLiteral("1.3.6.1.2.1.2.2.1.1");
        QTest::newRow("inside, moved on") << 2 << "" << base + ".1" << false;
        QTest::newRow("next row") << 3 << base + ".1" << base + ".2" << false;
        QTest::newRow("next column") << 2 << base + ".2" << "1.3.6.1.2.1.2.2.1.2.1" << true;
        QTest::newRow("column 10 shares the text prefix") << 2 << "" << "1.3.6.1.2.1.2.2.1.10.1" << true;
        QTest::newRow("repeated request") << 2 << base + ".5" << base + ".5" << true;
        QTest::newRow("answer goes backwards") << 2 << base + ".5.2" << base + ".5.1" << true;
        QTest::newRow("numeric, not text, order") << 3 << base + ".9" << base + ".10" << false;
        QTest::newRow("longer is later") << 3 << base + ".9" << base + ".9.0" << false;
        QTest::newRow("the base itself") << 2 << "" << base << true;
        QTest::newRow("scalars never end") << 0 << "" << "9.9" << false;
        QTest::newRow("single instance never ends") << 1 << "" << "9.9" << false;
    }
    void columnEnded()
    {
        QFETCH(int, kind);
        QFETCH(QString, previous);
        QFETCH(QString, current);
        QFETCH(bool, ended);
        KtSNMPRequest r;
        r.Vars.Kind = quint8(kind);
        QCOMPARE(r.ColumnEnded(QStringLiteral("1.3.6.1.2.1.2.2.1.1"), previous, current), ended);
    }

    void readsRefusedBeforeSending()
    {
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.2.1.1.1"), QStringLiteral("v"), KtType::DisplayStr, KtAccess::ReadOnly);
        KtSNMPRequest r(l);
        QCOMPARE(codeOf([&] { r.Fetch(false); }), -510);  // kind 0 cannot continue
        r.Vars.Kind = KtKind::MVT_SV;
        QCOMPARE(codeOf([&] { r.Fetch(false); }), -510);
        r.Vars.Kind = 7;
        QCOMPARE(codeOf([&] { r.Fetch(true); }), -515);
        QCOMPARE(codeOf([&] { r.Store(); }), -515);
        QCOMPARE(r.Pending, 0);
    }

    void malformedIdentifiersAreRefused_data()
    {
        QTest::addColumn<QString>("oid");
        QTest::addColumn<QString>("value");
        QTest::newRow("letter in the variable") << "1.3.6.x" << "1.3";
        QTest::newRow("empty part") << "1.3..6" << "1.3";
        QTest::newRow("part above 32 bits") << "1.3.4294967296" << "1.3";
        QTest::newRow("bad value") << "1.3.6.1" << "1.3.six";
        QTest::newRow("empty value") << "1.3.6.1" << "";
    }
    void malformedIdentifiersAreRefused()
    {
        QFETCH(QString, oid);
        QFETCH(QString, value);
        TestSupport::SilentPort silent;
        KtSNMPVarList l;
        l.AppendVar(oid, QStringLiteral("v"), KtType::ObjectId, KtAccess::ReadWrite);
        KtSNMPRequest r(l);
        r.AgentPort = silent.port();
        r.Version = 1;
        r.Vars.Get(0).Value = value;
        QCOMPARE(codeOf([&] { r.Store(); }), -417);
        if (value == QLatin1String("1.3"))
            QCOMPARE(codeOf([&] { r.Fetch(true); }), -417);
        QCOMPARE(r.Pending, 0);
        QVERIFY(TestSupport::pumpTicked());  // nothing left for the pump to send either
        QCOMPARE(silent.received(), 0);
    }

    // The PDU of a set: instance by kind, row suffix from the index columns,
    // index columns and read-only variables left out.
    void setAddressesTheInstanceByKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("listSuffix");
        QTest::addColumn<QStringList>("oids");
        QTest::newRow("scalars") << 0 << "" << QStringList{"1.9.3.0", "1.9.4.0"};
        QTest::newRow("one instance") << 1 << "7" << QStringList{"1.9.3.7", "1.9.4.7"};
        QTest::newRow("table row") << 2 << "" << QStringList{"1.9.3.3.10.0.0.1", "1.9.4.3.10.0.0.1"};
        QTest::newRow("table row, kind 3") << 3 << "" << QStringList{"1.9.3.3.10.0.0.1", "1.9.4.3.10.0.0.1"};
    }
    void setAddressesTheInstanceByKind()
    {
        QFETCH(int, kind);
        QFETCH(QString, listSuffix);
        QFETCH(QStringList, oids);
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.9.1"), QStringLiteral("idx"), KtType::Integer, KtAccess::NotAccess);
        l.AppendVar(QStringLiteral("1.9.2"), QStringLiteral("addr"), KtType::IpAddress, KtAccess::NotAccess);
        l.AppendVar(QStringLiteral("1.9.3"), QStringLiteral("a"), KtType::Integer, KtAccess::ReadWrite);
        l.AppendVar(QStringLiteral("1.9.4"), QStringLiteral("b"), KtType::DisplayStr, KtAccess::WriteOnly);
        l.AppendVar(QStringLiteral("1.9.5"), QStringLiteral("ro"), KtType::Integer, KtAccess::ReadOnly);
        l.Kind = quint8(kind);
        l.IndexCount = kind >= 2 ? 2 : 0;
        TestSupport::SilentPort silent;
        RecordingRequest r(l);
        r.Vars.Suffix = listSuffix;
        r.Host = QStringLiteral("127.0.0.1");
        r.AgentPort = silent.port();
        r.Version = 1;
        r.Timeout = 5;
        r.Retries = 0;
        r.Vars.Get(0).Value = QStringLiteral("3");
        r.Vars.Get(1).Value = QStringLiteral("10.0.0.1");
        r.Vars.Get(2).Value = QStringLiteral("1");
        r.Vars.Get(3).Value = QStringLiteral("x");
        int calls = 0;
        r.StoreAsync([](void *d, KtSNMPError *, KtSNMPVarList *) { ++*static_cast<int *>(d); }, &calls);
        // Outside a table the index columns are ordinary, non-writable variables.
        QCOMPARE(r.oids, oids);
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 20000);
        QCOMPARE(silent.received(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRequestValues)
#include "tst_request_values.moc"
