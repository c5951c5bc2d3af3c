#include "snmp/KtSNMPVarList.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtNumList.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QHash>
#include <QStringList>
#include <cstring>

namespace {

// A record as it lives in a list: own texts, fresh value and walk position.
KtSNMPVar listRecord(const KtSNMPVar &source)
{
    KtSNMPVar var = source;
    var.Value = QString(QLatin1String(""));
    var.LastOid = QString(QLatin1String(""));
    return var;
}

QString nullIfEmpty(const QString &text)
{
    return text.isEmpty() ? QString() : text;
}

quint32 leWord(const QByteArray &raw, int offset)
{
    quint32 word = 0;
    for (int i = 3; i >= 0; --i) {
        const int at = offset + i;
        word = (word << 8) | (at < raw.size() ? quint8(raw.at(at)) : 0u);
    }
    return word;
}

QByteArray leBytes(const QList<quint32> &words)
{
    QByteArray raw;
    for (quint32 w : words)
        for (int i = 0; i < 4; ++i)
            raw.append(char((w >> (8 * i)) & 0xFF));
    return raw;
}

void appendOctets(QList<quint32> &ids, const QByteArray &octets, bool withLength)
{
    if (withLength)
        ids.append(quint32(octets.size()));
    for (char c : octets)
        ids.append(quint8(c));
}

// Sub-identifiers of one index column's value text (option label already
// mapped back to the value).
QList<quint32> encodeColumn(const QString &text, quint32 type, bool withLength)
{
    QList<quint32> ids;
    switch (type) {
    case KtType::Boolean:
        ids.append(text == QLatin1String("true") ? 1u : 0u);
        break;
    case KtType::Integer:
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
        // Low 32 bits: a negative Integer32 travels as its two's complement.
        ids.append(quint32(quint64(KtValue::Atol(text)) & 0xFFFFFFFFu));
        break;
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::Opaque:
    case KtType::DisplayStr:
        appendOctets(ids, KtValue::TextToRaw(text, type), withLength);
        break;
    case KtType::ObjectId: {
        const QByteArray raw = KtValue::TextToRaw(text, type);
        const int n = int(raw.size() / 4);
        if (withLength)
            ids.append(quint32(n));
        for (int i = 0; i < n; ++i)
            ids.append(leWord(raw, 4 * i));
        break;
    }
    case KtType::IpAddress:
    case KtType::NsapAddr: {
        const QByteArray raw = KtValue::TextToRaw(text, type);
        for (int i = 0; i < 4; ++i)
            ids.append(i < raw.size() ? quint8(raw.at(i)) : 0u);
        break;
    }
    case KtType::TimeTicks:
        ids.append(KtValue::TextToTicks(text));
        break;
    case KtType::Counter64:
    case KtType::Double:
    case KtType::BcDateTime: {
        // Counter64 goes high word first; the doubles low word first.
        const QByteArray raw = KtValue::TextToRaw(text, type);
        if (type == KtType::Counter64)
            ids << leWord(raw, 4) << leWord(raw, 0);
        else
            ids << leWord(raw, 0) << leWord(raw, 4);
        break;
    }
    case KtType::MacAddress:
    case KtType::Ipv6Address:
    case KtType::DateTime: {
        // Fixed size; a shorter value contributes nothing.
        const int size = type == KtType::MacAddress ? 6 : type == KtType::Ipv6Address ? 16 : 11;
        const QByteArray raw = KtValue::TextToRaw(text, type);
        if (raw.size() >= size)
            appendOctets(ids, raw.left(size), false);
        break;
    }
    case KtType::Null:
        break;
    default:
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    }
    return ids;
}

// Reads sub-identifiers from the front of a suffix; running out is -514.
class SuffixReader
{
public:
    explicit SuffixReader(const QList<quint32> &ids) : m_ids(ids) {}

    bool atEnd() const { return m_pos >= m_ids.size(); }
    int remaining() const { return int(m_ids.size() - m_pos); }

    quint32 take()
    {
        need(1);
        return m_ids.at(m_pos++);
    }

    QList<quint32> take(qint64 n)
    {
        need(n);
        QList<quint32> part = m_ids.mid(m_pos, n);
        m_pos += n;
        return part;
    }

    QByteArray takeOctets(qint64 n)
    {
        QByteArray octets;
        for (quint32 id : take(n))
            octets.append(char(id & 0xFF));
        return octets;
    }

private:
    void need(qint64 n) const
    {
        if (n > remaining())
            KtThrowEngine(KtCatalogue::EngSuffixShort);
    }

