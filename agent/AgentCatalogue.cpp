#include "AgentCatalogue.h"

#include "AgentBuiltins.h"
#include "AgentSchema.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
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
    return {};
}
