#pragma once

#include "bindings/KtSNMPLedColorMapList.h"
#include "bindings/KtSNMPRequest2Controls.h"

#include <QList>
#include <QPointer>
#include <QTimer>

class KtLedShape;

// Colours LED shapes from one polled octet-string variable: one octet per
// LED, or from FirstPairByte on (DecodeMode 2) a status octet and a colour
// octet per LED. An LED whose status has a blink bit alternates dark and
// lit for BlinkTickLimit + 1 paint steps after every answer, then stays lit.
class KtSNMPRequest2Leds : public KtSNMPRequest2Controls
{
    Q_OBJECT

public:
    struct LedBinding
    {
        int VarIndex = 0;
        int ByteIndex = 0;
        const KtSNMPLedColorMapList *ColorMap = nullptr;  // borrowed
        QPointer<KtLedShape> Shape;  // owned by its panel
        bool Blinking = false;
        KtLedColor Color = KtLedColors::Black;  // lit colour of the last decode
    };

    explicit KtSNMPRequest2Leds(QWidget *owner);
    ~KtSNMPRequest2Leds() override;

    QList<LedBinding> Leds;  // decoded and painted in this order
    QTimer PollTimer;        // each tick starts one read
    QTimer BlinkTimer;       // each tick is one paint step
    int BlinkTickLimit = 6;
    int BlinkTicks = 0;
    int DecodeMode = 1;
    int FirstPairByte = 4;
    int FailedInARow = 0;    // polls failed since the last answer

    static constexpr int BlinkInterval = 60;

    void AddLed(int varIndex, int byteIndex, const KtSNMPLedColorMapList *map, KtLedShape *shape);
    // positions: octet positions separated by ","; the shapes go left to
    // right into panel, width + gap apart, starting at left.
    void AddLedRow(int varIndex, const QString &positions, const KtSNMPLedColorMapList *map, QWidget *panel,
                   int left, int gap, int shapeKind, int width, int height);
    void SetDecodeMode(int mode, int firstPairByte);
    // interval in units of 10 ms; the first read starts at once.
    void Start(int interval);
    // Read; a failure to start it darkens the LEDs and is raised again.
    void StartRead();
    void Stop();
    void ResetLeds();
    // One paint step; returns the number of LEDs.
    int PaintLeds();
    void DecodeAll();
    virtual void DecodeLed(LedBinding &led);

    void RowReceived() override;
    void ReadFailed(const KtSNMPError &result) override;

signals:
    // After each failed poll, with FailedInARow.
    void PollFailed(int inARow);
    // After each answered poll, before its status line is shown.
    void PollAnswered();

private:
    void pollTick();
    void pollFailed();
    static void paint(const LedBinding &led, KtLedColor color);
};
