#include "AgentStore.h"

#include "AgentDateTime.h"
#include "AgentRules.h"
#include "values/KtTypes.h"

#include <algorithm>
#include <limits>
#include <set>

int AgentError::ToV1(int status)
{
    switch (status) {
    case NoError: case TooBig: case NoSuchName: case BadValue: case ReadOnly: case GenErr:
        return status;
    case WrongValue: case WrongEncoding: case WrongType: case WrongLength: case InconsistentValue:
        return BadValue;
    case NoAccess: case NotWritable: case NoCreation: case InconsistentName: case AuthorizationError:
        return NoSuchName;
    default:
        return GenErr;
    }
}

void AgentStore::load(const std::vector<AgentVarBind> &records)
{
    m_map.clear();
    for (const auto &[oid, v] : records)
        m_map[oid] = v;
}

std::vector<AgentVarBind> AgentStore::snapshot() const
{
    return {m_map.begin(), m_map.end()};
}

const AgentValue *AgentStore::get(const AgentOid &oid) const
{
    auto it = m_map.find(oid);
    return it == m_map.end() ? nullptr : &it->second;
}

AgentValue *AgentStore::find(const AgentOid &oid)
{
    auto it = m_map.find(oid);
    return it == m_map.end() ? nullptr : &it->second;
}

const AgentStore::Map::value_type *AgentStore::next(const AgentOid &from, bool inclusive, const AgentOid &root) const
{
    auto it = inclusive ? m_map.lower_bound(from) : m_map.upper_bound(from);
    if (it != m_map.end() && from < root)
        it = m_map.lower_bound(root);
    if (it == m_map.end() || !OidStartsWith(it->first, root))
        return nullptr;
    return &*it;
}

AgentStore::Target AgentStore::target(const AgentOid &oid) const
{
    Target t;
    size_t len = 0;
    t.object = m_schema.findObject(oid, &len);
    if (t.object)
        t.suffix.assign(oid.begin() + long(len), oid.end());
    t.exists = m_map.count(oid) != 0;
    return t;
}

bool AgentStore::rowExists(const AgentTable &t, const AgentOid &suffix) const
{
    for (int c : t.columns) {
        AgentOid oid = m_schema.object(c).oid;
        oid.insert(oid.end(), suffix.begin(), suffix.end());
        if (m_map.count(oid))
            return true;
    }
    return false;
}

int AgentStore::checkValue(const AgentObject &o, const AgentValue &v) const
{
    if (v.tag != o.tag)
        return AgentError::WrongType;
    if (o.fixedLength && v.bytes.size() != o.fixedLength)
        return AgentError::WrongLength;
    if (v.tag == AgentTag::OctetString) {
        if (!o.limits.allowsLength(v.bytes.size()))
            return AgentError::WrongLength;
        if (o.type == KtType::DateTime)
            return AgentDateTime::Check(v.bytes);
    }
    if (v.tag == AgentTag::Integer && !o.allows(v.number))
        return AgentError::WrongValue;
    if ((v.tag == AgentTag::Gauge32 || v.tag == AgentTag::TimeTicks) && !o.limits.allowsNumber(v.number))
        return AgentError::WrongValue;
    return AgentError::NoError;
}

AgentStore::Check AgentStore::check(const std::vector<AgentVarBind> &vbs)
{
    Check c = checkEach(vbs);
    if (c.status == AgentError::NoError)
        c = AgentRules::Before(*this, vbs);
    if (c.status != AgentError::NoError)
        return c;
    const Undo u = apply(vbs);
    c = AgentRules::After(*this, vbs);
    undo(u);
    return c;
}

