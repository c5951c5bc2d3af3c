#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include "snmp/KtSnmpEngineParts.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"

#include <QDir>
#include <QFile>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

// The engine's life and its requests. Sessions and USM keys are in
// KtSnmpEngineUsm.cpp, PDUs and answers in KtSnmpEnginePdu.cpp, the pump and
// delivery in KtSnmpEnginePump.cpp.

Q_LOGGING_CATEGORY(lcNetSnmp, "qsx.snmp.netsnmp")

using namespace KtSnmpEngineParts;

void KtSnmpEngineParts::raiseStatus(int status)
{
    const KtStatusError e = StatusToError(status);
    throw KtException(e.code, e.text);
}

namespace {

constexpr const char *LibraryName = "qsx4810";

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

KtSnmpEngine &KtSnmpEngine::Instance()
{
    static KtSnmpEngine engine;
    return engine;
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
