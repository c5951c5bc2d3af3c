// The rules under the front panel's ports: where each port is drawn, rates
// from two samples, the texts of tool tips and accessible names, and the
// overlays' marks.

#include "ports/KtMultiPortWrite.h"
#include "ports/KtPortMap.h"
#include "ports/KtPortOverlay.h"
#include "ports/KtPortSample.h"

#include <QTest>

namespace {

KtPortSample sample(int port, quint32 upTime, quint32 in, quint32 out, quint32 errors = 0)
{
    KtPortSample s;
    s.Port = port;
    s.Answered = true;
    s.OperStatus = KtPortSample::LinkUp;
    s.AdminStatus = KtPortSample::LinkUp;
    s.Speed = 1000000000;
    s.DuplexMode = KtPortSample::Full;
    s.UpTime = upTime;
    s.InOctets = in;
    s.OutOctets = out;
    s.InErrors = errors;
    return s;
}

} // namespace

class TestPortRules : public QObject
{
    Q_OBJECT

private slots:
    void everyPortHasItsOwnPlace()
    {
        const QRect picture(0, 0, 919, 113);
        QList<QRect> seen;
        for (int port : KtPortMap::Ports()) {
            const QRect r = KtPortMap::Rect(port);
            QVERIFY2(picture.contains(r), qPrintable(QString::number(port)));
            QCOMPARE(KtPortMap::PortAt(r.center()), port);
            for (const QRect &other : std::as_const(seen))
                QVERIFY2(!other.intersects(r), qPrintable(QString::number(port)));
            seen.append(r);
        }
        QCOMPARE(seen.size(), 28);
        QVERIFY(KtPortMap::Rect(0).isEmpty());
        QVERIFY(KtPortMap::Rect(29).isEmpty());
        QCOMPARE(KtPortMap::PortAt(QPoint(5, 5)), 0);
        // Odd copper ports on top, their even neighbour below.
        QCOMPARE(KtPortMap::Rect(1).x(), KtPortMap::Rect(2).x());
        QVERIFY(KtPortMap::Rect(1).y() < KtPortMap::Rect(2).y());
        QCOMPARE(KtPortMap::KindOf(24), KtPortMap::Kind::Copper);
        QCOMPARE(KtPortMap::KindOf(25), KtPortMap::Kind::Combo);
        QCOMPARE(KtPortMap::KindOf(28), KtPortMap::Kind::Gigabit);
    }

    void rangeText_data()
    {
        QTest::addColumn<QList<int>>("ports");
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << QList<int>{7} << "7";
        QTest::newRow("pair") << QList<int>{3, 4} << "3,4";
        QTest::newRow("run") << QList<int>{5, 3, 4} << "3-5";
        QTest::newRow("mixed") << QList<int>{1, 2, 3, 7, 9, 10, 11, 12, 9} << "1-3,7,9-12";
        QTest::newRow("none") << QList<int>{} << "";
    }
    void rangeText()
    {
        QFETCH(QList<int>, ports);
        QFETCH(QString, text);
        QCOMPARE(KtPortMap::RangeText(ports), text);
    }

