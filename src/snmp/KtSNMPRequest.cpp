#include "snmp/KtSNMPRequest.h"

#include "snmp/KtExpression.h"
#include "snmp/KtNumList.h"
#include "snmp/KtOid.h"
#include "snmp/KtSNMPSession.h"
#include "snmp/KtSnmpEngine.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <memory>

namespace {

const QString NotDone = QStringLiteral("(NOTDONE)");
const QString Null = QStringLiteral("(NULL)");

bool isTable(quint8 kind)
{
    return kind == KtKind::MVT_FMV || kind == KtKind::MVT_UMV;
}

QByteArray ipOctets(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    QByteArray raw;
    for (const QString &p : parts) {
        bool ok = false;
        const uint v = p.toUInt(&ok);
        if (!ok || v > 255)
            KtThrowEngine(KtCatalogue::EngBadSyntax);
        raw.append(char(v));
    }
    return raw;
}

// The code and text of an exchange's status; a malformed answer is the
// engine's own failure, since no status of the agent or the library fits it.
KtStatusError errorOf(int status)
{
    if (status == KtPduResult::Malformed)
        return {-500 - KtCatalogue::EngBadAnswer, KtCatalogue::Text(KtCatalogue::Engine, KtCatalogue::EngBadAnswer)};
    return StatusToError(status);
}

} // namespace

KtSNMPRequest::KtSNMPRequest()
{
    LoadSettings();
}

KtSNMPRequest::KtSNMPRequest(const KtSNMPVarList &vars)
{
    Vars = vars;
    LoadSettings();
}

// Late answers must not find a freed request: wait a while for them, then
// cut them loose. Callbacks are no longer called once Alive is cleared.
KtSNMPRequest::~KtSNMPRequest()
{
    Alive = false;
    KtSnmpEngine &engine = KtSnmpEngine::Instance();
    for (quint64 t : m_tickets) {
        if (engine.DropQueued(t))
            --Pending;
        else
            engine.MakeImmediate(t);
    }
    QElapsedTimer clock;
    clock.start();
    while (Pending > 0 && clock.elapsed() < DestroyWaitMs) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        engine.Wait(10);
    }
    for (quint64 t : m_tickets)
        engine.Detach(t);
}

void KtSNMPRequest::LoadSettings()
{
    const KtSNMPDevice &device = KtSNMPSession::Device();
    const KtSNMPScope &scope = KtSNMPSession::Scope();
    const KtSNMPSecurity &security = KtSNMPSession::Security();
    Host = device.Host;
    AgentPort = device.AgentPort;
    ContextEngineID = scope.ContextEngineID;
    ContextName = scope.ContextName;
    Version = security.Version;
    ReadCommunity = security.ReadCommunity;
    WriteCommunity = security.WriteCommunity;
    SecurityModel = security.SecurityModel;
    SecurityLevel = security.SecurityLevel;
    SecurityName = security.SecurityName;
    AuthPassword = security.AuthPassword;
    PrivPassword = security.PrivPassword;
    AuthProtocol = security.AuthProtocol;
    PrivProtocol = security.PrivProtocol;
    Timeout = KtSNMPSession::Timeout();
    BulkRepetitions = KtSNMPSession::BulkRepetitions();
}

QString KtSNMPRequest::BaseOid(int i) const
{
    const QString &oid = Vars.Get(i).Oid;
    return Vars.Suffix.isEmpty() ? oid : oid + QLatin1Char('.') + Vars.Suffix;
}

KtSnmpTarget KtSNMPRequest::target(bool forWrite) const
{
    KtSnmpTarget t;
    t.host = Host;
    t.port = AgentPort;
    t.version = Version;
    t.timeout = Timeout;
    t.retries = Retries;
    t.community = forWrite ? WriteCommunity : ReadCommunity;
    t.securityLevel = SecurityLevel;
    t.securityName = SecurityName;
    t.authPassword = AuthPassword;
    t.privPassword = PrivPassword;
    t.authProtocol = AuthProtocol;
    t.privProtocol = PrivProtocol;
    t.contextName = ContextName;
    t.contextEngineID = ContextEngineID;
    return t;
}

