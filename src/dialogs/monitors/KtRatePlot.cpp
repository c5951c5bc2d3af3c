#include "dialogs/monitors/KtRatePlot.h"

#include "dialogs/monitors/KtChartTheme.h"

#include <QLineSeries>
#include <QPalette>
#include <QValueAxis>

KtRatePlot::KtRatePlot(int polls, QWidget *parent)
    : QChartView(parent), m_polls(polls), m_series(new QLineSeries), m_x(new QValueAxis),
      m_y(new QValueAxis)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->addSeries(m_series);
    m_x->setRange(0, polls - 1);
    m_x->setLabelsVisible(false);
    m_x->setTickCount(2);
    m_y->setRange(0, 1);
    m_y->setLabelFormat(QStringLiteral("%d"));
    m_y->setTickCount(3);
    chart->addAxis(m_x, Qt::AlignBottom);
    chart->addAxis(m_y, Qt::AlignLeft);
    m_series->attachAxis(m_x);
    m_series->attachAxis(m_y);
    setChart(chart);
    applyTheme(true);
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    setMinimumHeight(110);
    Show({}, {});
}

void KtRatePlot::Show(const QString &name, const QList<quint32> &rates)
{
    m_name = name;
    QList<QPointF> points;
    points.reserve(rates.size());
    const int first = m_polls - int(rates.size());
    quint32 top = 0;
    for (int i = 0; i < rates.size(); ++i) {
        points.append(QPointF(first + i, rates.at(i)));
        top = qMax(top, rates.at(i));
    }
    m_series->replace(points);
    m_y->setRange(0, top > 0 ? top * 1.1 : 1.0);
    m_y->applyNiceNumbers();
    chart()->setTitle(name.isEmpty() ? tr("Select a counter to plot its rate")
                                     : tr("Rate of %1, last %2 polls").arg(name).arg(m_polls));
}

bool KtRatePlot::event(QEvent *event)
{
    const bool handled = QChartView::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        applyTheme(false);
    return handled;
}

// A theme change resets the series colour: it is set again.
void KtRatePlot::applyTheme(bool force)
{
    if (!KtChartTheme::Apply(chart(), palette()) && !force)
        return;
    chart()->setBackgroundRoundness(0);
    m_series->setColor(palette().color(QPalette::Highlight));
}
