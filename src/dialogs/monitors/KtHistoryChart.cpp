#include "dialogs/monitors/KtHistoryChart.h"

#include "dialogs/monitors/KtChartTheme.h"

#include <QCategoryAxis>
#include <QChartView>
#include <QLineSeries>
#include <QOpenGLContext>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <Q3DCamera>
#include <Q3DScene>
#include <Q3DSurface>
#include <Q3DTheme>
#include <QSurface3DSeries>
#include <QSurfaceDataProxy>
#include <QValue3DAxis>

#include <cmath>

namespace {

// A category axis takes every label once; an invisible tail keeps equal
// texts (two polls in one second, the empty labels after a reset) apart.
const QChar kPad(0x200B);

// At most about ten labels, the newest always among them.
int labelStep(int count)
{
    return count <= 12 ? 1 : int(std::ceil(count / 10.0));
}

} // namespace

struct KtHistoryChart::Graph3D
{
    Q3DSurface *graph = nullptr;
    QWidget *container = nullptr;
    QList<QSurface3DSeries *> series;
};

KtHistoryChart::KtHistoryChart(const QStringList &names, const QList<QColor> &colors, QWidget *parent)
    : QWidget(parent), m_stack(new QStackedWidget(this)), m_view(new QChartView(this)),
      m_time(new QCategoryAxis), m_values(new QValueAxis), m_colors(colors), m_names(names)
{
    auto *chart = new QChart;
    chart->setBackgroundRoundness(0);
    chart->legend()->setAlignment(Qt::AlignTop);
    m_time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_time->setLabelsAngle(-45);
    m_values->setLabelFormat(QStringLiteral("%d"));
    m_values->setRange(0, 1);
    chart->addAxis(m_time, Qt::AlignBottom);
    chart->addAxis(m_values, Qt::AlignLeft);
    for (int i = 0; i < names.size(); ++i) {
        auto *s = new QLineSeries;
        s->setName(names.at(i));
        chart->addSeries(s);
        s->attachAxis(m_time);
        s->attachAxis(m_values);
        m_series.append(s);
    }
    m_view->setChart(chart);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setRubberBand(QChartView::NoRubberBand);
    m_view->setInteractive(false);
    m_stack->addWidget(m_view);
    applyTheme(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
}

KtHistoryChart::~KtHistoryChart()
{
    delete m_3d;
}

bool KtHistoryChart::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        applyTheme(false);
    return handled;
}

// A theme change resets the series' pens and the plot area: both are set again.
void KtHistoryChart::applyTheme(bool force)
{
    QChart *chart = m_view->chart();
    if (!KtChartTheme::Apply(chart, palette()) && !force)
        return;
    const bool dark = KtChartTheme::IsDark(palette());
    chart->setBackgroundRoundness(0);
    chart->setPlotAreaBackgroundBrush(Qt::white);
    chart->setPlotAreaBackgroundVisible(!dark);
    for (int i = 0; i < m_series.size(); ++i) {
        QPen pen(m_colors.value(i, palette().color(QPalette::WindowText)));
        pen.setWidth(2);
        m_series.at(i)->setPen(pen);
    }
    if (m_3d)
        apply3DTheme();
}

void KtHistoryChart::apply3DTheme()
{
    const bool dark = KtChartTheme::IsDark(palette());
    m_3d->graph->activeTheme()->setType(dark ? Q3DTheme::ThemeEbony : Q3DTheme::ThemeQt);
    for (int i = 0; i < m_3d->series.size(); ++i)
        m_3d->series.at(i)->setBaseColor(m_colors.value(i, palette().color(QPalette::WindowText)));
}

bool KtHistoryChart::OpenGLAvailable()
{
    static const bool available = [] {
        QOpenGLContext context;
        return context.create();
    }();
    return available;
}