    void portBits_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QList<int>>("ports");
        QTest::addColumn<bool>("member");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("add") << QByteArray::fromHex("00000F00") << QList<int>{1, 8, 9} << true
                             << QByteArray::fromHex("81800F00");
        QTest::newRow("remove keeps the others") << QByteArray::fromHex("FFFFFFF0") << QList<int>{3, 28} << false
                                                 << QByteArray::fromHex("DFFFFFE0");
        QTest::newRow("short list grows") << QByteArray() << QList<int>{26} << true << QByteArray::fromHex("00000040");
    }
    void portBits()
    {
        QFETCH(QByteArray, list);
        QFETCH(QList<int>, ports);
        QFETCH(bool, member);
        const QByteArray result = KtPortBits::With(list, ports, member);
        QTEST(result, "result");
        for (int port : ports)
            QCOMPARE(KtPortBits::Has(result, port), member);
        QVERIFY(!KtPortBits::Has(result, 0));
    }

    void rates_data()
    {
        QTest::addColumn<KtPortSample>("before");
        QTest::addColumn<KtPortSample>("after");
        QTest::addColumn<bool>("known");
        QTest::addColumn<double>("inBits");
        QTest::addColumn<double>("outBits");
        QTest::addColumn<quint64>("errors");
        // 300 ticks = 3 s.
        QTest::newRow("plain") << sample(7, 1000, 0, 1000) << sample(7, 1300, 375000, 4000, 6) << true
                               << 1000000.0 << 8000.0 << quint64(6);
        QTest::newRow("wrapped") << sample(7, 1000, 0xFFFFFF00u, 0) << sample(7, 1100, 0x100, 0) << true
                                 << 4096.0 << 0.0 << quint64(0);
        QTest::newRow("switch restarted") << sample(7, 9000, 0, 0) << sample(7, 100, 10, 10) << false << 0.0 << 0.0
                                          << quint64(0);
        QTest::newRow("other port") << sample(7, 1000, 0, 0) << sample(8, 1300, 10, 10) << false << 0.0 << 0.0
                                    << quint64(0);
        KtPortSample silent = sample(7, 1300, 10, 10);
        silent.Answered = false;
        QTest::newRow("no answer") << sample(7, 1000, 0, 0) << silent << false << 0.0 << 0.0 << quint64(0);
    }
    void rates()
    {
        QFETCH(KtPortSample, before);
        QFETCH(KtPortSample, after);
        QFETCH(bool, known);
        const KtPortRates r = KtPortText::Rates(before, after);
        QCOMPARE(r.Known, known);
        if (!known)
            return;
        QTEST(r.InBits, "inBits");
        QTEST(r.OutBits, "outBits");
        QTEST(r.Errors, "errors");
    }

    void texts_data()
    {
        QTest::addColumn<KtPortSample>("s");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("name");
        KtPortSample up = sample(7, 1300, 375000, 4000, 6);
        up.Description = QStringLiteral("uplink");
        QTest::newRow("linked") << up
                                << "Port 7\nLink: up, 1 Gbit/s, full duplex\nAdmin: up\nDescription: uplink\n"
                                   "In: 1 Mbit/s, out: 8 kbit/s\nErrors: 2.0/s"
                                << "Port 7, link up, 1 Gbit/s, full duplex";
        KtPortSample down = sample(8, 1300, 0, 1000);
        down.OperStatus = KtPortSample::LinkDown;
        down.AdminStatus = KtPortSample::LinkDown;
        QTest::newRow("unlinked") << down << "Port 8\nLink: down\nAdmin: down\nIn: 0 bit/s, out: 0 bit/s\nErrors: 0.0/s"
                                  << "Port 8, link down";
        KtPortSample none;
        none.Port = 9;
        QTest::newRow("silent") << none << "Port 9\nNo answer from the switch" << "Port 9";
    }
    void texts()
    {
        QFETCH(KtPortSample, s);
        const KtPortSample before = sample(s.Port, 1000, 0, 1000);
        QTEST(KtPortText::ToolTip(s, KtPortText::Rates(before, s)), "tip");
        QTEST(KtPortText::AccessibleName(s.Port, &s), "name");
        QCOMPARE(KtPortText::AccessibleName(s.Port, nullptr), QStringLiteral("Port %1").arg(s.Port));
    }

    void bitRates_data()
    {
        QTest::addColumn<double>("bps");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "0 bit/s";
        QTest::newRow("bits") << 999.0 << "999 bit/s";
        QTest::newRow("kilo") << 1500.0 << "1.5 kbit/s";
        QTest::newRow("mega") << 12345678.0 << "12.3 Mbit/s";
        QTest::newRow("giga") << 1e9 << "1 Gbit/s";
    }
    void bitRates()
    {
        QFETCH(double, bps);
        QTEST(KtPortText::BitRateText(bps), "text");
    }

    // Utilisation, errors and VLAN marks from two samples: each mark has text.
    void overlayMarks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<KtPortSample>("after");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("alert");
        // 3 s at 1 Gbit/s: 375,000,000 octets would be 100 %.
        QTest::newRow("37 % in") << int(KtPortOverlay::Utilisation) << sample(7, 1300, 138750000, 1000) << true << "37"
                                 << false;
        QTest::newRow("out decides") << int(KtPortOverlay::Utilisation) << sample(7, 1300, 0, 375000000 + 1000) << true
                                     << "100" << false;
        QTest::newRow("a trickle is 1 %") << int(KtPortOverlay::Utilisation) << sample(7, 1300, 10, 1000) << true << "1"
                                          << false;
        QTest::newRow("errors") << int(KtPortOverlay::Errors) << sample(7, 1300, 0, 1000, 3) << true << "!" << true;
        QTest::newRow("no errors") << int(KtPortOverlay::Errors) << sample(7, 1300, 0, 1000, 0) << false << "" << false;
        KtPortSample discards = sample(7, 1300, 0, 1000);
        discards.OutDiscards = 2;
        QTest::newRow("discards") << int(KtPortOverlay::Errors) << discards << true << "!" << true;
        KtPortSample vlan = sample(7, 1300, 0, 1000);
        vlan.Pvid = 20;
        QTest::newRow("vlan") << int(KtPortOverlay::Vlan) << vlan << true << "20" << false;
        KtPortSample silent;
        silent.Port = 7;
        QTest::newRow("silent") << int(KtPortOverlay::Utilisation) << silent << true << "?" << false;
        QTest::newRow("leds") << int(KtPortOverlay::Leds) << vlan << false << "" << false;
    }
    void overlayMarks()
    {
        QFETCH(int, mode);
        QFETCH(KtPortSample, after);
        const KtPortSample before = sample(7, 1000, 0, 1000);
        const KtPortOverlay::Mark m =
            KtPortOverlay::MarkOf(KtPortOverlay::Mode(mode), after, KtPortText::Rates(before, after));
        QTEST(m.Shown, "shown");
        if (m.Shown)
            QTEST(m.Text, "text");
        QTEST(m.Alert, "alert");
        QCOMPARE(KtPortOverlay::Legend(KtPortOverlay::Mode(mode)).isEmpty(), mode == KtPortOverlay::Leds);
    }
};

Q_DECLARE_METATYPE(KtPortSample)

QTEST_GUILESS_MAIN(TestPortRules)
#include "tst_portrules.moc"
