// What a read shows for every pair of wire syntax and descriptor type: the
// value exactly, or "(NULL)" where the type cannot hold it.

#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QTest>

Q_DECLARE_METATYPE(KtVarBind)

namespace {

KtVarBind wire(quint8 syntax, const QString &number, const QByteArray &octets = {})
{
    KtVarBind vb;
    vb.syntax = syntax;
    vb.counter64 = number.toULongLong();
    vb.integer = number.toLongLong();
    vb.octets = octets;
    vb.objectId = syntax == KtSyntax::ObjectId ? number : QString();
    return vb;
}

} // namespace

class TestVarBindTypes : public QObject
{
    Q_OBJECT

private slots:
    void shownValue_data()
    {
        QTest::addColumn<KtVarBind>("vb");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("text");
        // Every numeric syntax against every numeric type at the range edges.
        const QList<quint8> syntaxes = {KtSyntax::Integer, KtSyntax::Counter32, KtSyntax::Gauge32,
                                        KtSyntax::TimeTicks, KtSyntax::UInteger32, KtSyntax::Counter64};
        const QList<QPair<quint32, QPair<qint64, quint64>>> ranges = {
            {KtType::Integer, {-2147483648LL, 2147483647u}}, {KtType::Counter, {0, 4294967295u}},
            {KtType::Gauge, {0, 4294967295u}},               {KtType::UInteger, {0, 4294967295u}},
            {KtType::Counter64, {0, ~quint64(0)}}};
        for (quint8 s : syntaxes) {
            for (const char *v : {"-2147483648", "-5", "0", "2147483647", "2147483648", "4294967295", "4294967296",
                                  "18446744073709551615"}) {
                const QString n = QString::fromLatin1(v);
                const bool negative = n.startsWith(u'-');
                const quint64 u = n.toULongLong();
                if (s == KtSyntax::Integer ? !negative && u > 2147483647u
                                           : negative || (s != KtSyntax::Counter64 && u > 4294967295u))
                    continue;  // not on the wire in this syntax
                for (const auto &[type, range] : ranges) {
                    const bool fits = negative ? n.toLongLong() >= range.first : u <= range.second;
                    QTest::addRow("0x%x %s as %u", s, v, type) << wire(s, n) << type << (fits ? n : "(NULL)");
                }
            }
        }
        const QByteArray date("\x07\xd8\x03\x0e\x0d\x05\x09\x00", 8);
        const QByteArray mac("\x00\x12\xcf\x3a\x0b\x41", 6);
        auto add = [](const char *name, const KtVarBind &vb, quint32 type, const char *text) {
            QTest::newRow(name) << vb << type << QString::fromLatin1(text);
        };
        add("Counter64 1 as boolean", wire(KtSyntax::Counter64, "1"), KtType::Boolean, "true");
        add("Counter64 2^32 as boolean", wire(KtSyntax::Counter64, "4294967296"), KtType::Boolean, "(NULL)");
        add("INTEGER -5 as timeticks", wire(KtSyntax::Integer, "-5"), KtType::TimeTicks, "(NULL)");
        add("Counter64 2^32 as timeticks", wire(KtSyntax::Counter64, "4294967296"), KtType::TimeTicks, "(NULL)");
        add("TimeTicks as timeticks", wire(KtSyntax::TimeTicks, "8640000"), KtType::TimeTicks, "1 day 0:00:00.00");
        add("OCTET STRING as integer", wire(KtSyntax::OctetString, {}, "12"), KtType::Integer, "(NULL)");
        add("INTEGER as displaystr", wire(KtSyntax::Integer, "7"), KtType::DisplayStr, "(NULL)");
        add("OCTET STRING as displaystr", wire(KtSyntax::OctetString, {}, "abc"), KtType::DisplayStr, "abc");
        add("empty as octetstr", wire(KtSyntax::OctetString, {}), KtType::OctetStr, "");
        add("IpAddress as ipaddress", wire(KtSyntax::IpAddress, {}, "\x0a\x01\x02\xfe"), KtType::IpAddress, "10.1.2.254");
        add("6 octets as ipaddress", wire(KtSyntax::OctetString, {}, mac), KtType::IpAddress, "(NULL)");
        add("OID as objectid", wire(KtSyntax::ObjectId, "1.3.6.1"), KtType::ObjectId, "1.3.6.1");
        add("INTEGER as objectid", wire(KtSyntax::Integer, "1"), KtType::ObjectId, "(NULL)");
        add("6 octets as macaddress", wire(KtSyntax::OctetString, {}, mac), KtType::MacAddress, "0012CF3A0B41");
        add("3 octets as macaddress", wire(KtSyntax::OctetString, {}, mac.left(3)), KtType::MacAddress, "(NULL)");
        add("DateAndTime without zone", wire(KtSyntax::OctetString, {}, date), KtType::DateTime, "2008-3-14,13:5:9.0");
        add("DateAndTime with zone", wire(KtSyntax::OctetString, {}, date + "-\x05\x1e"), KtType::DateTime,
            "2008-3-14,13:5:9.0,-5:30");
        add("7 octets as datetime", wire(KtSyntax::OctetString, {}, date.left(7)), KtType::DateTime, "(NULL)");
        add("infinite bcdatetime", wire(KtSyntax::OctetString, {}, QByteArray(6, 0) + "\xf0\x7f"), KtType::BcDateTime,
            "(NULL)");
        add("noSuchInstance as integer", wire(KtSyntax::NoSuchInstance, "0"), KtType::Integer, "(NULL)");
        add("NULL as displaystr", wire(KtSyntax::Null, "0"), KtType::DisplayStr, "(NULL)");
    }
    void shownValue()
    {
        QFETCH(KtVarBind, vb);
        QFETCH(quint32, type);
        QFETCH(QString, text);
        KtSNMPVarList l;
        l.AppendVar(QStringLiteral("1.3.6.1.4.1.32473.1"), QStringLiteral("v"), type, KtAccess::ReadOnly);
        KtSNMPRequest r(l);
        r.TakeValue(0, vb);
        QCOMPARE(r.Vars.Get(0).Value, text);
    }
};

QTEST_GUILESS_MAIN(TestVarBindTypes)
#include "tst_varbind_types.moc"
