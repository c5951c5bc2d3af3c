#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include "snmp/KtSnmpEngineParts.h"
#include "snmp/KtOid.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>

// Building and sending the PDUs, and turning the answers into results.

using namespace KtSnmpEngineParts;

namespace {

int mapLibraryError(int err)
{
    switch (err) {
    case SNMPERR_TIMEOUT: return StTimeout;
    case SNMPERR_UNKNOWN_USER_NAME:
    case SNMPERR_USM_UNKNOWNSECURITYNAME: return StUsmUnknownName;
    case SNMPERR_BAD_SEC_LEVEL:
    case SNMPERR_UNSUPPORTED_SEC_LEVEL:
    case SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL: return StUsmSecLevel;
    case SNMPERR_AUTHENTICATION_FAILURE:
    case SNMPERR_USM_AUTHENTICATIONFAILURE: return StUsmAuthFailure;
    case SNMPERR_NOT_IN_TIME_WINDOW:
    case SNMPERR_USM_NOTINTIMEWINDOW: return StUsmTimeWindow;
    case SNMPERR_DECRYPTION_ERR:
    case SNMPERR_USM_DECRYPTIONERROR: return StUsmDecryption;
    case SNMPERR_UNKNOWN_ENG_ID:
    case SNMPERR_USM_UNKNOWNENGINEID: return StUsmUnknownEngine;
    case SNMPERR_USM_ENCRYPTIONERROR: return StUsmEncryption;
    case SNMPERR_USM_PARSEERROR: return StUsmParse;
    case SNMPERR_USM_GENERICERROR: return StUsmError;
    case SNMPERR_UNKNOWN_SEC_MODEL: return StMpSecModel;
    case SNMPERR_INVALID_MSG: return StMpInvalidMsg;
    case SNMPERR_UNKNOWN_PDU: return StMpUnknownPdu;
    case SNMPERR_BAD_ADDRESS: return StInvalidAddress;
    case SNMPERR_BAD_SENDTO: return StTransportFailed;
    default: return StOperationFailed;
    }
}

// The report's first varbind names the counter that the agent stepped.
int reportStatus(const netsnmp_pdu *pdu)
{
    static const oid usmStats[] = {1, 3, 6, 1, 6, 3, 15, 1, 1};
    static const oid mpdStats[] = {1, 3, 6, 1, 6, 3, 11, 2, 1};
    static const oid targetStats[] = {1, 3, 6, 1, 6, 3, 12, 1};
    // statuses[i]: the status of counter first + i; 0 for none we know.
    struct Group
    {
        const oid *prefix;
        size_t len;
        oid first;
        int statuses[6];
    };
    static const Group groups[] = {
        {usmStats, OID_LENGTH(usmStats), 1,
         {StUsmSecLevel, StUsmTimeWindow, StUsmUnknownName, StUsmUnknownEngine, StUsmAuthFailure, StUsmDecryption}},
        {mpdStats, OID_LENGTH(mpdStats), 1, {StMpSecModel, StMpInvalidMsg, StMpUnknownPdu}},
        {targetStats, OID_LENGTH(targetStats), 4, {StMpUnavailableContext, StMpUnknownContext}},
    };
    const netsnmp_variable_list *v = pdu->variables;
    if (!v)
        return StUsmError;
    for (const Group &g : groups) {
        if (v->name_length <= g.len || snmp_oidtree_compare(g.prefix, g.len, v->name, v->name_length) != 0)
            continue;
        const oid counter = v->name[g.len];
        const int status = counter >= g.first && counter - g.first < std::size(g.statuses)
            ? g.statuses[counter - g.first] : 0;
        return status != 0 ? status : int(StUsmError);
    }
    return StUsmError;
}

bool parseOid(const QString &text, oid *out, size_t &len)
{
    bool ok = false;
    const KtOid parsed = KtOid::FromText(text, &ok);
    len = 0;
    if (!ok || parsed.Size() > MAX_OID_LEN)
        return false;
    for (quint32 id : parsed.Ids())
        out[len++] = oid(id);
    return true;
}

QString oidText(const oid *name, size_t len)
{
    char buffer[MAX_OID_LEN * 11 + 1];
    char *p = buffer;
    for (size_t i = 0; i < len && i < MAX_OID_LEN; ++i) {
        if (i)
            *p++ = '.';
        p += std::snprintf(p, 11, "%lu", static_cast<unsigned long>(name[i]));
    }
    return QString::fromLatin1(buffer, int(p - buffer));
}

KtVarBind toVarBind(const netsnmp_variable_list *v)
{
    KtVarBind vb;
    vb.oid = oidText(v->name, v->name_length);
    vb.syntax = quint8(v->type);
    switch (v->type) {
    case ASN_INTEGER:
        if (v->val.integer)
            vb.integer = *v->val.integer;
        break;
    case ASN_COUNTER:
    case ASN_GAUGE:
    case ASN_TIMETICKS:
    case ASN_UINTEGER:
        if (v->val.integer)
            vb.integer = qint64(quint32(*v->val.integer));
        break;
    case ASN_COUNTER64:
        if (v->val.counter64)
            vb.counter64 = (quint64(v->val.counter64->high & 0xFFFFFFFFul) << 32)
                | quint64(v->val.counter64->low & 0xFFFFFFFFul);
        break;
    case ASN_OCTET_STR:
    case ASN_OPAQUE:
    case ASN_IPADDRESS:
        if (v->val.string)
            vb.octets = QByteArray(reinterpret_cast<const char *>(v->val.string), int(v->val_len));
        break;
    case ASN_OBJECT_ID:
        if (v->val.objid)
            vb.objectId = oidText(v->val.objid, v->val_len / sizeof(oid));
        break;
    default:
        break;
    }
    return vb;
}

// A successful answer carries one varbind per request varbind; those of a
// get or set name the very objects asked for.
bool answersRequest(KtPduCommand command, const QList<KtVarBind> &request, const QList<KtVarBind> &answer,
                    int repetitions)
{
    // A get-bulk answer may stop anywhere, even inside a repetition.
    if (command == KtPduCommand::GetBulk)
        return !answer.isEmpty() && answer.size() <= request.size() * qMax(repetitions, 1);
    if (answer.size() != request.size())
        return false;
    if (command == KtPduCommand::GetNext)
        return true;
    for (qsizetype i = 0; i < answer.size(); ++i)
        if (KtOid::FromText(answer.at(i).oid) != KtOid::FromText(request.at(i).oid))
            return false;
    return true;
}

bool addVariable(netsnmp_pdu *pdu, const KtVarBind &vb, bool withValue)
{
    oid name[MAX_OID_LEN];
    size_t len = 0;
    if (!parseOid(vb.oid, name, len))
        return false;
    if (!withValue)
        return snmp_add_null_var(pdu, name, len) != nullptr;

    switch (vb.syntax) {
    case KtSyntax::Integer: {
        long value = long(vb.integer);
        return snmp_pdu_add_variable(pdu, name, len, ASN_INTEGER, &value, sizeof value) != nullptr;
    }
    case KtSyntax::Counter32:
    case KtSyntax::Gauge32:
    case KtSyntax::TimeTicks:
    case KtSyntax::UInteger32: {
        u_long value = u_long(quint32(vb.integer));
        return snmp_pdu_add_variable(pdu, name, len, vb.syntax, &value, sizeof value) != nullptr;
    }
    case KtSyntax::Counter64: {
        struct counter64 value;
        value.high = u_long(vb.counter64 >> 32);
        value.low = u_long(vb.counter64 & 0xFFFFFFFFull);
        return snmp_pdu_add_variable(pdu, name, len, ASN_COUNTER64, &value, sizeof value) != nullptr;
    }
    case KtSyntax::OctetString:
    case KtSyntax::Opaque:
    case KtSyntax::IpAddress:
        return snmp_pdu_add_variable(pdu, name, len, vb.syntax, vb.octets.constData(),
                                     size_t(vb.octets.size())) != nullptr;
    case KtSyntax::ObjectId: {
        oid value[MAX_OID_LEN];
        size_t valueLen = 0;
        if (!parseOid(vb.objectId, value, valueLen))
            return false;
        return snmp_pdu_add_variable(pdu, name, len, ASN_OBJECT_ID, value, valueLen * sizeof(oid)) != nullptr;
    }
    case KtSyntax::Null:
        return snmp_pdu_add_variable(pdu, name, len, ASN_NULL, nullptr, 0) != nullptr;
    default:
        return false;
    }
}

u_char *copyBytes(const QByteArray &bytes)
{
    auto *p = static_cast<u_char *>(std::malloc(size_t(bytes.size()) + 1));
    if (!p)
        return nullptr;
    std::memcpy(p, bytes.constData(), size_t(bytes.size()));
    p[bytes.size()] = 0;
    return p;
}

// A context engine identifier is given as hex ("0x" optional); any
// other text is taken as its own octets.
QByteArray contextEngineOctets(const QString &text)
{
    QString t = text.trimmed();
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        t = t.mid(2);
    bool hex = !t.isEmpty() && t.size() % 2 == 0;
    for (QChar c : t)
        hex = hex && c.isLetterOrNumber() && QStringLiteral("0123456789abcdefABCDEF").contains(c);
    return hex ? QByteArray::fromHex(t.toLatin1()) : text.toUtf8();
}

} // namespace

