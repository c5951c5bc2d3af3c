// Writes the agent's seed file: data generated for every object of the
// schema, with the hand-written overlay of realistic values on top.
#include "AgentCatalogue.h"
#include "AgentSchema.h"
#include "AgentSeed.h"
#include "SnmpRecFile.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OVERLAY.snmprec OUTPUT.snmprec\n", argv[0]);
        return 2;
    }
    AgentSchema schema;
    if (std::string e = BuildAgentSchema(schema); !e.empty()) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.c_str());
        return 1;
    }
    auto overlay = SnmpRecFile::Read(argv[1]);
    if (!overlay.errors.empty()) {
        for (const auto &e : overlay.errors)
            std::fprintf(stderr, "%s\n", e.c_str());
        return 1;
    }
    const auto records = AgentSeed::Merge(AgentSeed::Generate(schema), overlay.records);
    std::string text = "# QSX-4810 seed data: OID|tag|value (tags: 2 integer, 4 octets, 4x hex octets,\n"
                       "# 6 OID, 64 IpAddress, 65 Counter32, 66 Gauge32, 67 TimeTicks, 70 Counter64)\n";
    text += SnmpRecFile::Format(records);
    std::string err;
    if (!SnmpRecFile::WriteAtomic(argv[2], text, &err)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], err.c_str());
        return 1;
    }
    return 0;
}
