#pragma once

#include "AgentStore.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Makes the stored switch look alive: sysUpTime ticks, port counters grow
// at per-port rates (Counter32 wrapping), link state follows ifAdminStatus,
// and the front-panel LED octets follow link and activity.
class AgentLive
{
public:
    static constexpr int Ports = 28;
    static constexpr int LedOctets = 3 + 2 * Ports;

    explicit AgentLive(AgentStore &store) : m_store(store) {}

    // A device start: uptime from 0, port counters from their boot values.
    void boot(uint64_t nowMs);
    // Brings every live value up to `nowMs`.
    void update(uint64_t nowMs);

    uint32_t uptimeTicks(uint64_t nowMs) const { return uint32_t((nowMs - m_bootMs) / 10); }
    bool linkUp(int port) const { return m_up[size_t(port - 1)]; }
    // Keeps the switch clock running on the host's wall clock (seconds since
    // the epoch); a clock set by a manager moves it by the difference.
    void updateClock(int64_t wallSec, uint64_t nowMs);
    static std::string DateAndTime(int64_t localSec);
    static std::optional<int64_t> ParseDateAndTime(const std::string &octets);

    // The LED value for the given moment: power, console, RPS, then status/colour per port.
    std::string ledOctets(uint64_t nowMs) const;

    // Whether a cable is plugged into a port of the simulated switch.
    static bool Connected(int port);
    // Receive rate of a port in octets per second while its link is up.
    static double InRate(int port);

private:
    enum Counter { InOctets, InUcast, InNUcast, InDiscards, InErrors, InUnknown,
                   OutOctets, OutUcast, OutNUcast, OutDiscards, OutErrors,
                   InMcast, InBcast, OutMcast, OutBcast, TpIn, TpOut, TpDiscards, CounterCount };
    static double Rate(int port, Counter c);
    void write(uint64_t nowMs);
    void setNumber(const char *oid, int64_t v, uint8_t tag);
    void refresh(const AgentOid &oid, const AgentValue &v);

    AgentStore &m_store;
    uint64_t m_bootMs = 0;
    uint64_t m_lastMs = 0;
    std::array<std::array<double, CounterCount>, Ports> m_count{};
    std::array<bool, Ports> m_up{};
    bool m_linkKnown = false;   // false after boot: link objects are written whatever they held
    std::array<double, 8> m_proto{};
    int64_t m_clockOffset = 0;       // seconds added to the wall clock
    std::string m_clockWritten;      // the clock value last written, to see a manager's set
    int64_t m_bootWall = 0;
};