int KtSnmpEngine::Private::transmit(quint64 id)
{
    Ticket &t = tickets[id];
    settle(t);
    const KtSnmpTarget &target = t.target;
    const int command = t.command == KtPduCommand::Get ? SNMP_MSG_GET
        : t.command == KtPduCommand::GetNext           ? SNMP_MSG_GETNEXT
        : t.command == KtPduCommand::GetBulk           ? SNMP_MSG_GETBULK
                                                       : SNMP_MSG_SET;
    QByteArray engineId;
    QByteArray userKey;
    if (target.version == 3) {
        engineId = agents.value(t.agent).engineId;
        userKey = engineId + '\0' + target.securityName.toUtf8();
        const int status = registerUser(engineId, userKey, target);
        if (status == UserBusy) {
            held.append(id);
            return 0;
        }
        if (status != 0)
            return status;
    }

    netsnmp_pdu *pdu = snmp_pdu_create(command);
    if (!pdu)
        return StOperationFailed;
    if (t.command == KtPduCommand::GetBulk) {
        pdu->non_repeaters = 0;
        pdu->max_repetitions = qMax(t.repetitions, 1);
    }
    if (target.version == 3) {
        const QByteArray name = target.securityName.toUtf8();
        const QByteArray contextName = target.contextName.toUtf8();
        const QByteArray contextEngine = contextEngineOctets(target.contextEngineID);
        pdu->version = SNMP_VERSION_3;
        pdu->securityModel = SNMP_SEC_MODEL_USM;
        pdu->securityLevel = target.securityLevel;
        pdu->securityName = reinterpret_cast<char *>(copyBytes(name));
        pdu->securityNameLen = size_t(name.size());
        pdu->contextName = reinterpret_cast<char *>(copyBytes(contextName));
        pdu->contextNameLen = size_t(contextName.size());
        if (!contextEngine.isEmpty()) {
            pdu->contextEngineID = copyBytes(contextEngine);
            pdu->contextEngineIDLen = size_t(contextEngine.size());
        }
        pdu->securityEngineID = copyBytes(engineId);
        pdu->securityEngineIDLen = size_t(engineId.size());
    } else {
        const QByteArray community = target.community.toUtf8();
        pdu->version = target.version == 1 ? SNMP_VERSION_2c : SNMP_VERSION_1;
        pdu->community = copyBytes(community);
        pdu->community_len = size_t(community.size());
    }
    for (const KtVarBind &vb : t.vbs) {
        if (!addVariable(pdu, vb, t.command == KtPduCommand::Set)) {
            snmp_free_pdu(pdu);
            return StInvalidOid;
        }
    }
    ++t.sending;
    if (snmp_sess_async_send(t.channel->session, pdu, onNetSnmp, magicOf(id, t.sending)) == 0) {
        int libErr = 0, sysErr = 0;
        char *text = nullptr;
        snmp_sess_error(t.channel->session, &sysErr, &libErr, &text);
        qCDebug(lcNetSnmp) << "send failed:" << (text ? text : "");
        std::free(text);
        snmp_free_pdu(pdu);
        return mapLibraryError(libErr);
    }
    ++packets;
    t.sent.start();
    t.engineId = engineId;
    if (!userKey.isEmpty()) {
        t.userKey = userKey;
        ++inFlight[userKey];
    }
    return 0;
}

