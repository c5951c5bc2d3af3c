#include "errors/KtCatalogue.h"
#include "support/AllValueTypes.h"
#include "support/ExceptionCode.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QTest>

#include <bit>
#include <cmath>
#include <functional>
#include <limits>

using namespace KtValue;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

QByteArray doubleRaw(double v)
{
    QByteArray out(8, '\0');
    const quint64 bits = std::bit_cast<quint64>(v);
    for (int i = 0; i < 8; ++i)
        out[i] = char(bits >> (8 * i));
    return out;
}

double rawDouble(const QByteArray &raw)
{
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | quint8(raw[i]);
    return std::bit_cast<double>(bits);
}

} // namespace

class TstValueText : public QObject
{
    Q_OBJECT

private slots:
    void rawToText_data();
    void rawToText();
    void textToRaw_data();
    void textToRaw();

    void absentValue_data();
    void absentValue();

    void shortRawRaises_data();
    void shortRawRaises();
    void unknownTypeRaises_data();
    void unknownTypeRaises();

    void extractPart_data();
    void extractPart();
    void extractPartOutOfRange_data();
    void extractPartOutOfRange();

    void hexParsing_data();
    void hexParsing();

    void ticksText_data();
    void ticksText();
    void ticksParsing_data();
    void ticksParsing();

    void atol_data();
    void atol();

    void counter64Parsing_data();
    void counter64Parsing();
    void doubleParsing_data();
    void doubleParsing();
    void doubleText_data();
    void doubleText();

    void bcDateTimeText_data();
    void bcDateTimeText();
    void bcDateTimeParsing_data();
    void bcDateTimeParsing();
    void bcDateTimeOutOfRange_data();
    void bcDateTimeOutOfRange();

    void oidParsing_data();
    void oidParsing();

    void displayStringOctets_data();
    void displayStringOctets();
};

