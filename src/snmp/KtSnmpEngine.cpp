#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/transform_oids.h>
#include <net-snmp/library/keytools.h>
#include <net-snmp/library/snmpusm.h>

#include "snmp/KtSnmpEngine.h"
#include "snmp/KtOid.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QLoggingCategory>
#include <QPair>

#include <arpa/inet.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <vector>

Q_LOGGING_CATEGORY(lcNetSnmp, "qsx.snmp.netsnmp")

namespace {

constexpr const char *LibraryName = "qsx4810";

// Statuses in the StatusToError numbering.
enum : int {
    StTimeout = -5,
    StOperationFailed = -1,
    StInvalidTarget = -12,
    StInvalidOid = -17,
    StInvalidAddress = -18,
    StTransportFailed = -22,
    StUsmError = 1401,
    StUsmSecLevel = 1403,
    StUsmUnknownName = 1404,
    StUsmEncryption = 1405,
    StUsmDecryption = 1406,
    StUsmAuthError = 1407,
    StUsmAuthFailure = 1408,
    StUsmParse = 1409,
    StUsmUnknownEngine = 1410,
    StUsmTimeWindow = 1411,
    StUsmAuthProtocol = 1412,
    StUsmPrivProtocol = 1413,
    StMpSecModel = -1402,
    StMpInvalidMsg = -1405,
    StMpUnknownPdu = -1415,
    StMpUnavailableContext = -1416,
    StMpUnknownContext = -1417,
};

// Not a status: a user cannot take new keys yet (registerUser).
constexpr int UserBusy = 0x20000;

[[noreturn]] void raiseStatus(int status)
{
    const KtStatusError e = StatusToError(status);
    throw KtException(e.code, e.text);
}

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
    const netsnmp_variable_list *v = pdu->variables;
    if (!v)
        return StUsmError;
    auto under = [v](const oid *prefix, size_t len) {
        return v->name_length > len && snmp_oidtree_compare(prefix, len, v->name, v->name_length) == 0;
    };
    if (under(usmStats, OID_LENGTH(usmStats))) {
        switch (v->name[OID_LENGTH(usmStats)]) {
        case 1: return StUsmSecLevel;
        case 2: return StUsmTimeWindow;
        case 3: return StUsmUnknownName;
        case 4: return StUsmUnknownEngine;
        case 5: return StUsmAuthFailure;
        case 6: return StUsmDecryption;
        default: return StUsmError;
        }
    }
    if (under(mpdStats, OID_LENGTH(mpdStats))) {
        switch (v->name[OID_LENGTH(mpdStats)]) {
        case 1: return StMpSecModel;
        case 2: return StMpInvalidMsg;
        case 3: return StMpUnknownPdu;
        default: return StUsmError;
        }
    }
    if (under(targetStats, OID_LENGTH(targetStats))) {
        switch (v->name[OID_LENGTH(targetStats)]) {
        case 4: return StMpUnavailableContext;
        case 5: return StMpUnknownContext;
        default: return StUsmError;
        }
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

struct Protocol
{
    const oid *id;
    size_t len;
};

bool authProtocol(int code, Protocol &p)
{
    switch (code) {
    case 1: p = {usmNoAuthProtocol, OID_LENGTH(usmNoAuthProtocol)}; return true;
    case 2: p = {usmHMACMD5AuthProtocol, OID_LENGTH(usmHMACMD5AuthProtocol)}; return true;
    case 3: p = {usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol)}; return true;
    case 4: p = {usmHMAC128SHA224AuthProtocol, OID_LENGTH(usmHMAC128SHA224AuthProtocol)}; return true;
    case 5: p = {usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)}; return true;
    case 6: p = {usmHMAC256SHA384AuthProtocol, OID_LENGTH(usmHMAC256SHA384AuthProtocol)}; return true;
    case 7: p = {usmHMAC384SHA512AuthProtocol, OID_LENGTH(usmHMAC384SHA512AuthProtocol)}; return true;
    default: return false;
    }
}

