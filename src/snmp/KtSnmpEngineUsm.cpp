#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/transform_oids.h>
#include <net-snmp/library/keytools.h>
#include <net-snmp/library/snmpusm.h>

#include "snmp/KtSnmpEngineParts.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"

#include <arpa/inet.h>

#include <cstring>

// Target checks, the sessions (channels) and the USM users and their keys.

using namespace KtSnmpEngineParts;

struct KtSnmpEngineParts::Protocol
{
    const oid *id;
    size_t len;
};

namespace {

// A protocol of Net-SNMP's, its identifier's length taken from the array.
template <size_t N>
Protocol protocol(const oid (&id)[N])
{
    return {id, N};
}

// The protocol codes of the user tables are the places here, from 1. No
// privacy protocol has code 3, and 9 (IDEA) is missing: Net-SNMP has no IDEA.
const Protocol AuthProtocols[] = {protocol(usmNoAuthProtocol),           protocol(usmHMACMD5AuthProtocol),
                                  protocol(usmHMACSHA1AuthProtocol),     protocol(usmHMAC128SHA224AuthProtocol),
                                  protocol(usmHMAC192SHA256AuthProtocol), protocol(usmHMAC256SHA384AuthProtocol),
                                  protocol(usmHMAC384SHA512AuthProtocol)};
const Protocol PrivProtocols[] = {protocol(usmNoPrivProtocol),     protocol(usmDESPrivProtocol), {nullptr, 0},
                                  protocol(usmAESPrivProtocol),    protocol(usmAES192PrivProtocol),
                                  protocol(usmAES256PrivProtocol)};

template <size_t N>
bool protocolOf(const Protocol (&table)[N], int code, Protocol &p)
{
    if (code < 1 || code > int(N) || !table[code - 1].id)
        return false;
    p = table[code - 1];
    return true;
}

bool authProtocol(int code, Protocol &p)
{
    return protocolOf(AuthProtocols, code, p);
}

bool privProtocol(int code, Protocol &p)
{
    return protocolOf(PrivProtocols, code, p);
}

// A level that asks for a protocol needs a known one other than the first ("none").
void requireProtocol(bool known, int code, int unknownStatus)
{
    if (!known)
        raiseStatus(unknownStatus);
    if (code == 1)
        raiseStatus(StUsmSecLevel);
}

} // namespace

bool KtSnmpEngine::SupportsPrivProtocol(int code)
{
    Protocol p;
    return privProtocol(code, p);
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
        requireProtocol(authProtocol(t.authProtocol, auth), t.authProtocol, StUsmAuthProtocol);
        ku(auth, t.authProtocol, t.authPassword, StUsmAuthError);
        if (t.securityLevel == 3) {
            Protocol priv;
            requireProtocol(privProtocol(t.privProtocol, priv), t.privProtocol, StUsmPrivProtocol);
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