QList<KtVarBind> KtSNMPRequest::readBinds(bool restart, bool &getNext)
{
    switch (Vars.Kind) {
    case KtKind::SVT_SV: getNext = false; break;
    case KtKind::MVT_SV: getNext = UseGetNext; break;
    case KtKind::MVT_FMV:
    case KtKind::MVT_UMV: getNext = true; break;
    default: KtThrowEngine(KtCatalogue::EngBadItemType);
    }
    if (!restart && !isTable(Vars.Kind))
        KtThrowEngine(KtCatalogue::EngGetNextSingle);
    QList<KtVarBind> vbs;
    for (int i = 0; i < Vars.Count(); ++i) {
        if (!Vars.IsReadable(i))
            continue;
        KtSNMPVar &var = Vars.Get(i);
        const QString base = BaseOid(i);
        KtVarBind vb;
        if (restart) {
            var.LastOid.clear();
            vb.oid = Vars.Kind == KtKind::SVT_SV ? base + QStringLiteral(".0") : base;
        } else {
            vb.oid = var.LastOid.isEmpty() ? base : var.LastOid;
        }
        vbs.append(vb);
    }
    return vbs;
}

QList<KtVarBind> KtSNMPRequest::prepareWrite(const QString &columnList, const QStringList &values,
                                             QList<int> *written)
{
    // The selection and the given values never outlive the operation, whether it succeeds or raises.
    struct Restore
    {
        KtSNMPVarList &vars;
        KtSNMPVarList saved;
        ~Restore() { vars = saved; }
    } restore{Vars, Vars};
    if (Vars.Kind > KtKind::MVT_UMV)
        KtThrowEngine(KtCatalogue::EngBadItemType);
    if (!columnList.isEmpty()) {
        const KtNumList<int> columns(columnList, QLatin1Char(','));
        for (int i = 0; i < Vars.Count(); ++i) {
            KtSNMPVar &var = Vars.Get(i);
            const int k = columns.IndexOf(i);
            if (k < 0) {
                var.Access |= KtAccess::Invalid;
            } else {
                var.Access &= ~quint32(KtAccess::Invalid);
                if (k < values.size())
                    var.Value = values.at(k);
            }
        }
    }
    for (int i = 0; i < Vars.Count(); ++i)
        ComputeValue(i, false);

    const bool table = isTable(Vars.Kind);
    const QString suffix = table ? EncodeIndex() : QString();
    QList<KtVarBind> vbs;
    for (int i = 0; i < Vars.Count(); ++i) {
        if (!Vars.IsWritable(i) || (table && i < Vars.IndexCount))
            continue;
        const QString base = BaseOid(i);
        KtVarBind vb;
        if (Vars.Kind == KtKind::SVT_SV)
            vb.oid = base + QStringLiteral(".0");
        else if (table && !suffix.isEmpty())
            vb.oid = base + QLatin1Char('.') + suffix;
        else
            vb.oid = base;
        PutValue(i, vb);
        vbs.append(vb);
        if (written)
            written->append(i);
    }
    return vbs;
}

QList<KtWrittenObject> KtSNMPRequest::noticeWrite(const QList<KtVarBind> &vbs, const QList<int> &vars)
{
    QList<KtWrittenObject> objects;
    KtWriteObserver *observer = KtWriteObserver::Installed();
    if (!observer)
        return objects;
    for (int k = 0; k < vbs.size(); ++k) {
        KtWrittenObject o;
        o.Var = vars.at(k);
        o.Value = vbs.at(k);
        const auto read = m_lastRead.constFind(o.Value.oid);
        o.OldKnown = read != m_lastRead.cend();
        if (o.OldKnown)
            o.OldText = *read;
        objects.append(o);
    }
    observer->AboutToWrite(*this, objects);
    return objects;
}