    QList<quint32> m_ids;
    qsizetype m_pos = 0;
};

QString decodeColumn(SuffixReader &in, quint32 type, bool impliedLast)
{
    switch (type) {
    case KtType::Boolean:
        return in.take() ? QStringLiteral("true") : QStringLiteral("false");
    case KtType::Integer:
        return QString::number(qint32(in.take()));
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
        return QString::number(in.take());
    case KtType::TimeTicks:
        return KtValue::TicksToText(in.take());
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::Opaque:
    case KtType::DisplayStr:
    case KtType::ObjectId: {
        const qint64 n = impliedLast ? in.remaining() : qint64(in.take());
        if (type == KtType::ObjectId)
            return KtValue::OidToText(in.take(n));
        const QByteArray octets = in.takeOctets(n);
        if (type == KtType::DisplayStr)
            return octets.isEmpty() ? QString() : KtValue::RawToText(octets, type);
        return KtValue::OctetsToHex(octets);
    }
    case KtType::IpAddress:
    case KtType::NsapAddr: {
        QStringList parts;
        for (quint32 id : in.take(4))
            parts.append(QString::number(id & 0xFF));
        return parts.join(QLatin1Char('.'));
    }
    case KtType::Counter64: {
        const quint64 high = in.take();
        const quint64 low = in.take();
        return QString::number((high << 32) | low);
    }
    case KtType::Double:
    case KtType::BcDateTime: {
        const QList<quint32> words = in.take(2);
        return KtValue::RawToText(leBytes(words), type);
    }
    case KtType::MacAddress:
    case KtType::Ipv6Address:
        return KtValue::OctetsToHex(
            in.takeOctets(impliedLast ? in.remaining() : (type == KtType::MacAddress ? 6 : 16)));
    case KtType::DateTime:
        // No length prefix: the 11 octets of the DateAndTime one per
        // sub-identifier, mirroring the encoding.
        return KtValue::RawToText(in.takeOctets(11), type);
    case KtType::Null:
        return QStringLiteral("(NULL)");
    default:
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    }
}

} // namespace

KtSNMPVarList::KtSNMPVarList() = default;

KtSNMPVarList::KtSNMPVarList(const KtSNMPVarTable &table, quint8 kind, int indexCount)
    : IndexCount(indexCount), Kind(kind)
{
    AppendTable(table);
}

KtSNMPVarList::KtSNMPVarList(const KtSNMPVarList &other)
{
    copyFrom(other);
}

KtSNMPVarList &KtSNMPVarList::operator=(const KtSNMPVarList &other)
{
    Assign(other);
    return *this;
}

KtSNMPVarList::KtSNMPVarList(KtSNMPVarList &&other) noexcept
    : Suffix(std::move(other.Suffix)), IndexCount(other.IndexCount), Kind(other.Kind),
      DisplayName(std::move(other.DisplayName)), m_vars(std::move(other.m_vars)),
      m_ownedOptions(std::move(other.m_ownedOptions))
{
}

KtSNMPVarList &KtSNMPVarList::operator=(KtSNMPVarList &&other) noexcept
{
    if (&other != this) {
        m_vars = std::move(other.m_vars);
        m_ownedOptions = std::move(other.m_ownedOptions);
        Kind = other.Kind;
        IndexCount = other.IndexCount;
        DisplayName = std::move(other.DisplayName);
    }
    return *this;
}

KtSNMPVarList::~KtSNMPVarList() = default;

void KtSNMPVarList::AppendTable(const KtSNMPVarTable &table)
{
    for (const KtSNMPVar &record : table) {
        if (record.isEnd())
            break;
        m_vars.append(listRecord(record));
    }
}

void KtSNMPVarList::AppendVar(const QString &oid, const QString &label, quint32 type,
                              quint32 access, std::unique_ptr<KtOptionList> options,
                              const QString &readExpr, const QString &writeExpr,
                              const QString &extraExpr)
{
    const KtOptionList *shared = options.get();
    if (options)
        m_ownedOptions.push_back(std::move(options));
    AppendVarShared(oid, label, type, access, shared, readExpr, writeExpr, extraExpr);
}

void KtSNMPVarList::AppendVarShared(const QString &oid, const QString &label, quint32 type,
                                    quint32 access, const KtOptionList *options,
                                    const QString &readExpr, const QString &writeExpr,
                                    const QString &extraExpr)
{
    KtSNMPVar var;
    var.Oid = oid;
    var.Label = label;
    var.Type = type;
    var.Access = access;
    var.Options = options;
    var.ReadExpr = nullIfEmpty(readExpr);
    var.WriteExpr = nullIfEmpty(writeExpr);
    var.ExtraExpr = nullIfEmpty(extraExpr);
    m_vars.append(listRecord(var));
}