void TstValueText::rawToText_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QString>("text");

    QTest::newRow("mac") << hex("0012CF3A0B41") << quint32(KtType::MacAddress) << "0012CF3A0B41";
    QTest::newRow("mac longer uses all") << hex("0012CF3A0B41FF") << quint32(KtType::MacAddress) << "0012CF3A0B41FF";
    QTest::newRow("octetstr lower nibbles") << hex("0a0b") << quint32(KtType::OctetStr) << "0A0B";
    QTest::newRow("bitstr") << hex("80") << quint32(KtType::BitStr) << "80";
    QTest::newRow("opaque") << hex("00ff") << quint32(KtType::Opaque) << "00FF";
    QTest::newRow("ipv6") << hex("fe800000000000000000000000000001") << quint32(KtType::Ipv6Address)
                          << "FE800000000000000000000000000001";
    QTest::newRow("integer -1") << hex("ffffffff") << quint32(KtType::Integer) << "-1";
    QTest::newRow("integer little-endian") << hex("01020000") << quint32(KtType::Integer) << "513";
    QTest::newRow("integer min") << hex("00000080") << quint32(KtType::Integer) << "-2147483648";
    QTest::newRow("integer extra ignored") << hex("0100000099") << quint32(KtType::Integer) << "1";
    QTest::newRow("counter unsigned") << hex("ffffffff") << quint32(KtType::Counter) << "4294967295";
    QTest::newRow("guage") << hex("00000080") << quint32(KtType::Gauge) << "2147483648";
    QTest::newRow("uinteger") << hex("2a000000") << quint32(KtType::UInteger) << "42";
    QTest::newRow("boolean one") << hex("01000000") << quint32(KtType::Boolean) << "true";
    QTest::newRow("boolean high byte") << hex("00000001") << quint32(KtType::Boolean) << "true";
    QTest::newRow("boolean zero") << hex("00000000") << quint32(KtType::Boolean) << "false";
    QTest::newRow("boolean tail ignored") << hex("0000000001") << quint32(KtType::Boolean) << "false";
    QTest::newRow("bool8") << hex("02") << quint32(KtType::Bool8) << "true";
    QTest::newRow("bool16 low") << hex("0001") << quint32(KtType::Bool16) << "true";
    QTest::newRow("bool16 zero") << hex("000001") << quint32(KtType::Bool16) << "false";
    QTest::newRow("int8 FF") << hex("ff") << quint32(KtType::Int8) << "-1";
    QTest::newRow("int8 80") << hex("80") << quint32(KtType::Int8) << "-128";
    QTest::newRow("uint8 FF") << hex("ff") << quint32(KtType::UInt8) << "255";
    QTest::newRow("uint16 network order") << hex("012c") << quint32(KtType::UInt16) << "300";
    QTest::newRow("int16 unsigned") << hex("ffff") << quint32(KtType::Int16) << "65535";
    QTest::newRow("objectid") << hex("010000000300000006000000") << quint32(KtType::ObjectId) << "1.3.6";
    QTest::newRow("objectid large id") << hex("ffffffff01000000") << quint32(KtType::ObjectId) << "4294967295.1";
    QTest::newRow("objectid partial group") << hex("0100000003") << quint32(KtType::ObjectId) << "1";
    QTest::newRow("ipaddress") << hex("c0a80001") << quint32(KtType::IpAddress) << "192.168.0.1";
    QTest::newRow("ipaddress first four") << hex("0a00000102") << quint32(KtType::IpAddress) << "10.0.0.1";
    QTest::newRow("nsapaddr") << hex("7f000001") << quint32(KtType::NsapAddr) << "127.0.0.1";
    QTest::newRow("timeticks") << hex("75bf0600") << quint32(KtType::TimeTicks) << "1:13:42.29";
    QTest::newRow("counter64 low then high")
        << hex("0100000002000000") << quint32(KtType::Counter64) << "8589934593";
    QTest::newRow("counter64 max") << hex("ffffffffffffffff") << quint32(KtType::Counter64)
                                   << "18446744073709551615";
    QTest::newRow("double") << doubleRaw(2.5) << quint32(KtType::Double) << "2.5";
    QTest::newRow("double 15 digits") << doubleRaw(1.0 / 3.0) << quint32(KtType::Double) << "0.333333333333333";
    QTest::newRow("datetime network year")
        << hex("07d8030e0d0509002b0800") << quint32(KtType::DateTime) << "2008-3-14,13:5:9.0,+8:0";
    QTest::newRow("bcdatetime") << doubleRaw(39521.5) << quint32(KtType::BcDateTime) << "2008/03/14 12:00:00 pm";
    QTest::newRow("displaystr ascii") << QByteArray("Port 1") << quint32(KtType::DisplayStr) << "Port 1";
    QTest::newRow("null ignores octets") << hex("01") << quint32(KtType::Null) << "(NULL)";
}

void TstValueText::rawToText()
{
    QFETCH(QByteArray, raw);
    QFETCH(quint32, type);
    QFETCH(QString, text);
    QCOMPARE(RawToText(raw, type), text);
}

