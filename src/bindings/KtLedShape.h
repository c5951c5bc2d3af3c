#pragma once

#include "bindings/KtSNMPLedColorMapList.h"

#include <QColor>
#include <QWidget>

// One LED of the front panel: a small filled shape whose fill and outline
// have the same colour.
class KtLedShape : public QWidget
{
    Q_OBJECT

public:
    enum Kind { Rectangle = 0, Square, RoundRect, RoundSquare, Ellipse, Circle };

    explicit KtLedShape(QWidget *parent = nullptr, Kind kind = Rectangle);

    Kind ShapeKind() const { return m_kind; }
    KtLedColor Color() const { return m_color; }
    void SetColor(KtLedColor color);

    // The one place where 0x00BBGGRR becomes a Qt colour.
    static QColor ToQColor(KtLedColor color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    KtLedColor m_color = KtLedColors::Black;
};