void KtSNMPVarList::AppendSuffix(const QString &text)
{
    if (text.isEmpty())
        return;
    for (KtSNMPVar &var : m_vars) {
        // The blank marker of a suffix-only index is not an OID to extend.
        if (var.Oid == QLatin1String(" "))
            continue;
        var.Oid += QLatin1Char('.') + text;
    }
}

void KtSNMPVarList::Assign(const KtSNMPVarList &other)
{
    if (&other == this)
        return;
    const QString suffix = Suffix;
    copyFrom(other);
    Suffix = suffix;
}

void KtSNMPVarList::copyFrom(const KtSNMPVarList &other)
{
    // Build the clones first so that a failure leaves this list untouched.
    std::vector<std::unique_ptr<KtOptionList>> owned;
    QHash<const KtOptionList *, const KtOptionList *> remap;
    owned.reserve(other.m_ownedOptions.size());
    for (const auto &list : other.m_ownedOptions) {
        owned.push_back(std::make_unique<KtOptionList>(*list));
        remap.insert(list.get(), owned.back().get());
    }
    QList<KtSNMPVar> vars = other.m_vars;
    for (KtSNMPVar &var : vars)
        var.Options = remap.value(var.Options, var.Options);

    m_vars = std::move(vars);
    m_ownedOptions = std::move(owned);
    Kind = other.Kind;
    IndexCount = other.IndexCount;
    DisplayName = other.DisplayName;
}

bool KtSNMPVarList::IsImplied(int i) const
{
    return i >= 0 && i < Count() && (m_vars.at(i).Access & KtAccess::Implied);
}

bool KtSNMPVarList::IsReadable(int i) const
{
    if (i < 0 || i >= Count())
        return false;
    const quint32 a = m_vars.at(i).Access;
    return (a & KtAccess::ReadOnly) && !(a & KtAccess::Invalid);
}

bool KtSNMPVarList::IsWritable(int i) const
{
    if (i < 0 || i >= Count())
        return false;
    const quint32 a = m_vars.at(i).Access;
    if (a & KtAccess::Invalid)
        return false;
    const bool tableIndex = (Kind == KtKind::MVT_FMV || Kind == KtKind::MVT_UMV) && i < IndexCount;
    return (a & KtAccess::WriteOnly) || tableIndex;
}

bool KtSNMPVarList::IsShown(int i) const
{
    if (i < 0 || i >= Count())
        return false;
    const quint32 a = m_vars.at(i).Access;
    return !(a & (KtAccess::Hidden | KtAccess::Invalid))
        && (a & (KtAccess::NotAccess | KtAccess::Derived | KtAccess::ReadOnly));
}

bool KtSNMPVarList::IsHidden(int i) const
{
    if (i < 0 || i >= Count())
        return false;
    const quint32 a = m_vars.at(i).Access;
    return a == KtAccess::WriteOnly || (a & (KtAccess::Hidden | KtAccess::Invalid));
}

int KtSNMPVarList::CountShown() const
{
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsShown(i) ? 1 : 0;
    return n;
}

int KtSNMPVarList::CountHidden() const
{
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsHidden(i) ? 1 : 0;
    return n;
}

QString KtSNMPVarList::EncodeIndexSuffix() const
{
    const int columns = qMin(IndexCount, Count());
    QStringList parts;
    for (int i = 0; i < columns; ++i) {
        const KtSNMPVar &var = m_vars.at(i);
        const QString text = var.Options ? var.Options->LabelToValue(var.Value) : var.Value;
        const bool withLength = !(i == columns - 1 && IsImplied(i));
        for (quint32 id : encodeColumn(text, var.Type, withLength))
            parts.append(QString::number(id));
    }
    return parts.join(QLatin1Char('.'));
}

void KtSNMPVarList::DecodeIndexSuffix(const QString &suffix)
{
    const int columns = qMin(IndexCount, Count());
    SuffixReader in(KtNumList<unsigned int>(suffix, QLatin1Char('.')).Items());

    // Decode every column before touching any, so a short suffix loses nothing.
    QStringList values;
    for (int i = 0; i < columns; ++i) {
        const KtSNMPVar &var = m_vars.at(i);
        if (in.atEnd() && var.Type != KtType::Null)
            KtThrowEngine(KtCatalogue::EngSuffixShort);
        const QString text = decodeColumn(in, var.Type, i == columns - 1 && IsImplied(i));
        values.append(var.Options ? var.Options->ValueToLabel(text) : text);
    }

    for (int i = 0; i < columns; ++i) {
        KtSNMPVar &var = m_vars[i];
        var.Value = values.at(i);
        if (!IsReadable(i) || var.Oid == QLatin1String(" "))
            var.LastOid = var.Oid + QLatin1Char('.') + suffix;
    }
}
