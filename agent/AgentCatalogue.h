#pragma once

class AgentSchema;

// Adds the built-in objects and, when the module's descriptor data is
// linked in, every scalar group and table of the menu catalogue.
// Returns an error text, empty on success.
#include <string>
std::string BuildAgentSchema(AgentSchema &schema);
