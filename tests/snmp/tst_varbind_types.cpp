// What a received value shows for every pair of wire syntax and descriptor type.

#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QTest>

#include <limits>

namespace {

const QString Null = QStringLiteral("(NULL)");

KtVarBind number(quint8 syntax, const QString &value)
{
    KtVarBind vb;
    vb.oid = QStringLiteral("1.3.6.1.4.1.32473.1.0");
    vb.syntax = syntax;
    if (syntax == KtSyntax::Counter64)
        vb.counter64 = value.toULongLong();
    else
        vb.integer = value.toLongLong();
    return vb;
}

KtVarBind octets(quint8 syntax, const QByteArray &raw)
{
    KtVarBind vb;
    vb.oid = QStringLiteral("1.3.6.1.4.1.32473.1.0");
    vb.syntax = syntax;
    vb.octets = raw;
    return vb;
}

// The value text a read gives a variable of the type.
QString shown(const KtVarBind &vb, quint32 type)
{
    KtSNMPVarList l;
    l.AppendVar(QStringLiteral("1.3.6.1.4.1.32473.1"), QStringLiteral("v"), type, KtAccess::ReadOnly);
    KtSNMPRequest r(l);
    r.TakeValue(0, vb);
    return r.Vars.Get(0).Value;
}

struct Range
{
    quint32 type;
    qint64 lo;
    quint64 hi;
};

} // namespace

Q_DECLARE_METATYPE(KtVarBind)

class TestVarBindTypes : public QObject
{
    Q_OBJECT

private slots:
    // Every numeric syntax against every numeric type at the edges of the
    // ranges: the number itself where the type holds it, "(NULL)" elsewhere.
    void numbersShowExactlyOrNot_data()
    {
        QTest::addColumn<KtVarBind>("vb");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("text");
        const QList<QPair<quint8, const char *>> syntaxes = {
            {KtSyntax::Integer, "INTEGER"},      {KtSyntax::Counter32, "Counter32"},
            {KtSyntax::Gauge32, "Gauge32"},      {KtSyntax::TimeTicks, "TimeTicks"},
            {KtSyntax::UInteger32, "UInteger32"}, {KtSyntax::Counter64, "Counter64"},
        };
        const Range ranges[] = {
            {KtType::Integer, std::numeric_limits<qint32>::min(), quint64(std::numeric_limits<qint32>::max())},
            {KtType::Counter, 0, 4294967295u},
            {KtType::Gauge, 0, 4294967295u},
            {KtType::UInteger, 0, 4294967295u},
            {KtType::Counter64, 0, std::numeric_limits<quint64>::max()},
        };
        const QStringList values = {"-2147483648", "-5", "0", "1", "2147483647", "2147483648",
                                    "4294967295", "4294967296", "18446744073709551615"};
        for (const auto &[syntax, name] : syntaxes) {
            for (const QString &v : values) {
                const bool negative = v.startsWith(u'-');
                const bool wide = v.size() >= 10 && v.toULongLong() > 4294967295u;
                // What each syntax can carry on the wire.
                if ((syntax == KtSyntax::Integer && (v.toLongLong() > 2147483647 || v.size() > 11))
                    || (syntax != KtSyntax::Integer && negative)
                    || (syntax != KtSyntax::Counter64 && wide))
                    continue;
                for (const Range &r : ranges) {
                    const bool fits = negative ? v.toLongLong() >= r.lo : v.toULongLong() <= r.hi;
                    QTest::addRow("%s %s as %u", name, qPrintable(v), r.type)
                        << number(syntax, v) << r.type << (fits ? v : Null);
                }
            }
        }
    }
    void numbersShowExactlyOrNot()
    {
        QFETCH(KtVarBind, vb);
        QFETCH(quint32, type);
        QFETCH(QString, text);
        QCOMPARE(shown(vb, type), text);
    }