bool privProtocol(int code, Protocol &p)
{
    switch (code) {
    case 1: p = {usmNoPrivProtocol, OID_LENGTH(usmNoPrivProtocol)}; return true;
    case 2: p = {usmDESPrivProtocol, OID_LENGTH(usmDESPrivProtocol)}; return true;
    case 4: p = {usmAESPrivProtocol, OID_LENGTH(usmAESPrivProtocol)}; return true;
    case 5: p = {usmAES192PrivProtocol, OID_LENGTH(usmAES192PrivProtocol)}; return true;
    case 6: p = {usmAES256PrivProtocol, OID_LENGTH(usmAES256PrivProtocol)}; return true;
    default: return false;  // 9 IDEA among them: Net-SNMP has no IDEA
    }
}

int logHandler(int, int, void *serverArg, void *)
{
    const auto *m = static_cast<const snmp_log_message *>(serverArg);
    if (!m || !m->msg)
        return 0;
    const QString text = QString::fromLocal8Bit(m->msg).trimmed();
    if (text.isEmpty())
        return 0;
    if (m->priority <= LOG_ERR)
        qCWarning(lcNetSnmp).noquote() << text;
    else
        qCDebug(lcNetSnmp).noquote() << text;
    return 0;
}

int onNetSnmp(int op, netsnmp_session *, int, netsnmp_pdu *pdu, void *magic);

// Environment variables set for a while and put back as they were.
class ScopedEnvironment
{
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;
    ~ScopedEnvironment()
    {
        for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it) {
            if (it->wasSet)
                qputenv(it->name, it->value);
            else
                qunsetenv(it->name);
        }
    }

    void Set(const char *name, const QByteArray &value)
    {
        m_saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv(name, value);
    }

private:
    struct Saved
    {
        const char *name;
        QByteArray value;
        bool wasSet;
    };
    QList<Saved> m_saved;
};

} // namespace

struct KtSnmpEngine::Private
{
    struct Channel
    {
        QString host;
        quint16 port = 0;
        quint8 version = 0;
        quint32 timeout = 0;
        quint32 retries = 0;
        void *session = nullptr;
        int fd = -1;

        bool serves(const KtSnmpTarget &t) const
        {
            return port == t.port && version == t.version && timeout == t.timeout && retries == t.retries
                && host == t.host;
        }
    };

    struct Ticket
    {
        Handler handler;
        KtSnmpTarget target;
        KtPduCommand command = KtPduCommand::Get;
        int repetitions = 0;
        QList<KtVarBind> vbs;
        Channel *channel = nullptr;
        QString agent;
        bool discovery = false;
        bool detached = false;
        bool immediate = false;
        bool rediscovered = false;
        QByteArray userKey;   // v3: the user whose keys it was sent with, while it is out
        QByteArray engineId;  // v3: the agent's identifier it was sent to
        quint16 sending = 0;  // counts the sends; answers to an earlier one are ignored
        QElapsedTimer sent;
        bool identityAsked = false;
    };

    struct Agent
    {
        QByteArray engineId;
        quint64 probe = 0;
        QList<quint64> waiting;
        bool quiet = false;    // checked once since its last answer: same identity, no reply
        QByteArray checking;   // identifier being checked after a time-out
    };

    struct Delivery
    {
        quint64 ticket = 0;
        Handler handler;
        KtPduResult result;
    };

    bool libraryUp = false;
    bool closing = false;
    bool delivering = false;
    quint64 nextId = 1;
    quint64 packets = 0;
    std::vector<std::unique_ptr<Channel>> channels;
    QHash<quint64, Ticket> tickets;
    QHash<QString, Agent> agents;
    QHash<QString, QByteArray> kuCache;     // protocol + pass phrase -> Ku
    QHash<QByteArray, QByteArray> users;    // engine id + name -> credentials in force
    QList<Delivery> deliveries;
    QList<QPair<QString, int>> probesDone;  // agent, status
    QList<quint64> rediscover;              // exchanges to send again once their engine id is known
    QList<QPair<QString, Channel *>> identityChecks;  // agents that went silent
    QHash<QByteArray, int> inFlight;        // user -> exchanges out with its registered keys
    QList<quint64> held;                    // v3 exchanges waiting for another pass phrase's answers
    std::function<void(int, bool)> socketHook;
    std::function<void()> wakeHook;

