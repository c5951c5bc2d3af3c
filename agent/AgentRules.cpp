#include "AgentRules.h"

#include "AgentBuiltins.h"
#include "AgentDateTime.h"

#include <set>

namespace {

AgentOid oidOf(const std::string &text)
{
    return *ParseOid(text);
}

AgentOid column(const std::string &entry, uint32_t col, const AgentOid &suffix = {})
{
    AgentOid o = oidOf(entry);
    o.push_back(col);
    o.insert(o.end(), suffix.begin(), suffix.end());
    return o;
}

// Row suffixes of a table, found through one of its columns.
std::vector<AgentOid> rowsOf(const AgentStore &store, const AgentOid &columnOid)
{
    std::vector<AgentOid> rows;
    for (const auto *e = store.next(columnOid, false, columnOid); e; e = store.next(e->first, false, columnOid))
        rows.emplace_back(e->first.begin() + long(columnOid.size()), e->first.end());
    return rows;
}

bool under(const AgentOid &oid, const AgentOid &columnOid, AgentOid *suffix = nullptr)
{
    if (oid.size() <= columnOid.size() || !OidStartsWith(oid, columnOid))
        return false;
    if (suffix)
        suffix->assign(oid.begin() + long(columnOid.size()), oid.end());
    return true;
}

int64_t number(const AgentStore &store, const AgentOid &oid, int64_t fallback)
{
    const AgentValue *v = store.get(oid);
    return v ? v->number : fallback;
}

// IP interface table columns.
enum : uint32_t { IfIndexCol = 2, IfNameCol = 3, IfMaskCol = 4, IfStateCol = 8 };
// Member switch table columns.
enum : uint32_t { MsName = 2, MsMac = 3, MsFirmware = 4, MsCapability = 5, MsPlatform = 6, MsHoldtime = 7, MsStatus = 10 };

void syncIpAddresses(AgentStore &store)
{
    const AgentOid indexCol = column(AgentOids::IpInterfaceEntry, IfIndexCol);
    const std::vector<AgentOid> rows = rowsOf(store, indexCol);
    std::set<int64_t> used;
    std::vector<AgentOid> unassigned;
    for (const AgentOid &r : rows) {
        const int64_t ix = number(store, column(AgentOids::IpInterfaceEntry, IfIndexCol, r), 0);
        if (ix <= 0 || !used.insert(ix).second)
            unassigned.push_back(r);
    }
    int64_t next = AgentRules::SystemIfIndex + 1;
    for (const AgentOid &r : unassigned) {
        while (used.count(next))
            ++next;
        used.insert(next);
        store.put(column(AgentOids::IpInterfaceEntry, IfIndexCol, r), AgentValue::Integer(next));
    }
    // The address table holds exactly the interfaces' addresses.
    const AgentOid addrCol = column(AgentOids::IpAddrEntry, 1);
    const std::set<AgentOid> keep(rows.begin(), rows.end());
    for (const AgentOid &r : rowsOf(store, addrCol))
        if (!keep.count(r))
            for (uint32_t c = 1; c <= 5; ++c)
                store.erase(column(AgentOids::IpAddrEntry, c, r));
    for (const AgentOid &r : rows) {
        if (r.size() != 4)
            continue;
        const AgentValue *mask = store.get(column(AgentOids::IpInterfaceEntry, IfMaskCol, r));
        store.put(column(AgentOids::IpAddrEntry, 1, r), AgentValue::Ip(uint8_t(r[0]), uint8_t(r[1]), uint8_t(r[2]), uint8_t(r[3])));
        store.put(column(AgentOids::IpAddrEntry, 2, r),
                  AgentValue::Integer(number(store, column(AgentOids::IpInterfaceEntry, IfIndexCol, r), 0)));
        store.put(column(AgentOids::IpAddrEntry, 3, r), mask ? *mask : AgentValue::Ip(255, 255, 255, 0));
        store.put(column(AgentOids::IpAddrEntry, 4, r), AgentValue::Integer(1));
        store.put(column(AgentOids::IpAddrEntry, 5, r), AgentValue::Integer(65535));
    }
}

// What a member switch announces about itself once it has joined.
void fillMember(AgentStore &store, const AgentOid &suffix)
{
    const uint32_t id = suffix.empty() ? 0 : suffix[0];
    auto fill = [&](uint32_t col, const AgentValue &v) {
        const AgentOid o = column(AgentOids::MemberSwitchEntry, col, suffix);
        const AgentValue *cur = store.get(o);
        const bool blank = !cur || (cur->tag == AgentTag::Integer ? cur->number == 0
                                                                   : cur->bytes.find_first_not_of('\0') == std::string::npos);
        if (blank)
            store.put(o, v);
    };
    fill(MsName, AgentValue::Octets("QSX-4810-MS" + std::to_string(id)));
    fill(MsMac, AgentValue::Octets(std::string("\x00\x1b\x11\x48\x20", 5) + char(id & 0xff)));
    fill(MsFirmware, AgentValue::Octets("4.50.B012"));
    fill(MsCapability, AgentValue::Octets("L2 Switch"));
    fill(MsPlatform, AgentValue::Octets("QSX-4810 L3 Switch"));
    fill(MsHoldtime, AgentValue::Integer(100));
}

} // namespace

