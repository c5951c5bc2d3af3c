#pragma once

#include "AgentLive.h"
#include "AgentOptions.h"
#include "AgentSchema.h"
#include "AgentStore.h"

#include <memory>
#include <string>
#include <vector>

// The Net-SNMP master agent around the store: transport, communities and
// USM users, the request handler, device actions and fault injection.
class AgentServer
{
public:
    static constexpr const char *Name = "qsx4810-agent";
    static constexpr const char *ReadCommunity = "cobalt";
    static constexpr const char *WriteCommunity = "lantern";
    static constexpr const char *AuthPass = "qsx4810auth";
    static constexpr const char *PrivPass = "qsx4810priv";

    AgentServer(const AgentOptions &options, const AgentSchema &schema);
    ~AgentServer();

    // Loads the saved or seed data and opens the agent; returns an error text.
    std::string start();
    // Serves until stop() (from a signal handler) sets the flag.
    void run();
    static void stop();

    std::string savedStatePath() const;
    std::string configPath() const;

    // For the request handler.
    void refresh();
    AgentStore &store() { return m_store; }
    void deviceActions(const std::vector<AgentVarBind> &applied);
    bool v1Strict() const { return m_options.v1Strict; }

private:
    std::string loadInitialData();
    std::string writeConfig();
    void reboot();
    void loadSaved();
    bool save();

    AgentOptions m_options;
    const AgentSchema &m_schema;
    AgentStore m_store;
    AgentLive m_live;
    std::vector<AgentVarBind> m_seed;
    uint64_t m_lastRefreshMs = 0;
    uint64_t m_requestsCounted = 0;   // requests whose step the counters took
    bool m_opened = false;
};
