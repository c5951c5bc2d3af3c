#include "AgentCatalogue.h"
#include "AgentOptions.h"
#include "AgentSchema.h"
#include "AgentServer.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    AgentOptions options;
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string error = options.parse(args);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n%s", argv[0], error.c_str(), AgentOptions::Usage(argv[0]).c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(AgentOptions::Usage(argv[0]).c_str(), stdout);
        return 0;
    }
    AgentSchema schema;
    if (std::string e = BuildAgentSchema(schema); !e.empty()) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.c_str());
        return 1;
    }
    AgentServer server(options, schema);
    if (std::string e = server.start(); !e.empty()) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.c_str());
        return 1;
    }
    if (!options.quiet) {
        std::printf("qsx4810-agent listening on %s (state in %s, %zu objects)\n", options.listen.c_str(),
                    options.stateDir.empty() ? AgentOptions::DefaultStateDir().c_str() : options.stateDir.c_str(),
                    server.store().size());
        std::fflush(stdout);
    }
    server.run();
    return 0;
}
