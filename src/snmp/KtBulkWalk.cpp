#include "snmp/KtBulkWalk.h"

#include "values/KtTypes.h"

#include <algorithm>

namespace {

// Room for the message around the varbinds: version, community or the
// SNMPv3 header with its security parameters, the PDU fields.
constexpr int Envelope = 200;

int lengthOctets(int length)
{
    return length < 128 ? 1 : length < 256 ? 2 : 3;
}

int subIdOctets(quint32 id)
{
    int n = 1;
    while (id >= 128) {
        id >>= 7;
        ++n;
    }
    return n;
}

int oidOctets(const KtOid &oid)
{
    if (oid.Size() < 2)
        return int(oid.Size());
    int n = subIdOctets(oid.At(0) * 40 + oid.At(1));
    for (qsizetype i = 2; i < oid.Size(); ++i)
        n += subIdOctets(oid.At(i));
    return n;
}

int integerOctets(quint64 v)
{
    int n = 1;
    while (v >= 128) {  // a sign octet when the top bit is set
        v >>= 8;
        ++n;
    }
    return n;
}

} // namespace

int KtBulkWalk::ValueOctets(quint32 type)
{
    switch (type) {
    case KtType::Boolean:
    case KtType::Integer: return 6;
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::TimeTicks:
    case KtType::UInteger: return 7;
    case KtType::Counter64: return 11;
    case KtType::IpAddress:
    case KtType::NsapAddr: return 6;
    case KtType::MacAddress: return 8;
    case KtType::Ipv6Address: return 18;
    case KtType::DateTime: return 13;
    case KtType::Double:
    case KtType::BcDateTime: return 10;
    case KtType::Null: return 2;
    case KtType::ObjectId: return 16;
    default: return 34;  // strings and port lists
    }
}

int KtBulkWalk::IndexOctets(quint32 type, bool implied)
{
    switch (type) {
    case KtType::IpAddress:
    case KtType::NsapAddr: return 4;
    case KtType::MacAddress: return 6;
    case KtType::Ipv6Address: return 16;
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::Opaque:
    case KtType::DisplayStr:
    case KtType::ObjectId: return implied ? 8 : 9;
    case KtType::Counter64:
    case KtType::Double:
    case KtType::BcDateTime: return 6;
    case KtType::Null: return 0;
    default: return 2;
    }
}

int KtBulkWalk::Octets(const KtVarBind &vb)
{
    int value = 0;
    switch (vb.syntax) {
    case KtSyntax::Integer: value = integerOctets(quint64(vb.integer < 0 ? ~vb.integer : vb.integer)); break;
    case KtSyntax::Counter32:
    case KtSyntax::Gauge32:
    case KtSyntax::TimeTicks:
    case KtSyntax::UInteger32: value = integerOctets(quint64(vb.integer)); break;
    case KtSyntax::Counter64: value = integerOctets(vb.counter64); break;
    case KtSyntax::OctetString:
    case KtSyntax::Opaque:
    case KtSyntax::IpAddress: value = int(vb.octets.size()); break;
    case KtSyntax::ObjectId: value = oidOctets(KtOid::FromText(vb.objectId)); break;
    default: break;
    }
    const int name = oidOctets(KtOid::FromText(vb.oid));
    const int contents = 1 + lengthOctets(name) + name + 1 + lengthOctets(value) + value;
    return 1 + lengthOctets(contents) + contents;
}

void KtBulkWalk::Start(const QStringList &bases, const QList<quint32> &types, int indexOctets, int limit)
{
    m_columns.clear();
    m_bases = bases;
    // A cap learnt from the agent holds for later walks too.
    m_cap = std::min(m_cap, limit > 0 ? std::min(limit, int(MaxRepetitions)) : int(MaxRepetitions));
    for (qsizetype i = 0; i < bases.size(); ++i) {
        Column c;
        c.base = KtOid::FromText(bases.at(i));
        KtVarBind guess;
        guess.oid = bases.at(i);
        // The name with its instance and the value's estimated octets.
        c.octets = Octets(guess) + indexOctets + ValueOctets(i < types.size() ? types.at(i) : KtType::OctetStr) - 2;
        m_columns.append(c);
    }
}