void TstValueText::textToRaw_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("raw");

    QTest::newRow("mac blanks lower case") << "00 12 cf 3a 0b 41" << quint32(KtType::MacAddress) << hex("0012CF3A0B41");
    QTest::newRow("octetstr odd count") << "ABC" << quint32(KtType::OctetStr) << hex("0ABC");
    QTest::newRow("octetstr bad digit is 0") << "G1" << quint32(KtType::OctetStr) << hex("01");
    QTest::newRow("boolean true") << "true" << quint32(KtType::Boolean) << hex("01000000");
    QTest::newRow("boolean TRUE") << "TRUE" << quint32(KtType::Boolean) << hex("00000000");
    QTest::newRow("boolean padded") << " true" << quint32(KtType::Boolean) << hex("00000000");
    QTest::newRow("bool8") << "true" << quint32(KtType::Bool8) << hex("01");
    QTest::newRow("bool16") << "true" << quint32(KtType::Bool16) << hex("0001");
    QTest::newRow("bool16 false") << "false" << quint32(KtType::Bool16) << hex("0000");
    QTest::newRow("integer") << "513" << quint32(KtType::Integer) << hex("01020000");
    QTest::newRow("integer negative") << "-2" << quint32(KtType::Integer) << hex("feffffff");
    QTest::newRow("integer atol prefix") << "  12abc" << quint32(KtType::Integer) << hex("0c000000");
    QTest::newRow("integer no digits") << "abc" << quint32(KtType::Integer) << hex("00000000");
    QTest::newRow("integer saturates high") << "99999999999999999999" << quint32(KtType::Integer) << hex("ffffff7f");
    QTest::newRow("integer saturates low") << "-99999999999" << quint32(KtType::Integer) << hex("00000080");
    QTest::newRow("counter full range") << "4294967295" << quint32(KtType::Counter) << hex("ffffffff");
    QTest::newRow("counter saturates") << "4294967296" << quint32(KtType::Counter) << hex("ffffffff");
    QTest::newRow("guage") << "65536" << quint32(KtType::Gauge) << hex("00000100");
    QTest::newRow("uinteger") << "7" << quint32(KtType::UInteger) << hex("07000000");
    QTest::newRow("uint8 -1") << "-1" << quint32(KtType::UInt8) << hex("ff");
    QTest::newRow("uint8 low bits") << "257" << quint32(KtType::UInt8) << hex("01");
    QTest::newRow("int8 -128") << "-128" << quint32(KtType::Int8) << hex("80");
    QTest::newRow("uint16 300") << "300" << quint32(KtType::UInt16) << hex("012c");
    QTest::newRow("int16 negative low bits") << "-1" << quint32(KtType::Int16) << hex("ffff");
    QTest::newRow("uint16 low bits") << "65537" << quint32(KtType::UInt16) << hex("0001");
    QTest::newRow("objectid") << "1.3.6.1" << quint32(KtType::ObjectId) << hex("01000000030000000600000001000000");
    QTest::newRow("objectid leading dot") << ".1.3" << quint32(KtType::ObjectId) << hex("0100000003000000");
    QTest::newRow("objectid max id") << "4294967295" << quint32(KtType::ObjectId) << hex("ffffffff");
    QTest::newRow("ipaddress") << "192.168.0.1" << quint32(KtType::IpAddress) << hex("c0a80001");
    QTest::newRow("ipaddress low bits") << "256.257.0.1" << quint32(KtType::IpAddress) << hex("00010001");
    QTest::newRow("ipaddress three parts") << "10.0.1" << quint32(KtType::IpAddress) << hex("0a0001");
    QTest::newRow("nsapaddr") << "1.2.3.4" << quint32(KtType::NsapAddr) << hex("01020304");
    QTest::newRow("timeticks") << "1:13:42.29" << quint32(KtType::TimeTicks) << hex("75bf0600");
    QTest::newRow("counter64") << "8589934593" << quint32(KtType::Counter64) << hex("0100000002000000");
    QTest::newRow("double") << "2.5" << quint32(KtType::Double) << doubleRaw(2.5);
    QTest::newRow("datetime") << "2008-3-14,13:5:9.0,+8:0" << quint32(KtType::DateTime) << hex("07d8030e0d0509002b0800");
    QTest::newRow("datetime without zone sent whole") << "2008-3-14,13:5:9.0" << quint32(KtType::DateTime)
                                                      << hex("07d8030e0d0509002b0000");
    QTest::newRow("bcdatetime") << "2008/03/14 12:00:00 pm" << quint32(KtType::BcDateTime) << doubleRaw(39521.5);
    QTest::newRow("displaystr utf-8") << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f") << quint32(KtType::DisplayStr)
                                      << QByteArray("Gr\xc3\xbc\xc3\x9f");
    QTest::newRow("displaystr empty") << QString() << quint32(KtType::DisplayStr) << QByteArray();
    QTest::newRow("null type") << "5" << quint32(KtType::Null) << QByteArray();
}

void TstValueText::textToRaw()
{
    QFETCH(QString, text);
    QFETCH(quint32, type);
    QFETCH(QByteArray, raw);
    QCOMPARE(TextToRaw(text, type).toHex(), raw.toHex());
}