AgentStore::Check AgentStore::checkEach(const std::vector<AgentVarBind> &vbs) const
{
    // Row-status values set by this PDU, per row (table + suffix).
    std::map<std::pair<int, AgentOid>, int64_t> statusSets;
    std::vector<Target> targets;
    targets.reserve(vbs.size());
    for (const auto &[oid, v] : vbs) {
        Target t = target(oid);
        if (t.object && t.object->table >= 0 && t.object->status != AgentStatusKind::None
            && v.tag == AgentTag::Integer)
            statusSets[{t.object->table, t.suffix}] = v.number;
        targets.push_back(std::move(t));
    }
    std::set<AgentOid> seen;
    for (size_t i = 0; i < vbs.size(); ++i) {
        const auto &[oid, v] = vbs[i];
        const Target &t = targets[i];
        auto fail = [&](int status) { return Check{status, int(i)}; };
        if (!seen.insert(oid).second)
            return fail(AgentError::InconsistentValue);   // the same instance twice
        if (!t.object)
            return fail(t.exists ? AgentError::NotWritable : AgentError::NoCreation);
        const AgentObject &o = *t.object;
        if (!o.writable)
            return fail(t.exists ? AgentError::NotWritable : AgentError::NoCreation);
        if (o.table < 0) {
            if (t.suffix != AgentOid{0})
                return fail(AgentError::NoCreation);
            if (int e = checkValue(o, v))
                return fail(e);
            continue;
        }
        const AgentTable &tab = m_schema.table(o.table);
        if (int e = checkValue(o, v))
            return fail(e);
        const bool exists = rowExists(tab, t.suffix);
        if (o.status == AgentStatusKind::RowStatus) {
            const int64_t s = v.number;
            if (s == 3)   // notReady is never set by a manager
                return fail(AgentError::WrongValue);
            if (s == 4 || s == 5) {
                if (exists)
                    return fail(AgentError::InconsistentValue);
                if (int e = creatable(tab, t.suffix))
                    return fail(e);
            } else if ((s == 1 || s == 2) && !exists) {
                return fail(AgentError::InconsistentName);
            }
            continue;
        }
        if (o.status == AgentStatusKind::ValidInvalid) {
            if (v.number == o.createValue && !exists)
                if (int e = creatable(tab, t.suffix))
                    return fail(e);
            if (v.number != o.createValue && v.number != o.removeValue && !exists)
                return fail(AgentError::InconsistentName);
            continue;
        }
        if (exists) {
            // An existing row about to be destroyed in the same PDU takes no column values.
            auto st = statusSets.find({o.table, t.suffix});
            if (st != statusSets.end() && tab.statusObject >= 0) {
                const AgentObject &so = m_schema.object(tab.statusObject);
                const bool removes = so.status == AgentStatusKind::RowStatus ? st->second == 6
                                                                              : st->second == so.removeValue;
                if (removes)
                    return fail(AgentError::InconsistentValue);
            }
            if (o.indexPart >= 0)
                return fail(AgentError::NotWritable);
            continue;
        }
        // A missing row: only a creating status in the same PDU makes it.
        auto st = statusSets.find({o.table, t.suffix});
        bool creates = false;
        if (st != statusSets.end() && tab.statusObject >= 0) {
            const AgentObject &so = m_schema.object(tab.statusObject);
            creates = so.status == AgentStatusKind::RowStatus ? (st->second == 4 || st->second == 5)
                                                               : st->second == so.createValue;
        }
        if (!creates)
            return fail(tab.statusObject >= 0 ? AgentError::InconsistentName : AgentError::NoCreation);
    }
    return {};
}

int AgentStore::creatable(const AgentTable &t, const AgentOid &suffix) const
{
    const auto index = m_schema.decodeIndex(t, suffix);
    if (!index)
        return AgentError::InconsistentName;
    // An index outside its range names a row that can never exist.
    for (size_t i = 0; i < index->size(); ++i) {
        const AgentValue &v = (*index)[i];
        const AgentLimits &l = t.index[i].limits;
        const bool octets = v.tag == AgentTag::OctetString;
        if (octets ? !l.allowsLength(v.bytes.size()) : (v.tag != AgentTag::IpAddress && v.tag != AgentTag::ObjectId
                                                         && v.tag != AgentTag::Null && !l.allowsNumber(v.number)))
            return AgentError::NoCreation;
    }
    return AgentError::NoError;
}