    static QString agentKey(const KtSnmpTarget &t) { return t.host + QLatin1Char(':') + QString::number(t.port); }

    void validate(const KtSnmpTarget &t);
    QByteArray ku(const Protocol &hash, int hashCode, const QString &pass, int failure);
    Channel *channelFor(const KtSnmpTarget &t);
    int registerUser(const QByteArray &engineId, const QByteArray &userKey, const KtSnmpTarget &t);
    void settle(Ticket &t);
    int transmit(quint64 id);
    int startProbe(const QString &agent, Channel *channel);
    void finish(quint64 id, const KtPduResult &r);
    void onCallback(int op, netsnmp_pdu *pdu, quint64 id, quint16 sending);
    void askIdentity(const QString &agent, Channel *channel);
    void checkSilentExchanges();
    void afterLibraryCall();
    void waitOnce(int ms);
    void readFd(Channel *c, int most);
};

namespace {

KtSnmpEngine::Private *s_engine = nullptr;

// The magic pointer carries the ticket number and which send of it this
// is: reports may come with reqid 0.
constexpr int SendingShift = 48;

void *magicOf(quint64 id, quint16 sending)
{
    return reinterpret_cast<void *>(quintptr(id | (quint64(sending) << SendingShift)));
}

int onNetSnmp(int op, netsnmp_session *, int, netsnmp_pdu *pdu, void *magic)
{
    if (s_engine) {
        const quint64 m = quint64(reinterpret_cast<quintptr>(magic));
        s_engine->onCallback(op, pdu, m & ((quint64(1) << SendingShift) - 1), quint16(m >> SendingShift));
    }
    return 1;
}

} // namespace

KtSnmpEngine &KtSnmpEngine::Instance()
{
    static KtSnmpEngine engine;
    return engine;
}

KtSnmpEngine::KtSnmpEngine() : d(std::make_unique<Private>())
{
    s_engine = d.get();
}

KtSnmpEngine::~KtSnmpEngine()
{
    Close();
    s_engine = nullptr;
}

void KtSnmpEngine::Open(const QString &persistentDir)
{
    if (d->libraryUp)
        return;
    // No MIB files, no configuration files, no state outside our folder.
    // The library reads the environment while it initialises; programs we
    // start later must see our own environment, not these settings.
    QString dir = persistentDir;
    if (dir.isEmpty())
        dir = QDir::temp().filePath(QStringLiteral("qsx4810-netsnmp-%1").arg(qulonglong(getuid())));
    QDir().mkpath(dir);
    const QByteArray encodedDir = QFile::encodeName(dir);
    {
        ScopedEnvironment env;
        env.Set("MIBS", "");
        env.Set("MIBDIRS", "");
        env.Set("SNMP_PERSISTENT_DIR", encodedDir);
        // Also the configuration path: otherwise the certificate store looks in ~/.snmp.
        env.Set("SNMPCONFPATH", encodedDir);
        netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR, encodedDir.constData());
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, encodedDir.constData());
        snmp_disable_log();
        snmp_register_callback(SNMP_CALLBACK_LIBRARY, SNMP_CALLBACK_LOGGING, logHandler, nullptr);
        snmp_enable_calllog();
        init_snmp(LibraryName);
    }
    // Sessions go before the library; the engine object itself lives longer.
    std::atexit([] {
        KtSnmpEngine::Instance().Close();
        snmp_shutdown(LibraryName);
    });
    d->libraryUp = true;
}

void KtSnmpEngine::SetLocalEngine(const QString &id, quint32 boots)
{
    Open();
    const QByteArray text = id.toLatin1();
    setup_engineID(nullptr, text.constData());
    // The library counts this boot itself: it stores the value given plus one.
    QByteArray previous = QByteArray::number(boots > 0 ? boots - 1 : 0);
    engineBoots_conf(const_cast<char *>("engineBoots"), previous.data());
}