void TstValueText::absentValue_data()
{
    QTest::addColumn<quint32>("type");
    for (quint32 type : kAllTypes)
        QTest::addRow("type %u", type) << type;
}

void TstValueText::absentValue()
{
    QFETCH(quint32, type);
    QVERIFY(TextToRaw(QStringLiteral("(NULL)"), type).isEmpty());
    const QString expected = type == KtType::DisplayStr ? QString() : QStringLiteral("(NULL)");
    QCOMPARE(RawToText(QByteArray(), type), expected);
    QVERIFY(ExtractPart(QByteArray(), 0, type).isEmpty());
}

void TstValueText::shortRawRaises_data()
{
    QTest::addColumn<quint32>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("least");  // octets a value needs
    const QList<QPair<quint32, int>> sizes = {
        {KtType::Boolean, 4}, {KtType::Integer, 4}, {KtType::Counter, 4}, {KtType::Gauge, 4},
        {KtType::UInteger, 4}, {KtType::TimeTicks, 4}, {KtType::IpAddress, 4}, {KtType::NsapAddr, 4},
        {KtType::Counter64, 8}, {KtType::Double, 8}, {KtType::BcDateTime, 8}, {KtType::MacAddress, 6},
        {KtType::DateTime, 11}, {KtType::Ipv6Address, 16}, {KtType::Bool16, 2}, {KtType::Int16, 2},
        {KtType::UInt16, 2},
    };
    for (const auto &[type, size] : sizes)
        QTest::addRow("type %u", type) << type << size << (type == KtType::DateTime ? 8 : size);
}

void TstValueText::shortRawRaises()
{
    QFETCH(quint32, type);
    QFETCH(int, size);
    QFETCH(int, least);
    QCOMPARE(PartSize(type), size);
    QString message;
    QCOMPARE(codeOf([&] { RawToText(QByteArray(least - 1, '\1'), type); }, &message), -518);
    QCOMPARE(message, KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngBadPartValue));
    QCOMPARE(codeOf([&] { RawToText(QByteArray(least, '\1'), type); }), 0);
}

void TstValueText::unknownTypeRaises_data()
{
    QTest::addColumn<quint32>("type");
    for (quint32 type : {0u, 7u, 63u, 78u, 192u, 199u, 0xFFFFFFFFu})
        QTest::addRow("type %u", type) << type;
}

void TstValueText::unknownTypeRaises()
{
    QFETCH(quint32, type);
    QString message;
    QCOMPARE(codeOf([&] { TextToRaw(QStringLiteral("1"), type); }, &message), -511);
    QCOMPARE(message, KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngBadSyntax));
    QCOMPARE(codeOf([&] { RawToText(hex("01020304"), type); }), -511);
    QCOMPARE(codeOf([&] { ExtractPart(hex("01020304"), 0, type); }), -511);
    QCOMPARE(PartSize(type), -2);
}

void TstValueText::extractPart_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("part");

    const QByteArray six = hex("000102030405");
    QTest::newRow("uint16 at 4") << six << 4 << quint32(KtType::UInt16) << hex("0405");
    QTest::newRow("uint8 at 5") << six << 5 << quint32(KtType::UInt8) << hex("05");
    QTest::newRow("integer at 0") << six << 0 << quint32(KtType::Integer) << hex("00010203");
    QTest::newRow("mac whole") << six << 0 << quint32(KtType::MacAddress) << six;
    QTest::newRow("octetstr rest") << six << 2 << quint32(KtType::OctetStr) << hex("02030405");
    QTest::newRow("displaystr rest") << six << 5 << quint32(KtType::DisplayStr) << hex("05");
    QTest::newRow("objectid at end") << six << 6 << quint32(KtType::ObjectId) << QByteArray();
    QTest::newRow("bitstr past end") << six << 9 << quint32(KtType::BitStr) << QByteArray();
    QTest::newRow("null at end") << six << 6 << quint32(KtType::Null) << QByteArray();
    QTest::newRow("datetime 11") << hex("07d8030e0d0509002b080099") << 0 << quint32(KtType::DateTime)
                                 << hex("07d8030e0d0509002b0800");
}

