#include "values/KtOptionList.h"

KtOptionList::KtOptionList(const KtOptionTable &table, unsigned kind, bool caseSensitive)
    : m_kind(kind), m_caseSensitive(caseSensitive)
{
    Append(table);
}

void KtOptionList::Append(const KtOptionTable &table)
{
    for (const KtOptionEntry &entry : table) {
        // A null label ends a static table, like the terminating record.
        if (entry.Label.isNull())
            break;
        m_entries.append(entry);
        // Kind-1 entries keep no value text; kinds 2/3 no integer.
        if (m_kind == IntegerValues)
            m_entries.last().Text.clear();
        else
            m_entries.last().Value = 0;
    }
}

bool KtOptionList::same(const QString &a, const QString &b) const
{
    return QString::compare(a, b, m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

bool KtOptionList::startsWith(const QString &text, const QString &prefix) const
{
    return text.size() >= prefix.size()
        && same(QStringView(text).left(prefix.size()).toString(), prefix);
}

int KtOptionList::IndexOfLabel(const QString &text) const
{
    if (m_kind != IntegerValues && m_kind != TextValues && m_kind != PrefixValues)
        return -1;
    for (int i = 0; i < count(); ++i) {
        const QString &label = m_entries.at(i).Label;
        if (m_kind == PrefixValues ? startsWith(text, label) : same(text, label))
            return i;
    }
    return -1;
}

int KtOptionList::IndexOfValue(const QString &text) const
{
    switch (m_kind) {
    case IntegerValues: {
        if (text == QLatin1String("(NULL)"))
            return -1;
        bool ok = false;
        const int value = text.toInt(&ok, 10);
        if (!ok)
            return -1;
        for (int i = 0; i < count(); ++i)
            if (m_entries.at(i).Value == value)
                return i;
        return -1;
    }
    case TextValues:
        for (int i = 0; i < count(); ++i)
            if (same(text, m_entries.at(i).Text))
                return i;
        return -1;
    case PrefixValues:
        for (int i = 0; i < count(); ++i)
            if (startsWith(text, m_entries.at(i).Text))
                return i;
        return -1;
    default:
        return -1;
    }
}

QString KtOptionList::ValueToLabel(const QString &text) const
{
    const int i = IndexOfValue(text);
    if (i < 0)
        return text;
    const KtOptionEntry &entry = m_entries.at(i);
    if (m_kind == PrefixValues)
        return entry.Label + text.mid(entry.Text.size());
    return entry.Label;
}

QString KtOptionList::LabelToValue(const QString &text) const
{
    const int i = IndexOfLabel(text);
    if (i < 0)
        return text;
    const KtOptionEntry &entry = m_entries.at(i);
    if (m_kind == PrefixValues)
        return entry.Text + text.mid(entry.Label.size());
    return ValueText(i);
}

QString KtOptionList::ValueText(int index) const
{
    const KtOptionEntry &entry = m_entries.at(index);
    return m_kind == IntegerValues ? QString::number(entry.Value) : entry.Text;
}

bool KtOptionList::operator==(const KtOptionList &other) const
{
    if (m_kind != other.m_kind || m_caseSensitive != other.m_caseSensitive
        || count() != other.count())
        return false;
    for (int i = 0; i < count(); ++i) {
        const KtOptionEntry &a = m_entries.at(i);
        const KtOptionEntry &b = other.m_entries.at(i);
        if (a.Value != b.Value || a.Text != b.Text || a.Label != b.Label)
            return false;
    }
    return true;
}

namespace {

KtOptionTable intTable(std::initializer_list<std::pair<qint32, const char *>> pairs)
{
    KtOptionTable table;
    for (const auto &[value, label] : pairs)
        table.append({value, QString(), QString::fromLatin1(label)});
    return table;
}

KtOptionTable textTable(std::initializer_list<std::pair<const char *, const char *>> pairs)
{
    KtOptionTable table;
    for (const auto &[value, label] : pairs)
        table.append({0, QString::fromLatin1(value), QString::fromLatin1(label)});
    return table;
}

} // namespace

namespace KtOptionLists {

const KtOptionList &ListKinds()
{
    static const KtOptionList list(
        intTable({{0, "SVT_SV"}, {1, "MVT_SV"}, {2, "MVT_FMV"}, {3, "MVT_UMV"}}));
    return list;
}

const KtOptionList &ValueTypes()
{
    static const KtOptionList list(intTable({
        {2, "integer"},     {3, "bitstr"},     {4, "octetstr"},   {5, "null"},
        {6, "objectid"},    {64, "ipaddress"}, {65, "counter"},   {66, "guage"},
        {67, "timeticks"},  {68, "opaque"},    {70, "counter64"}, {1, "boolean"},
        {69, "nsapaddr"},   {71, "uinteger"},  {72, "double"},    {73, "macaddress"},
        {74, "datetime"},   {75, "bcdatetime"}, {76, "displaystr"}, {193, "bool8"},
        {194, "int8"},      {195, "uint8"},    {196, "bool16"},   {197, "int16"},
        {198, "uint16"},    {77, "ipv6address"},
    }));
    return list;
}

const KtOptionList &AccessTypes()
{
    static const KtOptionList list(intTable({{1, "notaccess"}, {2, "readonly"}, {4, "writeonly"},
                                             {6, "readwrite"}, {8, "derived"}, {16, "hidden"},
                                             {32, "invalid"}}));
    return list;
}

const KtOptionList &DisabledEnabled()
{
    static const KtOptionList list(intTable({{2, "disabled"}, {3, "enabled"}}));
    return list;
}

const KtOptionList &RowStatusShort()
{
    static const KtOptionList list(intTable({{1, "active"}, {4, "createAndGo"}, {6, "destroy"}}));
    return list;
}

const KtOptionList &RowStatusFull()
{
    static const KtOptionList list(intTable({{1, "active"}, {2, "notInService"}, {3, "notReady"},
                                             {4, "createAndGo"}, {5, "createAndWait"},
                                             {6, "destroy"}}));
    return list;
}

const KtOptionList &TruthValue()
{
    static const KtOptionList list(intTable({{1, "true"}, {2, "false"}}));
    return list;
}

const KtOptionList &StorageType()
{
    static const KtOptionList list(
        intTable({{2, "volatile"}, {3, "nonVolatile"}, {4, "permanent"}, {5, "readOnly"}}));
    return list;
}

const KtOptionList &AuthProtocols()
{
    static const KtOptionList list(textTable({{"1.3.6.1.6.3.10.1.1.1", "None"},
                                              {"1.3.6.1.6.3.10.1.1.2", "MD5"},
                                              {"1.3.6.1.6.3.10.1.1.3", "SHA"}}),
                                   KtOptionList::TextValues);
    return list;
}

const KtOptionList &PrivProtocols()
{
    static const KtOptionList list(
        textTable({{"1.3.6.1.6.3.10.1.2.1", "None"}, {"1.3.6.1.6.3.10.1.2.2", "DES"}}),
        KtOptionList::TextValues);
    return list;
}

} // namespace KtOptionLists
