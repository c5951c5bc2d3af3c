#pragma once

#include "AgentValue.h"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A descriptor as the agent needs it: full OID (" " for an index that is
// only part of the instance), label, module type code, access bits, options.
struct AgentDescriptor
{
    std::string oid;
    std::string label;
    uint32_t type = 0;
    uint32_t access = 0;
    std::vector<std::pair<int64_t, std::string>> options;
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

    bool allows(int64_t v) const;
    int64_t optionValue(const std::string &label) const;  // -1 when absent
};

struct AgentIndexPart
{
    uint32_t type = 0;
    bool implied = false;
    std::string label;
    int column = -1;   // object index of a readable index column, else -1
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
