#pragma once

#include <QPixmap>
#include <QWidget>

class QPainter;

// The picture of the switch's front: a dark face with the console port,
// the power/console/RPS LEDs, two gigabit slots, 24 copper ports in two
// rows of two blocks and two combo slots. The LED panels of the main
// window sit over the places left for them.
//
// The picture is rendered once for the widget's device pixel ratio and
// kept; a paint only copies it. It is rendered again only when the
// window moves to a screen with another ratio.
class KtFrontPanelImage : public QWidget
{
    Q_OBJECT

public:
    static constexpr int Width = 919;
    static constexpr int Height = 113;

    explicit KtFrontPanelImage(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {Width, Height}; }

    // The picture at a device pixel ratio (its pixel size is the
    // logical size times the ratio).
    static QPixmap Render(qreal devicePixelRatio);
    // Draws the picture in logical coordinates 0..Width, 0..Height.
    static void Draw(QPainter &painter);

    // How often this widget rendered its picture.
    int RenderCount() const { return m_renders; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    int m_renders = 0;
};
