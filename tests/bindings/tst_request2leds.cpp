// The LED binding: decoding and blinking on values built here, the colour
// maps, and the front panel polling the simulated agent.
#include "support/AgentSession.h"
#include "support/ScriptedMessages.h"

#include "bindings/KtFrontPanelLeds.h"
#include "bindings/KtLedShape.h"
#include "bindings/KtSNMPRequest2Leds.h"
#include "errors/KtException.h"
#include "values/KtOptionList.h"
#include "values/KtValueText.h"

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QtTest>

namespace {

using namespace KtLedColors;

const KtSNMPLedColorMapList Strict({{2, Green}}, 0x07, 0x80, Black, None);

const KtSNMPLedColorMapList &mapNamed(const QString &name)
{
    using namespace KtFrontPanelLeds;
    return name == "power" ? PowerMap()
        : name == "console" ? ConsoleMap()
        : name == "rps"     ? RpsMap()
        : name == "port"    ? PortMap()
        : name == "combo"   ? ComboMap()
                            : Strict;
}

// A full front-panel value: power, console, RPS, then 28 dark, steady pairs.
QByteArray frontValue(const QMap<int, char> &changes = {})
{
    QByteArray v(59, '\x02');
    v[0] = 1;
    v[1] = 3;
    v[2] = 3;
    for (auto it = changes.begin(); it != changes.end(); ++it)
        v[it.key()] = it.value();
    return v;
}

// One LED on one variable holding the octets as the engine shows them.
struct Bench
{
    QWidget panel;
    KtSNMPRequest2Leds leds{&panel};

    Bench(const QByteArray &octets, int byteIndex, const KtSNMPLedColorMapList &map)
    {
        leds.Request.Vars.AppendVar(KtFrontPanelLeds::LedStatusOid, "leds", KtType::DisplayStr, KtAccess::ReadOnly);
        leds.Request.Vars.Get(0).Value = KtValue::RawToText(octets, KtType::DisplayStr);
        leds.AddLed(0, byteIndex, &map, new KtLedShape(&panel));
    }
};

QChar letter(KtLedColor c)
{
    return c == Green ? 'G' : c == Amber ? 'A' : c == Black ? 'K' : '?';
}

} // namespace

class TestRequest2Leds : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void mapKeys_data();
    void mapKeys();
    void blinkSteps();
    void frontPanelPollsTheAgent();
};

void TestRequest2Leds::decode_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("byteIndex");
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("expected");  // colour letter and B for blinking, or the error code
    QTest::newRow("blinking green pair") << frontValue({{3, '\x82'}, {4, '\x02'}}) << 2 << 3 << "port" << "GB";
    QTest::newRow("status 1 is dark") << frontValue({{3, '\x01'}, {4, '\x02'}}) << 2 << 3 << "port" << "K";
    QTest::newRow("colour 5 has no entry") << frontValue({{5, '\x82'}, {6, '\x0D'}}) << 2 << 5 << "port" << "KB";
    QTest::newRow("amber combo") << frontValue({{51, '\x02'}, {52, '\x02'}}) << 2 << 51 << "combo" << "A";
    QTest::newRow("single octets first") << frontValue() << 2 << 2 << "rps" << "G";
    QTest::newRow("one octet each") << QByteArray("\x81") << 1 << 0 << "port" << "AB";
    QTest::newRow("after a zero octet") << frontValue({{10, '\0'}, {11, '\x82'}}) << 2 << 11 << "port" << "K";
    QTest::newRow("before a zero octet") << frontValue({{10, '\0'}, {7, '\x82'}}) << 2 << 7 << "port" << "GB";
    QTest::newRow("short value") << frontValue().left(5) << 2 << 7 << "port" << "K";
    QTest::newRow("pair cut after its status") << frontValue({{3, '\x82'}}).left(4) << 2 << 3 << "port" << "K";
    QTest::newRow("strict map, short value") << frontValue().left(5) << 2 << 7 << "strict" << "-519";
    QTest::newRow("strict map, status 1") << frontValue({{7, '\x01'}}) << 2 << 7 << "strict" << "?";
    QTest::newRow("strict map, value present") << frontValue() << 2 << 7 << "strict" << "G";
}

void TestRequest2Leds::decode()
{
    QFETCH(QByteArray, value);
    QFETCH(int, mode);
    QFETCH(int, byteIndex);
    QFETCH(QString, map);
    QFETCH(QString, expected);
    Bench b(value, byteIndex, mapNamed(map));
    b.leds.SetDecodeMode(mode, 3);
    try {
        b.leds.DecodeAll();
        const KtSNMPRequest2Leds::LedBinding &led = b.leds.Leds.first();
        QCOMPARE(QString(letter(led.Color)) + (led.Blinking ? "B" : ""), expected);
    } catch (const KtException &e) {
        QCOMPARE(QString::number(e.code()), expected);
        QCOMPARE(e.message(), QStringLiteral("Out of range for the bit(byte) index of the associated SNMP "
                                             "variable's (partial) data!"));
    }
}

void TestRequest2Leds::mapKeys_data()
{
    QTest::addColumn<QString>("map");
    QTest::addColumn<QString>("colours");  // of the keys 0 to 5
    QTest::newRow("power") << "power" << "KGGGKK";
    QTest::newRow("console") << "console" << "KKGKKK";
    QTest::newRow("rps") << "rps" << "KKKGKK";
    QTest::newRow("port") << "port" << "KAGKKK";
    QTest::newRow("combo") << "combo" << "KAAGGK";
}