void TstValueText::extractPart()
{
    QFETCH(QByteArray, raw);
    QFETCH(int, offset);
    QFETCH(quint32, type);
    QFETCH(QByteArray, part);
    QCOMPARE(ExtractPart(raw, offset, type).toHex(), part.toHex());
}

void TstValueText::extractPartOutOfRange_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<quint32>("type");
    QTest::newRow("uint16 at 5") << 5 << quint32(KtType::UInt16);
    QTest::newRow("integer at 3") << 3 << quint32(KtType::Integer);
    QTest::newRow("counter64") << 0 << quint32(KtType::Counter64);
    QTest::newRow("uint8 past end") << 6 << quint32(KtType::UInt8);
    QTest::newRow("null past end") << 7 << quint32(KtType::Null);
    QTest::newRow("negative offset") << -1 << quint32(KtType::UInt8);
    QTest::newRow("negative offset variable") << -1 << quint32(KtType::OctetStr);
    QTest::newRow("huge offset") << std::numeric_limits<int>::max() << quint32(KtType::UInt16);
}

void TstValueText::extractPartOutOfRange()
{
    QFETCH(int, offset);
    QFETCH(quint32, type);
    QString message;
    QCOMPARE(codeOf([&] { ExtractPart(hex("000102030405"), offset, type); }, &message), -519);
    QCOMPARE(message, KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngPartRange));
}

void TstValueText::hexParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("octets");
    QTest::newRow("pairs") << "0012CF" << hex("0012cf");
    QTest::newRow("odd first digit alone") << "ABC" << hex("0abc");
    QTest::newRow("single digit") << "7" << hex("07");
    QTest::newRow("bad digit") << "G1" << hex("01");
    QTest::newRow("bad digits everywhere") << "zzxF" << hex("000f");
    QTest::newRow("blanks removed") << " a b\tc " << hex("0abc");
    QTest::newRow("lower case") << "deadbeef" << hex("deadbeef");
    QTest::newRow("non-ASCII counts 0") << QString::fromUtf8("\xc3\xa9" "1") << hex("01");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("only blanks") << "   " << QByteArray();
}

void TstValueText::hexParsing()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, octets);
    QCOMPARE(HexToOctets(text).toHex(), octets.toHex());
}

void TstValueText::ticksText_data()
{
    QTest::addColumn<quint32>("ticks");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0u << "0:00:00.00";
    QTest::newRow("45 s") << 4500u << "0:00:45.00";
    QTest::newRow("padded fields") << quint32(3 * 360000 + 7 * 6000 + 9 * 100 + 45) << "3:07:09.45";
    QTest::newRow("one day") << 8640000u << "1 day 0:00:00.00";
    QTest::newRow("two days") << quint32(2 * 8640000 + 99) << "2 days, 0:00:00.99";
    QTest::newRow("day minus one tick") << 8639999u << "23:59:59.99";
    QTest::newRow("max") << 0xFFFFFFFFu << "497 days, 2:27:52.95";
}

void TstValueText::ticksText()
{
    QFETCH(quint32, ticks);
    QFETCH(QString, text);
    QCOMPARE(TicksToText(ticks), text);
    QCOMPARE(TextToTicks(text), ticks);
}

void TstValueText::ticksParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("ticks");
    QTest::newRow("days form") << "2 days, 1:02:03.04" << quint32(2 * 8640000 + 360000 + 2 * 6000 + 3 * 100 + 4);
    QTest::newRow("bare number") << "45" << 0u;
    QTest::newRow("seconds need the dot") << "1:30" << 360000u;
    QTest::newRow("seconds and hundredths only") << "45.5" << 4505u;
    QTest::newRow("hours and seconds") << "1:30.00" << quint32(360000 + 3000);
    QTest::newRow("day singular") << "1 day 0:00:01.00" << quint32(8640000 + 100);
    QTest::newRow("comma without days") << "junk,0:01:00.00" << 6000u;
    QTest::newRow("empty") << QString() << 0u;
    QTest::newRow("garbage") << "abc" << 0u;
    QTest::newRow("negative clamps to 0") << "-1:00:00.00" << 0u;
    QTest::newRow("too many days saturate") << "600 days, 0:00:00.00" << 0xFFFFFFFFu;
    QTest::newRow("huge digits saturate") << "99999999999999999999999 days" << 0xFFFFFFFFu;
    QTest::newRow("negative hundredths") << "0:00:01.-5" << 95u;
}

