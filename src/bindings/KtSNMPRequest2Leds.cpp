#include "bindings/KtSNMPRequest2Leds.h"

#include "bindings/KtLedShape.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtNumList.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QFrame>

#include <algorithm>

namespace {

// The octets behind a value text. A printable-text value ends at its first
// zero octet. Its text shows octets that are no valid UTF-8 one for one as
// Latin-1, which is always the case for LED status octets with the blink
// bit (no LED octet is a UTF-8 lead byte), so Latin-1 is the way back.
QByteArray octetsOf(const QString &text, quint32 type)
{
    if (text == QLatin1String("(NULL)") || text == QLatin1String("(NOTDONE)"))
        return {};
    if (type != KtType::DisplayStr)
        return KtValue::TextToRaw(text, type);
    const bool narrow = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 256; });
    QByteArray raw = narrow ? text.toLatin1() : text.toUtf8();
    const qsizetype zero = raw.indexOf('\0');
    if (zero >= 0)
        raw.truncate(zero);
    return raw;
}

} // namespace

KtSNMPRequest2Leds::KtSNMPRequest2Leds(QWidget *owner) : KtSNMPRequest2Controls(owner)
{
    connect(&PollTimer, &QTimer::timeout, this, &KtSNMPRequest2Leds::pollTick);
    connect(&BlinkTimer, &QTimer::timeout, this, [this] { PaintLeds(); });
    BlinkTimer.setInterval(BlinkInterval);
    BlinkTimer.start();
}

KtSNMPRequest2Leds::~KtSNMPRequest2Leds()
{
    Stop();
}

void KtSNMPRequest2Leds::paint(const LedBinding &led, KtLedColor color)
{
    if (!led.Shape)
        return;
    led.Shape->SetColor(color);
    led.Shape->show();
}

void KtSNMPRequest2Leds::AddLed(int varIndex, int byteIndex, const KtSNMPLedColorMapList *map, KtLedShape *shape)
{
    LedBinding led;
    led.VarIndex = varIndex;
    led.ByteIndex = byteIndex;
    led.ColorMap = map;
    led.Shape = shape;
    led.Color = map->OffColor;
    Leds.append(led);
    paint(led, led.Color);
}

void KtSNMPRequest2Leds::AddLedRow(int varIndex, const QString &positions, const KtSNMPLedColorMapList *map,
                                   QWidget *panel, int left, int gap, int shapeKind, int width, int height)
{
    if (!panel || !map)
        return;
    const KtNumList<int> list(positions, QLatin1Char(','));
    for (int i = 0; i < list.Count(); ++i) {
        auto *shape = new KtLedShape(panel, KtLedShape::Kind(qBound(0, shapeKind, int(KtLedShape::Circle))));
        shape->setGeometry(left + i * (gap + width), 1, width, height);
        AddLed(varIndex, list.At(i), map, shape);
    }
    if (auto *frame = qobject_cast<QFrame *>(panel))
        frame->setFrameShape(QFrame::NoFrame);
}

void KtSNMPRequest2Leds::SetDecodeMode(int mode, int firstPairByte)
{
    DecodeMode = mode > 0 ? mode : 1;
    FirstPairByte = firstPairByte > 0 ? firstPairByte : 4;
}

void KtSNMPRequest2Leds::Start(int interval)
{
    PollTimer.setInterval(interval * 10);
    PollTimer.start();
    StartRead();
}

void KtSNMPRequest2Leds::StartRead()
{
    try {
        Read();
    } catch (const KtException &e) {
        ResetLeds();
        pollFailed();
        throw KtException(e.code(), e.message());
    }
}

void KtSNMPRequest2Leds::Stop()
{
    PollTimer.stop();
    BlinkTimer.stop();
    ResetLeds();
}

void KtSNMPRequest2Leds::ResetLeds()
{
    for (LedBinding &led : Leds) {
        led.Blinking = false;
        led.Color = led.ColorMap->OffColor;
        paint(led, led.Color);
    }
}

int KtSNMPRequest2Leds::PaintLeds()
{
    bool blinking = false;
    for (const LedBinding &led : Leds) {
        KtLedColor color = led.Color;
        if (led.Blinking) {
            blinking = true;
            const bool dark = led.Shape && led.Shape->Color() == led.ColorMap->OffColor;
            if (!dark && BlinkTicks <= BlinkTickLimit)
                color = led.ColorMap->OffColor;
        }
        paint(led, color);
    }
    if (blinking)
        ++BlinkTicks;
    return int(Leds.size());
}

void KtSNMPRequest2Leds::DecodeAll()
{
    for (LedBinding &led : Leds)
        DecodeLed(led);
}

void KtSNMPRequest2Leds::DecodeLed(LedBinding &led)
{
    if (led.VarIndex < 0 || led.VarIndex >= Request.Vars.Count())
        KtThrowEngine(KtCatalogue::EngPartRange);
    const KtSNMPVar &v = Request.Vars.Get(led.VarIndex);
    const QString text = v.Options ? v.Options->LabelToValue(v.Value) : v.Value;
    const QByteArray raw = octetsOf(text, v.Type);
    const KtSNMPLedColorMapList &map = *led.ColorMap;
    const qsizetype b = led.ByteIndex;
    auto absent = [&] {
        if (map.AbsentColor == KtLedColors::None)
            KtThrowEngine(KtCatalogue::EngPartRange);
        led.Color = map.AbsentColor;
        led.Blinking = false;
    };
    if (b < 0 || b >= raw.size())
        return absent();
    const quint8 s = quint8(raw.at(b));
    if (DecodeMode != 2 || b < FirstPairByte) {
        led.Color = map.ColorOf(s & map.ValueMask);
        led.Blinking = (s & map.BlinkMask) != 0;
        return;
    }
    // Status 1: the port is not there.
    if (s == 1) {
        led.Color = map.AbsentColor;
        led.Blinking = false;
        return;
    }
    // A pair needs both octets.
    if (b + 1 >= raw.size())
        return absent();
    led.Blinking = (s & map.BlinkMask) != 0;
    led.Color = map.ColorOf(quint8(raw.at(b + 1)) & map.ValueMask);
}

void KtSNMPRequest2Leds::RowReceived()
{
    BlinkTicks = 0;
    FailedInARow = 0;
    emit PollAnswered();
    DecodeAll();
    PaintLeds();
}

void KtSNMPRequest2Leds::ReadFailed(const KtSNMPError &result)
{
    ResetLeds();
    LastOperation = 0;
    ShowStatus(result.Message);
    pollFailed();
}

void KtSNMPRequest2Leds::pollTick()
{
    try {
        Read();
    } catch (const KtException &e) {
        ResetLeds();
        ShowStatus(e.message());
        pollFailed();
    }
}

void KtSNMPRequest2Leds::pollFailed()
{
    ++FailedInARow;
    emit PollFailed(FailedInARow);
}
