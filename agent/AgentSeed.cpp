#include "AgentSeed.h"

#include "values/KtTypes.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <sstream>

namespace {

std::string lower(std::string s)
{
    for (char &c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool has(const std::string &label, const char *word)
{
    return lower(label).find(word) != std::string::npos;
}

// Candidate values of one index part, chosen from its type and label.
std::vector<AgentValue> candidates(const AgentIndexPart &p, bool first)
{
    std::vector<AgentValue> out;
    const uint8_t tag = AgentSchema::TagOfType(p.type);
    const std::string &l = p.label;
    auto ints = [&](int a, int b) {
        for (int k = a; k <= b; ++k) {
            AgentValue v;
            v.tag = tag;
            v.number = k;
            out.push_back(v);
        }
    };
    switch (tag) {
    case AgentTag::Integer: case AgentTag::Gauge32: case AgentTag::Counter32: case AgentTag::TimeTicks:
        if (has(l, "port") && !has(l, "group"))
            ints(1, AgentSeed::PortCount);
        else if (has(l, "priority"))
            ints(0, 7);
        else if (has(l, "vlan") || has(l, "vid") || has(l, "unit") || has(l, "instance") || has(l, "inst id"))
            ints(has(l, "instance") || has(l, "inst id") ? 0 : 1, has(l, "instance") || has(l, "inst id") ? 0 : 1);
        else if (has(l, "time mark"))
            ints(0, 0);
        else if (has(l, "interface") || has(l, "if index"))
            ints(5120, 5120);
        else
            ints(1, first ? 2 : 1);
        break;
    case AgentTag::IpAddress:
        out.push_back(AgentValue::Ip(10, 90, 90, first ? 1 : 90));
        if (first)
            out.push_back(AgentValue::Ip(10, 90, 90, 2));
        break;
    case AgentTag::ObjectId:
        out.push_back(AgentValue::Oid({1, 3, 6, 1, 4, 1, 32473}));
        break;
    case AgentTag::Null:
        out.push_back(AgentValue());
        break;
    default: {
        AgentValue v;
        v.tag = AgentTag::OctetString;
        if (p.type == KtType::MacAddress)
            v.bytes = std::string("\x00\x1b\x11\x48\x10\x01", 6);
        else if (p.type == KtType::Ipv6Address)
            v.bytes = std::string("\xfe\x80\0\0\0\0\0\0\x02\x1b\x11\xff\xfe\x48\x10\x01", 16);
        else if (p.type == KtType::DisplayStr)
            v.bytes = has(l, "interface") || has(l, "if name") ? "System" : has(l, "user") ? "admin" : "default";
        else
            v.bytes = std::string("\x08\x00", 2);
        out.push_back(v);
    }
    }
    return out;
}

std::string portBitmap(bool all)
{
    // 28 ports, port 1 in the most significant bit of the first octet.
    return all ? std::string("\xff\xff\xff\xf0", 4) : std::string(4, '\0');
}

} // namespace

std::vector<AgentOid> AgentSeed::RowsOf(const AgentSchema &schema, const AgentTable &t)
{
    std::vector<AgentOid> rows;
    for (const std::string &r : schema.seedRows(t))
        if (auto o = ParseOid(r))
            rows.push_back(*o);
    if (!rows.empty() || t.index.empty())
        return rows;
    std::vector<std::vector<AgentValue>> combos{{}};
    for (size_t i = 0; i < t.index.size(); ++i) {
        std::vector<std::vector<AgentValue>> next;
        for (const auto &c : combos)
            for (const AgentValue &v : candidates(t.index[i], i == 0)) {
                auto n = c;
                n.push_back(v);
                next.push_back(std::move(n));
            }
        combos = std::move(next);
    }
    for (const auto &c : combos)
        if (auto o = AgentSchema::EncodeIndex(t, c))
            rows.push_back(*o);
    return rows;
}

AgentValue AgentSeed::ValueFor(const AgentObject &o, int row, const std::vector<AgentValue> *index)
{
    AgentValue v;
    v.tag = o.tag;
    if (o.indexPart >= 0 && index) {
        v = (*index)[size_t(o.indexPart)];
        v.tag = o.tag;
        return v;
    }
    const std::string &l = o.label;
    switch (o.tag) {
    case AgentTag::Integer:
        if (o.status == AgentStatusKind::RowStatus)
            v.number = 1;
        else if (o.status == AgentStatusKind::ValidInvalid)
            v.number = o.createValue;
        else if (!o.options.empty())
            v.number = o.options.front().first;
        else if (has(l, "port"))
            v.number = row + 1;
        else if (has(l, "priority"))
            v.number = 4;
        else if (has(l, "time") || has(l, "interval") || has(l, "age"))
            v.number = 300;
        else
            v.number = row + 1;
        break;
    case AgentTag::Counter32:
        v.number = int64_t((uint64_t(row) + 1) * 7919u % 100000u);
        break;
    case AgentTag::Counter64:
        v.number = int64_t((uint64_t(row) + 1) * 104729u);
        break;
    case AgentTag::Gauge32:
        v.number = has(l, "speed") ? 1000 : row + 1;
        break;
    case AgentTag::TimeTicks:
        v.number = 0;
        break;
    case AgentTag::IpAddress:
        v = AgentValue::Ip(10, 90, 90, uint8_t(1 + row % 250));
        break;
    case AgentTag::ObjectId:
        v.oid = {1, 3, 6, 1, 4, 1, 32473, 12, 11};
        break;
    case AgentTag::Null:
        break;
    default:
        if (o.type == KtType::MacAddress) {
            v.bytes = std::string("\x00\x1b\x11\x48\x10", 5) + char(0x10 + row % 200);
        } else if (o.type == KtType::Ipv6Address) {
            v.bytes = std::string(16, '\0');
        } else if (o.type == KtType::BitStr) {
            v.bytes = portBitmap(!has(l, "forbidden") && !has(l, "unknow"));
        } else if (o.type == KtType::DateTime) {
            v.bytes = std::string("\x07\xea\x0c\x08\x0a\x00\x00\x00+\x00\x00", 11);
        } else if (o.type == KtType::DisplayStr) {
            std::string base = l;
            while (!base.empty() && base.back() == ' ')
                base.pop_back();
            v.bytes = has(l, "name") ? "qsx-" + std::to_string(row + 1) : base + " " + std::to_string(row + 1);
            if (has(l, "password") || has(l, "key"))
                v.bytes = "secret" + std::to_string(row + 1);
        } else if (has(l, "bridge") || has(l, "root")) {
            v.bytes = std::string("\x80\x00\x00\x1b\x11\x48\x10\x00", 8);
        } else {
            v.bytes = std::string(1, '\0');
        }
        if (v.bytes.size() > o.limits.maxLength)
            v.bytes.resize(o.limits.maxLength);
        if (v.bytes.size() < o.limits.minLength)
            v.bytes.resize(o.limits.minLength, '\0');
    }
    if ((o.tag == AgentTag::Integer && o.options.empty()) || o.tag == AgentTag::Gauge32)
        v.number = o.limits.clamp(v.number);
    return v;
}

std::vector<AgentVarBind> AgentSeed::WithRows(const AgentSchema &schema, const std::vector<AgentVarBind> &records,
                                              const AgentOid &entry, int rows)
{
    const int ti = schema.tableIndex(entry);
    if (ti < 0 || rows < 0)
        return records;
    const AgentTable &t = schema.table(ti);
    std::vector<AgentVarBind> out;
    out.reserve(records.size() + size_t(rows) * t.columns.size());
    for (const auto &r : records)
        if (!OidStartsWith(r.first, entry))
            out.push_back(r);
    for (int row = 0; row < rows; ++row) {
        const AgentOid suffix{uint32_t(row + 1)};
        const auto index = schema.decodeIndex(t, suffix);
        for (int c : t.columns) {
            const AgentObject &o = schema.object(c);
            AgentOid inst = o.oid;
            inst.push_back(suffix[0]);
            out.emplace_back(inst, ValueFor(o, row, index ? &*index : nullptr));
        }
    }
    std::sort(out.begin(), out.end(), [](const AgentVarBind &a, const AgentVarBind &b) { return a.first < b.first; });
    return out;
}

std::vector<AgentVarBind> AgentSeed::Generate(const AgentSchema &schema)
{
    std::map<AgentOid, AgentValue> out;
    for (int i = 0; i < schema.objectCount(); ++i) {
        const AgentObject &o = schema.object(i);
        if (o.table >= 0 || !o.readable)
            continue;
        AgentOid inst = o.oid;
        inst.push_back(0);
        out[inst] = ValueFor(o, 0, nullptr);
    }
    for (int ti = 0; ti < schema.tableCount(); ++ti) {
        const AgentTable &t = schema.table(ti);
        int rowNo = 0;
        for (const AgentOid &suffix : RowsOf(schema, t)) {
            auto index = schema.decodeIndex(t, suffix);
            for (int c : t.columns) {
                const AgentObject &o = schema.object(c);
                AgentOid inst = o.oid;
                inst.insert(inst.end(), suffix.begin(), suffix.end());
                out[inst] = ValueFor(o, rowNo, index ? &*index : nullptr);
            }
            ++rowNo;
        }
    }
    return {out.begin(), out.end()};
}

std::vector<AgentVarBind> AgentSeed::Merge(const std::vector<AgentVarBind> &base,
                                           const std::vector<AgentVarBind> &overlay)
{
    std::map<AgentOid, AgentValue> out(base.begin(), base.end());
    for (const auto &[oid, v] : overlay)
        out[oid] = v;
    return {out.begin(), out.end()};
}

bool AgentSeed::IsSnapshot(const std::string &text, std::vector<AgentOid> *tablesWithoutRows)
{
    static const std::string signature = "# QSX-4810 configuration snapshot";
    if (text.compare(0, signature.size(), signature) != 0)
        return false;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        for (const char *key : {"# empty: ", "# absent: "}) {
            const std::string k(key);
            if (line.compare(0, k.size(), k) != 0)
                continue;
            const std::string rest = line.substr(k.size());
            if (auto oid = ParseOid(rest.substr(0, rest.find(' '))); oid && tablesWithoutRows)
                tablesWithoutRows->push_back(*oid);
        }
    }
    return true;
}

std::vector<AgentVarBind> AgentSeed::OverSnapshot(const AgentSchema &schema, const std::vector<AgentVarBind> &base,
                                                  const std::vector<AgentVarBind> &snapshot,
                                                  const std::vector<AgentOid> &tablesWithoutRows)
{
    // The table (entry OID) and row suffix of a column instance, if it is one.
    auto rowOf = [&](const AgentOid &oid) -> std::pair<int, AgentOid> {
        size_t length = 0;
        const AgentObject *o = schema.findObject(oid, &length);
        if (!o || o->table < 0 || length >= oid.size())
            return {-1, {}};
        return {o->table, AgentOid(oid.begin() + long(length), oid.end())};
    };
    std::map<int, std::set<AgentOid>> rows;   // tables the snapshot holds, with their rows
    for (const auto &[oid, v] : snapshot)
        if (auto [t, suffix] = rowOf(oid); t >= 0)
            rows[t].insert(suffix);
    for (const AgentOid &entry : tablesWithoutRows)
        if (int t = schema.tableIndex(entry); t >= 0)
            rows[t];
    std::vector<AgentVarBind> kept;
    kept.reserve(base.size());
    for (const auto &rec : base) {
        auto [t, suffix] = rowOf(rec.first);
        auto it = t >= 0 ? rows.find(t) : rows.end();
        if (it == rows.end() || it->second.count(suffix))
            kept.push_back(rec);
    }
    return Merge(kept, snapshot);
}
