#include "AgentSchema.h"

#include "errors/KtException.h"
#include "values/KtConstraintFormat.h"
#include "values/KtTypes.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numeric>
#include <sstream>

namespace {

std::string lower(std::string s)
{
    for (char &c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

bool AgentLimits::allowsNumber(int64_t v) const
{
    return v >= minimum && v <= maximum && (step == 0 || v % step == 0);
}

int64_t AgentLimits::clamp(int64_t v) const
{
    v = std::clamp(v, minimum, maximum);
    if (step > 0 && v % step != 0) {
        const int64_t up = v + (step - v % step);
        v = up <= maximum ? up : v - v % step;
    }
    return v;
}

void AgentLimits::narrow(const AgentLimits &o)
{
    minimum = std::max(minimum, o.minimum);
    maximum = std::min(maximum, o.maximum);
    minLength = std::max(minLength, o.minLength);
    maxLength = std::min(maxLength, o.maxLength);
    if (o.step)
        step = step ? std::lcm(step, o.step) : o.step;
}

std::string AgentLimits::narrowByFormat(const std::string &format, uint32_t type)
{
    KtConstraintFormat f;
    try {
        f = parseConstraint(QString::fromStdString(format));
    } catch (const KtException &) {
        return "bad edit format \"" + format + "\"";
    }
    AgentLimits l;
    if ((f.type == 'i' || f.type == 'u') && AgentSchema::TagOfType(type) != AgentTag::OctetString) {
        l.minimum = int64_t(std::ceil(f.minimum));
        l.maximum = int64_t(std::floor(f.maximum));
    } else if (f.type == 's' && type == KtType::DisplayStr && f.maxLength > 0) {
        l.maxLength = uint32_t(f.maxLength);
        if (f.hasFlag(KtConstraintFormat::Exact))
            l.minLength = l.maxLength;
    }
    narrow(l);
    return {};
}

AgentLimits AgentLimits::OfType(uint32_t type)
{
    AgentLimits l;
    auto range = [&l](int64_t lo, int64_t hi) { l.minimum = lo; l.maximum = hi; };
    switch (type) {
    case KtType::Integer: range(INT32_MIN, INT32_MAX); break;
    case KtType::Bool8: case KtType::Bool16: range(0, 1); break;
    case KtType::Int8: range(INT8_MIN, INT8_MAX); break;
    case KtType::UInt8: range(0, UINT8_MAX); break;
    case KtType::Int16: range(INT16_MIN, INT16_MAX); break;
    case KtType::UInt16: range(0, UINT16_MAX); break;
    case KtType::Gauge: case KtType::UInteger: case KtType::Counter: case KtType::TimeTicks: range(0, UINT32_MAX); break;
    case KtType::DisplayStr: l.maxLength = 255; break;
    case KtType::DateTime: l.minLength = 8; l.maxLength = 11; break;   // which lengths: AgentDateTime
    default: break;
    }
    if (const uint8_t n = AgentSchema::FixedLengthOfType(type))
        l.minLength = l.maxLength = n;
    return l;
}

bool AgentObject::allows(int64_t v) const
{
    if (!limits.allowsNumber(v))
        return false;
    if (options.empty())
        return true;
    return std::any_of(options.begin(), options.end(), [v](const auto &o) { return o.first == v; });
}

int64_t AgentObject::optionValue(const std::string &label) const
{
    const std::string l = lower(label);
    for (const auto &o : options)
        if (lower(o.second) == l)
            return o.first;
    return -1;
}

uint8_t AgentSchema::TagOfType(uint32_t type)
{
    switch (type) {
    case KtType::Boolean: case KtType::Integer:
    case KtType::Bool8: case KtType::Int8: case KtType::UInt8:
    case KtType::Bool16: case KtType::Int16: case KtType::UInt16:
        return AgentTag::Integer;
    case KtType::Null: return AgentTag::Null;
    case KtType::ObjectId: return AgentTag::ObjectId;
    case KtType::IpAddress: return AgentTag::IpAddress;
    case KtType::Counter: return AgentTag::Counter32;
    case KtType::Gauge: case KtType::UInteger: return AgentTag::Gauge32;
    case KtType::TimeTicks: return AgentTag::TimeTicks;
    case KtType::Opaque: return AgentTag::Opaque;
    case KtType::Counter64: return AgentTag::Counter64;
    default: return AgentTag::OctetString;
    }
}

uint8_t AgentSchema::FixedLengthOfType(uint32_t type)
{
    switch (type) {
    case KtType::MacAddress: return 6;
    case KtType::Ipv6Address: return 16;
    default: return 0;
    }
}

std::string AgentSchema::addGroup(const AgentGroup &group)
{
    auto root = ParseOid(group.root);
    if (!root)
        return "bad root OID \"" + group.root + "\"";
    if (group.indexCount == AgentGroup::RowsOnly) {
        m_rowsByEntry.emplace(*root, group.rows);
        return {};
    }
    const bool isTable = group.indexCount >= 0;
    int tableNo = -1;
    if (isTable) {
        auto it = m_tableByEntry.find(*root);
        if (it != m_tableByEntry.end())
            return {};   // the first definition of a table wins as a whole
        AgentTable t;
        t.entry = *root;
        t.rows = group.rows;
        if (int(group.vars.size()) < group.indexCount)
            return "table " + group.root + " has fewer variables than index parts";
        for (int i = 0; i < group.indexCount; ++i) {
            const auto &d = group.vars[size_t(i)];
            AgentIndexPart p;
            p.type = d.type;
            p.implied = (d.access & KtAccess::Implied) != 0;
            p.label = d.label;
            p.limits = AgentLimits::OfType(d.type);
            p.limits.narrow(d.limits);
            t.index.push_back(p);
        }
        m_tables.push_back(t);
        tableNo = int(m_tables.size()) - 1;
        m_tableByEntry[*root] = tableNo;
    }
    for (size_t i = 0; i < group.vars.size(); ++i) {
        const auto &d = group.vars[i];
        const bool blank = d.oid.find_first_not_of(' ') == std::string::npos;
        if (blank)
            continue;
        auto oid = ParseOid(d.oid);
        if (!oid)
            return "bad OID \"" + d.oid + "\" in " + group.root;
        const uint32_t acc = d.access;
        const bool readable = (acc & KtAccess::ReadOnly) != 0;
        if (!readable && !(acc & KtAccess::WriteOnly))
            continue;   // not-accessible index columns are never served
        if (m_byOid.count(*oid))
            continue;
        AgentObject o;
        o.oid = *oid;
        o.label = d.label;
        o.type = d.type;
        o.tag = TagOfType(d.type);
        o.fixedLength = FixedLengthOfType(d.type);
        o.readable = readable || (acc & KtAccess::WriteOnly);
        o.writable = (acc & KtAccess::WriteOnly) != 0;
        o.options = d.options;
        o.limits = AgentLimits::OfType(d.type);
        o.limits.narrow(d.limits);
        o.table = tableNo;
        if (o.tag == AgentTag::Integer && !o.options.empty() && o.writable) {
            const bool creates = o.optionValue("createAndGo") >= 0 || o.optionValue("createAndWait") >= 0;
            if (creates && o.optionValue("destroy") >= 0) {
                o.status = AgentStatusKind::RowStatus;
            } else if (tableNo >= 0 && o.optionValue("valid") >= 0 && o.optionValue("invalid") >= 0) {
                o.status = AgentStatusKind::ValidInvalid;
                o.createValue = o.optionValue("valid");
                o.removeValue = o.optionValue("invalid");
            } else if (tableNo >= 0 && o.optionValue("add") >= 0 && o.optionValue("delete") >= 0) {
                o.status = AgentStatusKind::ValidInvalid;
                o.createValue = o.optionValue("add");
                o.removeValue = o.optionValue("delete");
            }
        }
        if (tableNo >= 0 && int(i) < group.indexCount)
            o.indexPart = int(i);
        m_objects.push_back(o);
        const int objNo = int(m_objects.size()) - 1;
        m_byOid[*oid] = objNo;
        if (tableNo >= 0) {
            AgentTable &t = m_tables[size_t(tableNo)];
            t.columns.push_back(objNo);
            if (o.indexPart >= 0)
                t.index[size_t(o.indexPart)].column = objNo;
            if (o.status != AgentStatusKind::None && t.statusObject < 0)
                t.statusObject = objNo;
        }
    }
    if (tableNo >= 0) {
        AgentTable &t = m_tables[size_t(tableNo)];
        std::sort(t.columns.begin(), t.columns.end(),
                  [this](int a, int b) { return m_objects[size_t(a)].oid < m_objects[size_t(b)].oid; });
    }
    return {};
}

int AgentSchema::objectIndex(const AgentOid &oid) const
{
    auto it = m_byOid.find(oid);
    return it == m_byOid.end() ? -1 : it->second;
}

int AgentSchema::tableIndex(const AgentOid &entry) const
{
    auto it = m_tableByEntry.find(entry);
    return it == m_tableByEntry.end() ? -1 : it->second;
}

std::vector<std::string> AgentSchema::seedRows(const AgentTable &t) const
{
    if (!t.rows.empty())
        return t.rows;
    auto it = m_rowsByEntry.find(t.entry);
    return it == m_rowsByEntry.end() ? std::vector<std::string>{} : it->second;
}

const AgentObject *AgentSchema::findObject(const AgentOid &instance, size_t *objectLength) const
{
    AgentOid prefix = instance;
    while (prefix.size() > 1) {
        prefix.pop_back();
        auto it = m_byOid.find(prefix);
        if (it != m_byOid.end()) {
            if (objectLength)
                *objectLength = prefix.size();
            return &m_objects[size_t(it->second)];
        }
    }
    return nullptr;
}

std::optional<std::vector<AgentValue>> AgentSchema::decodeIndex(const AgentTable &t, const AgentOid &suffix) const
{
    std::vector<AgentValue> values;
    size_t pos = 0;
    for (size_t i = 0; i < t.index.size(); ++i) {
        const AgentIndexPart &p = t.index[i];
        const bool last = i + 1 == t.index.size();
        const size_t left = suffix.size() - pos;
        const uint8_t tag = TagOfType(p.type);
        AgentValue v;
        v.tag = tag;
        switch (tag) {
        case AgentTag::Integer:
            if (left < 1) return std::nullopt;
            v.number = int64_t(int32_t(suffix[pos++]));
            break;
        case AgentTag::Counter32: case AgentTag::Gauge32: case AgentTag::TimeTicks:
            if (left < 1) return std::nullopt;
            v.number = suffix[pos++];
            break;
        case AgentTag::IpAddress:
            if (left < 4) return std::nullopt;
            for (int k = 0; k < 4; ++k) {
                if (suffix[pos] > 255) return std::nullopt;
                v.bytes += char(suffix[pos++]);
            }
            break;
        case AgentTag::ObjectId: {
            size_t n = left;
            if (!(last && p.implied)) {
                if (left < 1) return std::nullopt;
                n = suffix[pos++];
                if (n > suffix.size() - pos) return std::nullopt;
            }
            v.oid.assign(suffix.begin() + long(pos), suffix.begin() + long(pos + n));
            pos += n;
            break;
        }
        case AgentTag::Null:
            break;
        default: {
            size_t n = left;
            const uint8_t fixed = FixedLengthOfType(p.type);
            if (fixed) {
                n = fixed;
                if (left < n) return std::nullopt;
            } else if (!(last && p.implied)) {
                if (left < 1) return std::nullopt;
                n = suffix[pos++];
                if (n > suffix.size() - pos) return std::nullopt;
            }
            for (size_t k = 0; k < n; ++k) {
                if (suffix[pos] > 255) return std::nullopt;
                v.bytes += char(suffix[pos++]);
            }
            break;
        }
        }
        values.push_back(v);
    }
    if (pos != suffix.size())
        return std::nullopt;
    return values;
}

std::optional<AgentOid> AgentSchema::EncodeIndex(const AgentTable &t, const std::vector<AgentValue> &values)
{
    if (values.size() != t.index.size())
        return std::nullopt;
    AgentOid out;
    for (size_t i = 0; i < values.size(); ++i) {
        const AgentIndexPart &p = t.index[i];
        const AgentValue &v = values[i];
        const bool last = i + 1 == values.size();
        switch (TagOfType(p.type)) {
        case AgentTag::Integer: case AgentTag::Counter32: case AgentTag::Gauge32: case AgentTag::TimeTicks:
            out.push_back(uint32_t(v.number));
            break;
        case AgentTag::IpAddress:
            if (v.bytes.size() != 4) return std::nullopt;
            for (unsigned char c : v.bytes) out.push_back(c);
            break;
        case AgentTag::ObjectId:
            if (!(last && p.implied)) out.push_back(uint32_t(v.oid.size()));
            out.insert(out.end(), v.oid.begin(), v.oid.end());
            break;
        case AgentTag::Null:
            break;
        default: {
            const uint8_t fixed = FixedLengthOfType(p.type);
            if (fixed && v.bytes.size() != fixed) return std::nullopt;
            if (!fixed && !(last && p.implied)) out.push_back(uint32_t(v.bytes.size()));
            for (unsigned char c : v.bytes) out.push_back(c);
        }
        }
    }
    return out;
}

namespace {

bool typeOfName(const std::string &name, uint32_t &type)
{
    static const std::pair<const char *, uint32_t> names[] = {
        {"boolean", KtType::Boolean}, {"integer", KtType::Integer}, {"bitstr", KtType::BitStr},
        {"octetstr", KtType::OctetStr}, {"null", KtType::Null}, {"objectid", KtType::ObjectId},
        {"ipaddress", KtType::IpAddress}, {"counter", KtType::Counter}, {"guage", KtType::Gauge},
        {"gauge", KtType::Gauge}, {"timeticks", KtType::TimeTicks}, {"opaque", KtType::Opaque},
        {"counter64", KtType::Counter64}, {"uinteger", KtType::UInteger},
        {"macaddress", KtType::MacAddress}, {"datetime", KtType::DateTime},
        {"displaystr", KtType::DisplayStr}, {"ipv6address", KtType::Ipv6Address},
    };
    for (const auto &[n, t] : names)
        if (name == n) {
            type = t;
            return true;
        }
    return false;
}

bool accessOfName(const std::string &name, uint32_t &access)
{
    if (name == "notaccess") access = KtAccess::NotAccess;
    else if (name == "notaccess+implied") access = KtAccess::NotAccess | KtAccess::Implied;
    else if (name == "readonly") access = KtAccess::ReadOnly;
    else if (name == "readwrite") access = KtAccess::ReadWrite;
    else if (name == "writeonly") access = KtAccess::WriteOnly;
    else return false;
    return true;
}

bool parseRows(const std::string &rowText, std::vector<std::string> &rows)
{
    std::stringstream ss(rowText);
    std::string item;
    while (std::getline(ss, item, ',')) {
        size_t dash = item.find('-');
        if (dash != std::string::npos) {
            int a = std::atoi(item.substr(0, dash).c_str());
            int b = std::atoi(item.substr(dash + 1).c_str());
            if (a > b || b - a > 10000)
                return false;
            for (int k = a; k <= b; ++k)
                rows.push_back(std::to_string(k));
        } else {
            if (!ParseOid(item))
                return false;
            rows.push_back(item);
        }
    }
    return true;
}

// What follows type and access: "{1 up, 2 down}", then the limits
// "fmt \"%i{n1x20}\"", "step N" and "size N" (octets) in any order.
std::string parseTail(const std::string &tail, AgentDescriptor &d)
{
    size_t pos = tail.find_first_not_of(' ');
    if (pos != std::string::npos && tail[pos] == '{') {
        const size_t end = tail.find('}', pos);
        if (end == std::string::npos)
            return "unclosed option list";
        std::stringstream os(tail.substr(pos + 1, end - pos - 1));
        std::string entry;
        while (std::getline(os, entry, ',')) {
            std::istringstream es(entry);
            int64_t v;
            std::string label;
            if (!(es >> v >> label))
                return "bad option \"" + entry + "\"";
            d.options.emplace_back(v, label);
        }
        pos = end + 1;
    }
    std::istringstream ks(pos == std::string::npos ? std::string() : tail.substr(pos));
    std::string kw;
    while (ks >> kw) {
        if (kw == "fmt") {
            std::string format;
            ks >> std::ws;
            if (ks.get() != '"' || !std::getline(ks, format, '"'))
                return "fmt needs a quoted format";
            if (std::string e = d.limits.narrowByFormat(format, d.type); !e.empty())
                return e;
        } else if (kw == "step" || kw == "size") {
            int64_t n = 0;
            if (!(ks >> n) || n <= 0 || n > 65535)
                return kw + " needs a positive number";
            AgentLimits l;
            if (kw == "step")
                l.step = n;
            else
                l.minLength = l.maxLength = uint32_t(n);
            d.limits.narrow(l);
        } else {
            return "unknown keyword " + kw;
        }
    }
    return {};
}

} // namespace

std::vector<AgentGroup> AgentSchema::ParseGroups(const std::string &text, std::string *error)
{
    std::vector<AgentGroup> groups;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string &why) {
        if (error)
            *error = "line " + std::to_string(lineNo) + ": " + why;
        return std::vector<AgentGroup>{};
    };
    while (std::getline(in, line)) {
        ++lineNo;
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::istringstream ls(line.substr(first));
        std::string word;
        ls >> word;
        if (word == "rows") {
            AgentGroup g;
            g.indexCount = AgentGroup::RowsOnly;
            std::string rowText;
            if (!(ls >> g.root >> rowText) || !parseRows(rowText, g.rows))
                return fail("bad rows");
            groups.push_back(g);
            continue;
        }
        if (word == "group" || word == "table") {
            AgentGroup g;
            ls >> g.root;
            if (word == "table") {
                if (!(ls >> g.indexCount) || g.indexCount < 0)
                    return fail("table without index count");
                std::string kw, rowText;
                if (ls >> kw) {
                    if (kw != "rows" || !(ls >> rowText) || !parseRows(rowText, g.rows))
                        return fail("bad rows");
                }
            }
            groups.push_back(g);
            continue;
        }
        if (groups.empty() || groups.back().indexCount == AgentGroup::RowsOnly)
            return fail("descriptor before group");
        AgentDescriptor d;
        if (word == "index")
            d.oid = " ";
        else if (word[0] == '.')
            d.oid = groups.back().root + word;
        else
            d.oid = word;
        size_t q1 = line.find('"');
        size_t q2 = q1 == std::string::npos ? q1 : line.find('"', q1 + 1);
        if (q2 == std::string::npos)
            return fail("label missing");
        d.label = line.substr(q1 + 1, q2 - q1 - 1);
        std::istringstream rest(line.substr(q2 + 1));
        std::string typeName, accessName;
        rest >> typeName >> accessName;
        if (!typeOfName(typeName, d.type))
            return fail("unknown type " + typeName);
        if (!accessOfName(accessName, d.access))
            return fail("unknown access " + accessName);
        std::string tail;
        std::getline(rest, tail);
        if (std::string e = parseTail(tail, d); !e.empty())
            return fail(e);
        groups.back().vars.push_back(d);
    }
    return groups;
}
