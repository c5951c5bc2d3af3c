#pragma once

#include "AgentValue.h"

#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// What a value may be beyond its syntax: a number range (with an optional
// step) and an octet count, narrowed by the type, the edit formats of the
// catalogue and the device's own rules.
struct AgentLimits
{
    int64_t minimum = std::numeric_limits<int64_t>::min();
    int64_t maximum = std::numeric_limits<int64_t>::max();
    int64_t step = 0;   // a value must be a multiple of it; 0 for any
    uint32_t minLength = 0;
    uint32_t maxLength = std::numeric_limits<uint32_t>::max();

    bool allowsNumber(int64_t v) const;
    bool allowsLength(size_t n) const { return n >= minLength && n <= maxLength; }
    bool ranged() const { return minimum != std::numeric_limits<int64_t>::min() || maximum != std::numeric_limits<int64_t>::max(); }
    // The nearest value inside the range (and on the step).
    int64_t clamp(int64_t v) const;
    void narrow(const AgentLimits &o);
    // Narrows by an edit-constraint format ("%i{n1x4094}", "%s{l32}") for a
    // value of the given module type; returns an error text, empty on success.
    // Text lengths count octets only for printable strings.
    std::string narrowByFormat(const std::string &format, uint32_t type);

    static AgentLimits OfType(uint32_t type);
};

// A descriptor as the agent needs it: full OID (" " for an index that is
// only part of the instance), label, module type code, access bits, options.
struct AgentDescriptor
{
    std::string oid;
    std::string label;
    uint32_t type = 0;
    uint32_t access = 0;
    std::vector<std::pair<int64_t, std::string>> options;
    AgentLimits limits;   // beyond those of the type
};

// A scalar group (indexCount < 0, instance ".0") or a table entry.
struct AgentGroup
{
    static constexpr int RowsOnly = -2;   // only names the seed rows of a table defined elsewhere

    std::string root;
    int indexCount = -1;
    std::vector<AgentDescriptor> vars;
    std::vector<std::string> rows;   // instance suffixes for the seed; empty: chosen by the generator
};

enum class AgentStatusKind : uint8_t { None, RowStatus, ValidInvalid };

struct AgentObject
{
    AgentOid oid;
    std::string label;
    uint32_t type = 0;         // module type code
    uint8_t tag = 0;           // varbind syntax
    uint8_t fixedLength = 0;   // octets required (MAC 6, IPv6 16), 0 for any
    bool readable = false;
    bool writable = false;
    std::vector<std::pair<int64_t, std::string>> options;  // empty: any value
    AgentStatusKind status = AgentStatusKind::None;
    int64_t createValue = 0;   // ValidInvalid: the value that creates (valid / add)
    int64_t removeValue = 0;   // ValidInvalid: the value that removes (invalid / delete)
    int table = -1;            // owning table, -1 for a scalar
    int indexPart = -1;        // position in the table index when the column is also an index
    AgentLimits limits;

    // The option list and the limits together.
    bool allows(int64_t v) const;
    int64_t optionValue(const std::string &label) const;  // -1 when absent
};

struct AgentIndexPart
{
    uint32_t type = 0;
    bool implied = false;
    std::string label;
    int column = -1;   // object index of a readable index column, else -1
    AgentLimits limits;
};

struct AgentTable
{
    AgentOid entry;
    std::vector<AgentIndexPart> index;
    std::vector<int> columns;      // objects of the accessible columns, in column order
    int statusObject = -1;         // object holding the row status, -1 if none
    std::vector<std::string> rows;
};

// The MIB the agent serves: every accessible scalar and column with its
// syntax, access and enumeration, and the tables with their indexes.
class AgentSchema
{
public:
    // Adds a group; objects already known keep their first definition.
    // Returns an error text (empty on success).
    std::string addGroup(const AgentGroup &group);
    // Parses groups from the compact text form used for the built-in objects.
    static std::vector<AgentGroup> ParseGroups(const std::string &text, std::string *error);

    const AgentObject *findObject(const AgentOid &instance, size_t *objectLength = nullptr) const;
    const AgentObject &object(int i) const { return m_objects[size_t(i)]; }
    int objectCount() const { return int(m_objects.size()); }
    const AgentTable &table(int i) const { return m_tables[size_t(i)]; }
    int tableCount() const { return int(m_tables.size()); }
    int objectIndex(const AgentOid &oid) const;
    // Narrows what an object or an index part accepts (edit formats found later).
    void narrowObject(int i, const AgentLimits &l) { m_objects[size_t(i)].limits.narrow(l); }
    void narrowIndex(int table, size_t part, const AgentLimits &l) { m_tables[size_t(table)].index[part].limits.narrow(l); }
    int tableIndex(const AgentOid &entry) const;
    // Seed rows of a table: its own list, else one named by a rows-only group.
    std::vector<std::string> seedRows(const AgentTable &t) const;

    // Splits a row suffix into index values; nullopt if it does not fit the index.
    std::optional<std::vector<AgentValue>> decodeIndex(const AgentTable &t, const AgentOid &suffix) const;
    static std::optional<AgentOid> EncodeIndex(const AgentTable &t, const std::vector<AgentValue> &values);

    static uint8_t TagOfType(uint32_t type);
    static uint8_t FixedLengthOfType(uint32_t type);

private:
    std::vector<AgentObject> m_objects;
    std::vector<AgentTable> m_tables;
    std::map<AgentOid, int> m_byOid;
    std::map<AgentOid, int> m_tableByEntry;
    std::map<AgentOid, std::vector<std::string>> m_rowsByEntry;
};