    void otherPairs_data()
    {
        QTest::addColumn<KtVarBind>("vb");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QString>("text");
        const QByteArray mac("\x00\x12\xcf\x3a\x0b\x41", 6);
        const QByteArray date8("\x07\xd8\x03\x0e\x0d\x05\x09\x00", 8);
        auto add = [](const char *name, const KtVarBind &vb, quint32 type, const QString &text) {
            QTest::newRow(name) << vb << type << text;
        };
        add("Counter64 1 as boolean", number(KtSyntax::Counter64, "1"), KtType::Boolean, "true");
        add("Counter64 2^32 as boolean", number(KtSyntax::Counter64, "4294967296"), KtType::Boolean, Null);
        add("INTEGER 2 as boolean", number(KtSyntax::Integer, "2"), KtType::Boolean, "false");
        add("Counter32 above 2^31 as boolean", number(KtSyntax::Counter32, "4294967295"), KtType::Boolean, Null);
        add("TimeTicks as timeticks", number(KtSyntax::TimeTicks, "8640000"), KtType::TimeTicks, "1 day 0:00:00.00");
        add("INTEGER -5 as timeticks", number(KtSyntax::Integer, "-5"), KtType::TimeTicks, Null);
        add("Counter64 2^32 as timeticks", number(KtSyntax::Counter64, "4294967296"), KtType::TimeTicks, Null);
        add("OCTET STRING as integer", octets(KtSyntax::OctetString, "12"), KtType::Integer, Null);
        add("IpAddress as counter64", octets(KtSyntax::IpAddress, "\x01\x02\x03\x04"), KtType::Counter64, Null);
        add("IpAddress as ipaddress", octets(KtSyntax::IpAddress, QByteArray("\x0a\x00\x00\xfe", 4)),
            KtType::IpAddress, "10.0.0.254");
        add("6 octets as ipaddress", octets(KtSyntax::OctetString, mac), KtType::IpAddress, Null);
        add("INTEGER as ipaddress", number(KtSyntax::Integer, "1"), KtType::IpAddress, Null);
        add("OID as objectid", [] {
            KtVarBind vb;
            vb.syntax = KtSyntax::ObjectId;
            vb.objectId = "1.3.6.1.4.1.32473";
            return vb;
        }(), KtType::ObjectId, "1.3.6.1.4.1.32473");
        add("OCTET STRING as objectid", octets(KtSyntax::OctetString, "1.3.6"), KtType::ObjectId, Null);
        add("OCTET STRING as displaystr", octets(KtSyntax::OctetString, "abc"), KtType::DisplayStr, "abc");
        add("OCTET STRING as octetstr", octets(KtSyntax::OctetString, "abc"), KtType::OctetStr, "616263");
        add("Opaque as opaque", octets(KtSyntax::Opaque, "\x9f\x78"), KtType::Opaque, "9F78");
        add("empty as displaystr", octets(KtSyntax::OctetString, {}), KtType::DisplayStr, "");
        add("empty as octetstr", octets(KtSyntax::OctetString, {}), KtType::OctetStr, "");
        add("INTEGER as displaystr", number(KtSyntax::Integer, "7"), KtType::DisplayStr, Null);
        add("Counter64 as octetstr", number(KtSyntax::Counter64, "7"), KtType::OctetStr, Null);
        add("6 octets as macaddress", octets(KtSyntax::OctetString, mac), KtType::MacAddress, "0012CF3A0B41");
        add("3 octets as macaddress", octets(KtSyntax::OctetString, mac.left(3)), KtType::MacAddress, Null);
        add("4 octets as ipv6address", octets(KtSyntax::OctetString, "\x01\x02\x03\x04"), KtType::Ipv6Address, Null);
        add("DateAndTime of 8 octets", octets(KtSyntax::OctetString, date8), KtType::DateTime, "2008-3-14,13:5:9.0");
        add("DateAndTime of 11 octets", octets(KtSyntax::OctetString, date8 + "-\x05\x1e"), KtType::DateTime,
            "2008-3-14,13:5:9.0,-5:30");
        add("DateAndTime of 7 octets", octets(KtSyntax::OctetString, date8.left(7)), KtType::DateTime, Null);
        add("INTEGER as datetime", number(KtSyntax::Integer, "2008"), KtType::DateTime, Null);
        add("7 octets as double", octets(KtSyntax::OctetString, "\0\0\0\0\0\0\x08"), KtType::Double, Null);
        add("8 octets as double", octets(KtSyntax::OctetString, QByteArray("\0\0\0\0\0\0\x08\x40", 8)),
            KtType::Double, "3");
        add("bcdatetime out of range", octets(KtSyntax::OctetString, QByteArray("\0\0\0\0\0\0\xf0\x7f", 8)),
            KtType::BcDateTime, Null);
        for (quint8 s : QList<quint8>{KtSyntax::Null, KtSyntax::NoSuchObject, KtSyntax::NoSuchInstance,
                                     KtSyntax::EndOfMibView}) {
            for (quint32 type : QList<quint32>{KtType::Integer, KtType::Counter64, KtType::DisplayStr,
                                               KtType::OctetStr, KtType::ObjectId, KtType::DateTime}) {
                KtVarBind vb;
                vb.syntax = s;
                QTest::addRow("absent 0x%x as %u", s, type) << vb << type << Null;
            }
        }
        add("anything as null", number(KtSyntax::Integer, "1"), KtType::Null, Null);
    }
    void otherPairs()
    {
        QFETCH(KtVarBind, vb);
        QFETCH(quint32, type);
        QFETCH(QString, text);
        QCOMPARE(shown(vb, type), text);
    }

    // Shown without a zone, a short DateAndTime is written back whole.
    void shortDateAndTimeGoesBackWithItsZone()
    {
        const QByteArray date8("\x07\xd8\x03\x0e\x0d\x05\x09\x00", 8);
        const QString text = KtValue::RawToText(date8, KtType::DateTime);
        QCOMPARE(KtValue::TextToRaw(text, KtType::DateTime), date8 + QByteArray("+\0\0", 3));
    }

    void typesOutsideDescriptorsRaise()
    {
        for (quint32 type : {0u, 7u, quint32(KtType::Bool8), quint32(KtType::UInt16), 199u}) {
            try {
                shown(number(KtSyntax::Integer, "1"), type);
                QFAIL(qPrintable(QString::number(type)));
            } catch (const KtException &e) {
                QCOMPARE(e.code(), -511);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestVarBindTypes)
#include "tst_varbind_types.moc"
