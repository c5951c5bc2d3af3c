#pragma once

#include "dialogs/monitors/KtCounterModel.h"

#include <QColor>
#include <QList>
#include <QWidget>

class QCategoryAxis;
class QChartView;
class QLineSeries;
class QStackedWidget;
class QValueAxis;

// The per-poll deltas of a few counters as line series over their poll
// times, without zoom or pan, in the chart theme that matches the palette
// (a white plot area in the light one). The series are refilled
// in place; the chart itself is built once.
//
// The same history can be shown in 3-D (Qt Data Visualization), which
// needs an OpenGL context; the 3-D graph is only built when first asked for.
class KtHistoryChart : public QWidget
{
    Q_OBJECT

public:
    KtHistoryChart(const QStringList &names, const QList<QColor> &colors, QWidget *parent = nullptr);
    ~KtHistoryChart() override;

    // history[i]: the entries of series i, oldest first.
    void Redraw(const QList<QList<KtCounterModel::HistoryEntry>> &history);

    // Whether this display can give an OpenGL context (asked once).
    static bool OpenGLAvailable();
    // Switches between the 2-D and the 3-D view; false when 3-D cannot be had.
    bool Set3D(bool on);
    bool Is3D() const;

    QChartView *View() const { return m_view; }
    QLineSeries *Series(int i) const { return m_series.value(i); }
    QCategoryAxis *TimeAxis() const { return m_time; }
    // The labels of the time axis as shown, in order.
    QStringList TimeLabels() const;

protected:
    bool event(QEvent *event) override;

private:
    void applyTheme(bool force);
    void build3D();
    void apply3DTheme();
    void update3D();

    QStackedWidget *m_stack;
    QChartView *m_view;
    QList<QLineSeries *> m_series;
    QCategoryAxis *m_time;
    QValueAxis *m_values;
    QList<QColor> m_colors;
    QStringList m_names;
    QList<QList<KtCounterModel::HistoryEntry>> m_history;
    struct Graph3D;
    Graph3D *m_3d = nullptr;
};