void TstValueText::ticksParsing()
{
    QFETCH(QString, text);
    QFETCH(quint32, ticks);
    QCOMPARE(TextToTicks(text), ticks);
}

void TstValueText::atol_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("value");
    QTest::newRow("plain") << "123" << qint64(123);
    QTest::newRow("leading blanks") << " \t\n42" << qint64(42);
    QTest::newRow("plus") << "+7" << qint64(7);
    QTest::newRow("minus") << "-7" << qint64(-7);
    QTest::newRow("stops at non-digit") << "12x34" << qint64(12);
    QTest::newRow("blank after sign") << "- 5" << qint64(0);
    QTest::newRow("lone sign") << "-" << qint64(0);
    QTest::newRow("no digits") << "abc" << qint64(0);
    QTest::newRow("empty") << QString() << qint64(0);
    QTest::newRow("int64 max") << "9223372036854775807" << std::numeric_limits<qint64>::max();
    QTest::newRow("int64 min") << "-9223372036854775808" << std::numeric_limits<qint64>::min();
    QTest::newRow("saturate high") << "9223372036854775808" << std::numeric_limits<qint64>::max();
    QTest::newRow("saturate low") << "-9223372036854775809" << std::numeric_limits<qint64>::min();
    QTest::newRow("long digit run") << QString(500, u'9') << std::numeric_limits<qint64>::max();
    QTest::newRow("full-width digit stops") << QString::fromUtf8("1\xef\xbc\x92") << qint64(1);
}

void TstValueText::atol()
{
    QFETCH(QString, text);
    QFETCH(qint64, value);
    QCOMPARE(Atol(text), value);
}

void TstValueText::counter64Parsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint64>("value");
    constexpr quint64 max = std::numeric_limits<quint64>::max();
    QTest::newRow("max exact") << "18446744073709551615" << max;
    QTest::newRow("max minus one exact") << "18446744073709551614" << (max - 1);
    QTest::newRow("2^53 + 1 exact") << "9007199254740993" << quint64(9007199254740993ULL);
    QTest::newRow("above max") << "18446744073709551616" << max;
    QTest::newRow("long digit run") << QString(400, u'7') << max;
    QTest::newRow("negative") << "-1" << quint64(0);
    QTest::newRow("negative real") << "-2.5e3" << quint64(0);
    QTest::newRow("exponent") << "1e19" << quint64(10000000000000000000ULL);
    QTest::newRow("fraction truncates") << "41.99" << quint64(41);
    QTest::newRow("below one") << "0.5" << quint64(0);
    QTest::newRow("huge exponent") << "1e99999" << max;
    QTest::newRow("tiny exponent") << "1e-99999" << quint64(0);
    QTest::newRow("exponent just too big") << "1.8446744073709551616e19" << max;
    QTest::newRow("nan") << "nan" << quint64(0);
    QTest::newRow("inf") << "inf" << max;
    QTest::newRow("minus inf") << "-infinity" << quint64(0);
    QTest::newRow("blanks and junk") << "  123abc" << quint64(123);
    QTest::newRow("dangling exponent") << "12e" << quint64(12);
    QTest::newRow("no digits") << "+" << quint64(0);
    QTest::newRow("lone dot") << "." << quint64(0);
}

void TstValueText::counter64Parsing()
{
    QFETCH(QString, text);
    QFETCH(quint64, value);
    QCOMPARE(TextToCounter64(text), value);
}

