#pragma once

#include "AgentSchema.h"
#include "SnmpRecFile.h"

#include <vector>

// Builds plausible initial data for every scalar and table of a schema:
// 28 rows for per-port tables, a value from the option list for each
// enumeration, port lists as 28-port bitmaps.
class AgentSeed
{
public:
    static constexpr int PortCount = 28;

    static std::vector<AgentVarBind> Generate(const AgentSchema &schema);
    // Overlay records replace generated ones with the same OID and add the others.
    static std::vector<AgentVarBind> Merge(const std::vector<AgentVarBind> &base,
                                           const std::vector<AgentVarBind> &overlay);

    // A configuration snapshot of the module laid over a base seed: the
    // snapshot's rows replace a table's rows wherever it holds that table
    // (or names it in an "# empty:" or "# absent:" line); everything it does
    // not hold comes from the base.
    static std::vector<AgentVarBind> OverSnapshot(const AgentSchema &schema, const std::vector<AgentVarBind> &base,
                                                  const std::vector<AgentVarBind> &snapshot,
                                                  const std::vector<AgentOid> &tablesWithoutRows);
    // Whether a seed text is such a snapshot; fills the tables it names as empty or absent.
    static bool IsSnapshot(const std::string &text, std::vector<AgentOid> *tablesWithoutRows);

    // Row suffixes chosen for a table (its seed rows or ones derived from its index).
    static std::vector<AgentOid> RowsOf(const AgentSchema &schema, const AgentTable &t);
    static AgentValue ValueFor(const AgentObject &o, int row, const std::vector<AgentValue> *index);
    // The records with the rows of a table (a single integer index) replaced by rows 1..rows.
    static std::vector<AgentVarBind> WithRows(const AgentSchema &schema, const std::vector<AgentVarBind> &records,
                                              const AgentOid &entry, int rows);
};
