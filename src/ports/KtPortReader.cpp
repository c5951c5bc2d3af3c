#include "ports/KtPortReader.h"

#include "ports/KtPortMap.h"

#include "bindings/KtRequestLink.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <QElapsedTimer>

namespace {

const QString SysUpTime = QStringLiteral("1.3.6.1.2.1.1.3.0");

enum class Instance { IfIndex, BridgePort, PortMedium };
enum class Field { Admin, Oper, Speed, HighSpeed, Alias, InOctets, OutOctets, InErrors, OutErrors, InDiscards,
                   OutDiscards, Pvid, Nway };

struct Column
{
    Field field;
    const char *oid;
    quint32 type;
    Instance instance;
};

// What the tool tip and the overlays need of one port, from the interface
// tables, the 802.1Q port table and the switch's port information table.
const Column Columns[] = {
    {Field::Admin, "1.3.6.1.2.1.2.2.1.7", KtType::Integer, Instance::IfIndex},
    {Field::Oper, "1.3.6.1.2.1.2.2.1.8", KtType::Integer, Instance::IfIndex},
    {Field::Speed, "1.3.6.1.2.1.2.2.1.5", KtType::Gauge, Instance::IfIndex},
    {Field::HighSpeed, "1.3.6.1.2.1.31.1.1.1.15", KtType::Gauge, Instance::IfIndex},
    {Field::Alias, "1.3.6.1.2.1.31.1.1.1.18", KtType::DisplayStr, Instance::IfIndex},
    {Field::InOctets, "1.3.6.1.2.1.2.2.1.10", KtType::Counter, Instance::IfIndex},
    {Field::OutOctets, "1.3.6.1.2.1.2.2.1.16", KtType::Counter, Instance::IfIndex},
    {Field::InErrors, "1.3.6.1.2.1.2.2.1.14", KtType::Counter, Instance::IfIndex},
    {Field::OutErrors, "1.3.6.1.2.1.2.2.1.20", KtType::Counter, Instance::IfIndex},
    {Field::InDiscards, "1.3.6.1.2.1.2.2.1.13", KtType::Counter, Instance::IfIndex},
    {Field::OutDiscards, "1.3.6.1.2.1.2.2.1.19", KtType::Counter, Instance::IfIndex},
    {Field::Pvid, "1.3.6.1.2.1.17.7.1.4.5.1.1", KtType::Gauge, Instance::BridgePort},
    {Field::Nway, "1.3.6.1.4.1.32473.11.69.1.2.4.4.1.6", KtType::Integer, Instance::PortMedium},
};

QString instanceOf(Instance kind, int port)
{
    switch (kind) {
    case Instance::BridgePort:
        return QString::number(KtPortMap::BridgePort(port));
    case Instance::PortMedium:
        return QString::number(port) + QStringLiteral(".1");  // the copper row
    case Instance::IfIndex:
        break;
    }
    return QString::number(KtPortMap::IfIndex(port));
}

KtPortSample::Link link(qint64 v)
{
    return v >= 1 && v <= 3 ? KtPortSample::Link(v) : KtPortSample::LinkUnknown;
}

// The port information table's speed/duplex codes.
KtPortSample::Duplex duplex(qint64 nway)
{
    switch (nway) {
    case 3:
    case 5:
    case 7:
        return KtPortSample::Half;
    case 4:
    case 6:
    case 8:
    case 9:
        return KtPortSample::Full;
    default:
        return KtPortSample::DuplexUnknown;
    }
}

void take(KtPortSample &s, Field field, const QString &text)
{
    bool ok = false;
    const qulonglong n = text.toULongLong(&ok);
    if (field == Field::Alias) {
        if (text != QLatin1String("(NULL)"))
            s.Description = text;
        return;
    }
    if (!ok)
        return;
    switch (field) {
    case Field::Admin: s.AdminStatus = link(qint64(n)); break;
    case Field::Oper: s.OperStatus = link(qint64(n)); s.Answered = s.OperStatus != KtPortSample::LinkUnknown; break;
    case Field::Speed: if (n < 0xFFFFFFFFull || s.Speed == 0) s.Speed = n; break;
    // ifSpeed saturates above 4.29 Gbit/s; ifHighSpeed (Mbit/s) goes on.
    case Field::HighSpeed: if (n * 1000000ull > s.Speed) s.Speed = n * 1000000ull; break;
    case Field::InOctets: s.InOctets = quint32(n); break;
    case Field::OutOctets: s.OutOctets = quint32(n); break;
    case Field::InErrors: s.InErrors = quint32(n); break;
    case Field::OutErrors: s.OutErrors = quint32(n); break;
    case Field::InDiscards: s.InDiscards = quint32(n); break;
    case Field::OutDiscards: s.OutDiscards = quint32(n); break;
    case Field::Pvid: s.Pvid = int(n); break;
    case Field::Nway: s.DuplexMode = duplex(qint64(n)); break;
    case Field::Alias: break;
    }
}

} // namespace