void KtHistoryChart::Redraw(const QList<QList<KtCounterModel::HistoryEntry>> &history)
{
    m_history = history;
    int count = 0;
    quint32 top = 0;
    for (int i = 0; i < m_series.size(); ++i) {
        const QList<KtCounterModel::HistoryEntry> entries = history.value(i);
        QList<QPointF> points;
        points.reserve(entries.size());
        for (int k = 0; k < entries.size(); ++k) {
            points.append(QPointF(k, entries.at(k).value));
            top = qMax(top, entries.at(k).value);
        }
        m_series.at(i)->replace(points);
        count = qMax(count, int(entries.size()));
    }

    for (const QString &label : m_time->categoriesLabels())
        m_time->remove(label);
    const QList<KtCounterModel::HistoryEntry> first = history.value(0);
    const int step = labelStep(count);
    QStringList used;
    for (int k = 0; k < first.size(); ++k) {
        if ((count - 1 - k) % step != 0)
            continue;
        QString label = first.at(k).label;
        while (used.contains(label))
            label += kPad;
        used.append(label);
        m_time->append(label, k);
    }
    m_time->setRange(0, qMax(1, count - 1));
    m_values->setRange(0, top > 0 ? std::ceil(top * 1.1) : 1.0);
    m_values->applyNiceNumbers();
    if (m_3d)
        update3D();
}

QStringList KtHistoryChart::TimeLabels() const
{
    QStringList labels = m_time->categoriesLabels();
    for (QString &l : labels)
        l.remove(kPad);
    return labels;
}

bool KtHistoryChart::Set3D(bool on)
{
    if (on && !OpenGLAvailable())
        return false;
    if (on && !m_3d)
        build3D();
    m_stack->setCurrentWidget(on ? m_3d->container : m_view);
    return true;
}

bool KtHistoryChart::Is3D() const
{
    return m_3d && m_stack->currentWidget() == m_3d->container;
}

// One ribbon per counter, one after the other in depth.
void KtHistoryChart::build3D()
{
    m_3d = new Graph3D;
    m_3d->graph = new Q3DSurface;
    m_3d->graph->scene()->activeCamera()->setCameraPreset(Q3DCamera::CameraPresetIsometricRightHigh);
    m_3d->graph->axisX()->setTitle(tr("Poll"));
    m_3d->graph->axisX()->setTitleVisible(true);
    m_3d->graph->axisX()->setLabelFormat(QStringLiteral("%d"));
    m_3d->graph->axisY()->setLabelFormat(QStringLiteral("%d"));
    m_3d->graph->axisZ()->setRange(-0.5f, float(m_names.size()));
    m_3d->graph->axisZ()->setLabelFormat(QStringLiteral(" "));
    for (int i = 0; i < m_names.size(); ++i) {
        auto *s = new QSurface3DSeries;
        s->setName(m_names.at(i));
        s->setDrawMode(QSurface3DSeries::DrawSurface);
        s->setFlatShadingEnabled(true);
        m_3d->graph->addSeries(s);
        m_3d->series.append(s);
    }
    m_3d->container = QWidget::createWindowContainer(m_3d->graph, this);
    m_stack->addWidget(m_3d->container);
    apply3DTheme();
    update3D();
}

void KtHistoryChart::update3D()
{
    int count = 0;
    for (int i = 0; i < m_3d->series.size(); ++i) {
        const QList<KtCounterModel::HistoryEntry> entries = m_history.value(i);
        count = qMax(count, int(entries.size()));
        auto *rows = new QSurfaceDataArray;
        for (float z : {float(i), float(i) + 0.6f}) {
            auto *row = new QSurfaceDataRow;
            for (int k = 0; k < entries.size(); ++k)
                row->append(QSurfaceDataItem(QVector3D(float(k), float(entries.at(k).value), z)));
            rows->append(row);
        }
        m_3d->series.at(i)->dataProxy()->resetArray(rows);
    }
    m_3d->graph->axisX()->setRange(0, float(qMax(1, count - 1)));
}
