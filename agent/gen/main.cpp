// Writes the agent's seed file: data generated for every object of the
// schema, with the hand-written overlay of realistic values on top, and
// optionally the aggregator table grown to many rows for table benchmarks.
#include "AgentBuiltins.h"
#include "AgentCatalogue.h"
#include "AgentSchema.h"
#include "AgentSeed.h"
#include "SnmpRecFile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char **argv)
{
    const char *usage = "usage: %s [--bench-rows N] OVERLAY.snmprec OUTPUT.snmprec\n"
                        "  --bench-rows N  serve rows 1..N (1-1000000) of the aggregator table "
                        "1.3.6.1.4.1.32473.12.4.1.1.1.1 (ten columns)\n";
    int benchRows = -1;
    int first = 1;
    if (argc > 1 && std::string(argv[1]) == "--bench-rows") {
        char *end = nullptr;
        const long n = argc > 2 ? std::strtol(argv[2], &end, 10) : 0;
        if (argc < 3 || *end || n < 1 || n > 1000000) {
            std::fprintf(stderr, usage, argv[0]);
            return 2;
        }
        benchRows = int(n);
        first = 3;
    }
    if (argc - first != 2) {
        std::fprintf(stderr, usage, argv[0]);
        return 2;
    }
    AgentSchema schema;
    if (std::string e = BuildAgentSchema(schema); !e.empty()) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.c_str());
        return 1;
    }
    auto overlay = SnmpRecFile::Read(argv[first]);
    if (!overlay.errors.empty()) {
        for (const auto &e : overlay.errors)
            std::fprintf(stderr, "%s\n", e.c_str());
        return 1;
    }
    auto records = AgentSeed::Merge(AgentSeed::Generate(schema), overlay.records);
    if (benchRows > 0)
        records = AgentSeed::WithRows(schema, records, *ParseOid(AgentOids::AggregatorEntry), benchRows);
    std::string text = "# QSX-4810 seed data: OID|tag|value (tags: 2 integer, 4 octets, 4x hex octets,\n"
                       "# 6 OID, 64 IpAddress, 65 Counter32, 66 Gauge32, 67 TimeTicks, 70 Counter64)\n";
    text += SnmpRecFile::Format(records);
    std::string err;
    if (!SnmpRecFile::WriteAtomic(argv[first + 1], text, &err)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], err.c_str());
        return 1;
    }
    return 0;
}
