#include "bindings/KtSNMPLedColorMapList.h"

KtSNMPLedColorMapList::KtSNMPLedColorMapList(const KtLedColorTable &table, quint8 valueMask, quint8 blinkMask,
                                             KtLedColor offColor, KtLedColor absentColor)
    : ValueMask(valueMask), BlinkMask(blinkMask), OffColor(offColor), AbsentColor(absentColor)
{
    Append(table);
}

void KtSNMPLedColorMapList::Append(const KtLedColorTable &table)
{
    for (const KtLedColorEntry &e : table) {
        if (e.Color == KtLedColors::None)
            break;
        m_entries.append(e);
    }
}

int KtSNMPLedColorMapList::IndexOf(quint8 key) const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (m_entries.at(i).Key == key)
            return i;
    return -1;
}

KtLedColor KtSNMPLedColorMapList::ColorOf(quint8 key) const
{
    const int i = IndexOf(key);
    return i < 0 ? KtLedColors::Black : m_entries.at(i).Color;
}

void KtSNMPLedColorMapList::Clear()
{
    m_entries.clear();
}
