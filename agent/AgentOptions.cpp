#include "AgentOptions.h"

#include <cstdlib>

namespace {

bool toInt(const std::string &s, int lo, int hi, int &out)
{
    if (s.empty())
        return false;
    char *end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end || v < lo || v > hi)
        return false;
    out = int(v);
    return true;
}

} // namespace

std::string AgentLedFault::parse(const std::string &text)
{
    const size_t colon = text.find(':');
    const std::string kindText = text.substr(0, colon);
    const std::string number = colon == std::string::npos ? std::string() : text.substr(colon + 1);
    if (kindText == "status1") {
        kind = StatusOne;
        value = 1;
        if (colon == std::string::npos || toInt(number, 1, 28, value))
            return {};
    } else if ((kindText == "zero-at" || kindText == "short") && toInt(number, 0, 58, value)) {
        kind = kindText == "short" ? Short : ZeroAt;
        return {};
    }
    kind = None;
    return "--led-fault needs status1[:PORT 1-28], zero-at:N or short:N (N 0-58)";
}

std::string AgentOptions::parse(const std::vector<std::string> &args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        auto value = [&](std::string &out) {
            if (i + 1 >= args.size())
                return false;
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--listen") {
            if (!value(listen) || listen.empty())
                return "--listen needs a transport address, e.g. udp:127.0.0.1:16161";
        } else if (a == "--state-dir") {
            if (!value(stateDir) || stateDir.empty())
                return "--state-dir needs a folder";
        } else if (a == "--seed") {
            if (!value(seed) || seed.empty())
                return "--seed needs a .snmprec file";
        } else if (a == "--delay") {
            if (!value(v) || !toInt(v, 0, 600000, delayMs))
                return "--delay needs milliseconds (0-600000)";
        } else if (a == "--drop") {
            if (!value(v) || !toInt(v, 0, 100, dropPercent))
                return "--drop needs a percentage (0-100)";
        } else if (a == "--led-fault") {
            if (!value(v))
                return ledFault.parse("");
            if (std::string e = ledFault.parse(v); !e.empty())
                return e;
        } else if (a == "--counters-per-request") {
            countersPerRequest = true;
        } else if (a == "--v1-strict") {
            v1Strict = true;
        } else if (a == "--factory-reset") {
            factoryReset = true;
        } else if (a == "--quiet") {
            quiet = true;
        } else if (a == "--help" || a == "-h") {
            help = true;
        } else {
            return "unknown option " + a;
        }
    }
    return {};
}

std::string AgentOptions::Usage(const std::string &program)
{
    return "Usage: " + program + " [options]\n"
           "Simulated QSX-4810 switch agent (SNMP v1, v2c, v3).\n"
           "  --listen ADDR      Net-SNMP transport address (default udp:127.0.0.1:16161;\n"
           "                     udp6:[::1]:16161 for IPv6)\n"
           "  --state-dir DIR    configuration, engine state and saved switch data\n"
           "                     (default " + DefaultStateDir() + ")\n"
           "  --seed FILE        initial data in .snmprec form (OID|tag|value lines)\n"
           "  --factory-reset    forget the saved switch data and start from the seed\n"
           "  --v1-strict        answer SNMPv1 only (noSuchName at the end of a walk)\n"
           "  --delay MS         answer every request MS milliseconds late\n"
           "  --drop PERCENT     lose this share of the requests\n"
           "  --counters-per-request\n"
           "                     counters move by one second's traffic with every request\n"
           "                     received, not with time (two reads always differ)\n"
           "  --led-fault F      serve a faulty front-panel LED value: status1[:PORT]\n"
           "                     (a status octet 1), zero-at:N (octet N zero) or short:N\n"
           "                     (only N of the 59 octets)\n"
           "  --quiet            no start-up banner\n";
}

std::string AgentOptions::DefaultStateDir()
{
    const char *xdg = std::getenv("XDG_STATE_HOME");
    if (xdg && *xdg)
        return std::string(xdg) + "/qsx4810-agent";
    const char *home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.local/state/qsx4810-agent";
    return "/tmp/qsx4810-agent";
}
