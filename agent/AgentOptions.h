#pragma once

#include <string>
#include <vector>

// A deliberately faulty front-panel LED value, to test how a manager copes.
struct AgentLedFault
{
    enum Kind : uint8_t {
        None,
        StatusOne,   // "status1[:PORT]": the port's status octet is 1 (port 1 by default)
        ZeroAt,      // "zero-at:N": octet N (0-58) is zero
        Short,       // "short:N": only the first N octets (0-58)
    };
    Kind kind = None;
    int value = 0;

    // Empty on success, else an error text.
    std::string parse(const std::string &text);
};

// Command line of the agent.
struct AgentOptions
{
    std::string listen = "udp:127.0.0.1:16161";
    std::string stateDir;        // empty: the default under the XDG state folder
    std::string seed;            // empty: the seed generated at build time
    bool v1Strict = false;
    int delayMs = 0;
    int dropPercent = 0;
    bool countersPerRequest = false;   // counters move with each request, not with time
    bool factoryReset = false;
    AgentLedFault ledFault;
    bool quiet = false;
    bool help = false;

    // Returns an error text, empty on success.
    std::string parse(const std::vector<std::string> &args);
    static std::string Usage(const std::string &program);
    static std::string DefaultStateDir();
};
