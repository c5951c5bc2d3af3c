#pragma once

#include <QList>
#include <QString>

// A separator-delimited list of numbers ("0,2,5"). No sign, no blank
// skipping; digits after a '.' (when '.' is not the separator) are ignored.
template <typename T>
class KtNumList
{
public:
    explicit KtNumList(QChar separator = QLatin1Char('.')) : m_separator(separator) {}
    KtNumList(const QString &text, QChar separator) : m_separator(separator) { Parse(text); }

    void Parse(const QString &text)
    {
        m_items.clear();
        if (text.isEmpty())
            return;
        T current = 0;
        bool fraction = false;
        for (QChar c : text) {
            if (c == m_separator) {
                m_items.append(current);
                current = 0;
                fraction = false;
            } else if (c == QLatin1Char('.')) {
                fraction = true;
            } else if (c.isDigit() && c.unicode() < 128 && !fraction) {
                // Wide arithmetic: long digit runs wrap instead of overflowing.
                current = T(qint64(current) * 10 + (c.unicode() - '0'));
            }
        }
        m_items.append(current);
    }

    int IndexOf(T value) const { return int(m_items.indexOf(value)); }
    int Count() const { return int(m_items.size()); }
    T operator[](int i) const { return m_items.at(i); }
    T At(int i) const { return m_items.at(i); }
    QChar Separator() const { return m_separator; }
    void SetSeparator(QChar c) { m_separator = c; }
    const QList<T> &Items() const { return m_items; }

private:
    QChar m_separator;
    QList<T> m_items;
};
