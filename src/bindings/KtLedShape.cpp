#include "bindings/KtLedShape.h"

#include <QPainter>

KtLedShape::KtLedShape(QWidget *parent, Kind kind) : QWidget(parent), m_kind(kind) {}

QColor KtLedShape::ToQColor(KtLedColor color)
{
    if (color == KtLedColors::None)
        return QColor(Qt::transparent);
    const quint32 c = quint32(color);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

void KtLedShape::SetColor(KtLedColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void KtLedShape::paintEvent(QPaintEvent *)
{
    // QPainter works in device-independent pixels, so the shape stays sharp at any pixel ratio.
    QPainter p(this);
    const QColor c = ToQColor(m_color);
    p.setPen(QPen(c, 1));
    p.setBrush(c);
    QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_kind == Square || m_kind == RoundSquare || m_kind == Circle) {
        const qreal side = qMin(r.width(), r.height());
        r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
    }
    switch (m_kind) {
    case Rectangle:
    case Square:
        p.drawRect(r);
        break;
    case RoundRect:
    case RoundSquare:
        p.setRenderHint(QPainter::Antialiasing);
        p.drawRoundedRect(r, r.width() / 4, r.height() / 4);
        break;
    case Ellipse:
    case Circle:
        p.setRenderHint(QPainter::Antialiasing);
        p.drawEllipse(r);
        break;
    }
}