KtSNMPRequest::ReadOutcome KtSNMPRequest::takeAnswer(const KtPduResult &answer)
{
    const bool table = isTable(Vars.Kind);
    int first = -1;
    for (int i = 0; i < Vars.Count() && first < 0; ++i)
        if (Vars.IsReadable(i))
            first = i;

    // A v1 agent answers noSuchName past the end of its MIB and echoes the request.
    if (table && answer.status == 2 && first >= 0 && !answer.vbs.isEmpty()
        && !Vars.Get(first).LastOid.isEmpty() && answer.vbs.first().oid == Vars.Get(first).LastOid)
        return {0, false};
    if (answer.status != 0)
        return {answer.status, false};

    // The row read last, before this answer touches the index columns.
    QString lastRow;
    if (table) {
        try {
            lastRow = EncodeIndex();
        } catch (const KtException &) {
            lastRow.clear();
        }
    }

    // Columns need not have the same rows. This exchange's row is the
    // smallest index any running column answered; a column that answered a
    // later row has no cell in this one and asks from the same place again.
    struct Answer
    {
        int var;
        const KtVarBind *vb;
        QString base;
        bool ended;
        KtOid index;
    };
    QList<Answer> answers;
    answers.reserve(answer.vbs.size());
    KtOid row;
    bool rowFound = false;
    int k = 0;
    for (int i = 0; i < Vars.Count(); ++i) {
        if (!Vars.IsReadable(i))
            continue;
        const KtVarBind *vb = k < answer.vbs.size() ? &answer.vbs.at(k) : nullptr;
        ++k;
        Answer a{i, vb, BaseOid(i), true, {}};
        const QString current = vb ? vb->oid : QString();
        a.ended = !vb || (table && vb->syntax == KtSyntax::EndOfMibView)
            || ColumnEnded(a.base, Vars.Get(i).LastOid, current);
        if (!a.ended && current.size() > a.base.size() + 1 && current.startsWith(a.base + QLatin1Char('.'))) {
            a.index = KtOid::FromText(QStringView(current).mid(a.base.size() + 1));
            if (!rowFound || (table && a.index < row)) {
                row = a.index;
                rowFound = true;
            }
        }
        answers.append(a);
    }

    bool anyLeft = false;
    for (const Answer &a : answers) {
        KtSNMPVar &var = Vars.Get(a.var);
        if (a.ended) {
            // Park the column past its last row so that it stays finished.
            if (!var.LastOid.isEmpty() && !lastRow.isEmpty())
                var.LastOid = a.base + QLatin1Char('.') + lastRow;
            else if (a.vb && !a.vb->oid.isEmpty())
                var.LastOid = a.vb->oid;
            var.Value = NotDone;
            continue;
        }
        anyLeft = true;
        if (table && a.index != row) {
            var.Value = Null;
            continue;
        }
        TakeValue(a.var, *a.vb);
        var.LastOid = a.vb->oid;
    }
    if (!anyLeft && (table || first >= 0))
        return {0, false};
    if (table && Vars.IndexCount > 0)
        DecodeIndex(rowFound ? row.ToText() : QString());
    for (int i = 0; i < Vars.Count(); ++i)
        ComputeValue(i, true);
    return {0, table};
}

bool KtSNMPRequest::bulkWalk(const QList<KtVarBind> &places) const
{
    return isTable(Vars.Kind) && Version != 0 && BulkRepetitions != 0 && !m_bulkRefused && !places.isEmpty();
}

// What was read ahead serves the walk it was read for: a new walk, or
// other columns, start afresh.
void KtSNMPRequest::startBulk(bool restart)
{
    QStringList bases;
    QList<quint32> types;
    for (int i = 0; i < Vars.Count(); ++i) {
        if (Vars.IsReadable(i)) {
            bases << BaseOid(i);
            types << Vars.Get(i).Type;
        }
    }
    if (!restart && m_bulk.Serves(bases))
        return;
    int indexOctets = 0;
    for (int i = 0; i < Vars.IndexCount && i < Vars.Count(); ++i)
        indexOctets += KtBulkWalk::IndexOctets(Vars.Get(i).Type, Vars.IsImplied(i));
    m_bulk.Start(bases, types, indexOctets > 0 ? indexOctets : 2, qMax(BulkRepetitions, 0));
}

// A get-bulk that is too big or lost is asked again with fewer
// repetitions; one the agent answers with an error or with nonsense is
// asked once more with get-next, which this request uses from then on.
KtSNMPRequest::BulkVerdict KtSNMPRequest::judgeBulk(const KtBulkWalk::Request &request, const KtPduResult &answer)
{
    constexpr int TooBig = 1, TimedOut = -5;
    if (answer.status == 0 && m_bulk.Take(request, answer.vbs))
        return BulkVerdict::Again;
    if ((answer.status == TooBig || answer.status == TimedOut) && m_bulk.Halve(request.repetitions))
        return BulkVerdict::Again;
    const bool refused = (answer.status >= 0 && answer.status <= 18) || answer.status == KtPduResult::UnknownStatus
        || answer.status == KtPduResult::Malformed;
    if (!refused)
        return BulkVerdict::Fail;
    m_bulkRefused = true;
    m_bulk.Clear();
    return BulkVerdict::Fallback;
}