AgentValue AgentStore::defaultValue(const AgentObject &o) const
{
    AgentValue v;
    v.tag = o.tag;
    switch (o.tag) {
    case AgentTag::Integer:
        v.number = o.options.empty() ? 0 : o.options.front().first;
        break;
    case AgentTag::IpAddress:
        v.bytes = std::string(4, '\0');
        break;
    case AgentTag::ObjectId:
        v.oid = {0, 0};
        break;
    case AgentTag::OctetString:
        v.bytes = std::string(o.fixedLength, '\0');
        break;
    default:
        break;
    }
    return v;
}

void AgentStore::record(Undo &u, const AgentOid &oid)
{
    auto it = m_map.find(oid);
    u.old.emplace_back(oid, it == m_map.end() ? std::nullopt : std::optional<AgentValue>(it->second));
}

AgentStore::Undo AgentStore::apply(const std::vector<AgentVarBind> &vbs)
{
    Undo u;
    // Plain values first, then row creation and removal, so that a
    // createAndGo row gets the columns given in the same PDU.
    // Whether a row existed is decided before any value of the PDU lands.
    std::vector<std::pair<size_t, bool>> statusOrder;
    for (size_t i = 0; i < vbs.size(); ++i) {
        Target t = target(vbs[i].first);
        if (t.object && t.object->table >= 0 && t.object->status != AgentStatusKind::None)
            statusOrder.emplace_back(i, rowExists(m_schema.table(t.object->table), t.suffix));
    }
    for (size_t i = 0; i < vbs.size(); ++i) {
        const auto &[oid, v] = vbs[i];
        if (std::any_of(statusOrder.begin(), statusOrder.end(), [i](const auto &s) { return s.first == i; }))
            continue;
        record(u, oid);
        m_map[oid] = v;
    }
    for (const auto &[i, existed] : statusOrder) {
        const auto &[oid, v] = vbs[i];
        Target t = target(oid);
        const AgentObject &o = *t.object;
        const AgentTable &tab = m_schema.table(o.table);
        auto columnOid = [&](int c) {
            AgentOid co = m_schema.object(c).oid;
            co.insert(co.end(), t.suffix.begin(), t.suffix.end());
            return co;
        };
        const bool rowStatus = o.status == AgentStatusKind::RowStatus;
        const bool removes = rowStatus ? v.number == 6 : v.number == o.removeValue;
        const bool creates = rowStatus ? (v.number == 4 || v.number == 5) : v.number == o.createValue;
        if (removes) {
            for (int c : tab.columns) {
                AgentOid co = columnOid(c);
                if (m_map.count(co)) {
                    record(u, co);
                    m_map.erase(co);
                }
            }
            continue;
        }
        if (creates && !existed) {
            auto index = m_schema.decodeIndex(tab, t.suffix);
            for (int c : tab.columns) {
                AgentOid co = columnOid(c);
                if (m_map.count(co))
                    continue;
                const AgentObject &col = m_schema.object(c);
                AgentValue dv = col.indexPart >= 0 && index ? (*index)[size_t(col.indexPart)] : defaultValue(col);
                if (col.indexPart >= 0)
                    dv.tag = col.tag;
                record(u, co);
                m_map[co] = dv;
            }
        }
        AgentValue sv = v;
        if (rowStatus)
            sv.number = v.number == 5 || v.number == 2 ? 2 : 1;
        record(u, oid);
        m_map[oid] = sv;
    }
    return u;
}

void AgentStore::undo(const Undo &u)
{
    for (auto it = u.old.rbegin(); it != u.old.rend(); ++it) {
        if (it->second)
            m_map[it->first] = *it->second;
        else
            m_map.erase(it->first);
    }
}
