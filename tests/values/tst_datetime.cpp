#include "values/KtDateTime.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QTest>

namespace {

QByteArray fieldsOf(const KtDateTime &t)
{
    return QByteArray::number(t.year) + '-' + QByteArray::number(t.month) + '-' + QByteArray::number(t.day) + ','
        + QByteArray::number(t.hour) + ':' + QByteArray::number(t.minutes) + ':' + QByteArray::number(t.seconds)
        + '.' + QByteArray::number(t.deciSeconds) + ' ' + t.direction + QByteArray::number(t.zoneHours) + ':'
        + QByteArray::number(t.zoneMinutes);
}

} // namespace

class TstDateTime : public QObject
{
    Q_OBJECT

private slots:
    void parsing_data();
    void parsing();
    void printing_data();
    void printing();
    void rawForm();
    void shortRaw();
    void conversionsUseNetworkYear();
};

void TstDateTime::parsing_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<QString>("printed");

    QTest::newRow("negative zone") << "2008-3-14,13:5:9.0,-5:30" << QByteArray("2008-3-14,13:5:9.0 -5:30")
                                   << "2008-3-14,13:5:9.0,-5:30";
    QTest::newRow("positive zone") << "2008-3-14,13:5:9.0,+8:0" << QByteArray("2008-3-14,13:5:9.0 +8:0")
                                   << "2008-3-14,13:5:9.0,+8:0";
    QTest::newRow("zone-less") << "2008-3-14,13:5:9.0" << QByteArray("2008-3-14,13:5:9.0 +0:0")
                               << "2008-3-14,13:5:9.0";
    QTest::newRow("label example") << "1992-5-26,13:30:15.0" << QByteArray("1992-5-26,13:30:15.0 +0:0")
                                   << "1992-5-26,13:30:15.0";
    QTest::newRow("leading zeros dropped") << "2008-03-04,01:02:03.4" << QByteArray("2008-3-4,1:2:3.4 +0:0")
                                           << "2008-3-4,1:2:3.4";
    QTest::newRow("blanks before numbers") << " 2008- 3-14, 13:5:9.0" << QByteArray("2008-3-14,13:5:9.0 +0:0")
                                           << "2008-3-14,13:5:9.0";
    QTest::newRow("date only") << "2008-3-14" << QByteArray("2008-3-14,0:0:0.0 +0:0") << "2008-3-14,0:0:0.0";
    QTest::newRow("stops at mismatch") << "2008/3/14" << QByteArray("2008-0-0,0:0:0.0 +0:0") << "2008-0-0,0:0:0.0";
    QTest::newRow("zone minutes missing") << "2008-3-14,13:5:9.0,+8" << QByteArray("2008-3-14,13:5:9.0 +0:0")
                                          << "2008-3-14,13:5:9.0";
    QTest::newRow("zone without sign") << "2008-3-14,13:5:9.0,8:0" << QByteArray("2008-3-14,13:5:9.0 +0:0")
                                       << "2008-3-14,13:5:9.0";
    QTest::newRow("zero zone with minus") << "2008-3-14,13:5:9.0,-0:0"
                                          << QByteArray("2008-3-14,13:5:9.0 -0:0") << "2008-3-14,13:5:9.0";
    QTest::newRow("truncated to field width") << "70000-300-14,256:5:9.0,+264:0"
                                              << QByteArray("4464-44-14,0:5:9.0 +8:0") << "4464-44-14,0:5:9.0,+8:0";
    QTest::newRow("negative number low bits") << "2008--1-14" << QByteArray("2008-255-14,0:0:0.0 +0:0")
                                              << "2008-255-14,0:0:0.0";
    QTest::newRow("huge digit run") << QString(60, u'9') + "-1-1" << QByteArray("65535-1-1,0:0:0.0 +0:0")
                                    << "65535-1-1,0:0:0.0";
    QTest::newRow("empty") << QString() << QByteArray("0-0-0,0:0:0.0 +0:0") << "0-0-0,0:0:0.0";
    QTest::newRow("garbage") << "hello" << QByteArray("0-0-0,0:0:0.0 +0:0") << "0-0-0,0:0:0.0";
}

void TstDateTime::parsing()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, fields);
    QFETCH(QString, printed);
    const KtDateTime t(text);
    QCOMPARE(fieldsOf(t), fields);
    QCOMPARE(t.toString(), printed);
}

void TstDateTime::printing_data()
{
    QTest::addColumn<char>("direction");
    QTest::addColumn<int>("zoneHours");
    QTest::addColumn<int>("zoneMinutes");
    QTest::addColumn<QString>("text");
    QTest::newRow("no zone") << '+' << 0 << 0 << "2008-3-14,13:5:9.0";
    QTest::newRow("minutes only") << '-' << 0 << 30 << "2008-3-14,13:5:9.0,-0:30";
    QTest::newRow("hours only") << '+' << 8 << 0 << "2008-3-14,13:5:9.0,+8:0";
    QTest::newRow("other direction hides zone") << 'x' << 5 << 30 << "2008-3-14,13:5:9.0";
    QTest::newRow("nul direction hides zone") << '\0' << 5 << 30 << "2008-3-14,13:5:9.0";
}

void TstDateTime::printing()
{
    QFETCH(char, direction);
    QFETCH(int, zoneHours);
    QFETCH(int, zoneMinutes);
    QFETCH(QString, text);
    KtDateTime t;
    t.year = 2008;
    t.month = 3;
    t.day = 14;
    t.hour = 13;
    t.minutes = 5;
    t.seconds = 9;
    t.direction = direction;
    t.zoneHours = quint8(zoneHours);
    t.zoneMinutes = quint8(zoneMinutes);
    QCOMPARE(t.toString(), text);
}

void TstDateTime::rawForm()
{
    const KtDateTime t(QStringLiteral("2008-3-14,13:5:9.7,-5:30"));
    QCOMPARE(t.year, quint16(2008));
    QCOMPARE(t.raw().toHex(), QByteArray("07d8030e0d0509072d051e"));
    const KtDateTime back = KtDateTime::fromRaw(t.raw());
    QCOMPARE(fieldsOf(back), fieldsOf(t));
    // Octets past the eleventh are not part of the value.
    QCOMPARE(fieldsOf(KtDateTime::fromRaw(t.raw() + "zz")), fieldsOf(t));
}

void TstDateTime::shortRaw()
{
    const KtDateTime t = KtDateTime::fromRaw(QByteArray::fromHex("07d8030e"));
    QCOMPARE(fieldsOf(t), QByteArray("2008-3-14,0:0:0.0 +0:0"));
    QCOMPARE(fieldsOf(KtDateTime::fromRaw(QByteArray())), QByteArray("0-0-0,0:0:0.0 +0:0"));
}

void TstDateTime::conversionsUseNetworkYear()
{
    const QByteArray raw = KtValue::TextToRaw(QStringLiteral("1992-5-26,13:30:15.0"), KtType::DateTime);
    QCOMPARE(raw.toHex(), QByteArray("07c8051a0d1e0f002b0000"));
    QCOMPARE(KtValue::RawToText(raw, KtType::DateTime), QStringLiteral("1992-5-26,13:30:15.0"));
    QCOMPARE(KtValue::ExtractPart(raw + raw, 11, KtType::DateTime).toHex(), raw.toHex());
}

QTEST_GUILESS_MAIN(TstDateTime)
#include "tst_datetime.moc"