KtPduResult KtSNMPRequest::fetchBulk(const QList<KtVarBind> &places)
{
    KtSnmpEngine &engine = KtSnmpEngine::Instance();
    for (;;) {
        if (m_bulk.CanAnswer(places)) {
            KtPduResult read;
            read.vbs = m_bulk.Answer(places);
            read.agentHost = Host;
            read.agentPort = AgentPort;
            return read;
        }
        const KtBulkWalk::Request request = m_bulk.Next(places);
        const KtPduResult answer = engine.Exchange(target(false), KtPduCommand::GetBulk, request.vbs,
                                                   request.repetitions);
        switch (judgeBulk(request, answer)) {
        case BulkVerdict::Again: break;
        case BulkVerdict::Fail: return answer;
        case BulkVerdict::Fallback: return engine.Exchange(target(false), KtPduCommand::GetNext, places);
        }
    }
}

bool KtSNMPRequest::Fetch(bool restart)
{
    if (!Alive)
        return false;
    bool getNext = false;
    const QList<KtVarBind> vbs = readBinds(restart, getNext);
    KtPduResult answer;
    if (bulkWalk(vbs)) {
        startBulk(restart);
        answer = fetchBulk(vbs);
    } else {
        answer = KtSnmpEngine::Instance().Exchange(target(false),
                                                   getNext ? KtPduCommand::GetNext : KtPduCommand::Get, vbs);
    }
    const ReadOutcome out = takeAnswer(answer);
    if (out.status != 0) {
        const KtStatusError e = errorOf(out.status);
        throw KtException(e.code, e.text);
    }
    return out.more;
}

quint64 KtSNMPRequest::sendAsync(bool read, const KtSnmpTarget &t, int command, const QList<KtVarBind> &vbs,
                                 KtSNMPCallback callback, void *userData)
{
    auto ticket = std::make_shared<quint64>(0);
    const quint64 id = KtSnmpEngine::Instance().Send(
        t, KtPduCommand(command), vbs, [this, ticket, read, callback, userData](const KtPduResult &r) {
            asyncAnswer(*ticket, read, callback, userData, r);
        });
    *ticket = id;
    m_tickets.append(id);
    ++Pending;
    return id;
}

// A result that needs no exchange still reaches the callback from the pump.
void KtSNMPRequest::postAsync(const KtPduResult &answer, KtSNMPCallback callback, void *userData)
{
    auto ticket = std::make_shared<quint64>(0);
    const quint64 id = KtSnmpEngine::Instance().Post(answer, [this, ticket, callback, userData](const KtPduResult &r) {
        asyncAnswer(*ticket, true, callback, userData, r);
    });
    *ticket = id;
    m_tickets.append(id);
    ++Pending;
}

// One fetch may take several exchanges (a short answer, fewer repetitions,
// the get-next fallback); Pending stays one throughout and the callback
// runs once, at the end.
void KtSNMPRequest::stepBulkAsync(const QList<KtVarBind> &places, KtSNMPCallback callback, void *userData)
{
    if (m_bulk.CanAnswer(places)) {
        KtPduResult read;
        read.vbs = m_bulk.Answer(places);
        read.agentHost = Host;
        read.agentPort = AgentPort;
        postAsync(read, callback, userData);
        return;
    }
    const KtBulkWalk::Request request = m_bulk.Next(places);
    auto ticket = std::make_shared<quint64>(0);
    const quint64 id = KtSnmpEngine::Instance().Send(
        target(false), KtPduCommand::GetBulk, request.vbs,
        [this, ticket, request, places, callback, userData](const KtPduResult &answer) {
            m_tickets.removeAll(*ticket);
            --Pending;
            if (answer.status == KtPduResult::Closed || !Alive)
                return;
            try {
                switch (judgeBulk(request, answer)) {
                case BulkVerdict::Again: stepBulkAsync(places, callback, userData); break;
                case BulkVerdict::Fail: postAsync(answer, callback, userData); break;
                case BulkVerdict::Fallback:
                    sendAsync(true, target(false), int(KtPduCommand::GetNext), places, callback, userData);
                    break;
                }
            } catch (const KtException &e) {
                // The next exchange could not be sent: the fetch ends here.
                KtSNMPError result;
                result.Code = e.code();
                result.Message = e.message();
                result.AgentHost = answer.agentHost;
                result.AgentPort = answer.agentPort;
                result.Finished = true;
                if (callback)
                    callback(userData, &result, &Vars);
            }
        },
        request.repetitions);
    *ticket = id;
    m_tickets.append(id);
    ++Pending;
}

