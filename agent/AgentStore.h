#pragma once

#include "AgentSchema.h"
#include "SnmpRecFile.h"

#include <map>
#include <optional>
#include <vector>

// Error-status values of a response PDU (SNMPv2 numbering).
namespace AgentError {
enum : int {
    NoError = 0, TooBig = 1, NoSuchName = 2, BadValue = 3, ReadOnly = 4, GenErr = 5,
    NoAccess = 6, WrongType = 7, WrongLength = 8, WrongEncoding = 9, WrongValue = 10,
    NoCreation = 11, InconsistentValue = 12, ResourceUnavailable = 13, CommitFailed = 14,
    UndoFailed = 15, AuthorizationError = 16, NotWritable = 17, InconsistentName = 18,
};
// The SNMPv1 status that stands for a v2 status (noCreation becomes noSuchName...).
int ToV1(int status);
} // namespace AgentError

// The running data of the simulated switch: an ordered map of instances,
// with set semantics of a real agent (types, access, enumerations, rows).
class AgentStore
{
public:
    using Map = std::map<AgentOid, AgentValue>;

    explicit AgentStore(const AgentSchema &schema) : m_schema(schema) {}

    void load(const std::vector<AgentVarBind> &records);
    std::vector<AgentVarBind> snapshot() const;
    size_t size() const { return m_map.size(); }

    const AgentValue *get(const AgentOid &oid) const;
    AgentValue *find(const AgentOid &oid);
    void put(const AgentOid &oid, const AgentValue &value) { m_map[oid] = value; }
    void erase(const AgentOid &oid) { m_map.erase(oid); }
    // First instance after `from` (or at it, when inclusive) that lies under `root`.
    const Map::value_type *next(const AgentOid &from, bool inclusive, const AgentOid &root) const;

    struct Check
    {
        int status = AgentError::NoError;
        int index = -1;   // position of the failing varbind
    };
    // Validates a whole set PDU against the current state: each value on its
    // own, then the relations between objects (AgentRules), for which the
    // PDU is applied for a moment and undone.
    Check check(const std::vector<AgentVarBind> &vbs);

    struct Undo
    {
        std::vector<std::pair<AgentOid, std::optional<AgentValue>>> old;
    };
    // Applies a set PDU that passed check(); the result restores the previous state.
    Undo apply(const std::vector<AgentVarBind> &vbs);
    void undo(const Undo &u);

    const AgentSchema &schema() const { return m_schema; }

private:
    struct Target
    {
        const AgentObject *object = nullptr;
        AgentOid suffix;       // instance part after the object OID
        bool exists = false;
    };
    Check checkEach(const std::vector<AgentVarBind> &vbs) const;
    Target target(const AgentOid &oid) const;
    bool rowExists(const AgentTable &t, const AgentOid &suffix) const;
    int creatable(const AgentTable &t, const AgentOid &suffix) const;
    int checkValue(const AgentObject &o, const AgentValue &v) const;
    AgentValue defaultValue(const AgentObject &o) const;
    void record(Undo &u, const AgentOid &oid);

    const AgentSchema &m_schema;
    Map m_map;
};
