#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>

#include "AgentServer.h"

#include "AgentBuiltins.h"
#include "AgentRules.h"
#include "AgentSeed.h"
#include "SnmpRecFile.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

extern "C" {
extern netsnmp_session *main_session;
}

namespace {

volatile std::sig_atomic_t g_stop = 0;
AgentServer *g_server = nullptr;
int (*g_originalRecv)(netsnmp_transport *, void *, int, void **, int *) = nullptr;
int g_delayMs = 0;
int g_dropPercent = 0;
uint64_t g_requests = 0;   // datagrams taken in, counted only with --counters-per-request
std::mt19937 g_random(12345);

uint64_t nowMs()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

AgentOid fromNet(const oid *name, size_t len)
{
    AgentOid o(len);
    for (size_t i = 0; i < len; ++i)
        o[i] = uint32_t(name[i]);
    return o;
}

std::vector<oid> toNet(const AgentOid &o)
{
    return std::vector<oid>(o.begin(), o.end());
}

void setVar(netsnmp_variable_list *vb, const AgentValue &v)
{
    switch (v.tag) {
    case AgentTag::Integer: {
        long n = long(v.number);
        snmp_set_var_typed_value(vb, ASN_INTEGER, &n, sizeof n);
        break;
    }
    case AgentTag::Counter32: case AgentTag::Gauge32: case AgentTag::TimeTicks: {
        u_long n = u_long(uint32_t(v.number));
        snmp_set_var_typed_value(vb, v.tag, &n, sizeof n);
        break;
    }
    case AgentTag::Counter64: {
        struct counter64 c;
        c.high = u_long(v.unsignedValue() >> 32);
        c.low = u_long(v.unsignedValue() & 0xffffffffu);
        snmp_set_var_typed_value(vb, ASN_COUNTER64, &c, sizeof c);
        break;
    }
    case AgentTag::ObjectId: {
        auto o = toNet(v.oid);
        snmp_set_var_typed_value(vb, ASN_OBJECT_ID, o.data(), o.size() * sizeof(oid));
        break;
    }
    case AgentTag::Null:
        snmp_set_var_typed_value(vb, ASN_NULL, nullptr, 0);
        break;
    default:
        snmp_set_var_typed_value(vb, v.tag, v.bytes.data(), v.bytes.size());
    }
}

AgentValue fromVar(const netsnmp_variable_list *vb)
{
    AgentValue v;
    v.tag = vb->type;
    switch (vb->type) {
    case ASN_INTEGER:
        v.number = vb->val.integer ? int64_t(int32_t(*vb->val.integer)) : 0;
        break;
    case ASN_COUNTER: case ASN_GAUGE: case ASN_TIMETICKS:
        v.number = vb->val.integer ? int64_t(uint32_t(*vb->val.integer)) : 0;
        break;
    case ASN_COUNTER64:
        if (vb->val.counter64)
            v.number = int64_t((uint64_t(vb->val.counter64->high) << 32) | uint32_t(vb->val.counter64->low));
        break;
    case ASN_OBJECT_ID:
        if (vb->val.objid)
            v.oid = fromNet(vb->val.objid, vb->val_len / sizeof(oid));
        break;
    case ASN_NULL:
        break;
    default:
        if (vb->val.string)
            v.bytes.assign(reinterpret_cast<const char *>(vb->val.string), vb->val_len);
    }
    return v;
}

void freeUndo(void *p)
{
    delete static_cast<AgentStore::Undo *>(p);
}

std::vector<AgentVarBind> collect(netsnmp_request_info *requests)
{
    std::vector<AgentVarBind> vbs;
    for (netsnmp_request_info *r = requests; r; r = r->next)
        vbs.emplace_back(fromNet(r->requestvb->name, r->requestvb->name_length), fromVar(r->requestvb));
    return vbs;
}

int handleRequests(netsnmp_mib_handler *, netsnmp_handler_registration *reg,
                   netsnmp_agent_request_info *reqinfo, netsnmp_request_info *requests)
{
    AgentServer *server = static_cast<AgentServer *>(reg->my_reg_void);
    AgentStore &store = server->store();
    const AgentOid root = fromNet(reg->rootoid, reg->rootoid_len);
    const bool v1 = reqinfo->asp && reqinfo->asp->pdu && reqinfo->asp->pdu->version == SNMP_VERSION_1;
    switch (reqinfo->mode) {
    case MODE_GET:
        server->refresh();
        for (netsnmp_request_info *r = requests; r; r = r->next) {
            if (r->processed)
                continue;
            const AgentOid name = fromNet(r->requestvb->name, r->requestvb->name_length);
            if (const AgentValue *v = store.get(name))
                setVar(r->requestvb, *v);
            else
                netsnmp_set_request_error(reqinfo, r, store.schema().findObject(name) ? SNMP_NOSUCHINSTANCE
                                                                                       : SNMP_NOSUCHOBJECT);
        }
        break;
    case MODE_GETNEXT:
        server->refresh();
        for (netsnmp_request_info *r = requests; r; r = r->next) {
            if (r->processed)
                continue;
            const AgentOid name = fromNet(r->requestvb->name, r->requestvb->name_length);
            // Left untouched when nothing follows here: the agent then asks the next registration.
            if (const auto *e = store.next(name, r->inclusive != 0, root)) {
                auto o = toNet(e->first);
                snmp_set_var_objid(r->requestvb, o.data(), o.size());
                setVar(r->requestvb, e->second);
            }
        }
        break;
    case MODE_SET_RESERVE1: {
        const auto vbs = collect(requests);
        const AgentStore::Check c = store.check(vbs);
        if (c.status != AgentError::NoError) {
            netsnmp_request_info *r = requests;
            for (int i = 0; i < c.index && r; ++i)
                r = r->next;
            netsnmp_set_request_error(reqinfo, r ? r : requests, v1 ? AgentError::ToV1(c.status) : c.status);
        }
        break;
    }
    case MODE_SET_ACTION: {
        auto *undo = new AgentStore::Undo(store.apply(collect(requests)));
        netsnmp_request_add_list_data(requests, netsnmp_create_data_list("qsx-undo", undo, freeUndo));
        break;
    }
    case MODE_SET_UNDO:
        if (auto *undo = static_cast<AgentStore::Undo *>(netsnmp_request_get_list_data(requests, "qsx-undo")))
            store.undo(*undo);
        break;
    case MODE_SET_COMMIT:
        server->deviceActions(collect(requests));
        break;
    default:
        break;
    }
    return SNMP_ERR_NOERROR;
}

int faultyRecv(netsnmp_transport *t, void *buf, int size, void **opaque, int *olength)
{
    int n = g_originalRecv(t, buf, size, opaque, olength);
    if (n <= 0)
        return n;
    if (g_dropPercent > 0 && int(g_random() % 100) < g_dropPercent) {
        SNMP_FREE(*opaque);
        *olength = 0;
        errno = EAGAIN;
        return -1;
    }
    if (g_delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(g_delayMs));
    ++g_requests;
    return n;
}

void onSignal(int)
{
    AgentServer::stop();
}

bool makeDirs(const std::string &path)
{
    std::string cur;
    size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        cur = path.substr(0, pos);
        if (cur.empty())
            continue;
        if (::mkdir(cur.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

bool fileExists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

AgentServer::AgentServer(const AgentOptions &options, const AgentSchema &schema)
    : m_options(options), m_schema(schema), m_store(schema), m_live(m_store)
{
    if (m_options.stateDir.empty())
        m_options.stateDir = AgentOptions::DefaultStateDir();
    g_server = this;
}

AgentServer::~AgentServer()
{
    if (m_opened) {
        snmp_shutdown(Name);
        shutdown_agent();
    }
    g_server = nullptr;
}

void AgentServer::stop()
{
    g_stop = 1;
}

std::string AgentServer::savedStatePath() const
{
    return m_options.stateDir + "/saved.snmprec";
}

std::string AgentServer::configPath() const
{
    return m_options.stateDir + "/" + Name + ".conf";
}

namespace {

std::string joinLines(const std::vector<std::string> &lines)
{
    std::string all;
    for (const auto &l : lines)
        all += l + "\n";
    return all;
}

} // namespace

std::string AgentServer::loadInitialData()
{
    std::string seedPath = m_options.seed;
    // A snapshot written by the module holds only the configuration: it is
    // laid over the built-in seed, which supplies everything else.
    std::vector<AgentOid> tablesWithoutRows;
    std::optional<std::vector<AgentVarBind>> snapshot;
    if (!seedPath.empty()) {
        std::ifstream in(seedPath, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        if (AgentSeed::IsSnapshot(text.str(), &tablesWithoutRows)) {
            auto r = SnmpRecFile::ParseText(text.str(), seedPath);
            if (!r.errors.empty())
                return "the seed file has errors; nothing was loaded:\n" + joinLines(r.errors);
            snapshot = std::move(r.records);
            seedPath.clear();
        }
    }
    // The seed beside the program first: an installed agent must not pick
    // up a build tree that happens to be left on the machine.
    if (seedPath.empty()) {
        char exe[4096];
        ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
        if (n > 0) {
            exe[n] = 0;
            std::string dir(exe);
            dir = dir.substr(0, dir.rfind('/'));
            if (fileExists(dir + "/qsx4810.snmprec"))
                seedPath = dir + "/qsx4810.snmprec";
        }
    }
#ifdef QSX_AGENT_DEFAULT_SEED
    if (seedPath.empty() && fileExists(QSX_AGENT_DEFAULT_SEED))
        seedPath = QSX_AGENT_DEFAULT_SEED;
#endif
    if (seedPath.empty()) {
        m_seed = AgentSeed::Generate(m_schema);
    } else {
        auto r = SnmpRecFile::Read(seedPath);
        if (!r.errors.empty())
            return "the seed file has errors; nothing was loaded:\n" + joinLines(r.errors);
        m_seed = std::move(r.records);
    }
    if (snapshot)
        m_seed = AgentSeed::OverSnapshot(m_schema, m_seed, *snapshot, tablesWithoutRows);
    const std::string saved = savedStatePath();
    if (m_options.factoryReset)
        ::unlink(saved.c_str());
    if (fileExists(saved)) {
        auto r = SnmpRecFile::Read(saved);
        if (!r.errors.empty())
            return "the saved state " + saved + " is damaged (use --factory-reset to start from the seed):\n"
                + joinLines(r.errors);
        m_store.load(r.records);
    } else {
        m_store.load(m_seed);
    }
    return {};
}

std::string AgentServer::writeConfig()
{
    std::string c;
    c += "# Written by qsx4810-agent at every start; edits are overwritten.\n";
    for (const char *suffix : {"", "6"}) {
        c += std::string("rocommunity") + suffix + " " + ReadCommunity + " default\n";
        c += std::string("rwcommunity") + suffix + " " + WriteCommunity + " default\n";
    }
    struct User { const char *name, *auth, *priv; };
    static const User users[] = {
        {"noAuthUser", nullptr, nullptr},
        {"MD5_User", "MD5", nullptr},
        {"MD5_DES_User", "MD5", "DES"},
        {"SHA_User", "SHA", nullptr},
        {"SHA_DES_User", "SHA", "DES"},
        {"MD5_AES_User", "MD5", "AES"},
        {"SHA_AES_User", "SHA", "AES"},
    };
    for (const User &u : users) {
        c += std::string("createUser ") + u.name;
        if (u.auth)
            c += std::string(" ") + u.auth + " " + AuthPass;
        if (u.priv)
            c += std::string(" ") + u.priv + " " + PrivPass;
        c += "\n";
        c += std::string("rwuser ") + u.name + (u.auth ? " auth" : " noauth") + "\n";
    }
    std::string err;
    if (!SnmpRecFile::WriteAtomic(configPath(), c, &err))
        return err;
    // Users come from the configuration at every start; persisted copies would pile up.
    const std::string persisted = m_options.stateDir + "/persist/" + Name + ".conf";
    FILE *f = std::fopen(persisted.c_str(), "r");
    if (f) {
        std::string kept, line;
        char buf[4096];
        while (std::fgets(buf, sizeof buf, f)) {
            line = buf;
            if (line.rfind("usmUser ", 0) != 0)
                kept += line;
        }
        std::fclose(f);
        SnmpRecFile::WriteAtomic(persisted, kept, nullptr);
    }
    return {};
}

std::string AgentServer::start()
{
    if (!makeDirs(m_options.stateDir) || !makeDirs(m_options.stateDir + "/persist"))
        return "cannot create the state folder " + m_options.stateDir + ": " + std::strerror(errno);
    if (std::string e = loadInitialData(); !e.empty())
        return e;
    if (std::string e = writeConfig(); !e.empty())
        return e;

    ::setenv("MIBS", "", 1);
    ::setenv("MIBDIRS", "", 1);
    ::setenv("SNMP_PERSISTENT_DIR", (m_options.stateDir + "/persist").c_str(), 1);
    // An inherited configuration path would hide the agent's own configuration
    // (communities, users) and its persistent engine identity.
    ::setenv("SNMPCONFPATH", (m_options.stateDir + ":" + m_options.stateDir + "/persist").c_str(), 1);
    if (!m_options.quiet)
        snmp_enable_stderrlog();
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 0);
    // One log line per request would cost more than answering it.
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_DONT_LOG_TCPWRAPPERS_CONNECTS, 1);
    netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_PORTS, m_options.listen.c_str());
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_CONFIGURATION_DIR, m_options.stateDir.c_str());
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR,
                          (m_options.stateDir + "/persist").c_str());
    if (m_options.v1Strict) {
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_V2c, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_V3, 1);
    }
    // A switch fills a get-bulk answer up to its message size; the library
    // would stop at 100 varbinds (ten rows of a ten-column table).
    netsnmp_ds_set_int(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_MAX_GETBULKRESPONSES, 2000);
    // Without this the library opens SMUX on TCP port 199 of every address.
    add_to_init_list(const_cast<char *>("-smux"));
    if (init_agent(Name) != 0)
        return "the Net-SNMP agent library did not start";
    m_opened = true;

    std::set<AgentOid> roots{{1, 0}, {1, 3}};
    for (const auto &[o, v] : m_store.snapshot())
        if (o.size() >= 2)
            roots.insert({o[0], o[1]});
    for (const AgentOid &root : roots) {
        auto r = toNet(root);
        netsnmp_handler_registration *reg = netsnmp_create_handler_registration(
            "qsx4810", handleRequests, r.data(), r.size(), HANDLER_CAN_RWRITE);
        reg->my_reg_void = this;
        if (netsnmp_register_handler(reg) != MIB_REGISTERED_OK)
            return "cannot register " + OidToText(root);
    }
    init_snmp(Name);
    if (init_master_agent() != 0 || !main_session)
        return "cannot listen on " + m_options.listen;
    if (m_options.delayMs > 0 || m_options.dropPercent > 0 || m_options.countersPerRequest) {
        g_delayMs = m_options.delayMs;
        g_dropPercent = m_options.dropPercent;
        netsnmp_transport *t = snmp_sess_transport(snmp_sess_pointer(main_session));
        if (t && t->f_recv) {
            g_originalRecv = t->f_recv;
            t->f_recv = faultyRecv;
        }
    }
    m_live.setLedFault(m_options.ledFault);
    m_live.setStepped(m_options.countersPerRequest);
    m_live.boot(nowMs());
    m_lastRefreshMs = 0;
    refresh();
    return {};
}