void KtSNMPRequest::FetchAsync(KtSNMPCallback callback, void *userData, bool restart)
{
    if (!Alive)
        return;
    bool getNext = false;
    const QList<KtVarBind> vbs = readBinds(restart, getNext);
    if (bulkWalk(vbs)) {
        startBulk(restart);
        stepBulkAsync(vbs, callback, userData);
        return;
    }
    sendAsync(true, target(false), int(getNext ? KtPduCommand::GetNext : KtPduCommand::Get), vbs, callback,
              userData);
}

bool KtSNMPRequest::Store(const QString &columnList, const QStringList &values)
{
    if (!Alive)
        return false;
    QList<int> written;
    const QList<KtVarBind> vbs = prepareWrite(columnList, values, &written);
    const QList<KtWrittenObject> noticed = noticeWrite(vbs, written);
    const KtPduResult answer = KtSnmpEngine::Instance().Exchange(target(true), KtPduCommand::Set, vbs);
    const KtStatusError e = errorOf(answer.status);
    if (e.code != 0)
        throw KtException(e.code, e.text);
    if (KtWriteObserver *observer = KtWriteObserver::Installed(); observer && !noticed.isEmpty())
        observer->Written(*this, noticed);
    return true;
}

void KtSNMPRequest::StoreAsync(KtSNMPCallback callback, void *userData, const QString &columnList,
                               const QStringList &values)
{
    if (!Alive)
        return;
    QList<int> written;
    const QList<KtVarBind> vbs = prepareWrite(columnList, values, &written);
    QList<KtWrittenObject> noticed = noticeWrite(vbs, written);
    const quint64 ticket = sendAsync(false, target(true), int(KtPduCommand::Set), vbs, callback, userData);
    if (!noticed.isEmpty())
        m_writes.insert(ticket, std::move(noticed));
}

// Pending drops before the callback runs, so a callback may delete the
// request (or start the next exchange) without confusing the count.
void KtSNMPRequest::asyncAnswer(quint64 ticket, bool read, KtSNMPCallback callback, void *userData,
                                const KtPduResult &answer)
{
    m_tickets.removeAll(ticket);
    --Pending;
    // A set the agent took counts even when its dialog is closing.
    const QList<KtWrittenObject> noticed = m_writes.take(ticket);
    if (!read && answer.status == 0 && !noticed.isEmpty())
        if (KtWriteObserver *observer = KtWriteObserver::Installed())
            observer->Written(*this, noticed);
    if (answer.status == KtPduResult::Closed || !Alive)
        return;
    KtSNMPError result;
    result.AgentHost = answer.agentHost;
    result.AgentPort = answer.agentPort;
    result.ErrorIndex = answer.errorIndex;
    result.Finished = true;
    if (read) {
        try {
            const ReadOutcome out = takeAnswer(answer);
            const KtStatusError e = errorOf(out.status);
            result.Code = e.code;
            result.Message = e.text;
            result.Finished = !out.more;
        } catch (const KtException &e) {
            result.Code = e.code();
            result.Message = e.message();
        }
    } else {
        const KtStatusError e = errorOf(answer.status);
        result.Code = e.code;
        result.Message = e.text;
    }
    if (callback)
        callback(userData, &result, &Vars);
}

bool KtSNMPRequest::MatchesCondition()
{
    return EvaluateCondition(Condition);
}

bool KtSNMPRequest::Evaluate(const QString &text)
{
    return EvaluateCondition(text);
}

QString KtSNMPRequest::Substitute(const QString &text, bool quote, QChar marker)
{
    return KtExpression::Substitute(Vars, text, quote, marker);
}

void KtSNMPRequest::DecodeIndex(const QString &suffix)
{
    Vars.DecodeIndexSuffix(suffix);
}

QString KtSNMPRequest::EncodeIndex()
{
    return Vars.EncodeIndexSuffix();
}

