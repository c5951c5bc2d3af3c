#include "dialogs/monitors/KtCounterModel.h"

#include "errors/KtException.h"

#include <QLocale>

namespace {

QString number(quint32 v)
{
    return QString::number(v);
}

} // namespace

KtCounterModel::KtCounterModel(const QStringList &names, Rule rule)
    : m_rule(rule), m_rowsShown(rule == Rule::ShowDelta)
{
    for (const QString &name : names) {
        Row r;
        r.Name = name;
        m_rows.append(r);
    }
}

void KtCounterModel::SetIntervalSeconds(int seconds)
{
    m_interval = seconds > 0 ? seconds : 1;
}

void KtCounterModel::SetHistoryCount(int count)
{
    m_historyCount = qMax(0, count);
    ClearHistory();
}

void KtCounterModel::PrepareRows(const QString &timeText)
{
    for (Row &r : m_rows) {
        r.ValueText.clear();
        r.DeltaText.clear();
        r.RateText.clear();
        r.PeakText.clear();
        r.PeakAtText = timeText;
    }
    m_rowsShown = true;
}

void KtCounterModel::ZeroState()
{
    for (Row &r : m_rows)
        r.Current = r.Previous = r.Peak = r.Delta = 0;
}

void KtCounterModel::ClearHistory()
{
    for (Row &r : m_rows)
        r.History = QList<HistoryEntry>(m_historyCount);
}

bool KtCounterModel::Parse(const QString &text, quint32 &value)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok, 10);
    if (ok) {
        value = quint32(quint64(v));
        return true;
    }
    const quint64 u = text.toULongLong(&ok, 10);
    if (ok)
        value = quint32(u);
    return ok;
}

QString KtCounterModel::TimeText(const QTime &time)
{
    const QLocale locale = QLocale::system();
    QString format = locale.timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1Char('s'))) {
        const qsizetype minutes = format.indexOf(QLatin1String("mm"));
        if (minutes >= 0)
            format.insert(minutes + 2, QLatin1String(":ss"));
        else
            format = QStringLiteral("HH:mm:ss");
    }
    return locale.toString(time, format);
}

void KtCounterModel::applyPeak(Row &r, const QString &timeText, QList<int> &peaks, int index)
{
    // A jump from a counter that was 0 (or not read yet) is never a peak.
    if (r.Delta > r.Peak && r.Previous != 0) {
        r.Peak = r.Delta;
        r.PeakText = number(r.Peak);
        r.PeakAtText = timeText;
        peaks.append(index);
    }
}

void KtCounterModel::showNumbers(Row &r)
{
    const quint32 rate = r.Delta / quint32(m_interval);
    r.DeltaText = number(r.Delta);
    r.RateText = number(rate);
    r.Rates.append(rate);
    if (r.Rates.size() > RateLimit)
        r.Rates.removeFirst();
}

QList<int> KtCounterModel::Sample(const QStringList &values, const QString &timeText)
{
    QList<quint32> parsed(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i) {
        if (i >= values.size())
            throw KtException(-1, QStringLiteral("The answer holds %1 of %2 counters")
                                      .arg(values.size()).arg(m_rows.size()));
        if (!Parse(values.at(i), parsed[i]))
            throw KtException(-1, QStringLiteral("'%1' is not a valid integer value").arg(values.at(i)));
    }

    QList<int> peaks;
    if (m_rule == Rule::ShowDelta) {
        for (int i = 0; i < m_rows.size(); ++i) {
            Row &r = m_rows[i];
            r.Previous = r.Current;
            r.Current = parsed.at(i);
            r.Delta = r.Current - r.Previous;
            applyPeak(r, timeText, peaks, i);
            r.ValueText = number(r.Current);
            if (ShowDelta)
                showNumbers(r);
        }
        ShowDelta = true;
        return peaks;
    }

    if (!m_rowsShown) {
        PrepareRows(timeText);
        ZeroState();
        ClearHistory();
    }
    for (int i = 0; i < m_rows.size(); ++i) {
        Row &r = m_rows[i];
        r.Previous = r.Current;
        r.Current = parsed.at(i);
        r.Delta = r.Current - r.Previous;
        if (SampleCount > 0) {
            applyPeak(r, timeText, peaks, i);
            r.ValueText = number(r.Current);
            showNumbers(r);
        }
    }
    if (SampleCount > 0 && m_historyCount > 0) {
        for (Row &r : m_rows) {
            while (r.History.size() >= m_historyCount)
                r.History.removeFirst();
            r.History.append({r.Delta, timeText});
        }
    }
    ++SampleCount;
    return peaks;
}

void KtCounterModel::Reset(const QString &timeText)
{
    ZeroState();
    for (Row &r : m_rows)
        r.Rates.clear();
    if (m_rule == Rule::ShowDelta) {
        const QString zero = number(0);
        for (Row &r : m_rows) {
            r.ValueText = r.DeltaText = r.RateText = r.PeakText = zero;
            r.PeakAtText = timeText;
        }
        ShowDelta = false;
        return;
    }
    SampleCount = 0;
    m_rowsShown = false;
    ClearHistory();
}

QStringList KtCounterModel::Cells(int row) const
{
    const Row &r = m_rows.at(row);
    return {r.ValueText, r.DeltaText, r.RateText, r.PeakText, r.PeakAtText};
}