void TestRequest2Leds::mapKeys()
{
    QFETCH(QString, map);
    QFETCH(QString, colours);
    const KtSNMPLedColorMapList &m = mapNamed(map);
    QString seen;
    for (quint8 key = 0; key < 6; ++key)
        seen += letter(m.ColorOf(key));
    QCOMPARE(seen, colours);
    QCOMPARE(m.IndexOf(0x80), -1);
    QCOMPARE(m.OffColor, Black);
    QCOMPARE(m.AbsentColor, Black);

    KtSNMPLedColorMapList copy = m;
    const int count = copy.Count();
    copy.Append({{7, Green}, {8, None}, {9, Amber}});  // the closing pair ends the table
    QCOMPARE(copy.Count(), count + 1);
    QCOMPARE(copy.ColorOf(9), Black);
    copy.Clear();
    QCOMPARE(copy.Count(), 0);
}

void TestRequest2Leds::blinkSteps()
{
    Bench b(frontValue({{3, '\x82'}, {4, '\x02'}}), 3, KtFrontPanelLeds::PortMap());
    b.leds.SetDecodeMode(0, 0);
    QCOMPARE(b.leds.DecodeMode, 1);
    QCOMPARE(b.leds.FirstPairByte, 4);
    b.leds.SetDecodeMode(2, 3);
    QVERIFY(b.leds.BlinkTimer.isActive());
    QCOMPARE(b.leds.BlinkTimer.interval(), 60);
    const KtLedShape *shape = b.leds.Leds.first().Shape;
    for (int response = 0; response < 2; ++response) {
        b.leds.RowReceived();  // an answer: decode and the first paint step
        QString steps(letter(shape->Color()));
        for (int tick = 0; tick < 10; ++tick) {
            QCOMPARE(b.leds.PaintLeds(), 1);
            steps += letter(shape->Color());
        }
        // Seven steps alternate, from whatever the LED showed, then it stays lit.
        QCOMPARE(steps, response == 0 ? QStringLiteral("GKGKGKGGGGG") : QStringLiteral("KGKGKGKGGGG"));
    }
    b.leds.Stop();
    QVERIFY(!b.leds.BlinkTimer.isActive() && !b.leds.PollTimer.isActive());
    QCOMPARE(shape->Color(), Black);
    QVERIFY(!b.leds.Leds.first().Blinking);
}

void TestRequest2Leds::frontPanelPollsTheAgent()
{
    AgentSession session;
    QVERIFY(session.start());
    QMainWindow window;
    auto *panel0 = new QLabel;
    window.statusBar()->addWidget(panel0);
    auto *front = new QWidget;
    window.setCentralWidget(front);
    KtFrontPanelWidgets panels;
    QWidget **all[] = {&panels.PowerLedPanel, &panels.ConsoleLedPanel, &panels.RPSPanel,
                       &panels.LedPanel1,     &panels.LedPanel2,       &panels.Combo1Panel,
                       &panels.Combo2Panel,   &panels.GEPanel1,        &panels.GEPanel2};
    for (QWidget **p : all) {
        auto *frame = new QFrame(front);
        frame->setFrameShape(QFrame::Box);
        *p = frame;
    }
    window.show();
    KtSNMPRequest2Leds *leds = KtFrontPanelLeds::SetUp(&window, panels, panel0);
    QCOMPARE(leds->parent(), &window);
    QCOMPARE(leds->Leds.size(), 31);
    QCOMPARE(leds->PollTimer.interval(), 3000);
    QCOMPARE(static_cast<QFrame *>(panels.LedPanel1)->frameShape(), QFrame::NoFrame);
    QCOMPARE(leds->Leds.at(4).Shape->geometry(), QRect(13, 1, 6, 6));
    QCOMPARE(leds->Leds.at(30).Shape->parentWidget(), panels.GEPanel2);

    QTRY_VERIFY_WITH_TIMEOUT(panel0->text().startsWith("Get: Ok! Request: Led Status. Receive at "), 20000);
    QCOMPARE(leds->Request.Vars.Get(0).Value.size(), 59);
    QCOMPARE(leds->Leds.at(0).Color, Green);  // power on
    QCOMPARE(leds->Leds.at(1).Color, Black);  // console not in use
    QCOMPARE(leds->Leds.at(2).Color, Green);  // RPS working
    auto blinking = [&] {
        return std::any_of(leds->Leds.begin() + 3, leds->Leds.end(),
                           [](const KtSNMPRequest2Leds::LedBinding &l) { return l.Blinking; });
    };
    QTRY_VERIFY_WITH_TIMEOUT(blinking(), 15000);

    // Answers stop: every LED goes dark and steady, and the failure is shown.
    leds->Request.Timeout = 50;
    leds->Request.Retries = 0;
    session.agent.stop();
    QTRY_VERIFY_WITH_TIMEOUT(panel0->text().startsWith("Get: SNMP request timed out! Request: Led Status."), 15000);
    for (const KtSNMPRequest2Leds::LedBinding &l : leds->Leds) {
        QVERIFY(!l.Blinking);
        QCOMPARE(l.Shape->Color(), Black);
    }
    QVERIFY(leds->PollTimer.isActive());
    session.stop();
}

QTEST_MAIN(TestRequest2Leds)
#include "tst_request2leds.moc"