quint32 KtSnmpEngine::LocalEngineBoots() const
{
    return d->libraryUp ? quint32(snmpv3_local_snmpEngineBoots()) : 0;
}

bool KtSnmpEngine::SupportsPrivProtocol(int code)
{
    Protocol p;
    return privProtocol(code, p);
}

bool KtSnmpEngine::CanBindUdp()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    const bool ok = ::bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) == 0;
    ::close(fd);
    return ok;
}

bool KtSnmpEngine::IsOpen() const
{
    return d->libraryUp;
}

void KtSnmpEngine::Close()
{
    d->closing = true;
    // Closing a session reports its outstanding requests through the callback.
    for (auto &c : d->channels) {
        if (d->socketHook && c->fd >= 0)
            d->socketHook(c->fd, false);
        snmp_sess_close(c->session);
    }
    d->channels.clear();
    const QList<quint64> left = d->tickets.keys();
    KtPduResult closed;
    closed.status = KtPduResult::Closed;
    for (quint64 id : left)
        d->finish(id, closed);
    d->agents.clear();
    d->probesDone.clear();
    d->rediscover.clear();
    d->identityChecks.clear();
    d->inFlight.clear();
    d->held.clear();
    d->closing = false;
    if (!d->deliveries.isEmpty() && d->wakeHook)
        d->wakeHook();
}

void KtSnmpEngine::ForgetAgents()
{
    d->agents.clear();
    d->users.clear();
}

void KtSnmpEngine::Private::validate(const KtSnmpTarget &t)
{
    in_addr addr;
    const QByteArray host = t.host.toLatin1();
    if (t.host.isEmpty() || inet_pton(AF_INET, host.constData(), &addr) != 1)
        KtThrowEngine(KtCatalogue::EngBadAddress);
    if (t.version != 0 && t.version != 1 && t.version != 3)
        raiseStatus(StInvalidTarget);
    if (t.version != 3)
        return;
    if (t.securityLevel < 1 || t.securityLevel > 3)
        raiseStatus(StUsmSecLevel);
    if (t.securityLevel >= 2) {
        Protocol auth;
        if (!authProtocol(t.authProtocol, auth))
            raiseStatus(StUsmAuthProtocol);
        if (t.authProtocol == 1)
            raiseStatus(StUsmSecLevel);
        ku(auth, t.authProtocol, t.authPassword, StUsmAuthError);
        if (t.securityLevel == 3) {
            Protocol priv;
            if (!privProtocol(t.privProtocol, priv))
                raiseStatus(StUsmPrivProtocol);
            if (t.privProtocol == 1)
                raiseStatus(StUsmSecLevel);
            ku(auth, t.authProtocol, t.privPassword, StUsmEncryption);
        }
    }
}

// Key derivation is slow on purpose; derive once per distinct pass phrase.
QByteArray KtSnmpEngine::Private::ku(const Protocol &hash, int hashCode, const QString &pass, int failure)
{
    const QString key = QString::number(hashCode) + QLatin1Char('\n') + pass;
    auto it = kuCache.constFind(key);
    if (it != kuCache.constEnd())
        return *it;
    const QByteArray phrase = pass.toUtf8();
    u_char buffer[USM_AUTH_KU_LEN];
    size_t len = sizeof buffer;
    // generate_Ku refuses pass phrases under 8 characters.
    if (phrase.size() < 8
        || generate_Ku(hash.id, u_int(hash.len), reinterpret_cast<const u_char *>(phrase.constData()),
                       size_t(phrase.size()), buffer, &len) != SNMPERR_SUCCESS)
        raiseStatus(failure);
    const QByteArray result(reinterpret_cast<const char *>(buffer), int(len));
    kuCache.insert(key, result);
    return result;
}

