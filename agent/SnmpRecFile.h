#pragma once

#include "AgentValue.h"

#include <string>
#include <utility>
#include <vector>

using AgentVarBind = std::pair<AgentOid, AgentValue>;

// Reads and writes the ".snmprec" text form: one "OID|tag|value" line per
// varbind; blank lines and lines starting with '#' are ignored.
class SnmpRecFile
{
public:
    struct Result
    {
        std::vector<AgentVarBind> records;
        std::vector<std::string> errors;   // "file:line: text", one per bad line
        bool opened = false;
    };

    static Result ParseText(const std::string &text, const std::string &name = "seed");
    static Result Read(const std::string &path);

    static std::string Format(const std::vector<AgentVarBind> &records);
    // Writes beside the target and renames over it, so a crash leaves
    // either the old or the new file, never a half-written one.
    static bool WriteAtomic(const std::string &path, const std::string &text, std::string *error = nullptr);
};