void KtSnmpEngine::Private::settle(Ticket &t)
{
    if (t.userKey.isEmpty())
        return;
    auto it = inFlight.find(t.userKey);
    if (it != inFlight.end() && --*it <= 0)
        inFlight.erase(it);
    t.userKey.clear();
}

// RFC 3414 discovery: an empty noAuth GET answered by a report that
// carries the agent's engine identifier.
int KtSnmpEngine::Private::startProbe(const QString &agent, Channel *channel)
{
    const quint64 id = nextId++;
    Ticket probe;
    probe.discovery = true;
    probe.channel = channel;
    probe.agent = agent;
    tickets.insert(id, probe);
    netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_GET);
    pdu->version = SNMP_VERSION_3;
    pdu->securityModel = SNMP_SEC_MODEL_USM;
    pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    pdu->securityName = reinterpret_cast<char *>(copyBytes(QByteArray()));
    pdu->securityNameLen = 0;
    if (snmp_sess_async_send(channel->session, pdu, onNetSnmp, magicOf(id, 0)) == 0) {
        int libErr = 0, sysErr = 0;
        char *text = nullptr;
        snmp_sess_error(channel->session, &sysErr, &libErr, &text);
        std::free(text);
        snmp_free_pdu(pdu);
        tickets.remove(id);
        return mapLibraryError(libErr);
    }
    ++packets;
    agents[agent].probe = id;
    return 0;
}

