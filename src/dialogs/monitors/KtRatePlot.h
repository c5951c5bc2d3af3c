#pragma once

#include <QChartView>
#include <QList>

class QLineSeries;
class QValueAxis;

// The rate of one counter over the last polls, newest on the right; the
// series is refilled in place on every poll. The chart theme follows the
// palette.
class KtRatePlot : public QChartView
{
    Q_OBJECT

public:
    // polls: how many points the x axis holds.
    explicit KtRatePlot(int polls, QWidget *parent = nullptr);

    // An empty name clears the plot.
    void Show(const QString &name, const QList<quint32> &rates);

    QLineSeries *Series() const { return m_series; }
    QString Name() const { return m_name; }

protected:
    bool event(QEvent *event) override;

private:
    void applyTheme(bool force);

    int m_polls;
    QString m_name;
    QLineSeries *m_series;
    QValueAxis *m_x;
    QValueAxis *m_y;
};