KtPortReader::KtPortReader(QObject *parent) : QObject(parent) {}

KtPortReader::~KtPortReader() = default;

KtSNMPVarList KtPortReader::Vars(const QList<int> &ports)
{
    KtSNMPVarList vars;
    vars.Kind = KtKind::MVT_SV;
    vars.AppendVar(SysUpTime, QStringLiteral("sysUpTime"), KtType::TimeTicks, KtAccess::ReadOnly);
    for (int port : ports)
        for (const Column &c : Columns)
            vars.AppendVar(QLatin1String(c.oid) + QLatin1Char('.') + instanceOf(c.instance, port),
                           QStringLiteral("Port %1").arg(port), c.type, KtAccess::ReadOnly);
    return vars;
}

QList<KtPortSample> KtPortReader::Samples(const QList<int> &ports, const KtSNMPVarList &read, qint64 takenMs)
{
    QList<KtPortSample> samples;
    for (int port : ports) {
        KtPortSample s;
        s.Port = port;
        s.TakenMs = takenMs;
        samples.append(s);
    }
    quint32 upTime = 0;
    for (int i = 0; i < read.Count(); ++i) {
        const KtSNMPVar &v = read.Get(i);
        if (v.Oid == SysUpTime) {
            upTime = v.Value.toUInt();
            continue;
        }
        for (qsizetype p = 0; p < ports.size(); ++p)
            for (const Column &c : Columns)
                if (v.Oid == QLatin1String(c.oid) + QLatin1Char('.') + instanceOf(c.instance, ports[p]))
                    take(samples[p], c.field, v.Value);
    }
    for (KtPortSample &s : samples)
        s.UpTime = upTime;
    return samples;
}

QList<QList<int>> KtPortReader::split(const QList<int> &ports)
{
    QList<QList<int>> chunks;
    for (qsizetype i = 0; i < ports.size(); i += PortsPerRequest)
        chunks.append(ports.mid(i, PortsPerRequest));
    return chunks;
}

qint64 KtPortReader::NowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

bool KtPortReader::Read(const QList<int> &ports)
{
    if (Busy())
        return false;
    m_chunks.clear();
    m_samples.clear();
    m_failure.clear();
    for (const QList<int> &part : split(ports)) {
        auto chunk = std::make_unique<Chunk>();
        chunk->Ports = part;
        Chunk *c = chunk.get();
        chunk->Link = std::make_unique<KtRequestLink>(
            [this, c](bool, const KtSNMPError &result) { chunkDone(*c, result.Code == 0 ? QString() : result.Message); },
            [this, c](bool, const KtException &e) { chunkDone(*c, e.message()); });
        chunk->Link->Request().Vars = Vars(part);
        m_chunks.push_back(std::move(chunk));
    }
    for (const auto &chunk : m_chunks) {
        try {
            if (chunk->Link->FetchAsync(true))
                ++m_pending;
        } catch (const KtException &e) {
            if (m_failure.isEmpty())
                m_failure = e.message();
        }
    }
    if (m_pending == 0) {
        emit failed(m_failure.isEmpty() ? QStringLiteral("No port read could be sent.") : m_failure);
        return false;
    }
    return true;
}

void KtPortReader::chunkDone(Chunk &chunk, const QString &failure)
{
    if (failure.isEmpty()) {
        m_samples += Samples(chunk.Ports, chunk.Link->Request().Vars, NowMs());
    } else {
        if (m_failure.isEmpty())
            m_failure = failure;
        for (int port : chunk.Ports) {
            KtPortSample s;
            s.Port = port;
            m_samples.append(s);
        }
    }
    if (--m_pending > 0)
        return;
    std::sort(m_samples.begin(), m_samples.end(),
              [](const KtPortSample &a, const KtPortSample &b) { return a.Port < b.Port; });
    const QList<KtPortSample> samples = m_samples;
    const QString failureText = m_failure;
    emit sampled(samples);
    if (!failureText.isEmpty())
        emit failed(failureText);
}