AgentStore::Check AgentRules::Before(const AgentStore &store, const std::vector<AgentVarBind> &pdu)
{
    const AgentOid stateCol = column(AgentOids::IpInterfaceEntry, IfStateCol);
    for (size_t i = 0; i < pdu.size(); ++i) {
        AgentOid suffix;
        const auto &[oid, v] = pdu[i];
        if (!under(oid, stateCol, &suffix) || v.tag != AgentTag::Integer || v.number != 6)
            continue;
        const AgentValue *name = store.get(column(AgentOids::IpInterfaceEntry, IfNameCol, suffix));
        if (name && name->bytes == "System")
            return {AgentError::InconsistentValue, int(i)};
    }
    return {};
}

AgentStore::Check AgentRules::After(const AgentStore &store, const std::vector<AgentVarBind> &pdu)
{
    const AgentOid stp = oidOf(AgentOids::StpGroup);
    auto stpValue = [&](uint32_t arc) { return number(store, column(AgentOids::StpGroup, arc, {0}), -1); };
    const AgentOid bootpState = column(AgentOids::BootpServerEntry, 3);
    const AgentOid clock = oidOf(AgentOids::Clock);
    for (size_t i = 0; i < pdu.size(); ++i) {
        const AgentOid &oid = pdu[i].first;
        if (oid == clock) {
            // The zone of an 11-octet clock becomes the Time Zone, so it must be one.
            const auto d = AgentDateTime::Decode(pdu[i].second.bytes);
            const AgentObject *zone = store.schema().findObject(oidOf(AgentOids::TimeZone));
            if (d && d->zoneMinutes && zone && !zone->allows(*d->zoneMinutes))
                return {AgentError::WrongValue, int(i)};
        }
        if (oid.size() == stp.size() + 2 && OidStartsWith(oid, stp) && oid[stp.size()] >= 2 && oid[stp.size()] <= 5) {
            const int64_t version = stpValue(2), maxAge = stpValue(3), hello = stpValue(4), delay = stpValue(5);
            if (maxAge < 0 || hello < 0 || delay < 0)
                continue;
            const bool mstp = version == 2;
            if (maxAge > 2 * (delay - 100) || (!mstp && maxAge < 2 * (hello + 100)))
                return {AgentError::WrongValue, int(i)};
        }
        AgentOid suffix;
        if (under(oid, bootpState, &suffix) && !suffix.empty() && suffix[0] + 1 <= suffix.size()) {
            const AgentOid name(suffix.begin(), suffix.begin() + long(suffix[0] + 1));
            int servers = 0;
            for (const AgentOid &r : rowsOf(store, bootpState))
                servers += OidStartsWith(r, name) ? 1 : 0;
            if (servers > MaxBootpServers)
                return {AgentError::InconsistentValue, int(i)};
        }
    }
    return {};
}

void AgentRules::Follow(AgentStore &store, const std::vector<AgentVarBind> &applied)
{
    const AgentOid ipIf = oidOf(AgentOids::IpInterfaceEntry);
    const AgentOid msStatus = column(AgentOids::MemberSwitchEntry, MsStatus);
    bool interfaces = false;
    for (const auto &[oid, v] : applied) {
        interfaces = interfaces || OidStartsWith(oid, ipIf);
        AgentOid suffix;
        if (under(oid, msStatus, &suffix) && store.get(oid))
            fillMember(store, suffix);
    }
    if (interfaces)
        syncIpAddresses(store);
}
