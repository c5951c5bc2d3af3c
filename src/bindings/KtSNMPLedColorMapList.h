#pragma once

#include <QList>
#include <QtGlobal>

// LED colours are 0x00BBGGRR (red in the lowest byte); -1 means no colour.
using KtLedColor = qint32;

namespace KtLedColors {
inline constexpr KtLedColor None = -1;
inline constexpr KtLedColor Black = 0x000000;
inline constexpr KtLedColor Green = 0x00FF00;
inline constexpr KtLedColor Amber = 0x4080FF;  // red 255, green 128, blue 64
} // namespace KtLedColors

struct KtLedColorEntry
{
    quint8 Key = 0;
    KtLedColor Color = KtLedColors::None;
};

// A static colour table; an entry whose colour is None closes it early.
using KtLedColorTable = QList<KtLedColorEntry>;

// The colours one kind of LED shows for the octet that drives it.
class KtSNMPLedColorMapList
{
public:
    KtSNMPLedColorMapList(const KtLedColorTable &table, quint8 valueMask, quint8 blinkMask, KtLedColor offColor,
                          KtLedColor absentColor);

    quint8 ValueMask;    // ANDed with the octet before the look-up
    quint8 BlinkMask;    // the LED blinks when the octet has one of these bits
    KtLedColor OffColor;
    KtLedColor AbsentColor;  // no octet for the LED; None makes that an error

    // Copies the pairs up to the closing one onto the end.
    void Append(const KtLedColorTable &table);
    int IndexOf(quint8 key) const;
    // Black for a key without entry.
    KtLedColor ColorOf(quint8 key) const;
    void Clear();

    int Count() const { return int(m_entries.size()); }
    const KtLedColorEntry &Entry(int i) const { return m_entries.at(i); }

private:
    QList<KtLedColorEntry> m_entries;
};