KtSnmpEngine::Private::Channel *KtSnmpEngine::Private::channelFor(const KtSnmpTarget &t)
{
    for (auto &c : channels)
        if (c->serves(t))
            return c.get();

    netsnmp_session s;
    snmp_sess_init(&s);
    QByteArray peer = QByteArrayLiteral("udp:") + t.host.toLatin1() + ':' + QByteArray::number(t.port);
    s.peername = peer.data();
    s.version = t.version == 3 ? SNMP_VERSION_3 : t.version == 1 ? SNMP_VERSION_2c : SNMP_VERSION_1;
    s.timeout = long(qMax<quint32>(t.timeout, 1)) * 10000L;  // 0 would mean the library default
    s.retries = int(t.retries);
    s.callback = onNetSnmp;
    QByteArray none;
    if (t.version == 3) {
        s.securityModel = SNMP_SEC_MODEL_USM;
        s.securityLevel = SNMP_SEC_LEVEL_NOAUTH;
        s.securityName = none.data();
        s.securityNameLen = 0;
    }
    void *session = snmp_sess_open(&s);
    if (!session)
        raiseStatus(StTransportFailed);
    // Engine discovery is ours (asynchronous); the library's would block.
    snmp_sess_session(session)->flags |= SNMP_FLAGS_DONT_PROBE;
    auto c = std::make_unique<Channel>();
    c->host = t.host;
    c->port = t.port;
    c->version = t.version;
    c->timeout = t.timeout;
    c->retries = t.retries;
    c->session = session;
    netsnmp_transport *transport = snmp_sess_transport(session);
    c->fd = transport ? transport->sock : -1;
    channels.push_back(std::move(c));
    Channel *added = channels.back().get();
    if (socketHook && added->fd >= 0)
        socketHook(added->fd, true);
    return added;
}

// A request below the level a user is registered for needs only the keys it
// uses: noAuthNoPriv none, authNoPriv the same authentication key. It goes
// with the registered user, so it does not wait for that user's exchanges.
// Credentials read "level/auth/priv/authKu/privKu".
namespace {
bool coveredBy(const QByteArray &registered, const QByteArray &wanted)
{
    const QList<QByteArray> have = registered.split('/'), want = wanted.split('/');
    if (have.size() != 5 || want.size() != 5 || want[0].toInt() >= have[0].toInt())
        return false;
    return want[0].toInt() <= 1 || (want[1] == have[1] && want[3] == have[3]);
}
} // namespace

// The library keeps one user per (engine, name) and never notices a changed
// pass phrase; replace the user whenever the credentials differ. It checks
// an answer with the keys registered when the answer arrives, so the user
// is not replaced while exchanges sent with its keys are out: UserBusy then.
int KtSnmpEngine::Private::registerUser(const QByteArray &engineId, const QByteArray &userKey, const KtSnmpTarget &t)
{
    const QByteArray name = t.securityName.toUtf8();
    Protocol auth = {usmNoAuthProtocol, OID_LENGTH(usmNoAuthProtocol)};
    Protocol priv = {usmNoPrivProtocol, OID_LENGTH(usmNoPrivProtocol)};
    QByteArray authKu, privKu;
    if (t.securityLevel >= 2) {
        authProtocol(t.authProtocol, auth);
        authKu = ku(auth, t.authProtocol, t.authPassword, StUsmAuthError);
        if (t.securityLevel == 3) {
            privProtocol(t.privProtocol, priv);
            privKu = ku(auth, t.authProtocol, t.privPassword, StUsmEncryption);
        }
    }
    const QByteArray credentials = QByteArray::number(t.securityLevel) + '/' + QByteArray::number(t.authProtocol)
        + '/' + QByteArray::number(t.privProtocol) + '/' + authKu.toHex() + '/' + privKu.toHex();

    auto *engine = reinterpret_cast<u_char *>(const_cast<char *>(engineId.constData()));
    struct usmUser *existing = usm_get_user(engine, size_t(engineId.size()), const_cast<char *>(name.constData()));
    if (existing && (users.value(userKey) == credentials || coveredBy(users.value(userKey), credentials)))
        return 0;
    if (inFlight.value(userKey) > 0)
        return UserBusy;
    if (existing) {
        usm_remove_user(existing);
        usm_free_user(existing);
    }

    netsnmp_session s;
    snmp_sess_init(&s);
    s.version = SNMP_VERSION_3;
    s.securityModel = SNMP_SEC_MODEL_USM;
    s.securityEngineID = engine;
    s.securityEngineIDLen = size_t(engineId.size());
    QByteArray nameCopy = name;
    s.securityName = nameCopy.data();
    s.securityNameLen = size_t(nameCopy.size());
    s.securityLevel = t.securityLevel;
    s.securityAuthProto = const_cast<oid *>(auth.id);
    s.securityAuthProtoLen = auth.len;
    s.securityPrivProto = const_cast<oid *>(priv.id);
    s.securityPrivProtoLen = priv.len;
    if (!authKu.isEmpty()) {
        std::memcpy(s.securityAuthKey, authKu.constData(), size_t(authKu.size()));
        s.securityAuthKeyLen = size_t(authKu.size());
    }
    if (!privKu.isEmpty()) {
        std::memcpy(s.securityPrivKey, privKu.constData(), size_t(privKu.size()));
        s.securityPrivKeyLen = size_t(privKu.size());
    }
    if (usm_create_user_from_session(&s) != SNMPERR_SUCCESS
        || !usm_get_user(engine, size_t(engineId.size()), const_cast<char *>(name.constData())))
        return StUsmError;
    users.insert(userKey, credentials);
    return 0;
}

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

