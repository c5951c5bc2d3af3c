#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTime>

// The arithmetic of every counter monitor, without widgets.
//
// Each row keeps Current, Previous, Delta and Peak as unsigned 32-bit
// numbers, so a Counter32 that wraps between two polls still yields the
// right delta. The model also keeps the texts a monitor shows for the row
// (Value, Delta, Rate, Peak, Peak Occured at), the history of deltas the
// bridge chart draws and the rates of the last polls.
//
// Two start-up rules exist:
// - ShowDelta (protocol monitors): every pass writes Value and applies the
//   peak rule; Delta and Rate are written only once ShowDelta is set, which
//   each pass does at its end.
// - SampleCount (interface and bridge monitors): the first pass after a
//   reset creates the rows and only loads Current; later passes apply the
//   peak rule and write Value, Delta and Rate, and feed the history.
//
// A pass parses every value text first and changes nothing unless all of
// them are numbers.
class KtCounterModel
{
public:
    enum class Rule { ShowDelta, SampleCount };

    struct HistoryEntry
    {
        quint32 value = 0;
        QString label;
        bool operator==(const HistoryEntry &o) const { return value == o.value && label == o.label; }
    };

    struct Row
    {
        QString Name;
        quint32 Current = 0;
        quint32 Previous = 0;
        quint32 Peak = 0;
        quint32 Delta = 0;
        // Texts of the columns "Value", "Delta", "Rate", "Peak", "Peak Occured at".
        QString ValueText, DeltaText, RateText, PeakText, PeakAtText;
        QList<HistoryEntry> History;  // exactly HistoryCount() entries
        QList<quint32> Rates;         // oldest first, at most RateLimit
    };

    static constexpr int RateLimit = 120;
    static constexpr int Columns = 6;

    KtCounterModel(const QStringList &names, Rule rule);

    Rule rule() const { return m_rule; }
    int RowCount() const { return int(m_rows.size()); }
    const Row &RowAt(int i) const { return m_rows.at(i); }
    // Whether the list shows its rows: false after a reset under the
    // SampleCount rule until the next pass creates them again.
    bool RowsShown() const { return m_rowsShown; }

    bool ShowDelta = false;
    int SampleCount = 0;

    // Seconds per poll; Rate is Delta divided by it (whole numbers).
    void SetIntervalSeconds(int seconds);
    int IntervalSeconds() const { return m_interval; }

    // Entries kept per row for the chart; 0 keeps none. Rebuilds the
    // history with zero entries.
    void SetHistoryCount(int count);
    int HistoryCount() const { return m_historyCount; }

    // The texts of a freshly opened list: four empty cells and the time.
    void PrepareRows(const QString &timeText);
    // Zeroes the four numbers of every row (the texts stay).
    void ZeroState();
    // The history back to HistoryCount zero entries with empty labels.
    void ClearHistory();

    // One pass over the rows, values[i] the value text of row i. Raises
    // KtException, with nothing changed, when a text is missing or no
    // number. Returns the rows whose peak was recorded in this pass.
    QList<int> Sample(const QStringList &values, const QString &timeText);

    // The monitors' Reset: ShowDelta rule: state zeroed, "0" into Value,
    // Delta, Rate and Peak, the time into "Peak Occured at", ShowDelta
    // cleared. SampleCount rule: state zeroed, rows removed, history
    // cleared, SampleCount 0. Both forget the rates.
    void Reset(const QString &timeText);

    // The five texts after the name, in column order.
    QStringList Cells(int row) const;

    // Low 32 bits of a decimal number that fits 64 bits (a leading sign is
    // allowed); false for anything else.
    static bool Parse(const QString &text, quint32 &value);
    // The time of day as the monitors write it: the locale's short format,
    // with seconds so that polls a second apart differ.
    static QString TimeText(const QTime &time);

private:
    void applyPeak(Row &r, const QString &timeText, QList<int> &peaks, int index);
    void showNumbers(Row &r);

    QList<Row> m_rows;
    Rule m_rule;
    int m_interval = 1;
    int m_historyCount = 0;
    bool m_rowsShown = true;
};
