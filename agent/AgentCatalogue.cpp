#include "AgentCatalogue.h"

#include "AgentBuiltins.h"
#include "AgentSchema.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "shell/catalogue/KtMenuCatalogue.h"
#include "values/KtOptionList.h"

#include <map>

namespace {

// Every descriptor table of the module's MIB data becomes a group of the schema:
// a table entry when the catalogue lists it with an index count, else scalars.
std::string addMibGroups(AgentSchema &schema)
{
    std::map<std::string, int> indexCounts(AgentCatalogueIndexCounts().begin(), AgentCatalogueIndexCounts().end());
    try {
        const KtMibData &mib = KtMibData::Instance();
        for (const KtMibData::Table &t : mib.Tables()) {
            if (t.Roots.isEmpty())
                continue;
            AgentGroup g;
            g.root = t.Roots.first().toStdString();
            auto it = indexCounts.find(g.root);
            g.indexCount = it == indexCounts.end() ? -1 : it->second;
            for (const KtSNMPVar &v : t.Vars) {
                if (v.isEnd())
                    break;
                AgentDescriptor d;
                d.oid = v.Oid.toStdString();
                d.label = v.Label.toStdString();
                d.type = v.Type;
                d.access = v.Access;
                if (v.Options && v.Options->kind() == KtOptionList::IntegerValues)
                    for (const KtOptionEntry &e : v.Options->entries())
                        d.options.emplace_back(e.Value, e.Label.toStdString());
                g.vars.push_back(d);
            }
            if (std::string e = schema.addGroup(g); !e.empty())
                return "descriptor table " + t.Name.toStdString() + ": " + e;
        }
    } catch (const KtException &e) {
        return "descriptor data: " + e.message().toStdString();
    }
    return {};
}

// The edit formats that the catalogue gives its dialogs' boxes ("fmt"
// tailoring) are what the switch accepts too: integer ranges and lengths of
// printable strings, for columns and for index parts.
std::string applyCatalogueFormats(AgentSchema &schema)
{
    try {
        const KtMibData &mib = KtMibData::Instance();
        const KtMenuCatalogue &catalogue = KtMenuCatalogue::Instance();
        for (int e = 0; e < catalogue.count(); ++e) {
            for (const KtMenuPanel &panel : catalogue.at(e).panels()) {
                // Panel positions run over the records of its tables in order.
                std::vector<std::pair<const KtMibData::Table *, int>> records;
                for (const QString &name : panel.tables)
                    if (const KtMibData::Table *t = mib.FindTableInfo(name))
                        for (int r = 0; r < t->Vars.size() && !t->Vars.at(r).isEnd(); ++r)
                            records.emplace_back(t, r);
                for (const KtMenuTailoring &tailor : panel.tailoring) {
                    if (tailor.kind != KtMenuTailoring::Format || tailor.value < 0 || tailor.value >= int(records.size()))
                        continue;
                    const auto &[table, r] = records[size_t(tailor.value)];
                    const KtSNMPVar &var = table->Vars.at(r);
                    AgentLimits limits;
                    if (std::string err = limits.narrowByFormat(tailor.format.toStdString(), var.Type); !err.empty())
                        return "menu catalogue line " + std::to_string(panel.line) + ": " + err;
                    if (auto oid = ParseOid(var.Oid.toStdString()))
                        if (int i = schema.objectIndex(*oid); i >= 0)
                            schema.narrowObject(i, limits);
                    if (table->Roots.isEmpty())
                        continue;
                    const int ti = schema.tableIndex(*ParseOid(table->Roots.first().toStdString()));
                    if (ti >= 0 && size_t(r) < schema.table(ti).index.size())
                        schema.narrowIndex(ti, size_t(r), limits);
                }
            }
        }
    } catch (const KtException &e) {
        return "menu catalogue: " + e.message().toStdString();
    }
    return {};
}

} // namespace

std::string BuildAgentSchema(AgentSchema &schema)
{
    std::string error;
    const auto groups = AgentSchema::ParseGroups(AgentBuiltinGroups(), &error);
    if (!error.empty())
        return "built-in objects: " + error;
    for (const AgentGroup &g : groups)
        if (std::string e = schema.addGroup(g); !e.empty())
            return e;
    if (std::string e = addMibGroups(schema); !e.empty())
        return e;
    return applyCatalogueFormats(schema);
}