void TstValueText::doubleParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "3.25" << 3.25;
    QTest::newRow("prefix") << "  -2.5e3x" << -2500.0;
    QTest::newRow("leading dot") << ".5" << 0.5;
    QTest::newRow("trailing dot") << "5." << 5.0;
    QTest::newRow("comma is not a decimal point") << "2,5" << 2.0;
    QTest::newRow("dangling exponent") << "7e+" << 7.0;
    QTest::newRow("no digits") << "abc" << 0.0;
    QTest::newRow("overflow") << "1e99999" << std::numeric_limits<double>::infinity();
    QTest::newRow("negative overflow") << "-1e400" << -std::numeric_limits<double>::infinity();
    QTest::newRow("underflow") << "1e-99999" << 0.0;
    QTest::newRow("many fraction zeros") << "0." + QString(500, u'0') + "1e501" << 1.0;
    QTest::newRow("inf") << "INF" << std::numeric_limits<double>::infinity();
}

void TstValueText::doubleParsing()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(ParseDouble(text), value);
    QCOMPARE(rawDouble(TextToRaw(text, KtType::Double)), value);
}

void TstValueText::doubleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("tenth") << 0.1 << "0.1";
    QTest::newRow("integer") << 100.0 << "100";
    QTest::newRow("big") << 1e20 << "1e+20";
    QTest::newRow("15 significant") << 123456789012345678.0 << "1.23456789012346e+17";
    QTest::newRow("small") << 0.0001 << "0.0001";
    QTest::newRow("smaller") << 0.00001 << "1e-05";
    QTest::newRow("negative") << -2.5 << "-2.5";
}

void TstValueText::doubleText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatDouble(value), text);
}

void TstValueText::bcDateTimeText_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("text");
    QTest::newRow("epoch") << 0.0 << "1899/12/30 12:00:00 am";
    QTest::newRow("noon") << 0.5 << "1899/12/30 12:00:00 pm";
    QTest::newRow("afternoon") << 39521.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0 << "2008/03/14 01:05:09 pm";
    QTest::newRow("morning") << 39521.0 + (11 * 3600 + 59 * 60 + 59) / 86400.0 << "2008/03/14 11:59:59 am";
    QTest::newRow("before epoch") << -1.25 << "1899/12/29 06:00:00 am";
    QTest::newRow("rounds to next midnight") << 1.0 - 1e-10 << "1899/12/31 12:00:00 am";
    QTest::newRow("first day") << -693593.0 << "0001/01/01 12:00:00 am";
    QTest::newRow("last day") << 2958465.5 << "9999/12/31 12:00:00 pm";
}

void TstValueText::bcDateTimeText()
{
    QFETCH(double, days);
    QFETCH(QString, text);
    QCOMPARE(BcDateTimeToText(days), text);
    QCOMPARE(RawToText(doubleRaw(days), KtType::BcDateTime), text);
    // The printed text reads back to the same text.
    QCOMPARE(BcDateTimeToText(TextToBcDateTime(text)), text);
}

void TstValueText::bcDateTimeParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printed");
    QTest::newRow("display form") << "2008/03/14 01:05:09 pm" << "2008/03/14 01:05:09 pm";
    QTest::newRow("upper-case PM") << "2008/03/14 01:05:09 PM" << "2008/03/14 01:05:09 pm";
    QTest::newRow("12 am is midnight") << "2008/03/14 12:30:00 am" << "2008/03/14 12:30:00 am";
    QTest::newRow("iso T") << "2008-03-14T13:05:09" << "2008/03/14 01:05:09 pm";
    QTest::newRow("iso fraction") << "2008-03-14 13:05:09.5" << "2008/03/14 01:05:09 pm";
    QTest::newRow("no seconds") << "2008/3/14 13:05" << "2008/03/14 01:05:00 pm";
    QTest::newRow("date only") << " 2008/3/14 " << "2008/03/14 12:00:00 am";
    QTest::newRow("before epoch") << "1899/12/29 06:00:00 am" << "1899/12/29 06:00:00 am";
    QTest::newRow("not a date") << "yesterday" << "1899/12/30 12:00:00 am";
    QTest::newRow("bad day") << "2008/02/30 01:00:00 am" << "1899/12/30 12:00:00 am";
    QTest::newRow("13 pm") << "2008/03/14 13:05:09 pm" << "1899/12/30 12:00:00 am";
    QTest::newRow("mixed separators") << "2008/03-14" << "1899/12/30 12:00:00 am";
    QTest::newRow("minute 60") << "2008/03/14 10:60" << "1899/12/30 12:00:00 am";
    QTest::newRow("trailing junk") << "2008/03/14 10:00 xm" << "1899/12/30 12:00:00 am";
    QTest::newRow("year zero") << "0/01/01" << "1899/12/30 12:00:00 am";
}