void KtSnmpEngine::Private::finish(quint64 id, const KtPduResult &r)
{
    auto it = tickets.find(id);
    if (it == tickets.end())
        return;
    Ticket t = *it;
    tickets.erase(it);
    settle(t);
    if (t.discovery) {
        if (agents.contains(t.agent))
            probesDone.append({t.agent, r.status});
        return;
    }
    if (t.detached)
        return;
    // A closed session reports at once: the handler only settles its count.
    if (t.immediate || r.status == KtPduResult::Closed) {
        t.handler(r);
        return;
    }
    deliveries.append({id, t.handler, r});
    if (wakeHook)
        wakeHook();
}

// Finished discoveries release (or fail) the exchanges that waited for them.
// Runs outside any library call so that sending is allowed.
void KtSnmpEngine::Private::afterLibraryCall()
{
    checkSilentExchanges();
    // Exchanges held back for a pass phrase change are tried again; one whose
    // user still has answers to its old keys out is held once more.
    if (!held.isEmpty())
        rediscover += std::exchange(held, {});
    while (!rediscover.isEmpty()) {
        const quint64 id = rediscover.takeFirst();
        auto t = tickets.find(id);
        if (t == tickets.end())
            continue;
        Agent &a = agents[t->agent];
        if (!a.engineId.isEmpty()) {
            const int status = transmit(id);
            if (status != 0) {
                KtPduResult r;
                r.status = status;
                finish(id, r);
            }
            continue;
        }
        a.waiting.append(id);
        if (a.probe == 0) {
            const int status = startProbe(t->agent, t->channel);
            if (status != 0)
                probesDone.append({t->agent, status});
        }
    }
    while (!identityChecks.isEmpty()) {
        const auto [agentName, channel] = identityChecks.takeFirst();
        auto a = agents.find(agentName);
        if (a == agents.end() || a->probe != 0)
            continue;
        const int status = startProbe(agentName, channel);
        if (status != 0)
            probesDone.append({agentName, status});
    }
    while (!probesDone.isEmpty()) {
        const auto [agentName, status] = probesDone.takeFirst();
        auto a = agents.find(agentName);
        if (a == agents.end())
            continue;
        a->probe = 0;
        const QList<quint64> waiting = a->waiting;
        a->waiting.clear();
        if (!a->checking.isEmpty()) {
            const QByteArray stale = std::exchange(a->checking, {});
            if (a->engineId.isEmpty() || a->engineId == stale) {
                // Same identity, or no answer: checked once; until it answers
                // again its time-outs need no further check.
                a->quiet = true;
                if (a->engineId.isEmpty())
                    a->engineId = stale;
            } else {
                // A new identity: what is still out for the old one goes again.
                for (auto t = tickets.begin(); t != tickets.end(); ++t)
                    if (!t->discovery && t->agent == agentName && t->engineId == stale
                        && !waiting.contains(t.key()) && !rediscover.contains(t.key()))
                        rediscover.append(t.key());
            }
        }
        const bool known = !a->engineId.isEmpty();
        for (quint64 id : waiting) {
            if (!tickets.contains(id))
                continue;
            KtPduResult r;
            r.agentHost = tickets[id].target.host;
            r.agentPort = tickets[id].target.port;
            if (known)
                r.status = transmit(id);
            else
                r.status = tickets[id].rediscovered ? int(StTimeout) : (status == 0 ? int(StUsmUnknownEngine) : status);
            if (r.status != 0)
                finish(id, r);
        }
    }
}

