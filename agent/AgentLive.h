#pragma once

#include "AgentOptions.h"
#include "AgentStore.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Makes the stored switch look alive: sysUpTime ticks, counters grow,
// link state follows ifAdminStatus, the front-panel LED octets follow link
// and activity, and the clock runs.
//
// Counters are sums of event streams: each stream (an ICMP echo answered, a
// frame received on port 3...) has a rate and adds to every counter that
// counts it, so a total is always at least the sum of its parts. Streams
// of a port run only while its link is up; the System interface's always
// run. The SNMP library's own statistics are streams too, set from outside.
class AgentLive
{
public:
    static constexpr int Ports = 28;
    static constexpr int LedOctets = 3 + 2 * Ports;

    explicit AgentLive(AgentStore &store);

    // A device start: uptime from 0, counters from their boot values.
    void boot(uint64_t nowMs);
    // The data was replaced without a restart: link and clock objects are written again.
    void dataReloaded();
    // Brings every live value up to `nowMs`.
    void update(uint64_t nowMs);
    // Counters that move only by step(): each call adds `seconds` of traffic
    // to them; time moves the rest (uptime, clock, LEDs) as before.
    void setStepped(bool on) { m_stepped = on; }
    void step(double seconds);

    uint32_t uptimeTicks(uint64_t nowMs) const { return uint32_t((nowMs - m_bootMs) / 10); }
    bool linkUp(int port) const { return m_up[size_t(port - 1)]; }
    // Keeps the switch clock running on the host's clock (UTC seconds since the
    // epoch) in the zone of the Time Zone object; a clock set by a manager moves
    // it by the difference, and an 11-octet set also sets the zone.
    void updateClock(int64_t wallSec, uint64_t nowMs);
    static std::string DateAndTime(int64_t localSec, int zoneMinutes = 0);
    static std::optional<int64_t> ParseDateAndTime(const std::string &octets);

    // The value of one of the SNMP library's statistics (snmp group arc).
    void setAgentStatistic(uint32_t arc, uint32_t value);

    void setLedFault(const AgentLedFault &fault) { m_ledFault = fault; }
    // The LED value for the given moment: power, console, RPS, then status/colour per port.
    std::string ledOctets(uint64_t nowMs) const;

    // Whether a cable is plugged into a port of the simulated switch.
    static bool Connected(int port);
    // Receive rate of a port in octets per second while its link is up.
    static double InRate(int port);

private:
    struct Stream
    {
        double rate = 0;   // events per second
        int port = 0;      // 0: the System interface
        double count = 0;
        double base = -1;  // external streams: the outside value at boot, -1 until known
    };
    struct Output
    {
        AgentOid oid;
        uint8_t tag = 0;
        double offset = 0;
        std::vector<std::pair<int, int>> terms;   // stream, events counted per stream event
    };
    int addStream(double rate, int port);
    void writePortLink(int port, bool up);
    Output &output(const AgentOid &oid, uint8_t tag = 65);
    void feed(const AgentOid &oid, int stream, int weight, uint8_t tag = 65);
    void buildPorts();
    void buildProtocols();
    void write(uint64_t nowMs);
    void refresh(const AgentOid &oid, const AgentValue &v);

    AgentStore &m_store;
    std::vector<Stream> m_streams;
    std::vector<Output> m_outputs;
    std::array<int, 30> m_external{};   // stream of each snmp group arc, -1 if none
    uint64_t m_bootMs = 0;
    uint64_t m_lastMs = 0;
    std::array<bool, Ports> m_up{};
    bool m_linkKnown = false;   // false after boot: link objects are written whatever they held
    bool m_stepped = false;
    AgentLedFault m_ledFault;
    int64_t m_clockOffset = 0;       // seconds added to the host clock
    int m_zoneMinutes = 0;           // when the data has no Time Zone object
    std::string m_clockWritten;      // the clock value last written, to see a manager's set
    int64_t m_bootWall = 0;
};