void TstValueText::bcDateTimeParsing()
{
    QFETCH(QString, text);
    QFETCH(QString, printed);
    QCOMPARE(RawToText(TextToRaw(text, KtType::BcDateTime), KtType::BcDateTime), printed);
}

void TstValueText::bcDateTimeOutOfRange_data()
{
    QTest::addColumn<double>("days");
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("inf") << std::numeric_limits<double>::infinity();
    QTest::newRow("huge") << 1e300;
    QTest::newRow("before year 1") << -693594.0;
    QTest::newRow("year 10000") << 2958466.0;
    QTest::newRow("rounds into year 10000") << 2958466.0 - 1e-9;
}

void TstValueText::bcDateTimeOutOfRange()
{
    QFETCH(double, days);
    QCOMPARE(codeOf([&] { RawToText(doubleRaw(days), KtType::BcDateTime); }), -518);
}

void TstValueText::oidParsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("printed");
    QTest::newRow("plain") << "1.3.6.1.2.1" << "1.3.6.1.2.1";
    QTest::newRow("leading dot") << ".1.3.6" << "1.3.6";
    QTest::newRow("trailing dot") << "1.3." << "1.3";
    QTest::newRow("blanks") << "  1.3  " << "1.3";
    QTest::newRow("bad component") << "1.x.6" << "1.0.6";
    QTest::newRow("empty component") << "1..6" << "1.0.6";
    QTest::newRow("negative component") << "1.-5" << "1.0";
    QTest::newRow("saturates") << "1.99999999999" << "1.4294967295";
    QTest::newRow("empty") << QString() << QString();
}

void TstValueText::oidParsing()
{
    QFETCH(QString, text);
    QFETCH(QString, printed);
    QCOMPARE(OidToText(ParseOid(text)), printed);
}

void TstValueText::displayStringOctets_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("roundTrips");
    QTest::newRow("utf-8") << QByteArray("Gr\xc3\xbc\xc3\x9f") << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f") << true;
    QTest::newRow("byte order mark kept") << QByteArray("\xef\xbb\xbf" "A") << QChar(0xFEFF) + QStringLiteral("A") << true;
    QTest::newRow("embedded nul") << QByteArray("a\0b", 3) << QStringView(u"a\0b", 3).toString() << true;
    QTest::newRow("latin-1 octet") << QByteArray("caf\xe9") << QString::fromLatin1("caf\xe9") << false;
    QTest::newRow("overlong nul") << QByteArray("\xc0\x80") << QString::fromLatin1("\xc0\x80") << false;
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QString::fromLatin1("\xed\xa0\x80") << false;
    QTest::newRow("lone continuation") << QByteArray("\x80") << QString::fromLatin1("\x80") << false;
    QTest::newRow("beyond U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QString::fromLatin1("\xf4\x90\x80\x80")
                                     << false;
    QTest::newRow("truncated sequence") << QByteArray("ab\xe2\x82") << QString::fromLatin1("ab\xe2\x82") << false;
}

void TstValueText::displayStringOctets()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    QFETCH(bool, roundTrips);
    QCOMPARE(RawToText(raw, KtType::DisplayStr), text);
    QCOMPARE(TextToRaw(text, KtType::DisplayStr) == raw, roundTrips);
}

QTEST_GUILESS_MAIN(TstValueText)
#include "tst_valuetext.moc"