void KtSnmpEngine::Private::onCallback(int op, netsnmp_pdu *pdu, quint64 id, quint16 sending)
{
    auto it = tickets.find(id);
    if (it == tickets.end() || it->sending != sending)
        return;
    KtPduResult r;
    r.agentHost = it->target.host;
    r.agentPort = it->target.port;
    switch (op) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
        if (!pdu) {
            r.status = StOperationFailed;
        } else if (pdu->command == SNMP_MSG_REPORT) {
            if (it->discovery && pdu->securityEngineIDLen > 0) {
                agents[it->agent].engineId = QByteArray(reinterpret_cast<const char *>(pdu->securityEngineID),
                                                        int(pdu->securityEngineIDLen));
                r.status = 0;
            } else {
                r.status = reportStatus(pdu);
                if (r.status == StUsmUnknownEngine) {
                    // The agent restarted with a new identity: learn it and try once more.
                    agents[it->agent].engineId.clear();
                    if (!it->rediscovered) {
                        it->rediscovered = true;
                        settle(*it);
                        rediscover.append(id);
                        return;
                    }
                }
            }
        } else {
            if (agents.contains(it->agent))
                agents[it->agent].quiet = false;
            r.errorIndex = int(pdu->errindex);
            for (const netsnmp_variable_list *v = pdu->variables; v; v = v->next_variable)
                r.vbs.append(toVarBind(v));
            r.status = pdu->errstat < 0 || pdu->errstat > 18 ? int(KtPduResult::UnknownStatus)
                : pdu->errstat == 0 && !answersRequest(it->command, it->vbs, r.vbs, it->repetitions) ? int(KtPduResult::Malformed)
                                                                                     : int(pdu->errstat);
        }
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        r.status = closing ? int(KtPduResult::Closed) : int(StTimeout);
        // Not checked while it ran (no retries): the time-out stands, the
        // check serves the requests that follow.
        if (!closing && !it->discovery && it->target.version == 3 && !it->identityAsked)
            askIdentity(it->agent, it->channel);
        break;
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
        r.status = StTransportFailed;
        break;
    case NETSNMP_CALLBACK_OP_DISCONNECT:
        r.status = KtPduResult::Closed;
        break;
    default:
        return;  // resends and security notes: the exchange goes on
    }
    finish(id, r);
}
