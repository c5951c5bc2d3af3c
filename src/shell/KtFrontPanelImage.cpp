#include "shell/KtFrontPanelImage.h"

#include "ports/KtPortMap.h"

#include <QLinearGradient>
#include <QtMath>
#include <QPainter>

namespace {

// The face is the switch's own colouring, not the desktop's.
const QColor Face(0x34, 0x37, 0x3c);
const QColor FaceDark(0x1f, 0x21, 0x25);
const QColor Ear(0x4a, 0x4e, 0x55);
const QColor Print(0xd8, 0xda, 0xdf);
const QColor Accent(0xc8, 0x74, 0x2c);
const QColor Shield(0xa7, 0xab, 0xb2);
const QColor Hole(0x0e, 0x0f, 0x11);
const QColor Contact(0xb0, 0x8d, 0x3c);

constexpr int BlockLeft[2] = {430, 622};  // the LED rows of ports 1-12 and 13-24
constexpr int Column = 26;                // two LEDs, 13 pixels apart, per column of ports
constexpr int ComboLed[2] = {803, 852};

void text(QPainter &p, const QRect &r, int pixelSize, const QString &s, int flags = Qt::AlignCenter,
          bool bold = false)
{
    QFont f = p.font();
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    p.setFont(f);
    p.setPen(Print);
    p.drawText(r, flags, s);
}

// The dark window under an LED shape, one pixel round it.
void lens(QPainter &p, int x, int y, int w, int h)
{
    p.fillRect(QRect(x - 1, y - 1, w + 2, h + 2), QColor(0x5e, 0x62, 0x69));
    p.fillRect(QRect(x, y, w, h), Hole);
}

void copperPort(QPainter &p, const QRect &r, bool latchDown)
{
    p.fillRect(r, Shield);
    const QRect inner = r.adjusted(2, 2, -2, -2);
    p.fillRect(inner, Hole);
    // The latch notch, then the eight contacts opposite it.
    const int notchY = latchDown ? inner.bottom() : inner.top() - 2;
    p.fillRect(QRect(r.center().x() - 4, notchY, 9, 3), Hole);
    const int contactY = latchDown ? inner.top() + 1 : inner.bottom() - 2;
    for (int i = 0; i < 8; ++i)
        p.fillRect(QRect(inner.left() + 2 + i * 2, contactY, 1, 2), Contact);
}

void fibreSlot(QPainter &p, const QRect &r)
{
    p.fillRect(r, QColor(0xb9, 0xbc, 0xc2));
    p.setPen(QColor(0x7c, 0x80, 0x87));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.fillRect(r.adjusted(3, 4, -3, -4), Hole);
}

void rackEar(QPainter &p, const QRect &r)
{
    p.fillRect(r, Ear);
    p.setPen(FaceDark);
    p.drawLine(r.topRight(), r.bottomRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setRenderHint(QPainter::Antialiasing);
    for (int y : {18, 83}) {
        p.setPen(QColor(0x2a, 0x2c, 0x30));
        p.setBrush(QColor(0x16, 0x17, 0x19));
        p.drawRoundedRect(QRectF(r.center().x() - 4, y, 8, 12), 4, 4);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
}

} // namespace

KtFrontPanelImage::KtFrontPanelImage(QWidget *parent) : QWidget(parent)
{
    setFixedSize(Width, Height);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void KtFrontPanelImage::Draw(QPainter &p)
{
    p.save();
    QLinearGradient face(0, 0, 0, Height);
    face.setColorAt(0, Face.lighter(115));
    face.setColorAt(1, FaceDark);
    p.fillRect(QRect(0, 0, Width, Height), face);
    p.setPen(QColor(0x62, 0x66, 0x6e));
    p.drawLine(0, 0, Width - 1, 0);
    p.setPen(QColor(0x10, 0x11, 0x13));
    p.drawLine(0, Height - 1, Width - 1, Height - 1);
    rackEar(p, QRect(0, 0, 22, Height));
    rackEar(p, QRect(Width - 22, 0, 22, Height));

    // System LEDs with their markings.
    const struct { int y; const char *label; } system[] = {{37, "PWR"}, {54, "CONSOLE"}, {70, "RPS"}};
    for (const auto &s : system) {
        lens(p, 67, s.y, 6, 6);
        text(p, QRect(24, s.y - 3, 39, 12), 7, QString::fromLatin1(s.label), Qt::AlignRight | Qt::AlignVCenter);
    }

    // Gigabit slots 27 and 28, each with its LED on the left.
    for (int i = 0; i < 2; ++i) {
        const int ledY = i == 0 ? 37 : 71;
        lens(p, 115, ledY, 6, 6);
        fibreSlot(p, KtPortMap::Rect(27 + i));
        text(p, QRect(160, ledY - 3, 16, 12), 7, QString::number(27 + i), Qt::AlignLeft | Qt::AlignVCenter);
    }

    copperPort(p, QRect(190, 38, 24, 20), true);
    text(p, QRect(178, 60, 48, 10), 7, QStringLiteral("CONSOLE"));

    text(p, QRect(238, 24, 180, 28), 22, QStringLiteral("QSX-4810"), Qt::AlignLeft | Qt::AlignVCenter, true);
    p.fillRect(QRect(239, 54, 150, 2), Accent);
    text(p, QRect(238, 58, 180, 12), 8, QStringLiteral("Managed Ethernet Switch"), Qt::AlignLeft | Qt::AlignVCenter);

    // Copper ports: odd numbers on top, even below; the column's left LED
    // belongs to its top port, the right one to its bottom port.
    for (int block = 0; block < 2; ++block) {
        const int x0 = BlockLeft[block];
        p.setPen(QColor(0x55, 0x59, 0x60));
        p.drawRect(QRect(x0 - 4, 15, 6 * Column + 6, 68));
        for (int i = 0; i < 12; ++i)
            lens(p, x0 + 13 * i, 7, 6, 6);
        for (int c = 0; c < 6; ++c) {
            const int x = x0 + c * Column;
            const int top = block * 12 + 2 * c + 1;
            text(p, QRect(x, 16, Column - 2, 9), 7, QString::number(top));
            copperPort(p, KtPortMap::Rect(top), true);
            copperPort(p, KtPortMap::Rect(top + 1), false);
            text(p, QRect(x, 71, Column - 2, 10), 7, QString::number(top + 1));
        }
        text(p, QRect(x0, 86, 6 * Column, 12), 7,
             QStringLiteral("%1 - %2").arg(block * 12 + 1).arg(block * 12 + 12));
    }

    // Combo ports 25 and 26: a fibre slot above its copper port.
    for (int i = 0; i < 2; ++i) {
        const int led = ComboLed[i];
        lens(p, led, 7, 6, 6);
        const int centre = led + 3;
        text(p, QRect(centre - 14, 16, 28, 9), 7, QString::number(25 + i));
        fibreSlot(p, QRect(centre - 17, 26, 34, 20));
        copperPort(p, QRect(centre - 11, 50, 22, 20), false);
    }
    text(p, QRect(ComboLed[0] - 14, 86, ComboLed[1] - ComboLed[0] + 34, 12), 7, QStringLiteral("COMBO"));
    p.restore();
}

QPixmap KtFrontPanelImage::Render(qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap picture(QSize(qCeil(Width * ratio), qCeil(Height * ratio)));
    picture.setDevicePixelRatio(ratio);
    picture.fill(FaceDark);
    QPainter p(&picture);
    p.setRenderHint(QPainter::TextAntialiasing);
    Draw(p);
    return picture;
}

void KtFrontPanelImage::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatioF();
    if (m_picture.isNull() || !qFuzzyCompare(m_picture.devicePixelRatio(), ratio)) {
        m_picture = Render(ratio);
        ++m_renders;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_picture);
}
