#include "AgentCatalogue.h"

#include "AgentBuiltins.h"
#include "AgentSchema.h"

std::string BuildAgentSchema(AgentSchema &schema)
{
    std::string error;
    const auto groups = AgentSchema::ParseGroups(AgentBuiltinGroups(), &error);
    if (!error.empty())
        return "built-in objects: " + error;
    for (const AgentGroup &g : groups)
        if (std::string e = schema.addGroup(g); !e.empty())
            return e;
    return {};
}