void AgentServer::run()
{
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!g_stop)
        agent_check_and_process(1);
}

void AgentServer::refresh()
{
    const uint64_t now = nowMs();
    // Counters that move per request move for every one, however close they come.
    const uint64_t requests = m_options.countersPerRequest ? g_requests : 0;
    if (m_lastRefreshMs && now - m_lastRefreshMs < 20 && requests == m_requestsCounted)
        return;
    m_lastRefreshMs = now;
    if (requests != m_requestsCounted) {
        m_live.step(double(requests - m_requestsCounted));
        m_requestsCounted = requests;
    }
    // The library's real figures count in the snmp group, beside the traffic of other managers.
    static const std::pair<int, int> stats[] = {
        {1, STAT_SNMPINPKTS}, {2, STAT_SNMPOUTPKTS}, {3, STAT_SNMPINBADVERSIONS},
        {4, STAT_SNMPINBADCOMMUNITYNAMES}, {5, STAT_SNMPINBADCOMMUNITYUSES},
        {6, STAT_SNMPINASNPARSEERRS}, {8, STAT_SNMPINTOOBIGS}, {9, STAT_SNMPINNOSUCHNAMES},
        {10, STAT_SNMPINBADVALUES}, {11, STAT_SNMPINREADONLYS}, {12, STAT_SNMPINGENERRS},
        {13, STAT_SNMPINTOTALREQVARS}, {14, STAT_SNMPINTOTALSETVARS}, {15, STAT_SNMPINGETREQUESTS},
        {16, STAT_SNMPINGETNEXTS}, {17, STAT_SNMPINSETREQUESTS}, {18, STAT_SNMPINGETRESPONSES},
        {19, STAT_SNMPINTRAPS}, {20, STAT_SNMPOUTTOOBIGS}, {21, STAT_SNMPOUTNOSUCHNAMES},
        {22, STAT_SNMPOUTBADVALUES}, {24, STAT_SNMPOUTGENERRS}, {25, STAT_SNMPOUTGETREQUESTS},
        {26, STAT_SNMPOUTGETNEXTS}, {27, STAT_SNMPOUTSETREQUESTS}, {28, STAT_SNMPOUTGETRESPONSES},
        {29, STAT_SNMPOUTTRAPS},
    };
    for (const auto &[arc, stat] : stats)
        m_live.setAgentStatistic(uint32_t(arc), uint32_t(snmp_get_statistic(stat)));
    m_live.update(now);
    m_live.updateClock(int64_t(::time(nullptr)), now);
    u_char engineId[64];
    const size_t idLen = snmpv3_get_engineID(engineId, sizeof engineId);
    m_store.put({1, 3, 6, 1, 6, 3, 10, 2, 1, 1, 0},
                AgentValue::Octets(std::string(reinterpret_cast<char *>(engineId), idLen)));
    m_store.put({1, 3, 6, 1, 6, 3, 10, 2, 1, 2, 0}, AgentValue::Integer(int64_t(snmpv3_local_snmpEngineBoots())));
    m_store.put({1, 3, 6, 1, 6, 3, 10, 2, 1, 3, 0}, AgentValue::Integer(int64_t(snmpv3_local_snmpEngineTime())));
    m_store.put({1, 3, 6, 1, 6, 3, 10, 2, 1, 4, 0}, AgentValue::Integer(65507));
}