void KtBulkWalk::Clear()
{
    m_columns.clear();
}

const KtVarBind *KtBulkWalk::answerFor(const Column &c, const KtOid &place) const
{
    if (!c.read || place < c.start)
        return nullptr;
    const auto beyond = std::find_if(c.cells.cbegin(), c.cells.cend(), [&](const Cell &x) { return x.oid > place; });
    if (beyond != c.cells.cend())
        return &beyond->vb;
    return c.ended ? &c.end : nullptr;
}

bool KtBulkWalk::CanAnswer(const QList<KtVarBind> &places) const
{
    if (places.size() != m_columns.size())
        return false;
    for (qsizetype k = 0; k < places.size(); ++k)
        if (!answerFor(m_columns.at(k), KtOid::FromText(places.at(k).oid)))
            return false;
    return true;
}

QList<KtVarBind> KtBulkWalk::Answer(const QList<KtVarBind> &places)
{
    QList<KtVarBind> out;
    out.reserve(places.size());
    for (qsizetype k = 0; k < places.size() && k < m_columns.size(); ++k) {
        Column &c = m_columns[k];
        const KtOid place = KtOid::FromText(places.at(k).oid);
        const KtVarBind *vb = answerFor(c, place);
        out.append(vb ? *vb : KtVarBind{});
        // The chain now starts at the last object passed: a column that
        // has ended may be asked from a place before the one it was asked
        // from last (the row before), and must still answer.
        while (!c.cells.isEmpty() && c.cells.first().oid <= place)
            c.start = c.cells.takeFirst().oid;
    }
    return out;
}

KtBulkWalk::Request KtBulkWalk::Next(const QList<KtVarBind> &places) const
{
    Request r;
    int octets = 0;
    for (qsizetype k = 0; k < places.size() && k < m_columns.size(); ++k) {
        if (answerFor(m_columns.at(k), KtOid::FromText(places.at(k).oid)))
            continue;
        r.columns.append(int(k));
        KtVarBind vb;
        vb.oid = places.at(k).oid;
        r.vbs.append(vb);
        octets += m_columns.at(k).octets;
    }
    r.repetitions = std::clamp((AnswerBudget - Envelope) / std::max(octets, 1), 1, m_cap);
    return r;
}

bool KtBulkWalk::Take(const Request &request, const QList<KtVarBind> &answer)
{
    const int asked = int(request.columns.size());
    if (asked == 0 || answer.isEmpty())
        return false;
    for (int j = 0; j < asked; ++j) {
        Column &c = m_columns[request.columns.at(j)];
        c.read = true;
        c.start = KtOid::FromText(request.vbs.at(j).oid);
        c.cells.clear();
        c.ended = false;
    }
    QList<int> largest(asked, 0);
    for (qsizetype i = 0; i < answer.size() && i < qsizetype(asked) * request.repetitions; ++i) {
        const int j = int(i % asked);
        Column &c = m_columns[request.columns.at(j)];
        if (c.ended)
            continue;
        const KtVarBind &vb = answer.at(i);
        const KtOid oid = KtOid::FromText(vb.oid);
        const KtOid &previous = c.cells.isEmpty() ? c.start : c.cells.last().oid;
        // Get-next may answer backwards to end a column; get-bulk never
        // does unless it is broken, and then get-next must do the walk.
        if (vb.syntax != KtSyntax::EndOfMibView && oid <= previous)
            return false;
        if (vb.syntax == KtSyntax::EndOfMibView || oid.Size() <= c.base.Size() || !oid.StartsWith(c.base)) {
            c.ended = true;
            c.end = vb;
            continue;
        }
        c.cells.append({oid, vb});
        largest[j] = std::max(largest.at(j), Octets(vb));
    }
    // What the agent really sends sizes the next request.
    for (int j = 0; j < asked; ++j)
        if (largest.at(j) > 0)
            m_columns[request.columns.at(j)].octets = largest.at(j);
    return true;
}

bool KtBulkWalk::Halve(int repetitions)
{
    if (repetitions <= 1)
        return false;
    m_cap = std::max(1, std::min(m_cap, repetitions / 2));
    return true;
}