// An agent restarted with a new engine identifier may ignore messages for
// the old one. Once an exchange has waited one time-out its agent's
// identity is checked beside it, so that a new identity is learnt (and the
// exchange sent again) within the exchange's own time, never on top of it.
void KtSnmpEngine::Private::askIdentity(const QString &agent, Channel *channel)
{
    Agent &a = agents[agent];
    if (!a.engineId.isEmpty() && !a.quiet && a.checking.isEmpty() && a.probe == 0) {
        a.checking = a.engineId;
        identityChecks.append({agent, channel});
    }
}

void KtSnmpEngine::Private::checkSilentExchanges()
{
    for (Ticket &t : tickets) {
        if (t.discovery || t.identityAsked || t.target.version != 3 || t.target.retries == 0 || !t.sent.isValid()
            || t.sent.elapsed() < qint64(qMax<quint32>(t.target.timeout, 1)) * 10)
            continue;
        t.identityAsked = true;
        askIdentity(t.agent, t.channel);
    }
}

quint64 KtSnmpEngine::Send(const KtSnmpTarget &target, KtPduCommand command, const QList<KtVarBind> &vbs,
                           Handler handler, int repetitions)
{
    d->validate(target);
    // Version 1 has no get-bulk.
    if (command == KtPduCommand::GetBulk && target.version == 0)
        raiseStatus(StInvalidTarget);
    Open();
    Private::Ticket t;
    t.handler = std::move(handler);
    t.target = target;
    t.command = command;
    t.repetitions = repetitions;
    t.vbs = vbs;
    t.agent = Private::agentKey(target);
    t.channel = d->channelFor(target);
    const quint64 id = d->nextId++;
    d->tickets.insert(id, t);

    if (target.version == 3 && d->agents.value(t.agent).engineId.isEmpty()) {
        Private::Agent &a = d->agents[t.agent];
        a.waiting.append(id);
        if (a.probe == 0) {
            const int status = d->startProbe(t.agent, t.channel);
            if (status != 0) {
                a.waiting.removeAll(id);
                d->tickets.remove(id);
                raiseStatus(status);
            }
        }
        return id;
    }
    const int status = d->transmit(id);
    if (status != 0) {
        d->tickets.remove(id);
        raiseStatus(status);
    }
    return id;
}

KtPduResult KtSnmpEngine::Exchange(const KtSnmpTarget &target, KtPduCommand command,
                                   const QList<KtVarBind> &vbs, int repetitions)
{
    KtPduResult out;
    bool done = false;
    const quint64 id = Send(target, command, vbs, [&out, &done](const KtPduResult &r) {
        out = r;
        done = true;
    }, repetitions);
    MakeImmediate(id);
    while (!done)
        d->waitOnce(10);
    return out;
}

quint64 KtSnmpEngine::Post(const KtPduResult &result, Handler handler)
{
    const quint64 id = d->nextId++;
    d->deliveries.append({id, std::move(handler), result});
    if (d->wakeHook)
        d->wakeHook();
    return id;
}

void KtSnmpEngine::Detach(quint64 ticket)
{
    auto it = d->tickets.find(ticket);
    if (it != d->tickets.end())
        it->detached = true;
}

void KtSnmpEngine::MakeImmediate(quint64 ticket)
{
    auto it = d->tickets.find(ticket);
    if (it != d->tickets.end())
        it->immediate = true;
}