bool AgentServer::save()
{
    m_store.put(*ParseOid(AgentOids::SaveStatus), AgentValue::Integer(3));
    std::string err;
    if (!SnmpRecFile::WriteAtomic(savedStatePath(), SnmpRecFile::Format(m_store.snapshot()), &err)) {
        snmp_log(LOG_ERR, "save failed: %s\n", err.c_str());
        m_store.put(*ParseOid(AgentOids::SaveStatus), AgentValue::Integer(4));
        return false;
    }
    return true;
}

void AgentServer::loadSaved()
{
    const std::string saved = savedStatePath();
    auto r = fileExists(saved) ? SnmpRecFile::Read(saved) : SnmpRecFile::Result{};
    if (r.opened && r.errors.empty())
        m_store.load(r.records);
    else
        m_store.load(m_seed);
}

void AgentServer::reboot()
{
    loadSaved();
    m_live.boot(nowMs());
    m_lastRefreshMs = 0;
    refresh();
}

void AgentServer::deviceActions(const std::vector<AgentVarBind> &applied)
{
    static const AgentOid saveOid = *ParseOid(AgentOids::SaveConfig);
    static const AgentOid rebootOid = *ParseOid(AgentOids::Reboot);
    static const AgentOid systemResetOid = *ParseOid(AgentOids::SystemReset);
    static const AgentOid resetOid = *ParseOid(AgentOids::Reset);
    AgentRules::Follow(m_store, applied);
    bool doSave = false, doReboot = false, toSaved = false, toFactory = false;
    for (const auto &[o, v] : applied) {
        if (v.tag != AgentTag::Integer)
            continue;
        doSave = doSave || (o == saveOid && v.number == 3);
        doReboot = doReboot || (o == rebootOid && v.number == 1) || (o == systemResetOid && v.number == 3)
                   || (o == resetOid && (v.number == 3 || v.number == 4));
        toSaved = toSaved || (o == resetOid && v.number == 2);
        toFactory = toFactory || (o == resetOid && v.number == 4);
    }
    if (doSave)
        save();
    if (toFactory) {
        // Factory defaults: the seed becomes the saved data too.
        std::string err;
        if (!SnmpRecFile::WriteAtomic(savedStatePath(), SnmpRecFile::Format(m_seed), &err))
            snmp_log(LOG_ERR, "factory reset failed: %s\n", err.c_str());
    }
    if (doReboot) {
        reboot();
    } else if (toSaved) {
        loadSaved();
        m_live.dataReloaded();
    }
    // The reset objects are triggers: they read "none" / "no-reset" afterwards.
    if (AgentValue *v = m_store.find(resetOid))
        v->number = 1;
    if (AgentValue *v = m_store.find(systemResetOid))
        v->number = 4;
    // A clock or admin status just set takes effect now, not at the next read.
    m_lastRefreshMs = 0;
    refresh();
}