QString KtSNMPRequest::DisplayText(int i, const KtVarBind &vb) const
{
    const KtSNMPVar &var = Vars.Get(i);
    QString text = VarBindToText(vb, var.Type);
    if (var.Options && text != Null)
        text = var.Options->ValueToLabel(text);
    return text;
}

void KtSNMPRequest::TakeValue(int i, const KtVarBind &vb)
{
    Vars.Get(i).Value = DisplayText(i, vb);
    if (KtWriteObserver::Installed() && Vars.IsWritable(i))
        m_lastRead.insert(vb.oid, Vars.Get(i).Value);
}

void KtSNMPRequest::PutValue(int i, KtVarBind &vb)
{
    const KtSNMPVar &var = Vars.Get(i);
    const QString text = var.Options ? var.Options->LabelToValue(var.Value) : var.Value;
    if (text == Null) {
        vb.syntax = KtSyntax::Null;
        return;
    }
    // Each type travels with its SMI syntax; the program's own codes
    // (bitstr, macaddress, displaystr ...) are octet strings on the wire.
    switch (var.Type) {
    case KtType::Boolean:
        vb.syntax = KtSyntax::Integer;
        vb.integer = text == QLatin1String("true") ? 1 : 2;  // TruthValue
        break;
    case KtType::Integer:
        vb.syntax = KtSyntax::Integer;
        vb.integer = qBound<qint64>(-2147483648LL, KtValue::Atol(text), 2147483647LL);
        break;
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger:
        vb.syntax = var.Type == KtType::Counter ? KtSyntax::Counter32
            : var.Type == KtType::Gauge         ? KtSyntax::Gauge32
                                                : KtSyntax::UInteger32;
        vb.integer = qBound<qint64>(0, KtValue::Atol(text), 4294967295LL);
        break;
    case KtType::TimeTicks:
        vb.syntax = KtSyntax::TimeTicks;
        vb.integer = qint64(KtValue::TextToTicks(text));
        break;
    case KtType::Counter64: {
        bool ok = false;
        vb.counter64 = text.trimmed().toULongLong(&ok);
        if (!ok)
            KtThrowEngine(KtCatalogue::EngBadSyntax);
        vb.syntax = KtSyntax::Counter64;
        break;
    }
    case KtType::ObjectId:
        vb.syntax = KtSyntax::ObjectId;
        vb.objectId = text.trimmed();
        break;
    case KtType::IpAddress:
    case KtType::NsapAddr:
        vb.syntax = KtSyntax::IpAddress;
        vb.octets = ipOctets(text);
        break;
    case KtType::Opaque:
        vb.syntax = KtSyntax::Opaque;
        vb.octets = KtValue::TextToRaw(text, var.Type);
        break;
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::MacAddress:
    case KtType::Ipv6Address:
    case KtType::Double:
    case KtType::DateTime:
    case KtType::BcDateTime:
    case KtType::DisplayStr:
        vb.syntax = KtSyntax::OctetString;
        vb.octets = KtValue::TextToRaw(text, var.Type);
        break;
    case KtType::Null:
        vb.syntax = KtSyntax::Null;
        break;
    default:
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    }
}

void KtSNMPRequest::ComputeValue(int i, bool afterRead)
{
    KtSNMPVar &var = Vars.Get(i);
    const QString &expr = afterRead ? var.ReadExpr : var.WriteExpr;
    if (expr.isEmpty())
        return;
    const double value = KtExpression::Arithmetic(Substitute(expr, false, QLatin1Char('$')));
    var.Value = KtExpression::StoreNumber(value, var.Type);
}

bool KtSNMPRequest::EvaluateCondition(const QString &text)
{
    if (text.isEmpty())
        return true;
    return KtExpression::Condition(Substitute(text, true, QLatin1Char('$')));
}

// A column has ended unless the answer lies strictly inside it and moved
// forward; an agent that answers backwards would otherwise never end a walk.
bool KtSNMPRequest::ColumnEnded(const QString &base, const QString &previous, const QString &current)
{
    if (!isTable(Vars.Kind))
        return false;
    if (!(current.size() > base.size() + 1 && current.startsWith(base + QLatin1Char('.'))))
        return true;
    return !previous.isEmpty() && KtOid::FromText(current) <= KtOid::FromText(previous);
}