bool KtSnmpEngine::Sent(quint64 ticket) const
{
    auto it = d->tickets.constFind(ticket);
    return it == d->tickets.constEnd() || it->sent.isValid();
}

bool KtSnmpEngine::DropQueued(quint64 ticket)
{
    for (int i = 0; i < d->deliveries.size(); ++i) {
        if (d->deliveries.at(i).ticket == ticket) {
            d->deliveries.removeAt(i);
            return true;
        }
    }
    return false;
}

void KtSnmpEngine::Wait(int ms)
{
    d->waitOnce(ms);
}

void KtSnmpEngine::Private::readFd(Channel *c, int most)
{
    // Only read what is there: the socket is blocking. A bounded number of
    // datagrams per call keeps one busy socket from starving the rest.
    for (int n = 0; n < most && c->session; ++n) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(c->fd, &fds);
        timeval zero = {0, 0};
        if (select(c->fd + 1, &fds, nullptr, nullptr, &zero) <= 0)
            return;
        snmp_sess_read(c->session, &fds);
    }
}

void KtSnmpEngine::Private::waitOnce(int ms)
{
    fd_set fds;
    FD_ZERO(&fds);
    int maxFd = -1;
    for (auto &c : channels) {
        if (c->fd >= 0) {
            FD_SET(c->fd, &fds);
            maxFd = qMax(maxFd, c->fd);
        }
    }
    timeval tv = {0, ms * 1000};
    const int ready = select(maxFd + 1, &fds, nullptr, nullptr, &tv);
    // Copy: a callback may not open channels, but stay safe against it.
    std::vector<Channel *> list;
    for (auto &c : channels)
        list.push_back(c.get());
    if (ready > 0) {
        for (Channel *c : list)
            if (c->fd >= 0 && FD_ISSET(c->fd, &fds))
                readFd(c, 32);
    }
    for (Channel *c : list)
        snmp_sess_timeout(c->session);
    afterLibraryCall();
}

QList<int> KtSnmpEngine::Sockets() const
{
    QList<int> fds;
    for (auto &c : d->channels)
        fds.append(c->fd);
    return fds;
}

void KtSnmpEngine::SetSocketHook(std::function<void(int, bool)> hook)
{
    d->socketHook = std::move(hook);
}

void KtSnmpEngine::SetWakeHook(std::function<void()> hook)
{
    d->wakeHook = std::move(hook);
}

void KtSnmpEngine::ReadSocket(int fd)
{
    for (auto &c : d->channels) {
        if (c->fd == fd) {
            d->readFd(c.get(), 1);  // the notifier fires again while more wait
            break;
        }
    }
    d->afterLibraryCall();
}

void KtSnmpEngine::ReadAll()
{
    d->waitOnce(0);
}

void KtSnmpEngine::HandleTimeouts()
{
    std::vector<Private::Channel *> list;
    for (auto &c : d->channels)
        list.push_back(c.get());
    for (Private::Channel *c : list)
        snmp_sess_timeout(c->session);
    d->afterLibraryCall();
}

void KtSnmpEngine::Deliver()
{
    if (d->delivering)
        return;
    d->delivering = true;
    while (!d->deliveries.isEmpty()) {
        Private::Delivery next = d->deliveries.takeFirst();
        try {
            next.handler(next.result);
        } catch (const std::exception &e) {
            qCWarning(lcNetSnmp) << "answer handler failed:" << e.what();
        } catch (...) {
            qCWarning(lcNetSnmp) << "answer handler failed";
        }
    }
    d->delivering = false;
}

bool KtSnmpEngine::Delivering() const
{
    return d->delivering;
}

int KtSnmpEngine::Outstanding() const
{
    int n = 0;
    for (const auto &t : d->tickets)
        n += t.discovery ? 0 : 1;
    return n;
}

int KtSnmpEngine::Queued() const
{
    return int(d->deliveries.size());
}

quint64 KtSnmpEngine::PacketsSent() const
{
    return d->packets;
}
