#pragma once

#include <string>
#include <vector>

// Command line of the agent.
struct AgentOptions
{
    std::string listen = "udp:127.0.0.1:16161";
    std::string stateDir;        // empty: the default under the XDG state folder
    std::string seed;            // empty: the seed generated at build time
    bool v1Strict = false;
    int delayMs = 0;
    int dropPercent = 0;
    bool factoryReset = false;
    bool quiet = false;
    bool help = false;

    // Returns an error text, empty on success.
    std::string parse(const std::vector<std::string> &args);
    static std::string Usage(const std::string &program);
    static std::string DefaultStateDir();
};
