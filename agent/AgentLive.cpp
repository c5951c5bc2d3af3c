#include "AgentLive.h"

#include "AgentBuiltins.h"
#include "AgentDateTime.h"
#include "AgentRules.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <sstream>

namespace {

const double Wrap32 = 4294967296.0;

const AgentOid &parsed(const std::string &text)
{
    static std::map<std::string, AgentOid> cache;
    auto it = cache.find(text);
    if (it == cache.end())
        it = cache.emplace(text, *ParseOid(text)).first;
    return it->second;
}

AgentOid column(const char *base, int row)
{
    AgentOid o = parsed(base);
    o.push_back(uint32_t(row));
    return o;
}

// Management-plane events: a rate per second, then what one event counts.
// "4.3" is the scalar 1.3.6.1.2.1.4.3.0 and "*3" counts it three times; the
// words stand for the groups below them or for the System interface:
// rx/tx a unicast datagram in/out (packets and octets), rxb/txb a broadcast,
// rxd, rxe, rxu, txd, txe its discards, errors and unknown protocols.
const std::map<std::string, std::string> &macros()
{
    static const std::map<std::string, std::string> m = {
        {"in", "4.3 4.9 rx"},             // a datagram delivered to the switch
        {"out", "4.10 tx"},               // one it sends
        {"udpin", "7.1 in"},
        {"udpout", "7.4 out"},
        {"served", "11.1 11.2 11.28 udpin udpout"},   // a request it answers
        {"polled", "11.2 11.1 11.18 udpout udpin"},   // one it sends and gets answered
    };
    return m;
}

const char *const ManagementStreams[] = {
    // ICMP in, with the answers
    "1.5 5.3 5.1 in", "1.2 5.4 5.1 in", "1.1 5.5 5.1 in", "1.05 5.6 5.1 in", "1.1 5.7 5.1 in",
    "4 5.8 5.1 in 5.22 5.14 out", "2 5.21 5.14 out 5.9 5.1 in", "1.1 5.10 5.1 in 5.24 5.14 out",
    "1.05 5.23 5.14 out 5.11 5.1 in", "1.05 5.12 5.1 in 5.26 5.14 out", "1.05 5.25 5.14 out 5.13 5.1 in",
    "1.2 5.2 5.1 in",
    // ICMP out
    "1.05 5.15 5.14", "1.1 5.16 5.14 out", "1.1 5.17 5.14 out", "1.05 5.18 5.14 out", "1.05 5.19 5.14 out",
    "1.1 5.20 5.14 out",
    // UDP (a datagram to no port is answered by a destination unreachable)
    "6 udpin", "1.5 7.2 in 5.16 5.14 out", "1.2 7.3 in", "4 udpout",
    // IP
    "1.2 4.4 4.3 rx", "1.3 4.5 4.3 rx", "3 4.6 4.3 rx tx", "1.2 4.7 4.3 rx", "1.2 4.8 4.3 rx", "1.1 4.11 4.10",
    "1.1 4.12 4.10", "1.5 4.14*3 4.15 4.3*3 4.9 rx*3", "1.1 4.14*2 4.16 4.3*2 rx*2", "1.5 4.17 4.19*2 4.10 tx*2",
    "1.1 4.18 4.10", "1.1 4.23",
    // the System interface below IP
    "2 rxb", "1.2 txb", "1.1 rxd", "1.1 rxe", "1.1 rxu", "1.05 txd", "1.05 txe",
    // SNMP: other managers' requests, the switch polling its members, traps
    "3 11.15 11.13*4 served", "3 11.16 11.13*2 served", "1.1 11.17 11.14 served",
    "1.05 11.15 11.13*30 11.20 served", "1.05 11.15 11.13 11.21 served", "1.05 11.17 11.14 11.22 served",
    "1.05 11.16 11.13 11.24 served", "1.05 11.1 11.3 udpin", "1.2 11.1 11.4 udpin", "1.05 11.1 11.5 udpin",
    "1.05 11.1 11.6 udpin", "1.5 11.25 polled", "1.1 11.26 polled", "1.05 11.27 polled",
    "1.05 11.25 11.8 polled", "1.05 11.25 11.9 polled", "1.05 11.27 11.10 polled", "1.05 11.27 11.11 polled",
    "1.05 11.25 11.12 polled", "1.05 11.1 11.19 udpin", "1.1 11.2 11.29 udpout",
};

// The System interface's counters that each interface word adds to: ifTable
// or ifXTable column, and octets counted per event.
struct IfFeed
{
    const char *word;
    std::vector<std::pair<const char *, int>> columns;
};
const std::vector<IfFeed> &interfaceFeeds()
{
    static const std::vector<IfFeed> f = {
        {"rx", {{"1.3.6.1.2.1.2.2.1.11", 1}, {"1.3.6.1.2.1.2.2.1.10", 120}, {"1.3.6.1.2.1.31.1.1.1.7", 1}, {"1.3.6.1.2.1.31.1.1.1.6", 120}}},
        {"tx", {{"1.3.6.1.2.1.2.2.1.17", 1}, {"1.3.6.1.2.1.2.2.1.16", 120}, {"1.3.6.1.2.1.31.1.1.1.11", 1}, {"1.3.6.1.2.1.31.1.1.1.10", 120}}},
        {"rxb", {{"1.3.6.1.2.1.2.2.1.12", 1}, {"1.3.6.1.2.1.2.2.1.10", 60}, {"1.3.6.1.2.1.31.1.1.1.3", 1}, {"1.3.6.1.2.1.31.1.1.1.9", 1}, {"1.3.6.1.2.1.31.1.1.1.6", 60}}},
        {"txb", {{"1.3.6.1.2.1.2.2.1.18", 1}, {"1.3.6.1.2.1.2.2.1.16", 60}, {"1.3.6.1.2.1.31.1.1.1.5", 1}, {"1.3.6.1.2.1.31.1.1.1.13", 1}, {"1.3.6.1.2.1.31.1.1.1.10", 60}}},
        {"rxd", {{"1.3.6.1.2.1.2.2.1.13", 1}, {"1.3.6.1.2.1.2.2.1.10", 120}, {"1.3.6.1.2.1.31.1.1.1.6", 120}}},
        {"rxe", {{"1.3.6.1.2.1.2.2.1.14", 1}, {"1.3.6.1.2.1.2.2.1.10", 64}, {"1.3.6.1.2.1.31.1.1.1.6", 64}}},
        {"rxu", {{"1.3.6.1.2.1.2.2.1.15", 1}, {"1.3.6.1.2.1.2.2.1.10", 80}, {"1.3.6.1.2.1.31.1.1.1.6", 80}}},
        {"txd", {{"1.3.6.1.2.1.2.2.1.19", 1}}},
        {"txe", {{"1.3.6.1.2.1.2.2.1.20", 1}}},
    };
    return f;
}

bool isCounter64Column(const std::string &base)
{
    const std::string hc = "1.3.6.1.2.1.31.1.1.1.";
    if (base.rfind(hc, 0) != 0)
        return false;
    const int col = std::atoi(base.c_str() + hc.size());
    return col >= 6 && col <= 13;
}

} // namespace

bool AgentLive::Connected(int port)
{
    return (port >= 1 && port <= 6) || port == 9 || port == 11 || port == 12
        || (port >= 17 && port <= 20) || port == 25 || port == 26;
}

double AgentLive::InRate(int port)
{
    // Port 1 carries about 100 Mbit/s, the others less.
    return 12.5e6 / double(port);
}

AgentLive::AgentLive(AgentStore &store) : m_store(store)
{
    m_external.fill(-1);
    buildPorts();
    buildProtocols();
}

int AgentLive::addStream(double rate, int port)
{
    Stream s;
    s.rate = rate;
    s.port = port;
    m_streams.push_back(s);
    return int(m_streams.size()) - 1;
}

AgentLive::Output &AgentLive::output(const AgentOid &oid, uint8_t tag)
{
    for (Output &o : m_outputs)
        if (o.oid == oid)
            return o;
    Output o;
    o.oid = oid;
    o.tag = tag;
    m_outputs.push_back(o);
    return m_outputs.back();
}

void AgentLive::feed(const AgentOid &oid, int stream, int weight, uint8_t tag)
{
    output(oid, tag).terms.emplace_back(stream, weight);
}

void AgentLive::buildPorts()
{
    enum { InUcast, InMcast, InBcast, InDiscard, InError, InUnknown, OutUcast, OutMcast, OutBcast, OutDiscard,
           OutError, TpDiscard, Kinds };
    for (int p = 1; p <= Ports; ++p) {
        const double in = InRate(p), out = in * 0.7;
        // Slow kinds stay above one a second so that every counter moves between two polls.
        const double rates[Kinds] = {in / 620.0, in / 620.0 / 60.0, in / 620.0 / 120.0, 1.0 + 0.5 * (p % 3),
                                     p == 5 ? 4.2 : 1.2, 1.1, out / 640.0, out / 640.0 / 90.0, out / 640.0 / 180.0,
                                     1.1 + 0.4 * (p % 2), 1.05, 1.0 + 0.5 * (p % 3)};
        int s[Kinds];
        for (int k = 0; k < Kinds; ++k)
            s[k] = addStream(rates[k], p);
        struct Col { const char *base; std::vector<std::pair<int, int>> terms; bool octets = false; };
        const std::vector<Col> cols = {
            {"1.3.6.1.2.1.2.2.1.10", {{s[InUcast], 620}, {s[InMcast], 180}, {s[InBcast], 90}, {s[InDiscard], 620}, {s[InError], 64}, {s[InUnknown], 100}}, true},
            {"1.3.6.1.2.1.2.2.1.11", {{s[InUcast], 1}}},
            {"1.3.6.1.2.1.2.2.1.12", {{s[InMcast], 1}, {s[InBcast], 1}}},
            {"1.3.6.1.2.1.2.2.1.13", {{s[InDiscard], 1}}},
            {"1.3.6.1.2.1.2.2.1.14", {{s[InError], 1}}},
            {"1.3.6.1.2.1.2.2.1.15", {{s[InUnknown], 1}}},
            {"1.3.6.1.2.1.2.2.1.16", {{s[OutUcast], 640}, {s[OutMcast], 180}, {s[OutBcast], 90}, {s[OutError], 64}}, true},
            {"1.3.6.1.2.1.2.2.1.17", {{s[OutUcast], 1}}},
            {"1.3.6.1.2.1.2.2.1.18", {{s[OutMcast], 1}, {s[OutBcast], 1}}},
            {"1.3.6.1.2.1.2.2.1.19", {{s[OutDiscard], 1}}},
            {"1.3.6.1.2.1.2.2.1.20", {{s[OutError], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.2", {{s[InMcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.3", {{s[InBcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.4", {{s[OutMcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.5", {{s[OutBcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.6", {{s[InUcast], 620}, {s[InMcast], 180}, {s[InBcast], 90}, {s[InDiscard], 620}, {s[InError], 64}, {s[InUnknown], 100}}, true},
            {"1.3.6.1.2.1.31.1.1.1.7", {{s[InUcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.8", {{s[InMcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.9", {{s[InBcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.10", {{s[OutUcast], 640}, {s[OutMcast], 180}, {s[OutBcast], 90}, {s[OutError], 64}}, true},
            {"1.3.6.1.2.1.31.1.1.1.11", {{s[OutUcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.12", {{s[OutMcast], 1}}},
            {"1.3.6.1.2.1.31.1.1.1.13", {{s[OutBcast], 1}}},
            {"1.3.6.1.2.1.17.4.4.1.3", {{s[InUcast], 1}, {s[InMcast], 1}, {s[InBcast], 1}, {s[TpDiscard], 1}}},
            {"1.3.6.1.2.1.17.4.4.1.4", {{s[OutUcast], 1}, {s[OutMcast], 1}, {s[OutBcast], 1}}},
            {"1.3.6.1.2.1.17.4.4.1.5", {{s[TpDiscard], 1}}},
        };
        for (const Col &c : cols) {
            Output &o = output(column(c.base, p), isCounter64Column(c.base) ? AgentTag::Counter64 : AgentTag::Counter32);
            o.terms = c.terms;
            // Port 1's octet counters start a minute before their first wrap.
            if (p == 1 && c.octets) {
                double rate = 0;
                for (const auto &[st, w] : c.terms)
                    rate += m_streams[size_t(st)].rate * w;
                o.offset = Wrap32 - rate * 60.0;
            }
        }
    }
}

void AgentLive::buildProtocols()
{
    std::function<void(const std::string &, int, int)> expand = [&](const std::string &token, int stream, int weight) {
        std::string word = token;
        int w = weight;
        if (const size_t star = token.find('*'); star != std::string::npos) {
            word = token.substr(0, star);
            w *= std::atoi(token.c_str() + star + 1);
        }
        if (auto m = macros().find(word); m != macros().end()) {
            std::istringstream ts(m->second);
            for (std::string t; ts >> t;)
                expand(t, stream, w);
            return;
        }
        for (const IfFeed &f : interfaceFeeds())
            if (word == f.word) {
                for (const auto &[base, octets] : f.columns)
                    feed(column(base, int(AgentRules::SystemIfIndex)), stream, w * octets,
                         isCounter64Column(base) ? AgentTag::Counter64 : AgentTag::Counter32);
                return;
            }
        feed(parsed("1.3.6.1.2.1." + word + ".0"), stream, w);
    };
    for (const char *line : ManagementStreams) {
        std::istringstream ls(line);
        double rate = 0;
        ls >> rate;
        const int s = addStream(rate, 0);
        for (std::string t; ls >> t;)
            expand(t, s, 1);
    }
    // The library's own figures: rate 0, the count set from outside.
    static const uint32_t arcs[] = {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 24,
                                    25, 26, 27, 28, 29};
    for (uint32_t arc : arcs) {
        const int s = addStream(0, 0);
        m_external[arc] = s;
        expand("11." + std::to_string(arc), s, 1);
        if (arc == 1)
            expand("udpin", s, 1);
        if (arc == 2)
            expand("udpout", s, 1);
    }
}

void AgentLive::setAgentStatistic(uint32_t arc, uint32_t value)
{
    if (arc >= m_external.size() || m_external[arc] < 0)
        return;
    Stream &s = m_streams[size_t(m_external[arc])];
    if (s.base < 0)
        s.base = value;
    s.count = value >= s.base ? value - s.base : 0;
}

void AgentLive::boot(uint64_t nowMs)
{
    m_bootMs = nowMs;
    m_lastMs = nowMs;
    for (Stream &s : m_streams) {
        s.count = 0;
        s.base = -1;
    }
    m_bootWall = 0;
    m_up.fill(false);
    dataReloaded();
    write(nowMs);
}

void AgentLive::dataReloaded()
{
    m_linkKnown = false;
    m_clockWritten.clear();   // reloaded data holds an old clock value, not a manager's set
}

void AgentLive::refresh(const AgentOid &oid, const AgentValue &v)
{
    // Only what the data holds is kept alive, so a recorded switch stays as recorded.
    if (AgentValue *cur = m_store.find(oid))
        *cur = v;
}

void AgentLive::update(uint64_t nowMs)
{
    if (nowMs < m_lastMs)
        nowMs = m_lastMs;
    const double dt = double(nowMs - m_lastMs) / 1000.0;
    m_lastMs = nowMs;
    if (!m_stepped)
        step(dt);
    write(nowMs);
}

void AgentLive::writePortLink(int port, bool up)
{
    // The port information row (port, medium 1) reports link and the
    // negotiated speed with duplex, as the switch's own table does.
    AgentOid linkStatus = column("1.3.6.1.4.1.32473.11.69.1.2.4.4.1.5", port);
    linkStatus.push_back(1);
    if (!m_store.get(linkStatus))
        return;
    refresh(linkStatus, AgentValue::Integer(up ? 2 : 3));
    AgentOid nway = column("1.3.6.1.4.1.32473.11.69.1.2.4.4.1.6", port);
    nway.push_back(1);
    int status = 2;  // link-down
    if (up) {
        const AgentValue *speed = m_store.get(column("1.3.6.1.2.1.2.2.1.5", port));
        const uint64_t bps = speed ? uint64_t(speed->number) : 0;
        status = bps >= 10000000000ULL ? 9 : bps >= 1000000000ULL ? 8 : bps >= 100000000ULL ? 6 : 4;
    }
    refresh(nway, AgentValue::Integer(status));
}

void AgentLive::step(double seconds)
{
    for (Stream &s : m_streams)
        if (s.port == 0 || m_up[size_t(s.port - 1)])
            s.count += s.rate * seconds;
}

void AgentLive::write(uint64_t nowMs)
{
    const uint32_t ticks = uptimeTicks(nowMs);
    m_store.put(parsed(AgentOids::SysUpTime), AgentValue::Unsigned(AgentTag::TimeTicks, ticks));
    refresh(parsed(AgentOids::DeviceUpTime), AgentValue::Unsigned(AgentTag::TimeTicks, ticks));
    int inUse = 0;
    for (int p = 1; p <= Ports; ++p) {
        const AgentValue *admin = m_store.get(column("1.3.6.1.2.1.2.2.1.7", p));
        const bool up = Connected(p) && (!admin || admin->number == 1);
        inUse += up ? 1 : 0;
        if (up != m_up[size_t(p - 1)] || !m_linkKnown) {
            m_up[size_t(p - 1)] = up;
            refresh(column("1.3.6.1.2.1.2.2.1.8", p), AgentValue::Integer(up ? 1 : 2));
            refresh(column("1.3.6.1.2.1.2.2.1.9", p), AgentValue::Unsigned(AgentTag::TimeTicks, ticks));
            writePortLink(p, up);
        }
    }
    m_linkKnown = true;
    refresh(parsed(AgentOids::PortsInUse), AgentValue::Integer(inUse));
    for (const Output &o : m_outputs) {
        double v = o.offset;
        for (const auto &[s, w] : o.terms)
            v += std::floor(m_streams[size_t(s)].count) * w;
        if (o.tag == AgentTag::Counter32)
            v = std::fmod(v, Wrap32);
        refresh(o.oid, AgentValue::Unsigned(o.tag, uint64_t(v)));
    }
    refresh(parsed(AgentOids::FrontPanelLeds), AgentValue::Octets(ledOctets(nowMs)));
}

std::string AgentLive::DateAndTime(int64_t localSec, int zoneMinutes)
{
    return AgentDateTime::Encode(localSec, zoneMinutes);
}

std::optional<int64_t> AgentLive::ParseDateAndTime(const std::string &octets)
{
    const auto d = AgentDateTime::Decode(octets);
    return d ? std::optional<int64_t>(d->localSec) : std::nullopt;
}

void AgentLive::updateClock(int64_t wallSec, uint64_t nowMs)
{
    const AgentOid &clockOid = parsed(AgentOids::Clock);
    const AgentOid &zoneOid = parsed(AgentOids::TimeZone);
    const AgentValue *zoneValue = m_store.get(zoneOid);
    int zone = zoneValue ? int(zoneValue->number) : m_zoneMinutes;
    if (const AgentValue *cur = m_store.get(clockOid)) {
        if (!m_clockWritten.empty() && cur->bytes != m_clockWritten) {
            if (auto set = AgentDateTime::Decode(cur->bytes)) {
                if (set->zoneMinutes) {
                    zone = *set->zoneMinutes;
                    refresh(zoneOid, AgentValue::Integer(zone));
                }
                m_clockOffset = set->localSec - int64_t(zone) * 60 - wallSec;
            }
        }
        m_clockWritten = AgentDateTime::Encode(wallSec + m_clockOffset + int64_t(zone) * 60, zone);
        refresh(clockOid, AgentValue::Octets(m_clockWritten));
    }
    m_zoneMinutes = zone;
    if (m_bootWall == 0 || nowMs == m_bootMs)
        m_bootWall = wallSec - int64_t((nowMs - m_bootMs) / 1000);
    const int64_t shift = m_clockOffset + int64_t(zone) * 60;
    auto text = [](int64_t sec) {
        const time_t t = time_t(sec);
        struct tm tm;
        gmtime_r(&t, &tm);
        char buf[32];
        std::strftime(buf, sizeof buf, "%Y/%m/%d %H:%M:%S", &tm);
        return std::string(buf);
    };
    const uint64_t up = (nowMs - m_bootMs) / 1000;
    char upText[48];
    std::snprintf(upText, sizeof upText, "%llu days %02llu:%02llu:%02llu", (unsigned long long)(up / 86400),
                  (unsigned long long)(up / 3600 % 24), (unsigned long long)(up / 60 % 60), (unsigned long long)(up % 60));
    refresh(parsed("1.3.6.1.4.1.32473.12.10.10.1.0"), AgentValue::Octets(text(wallSec + shift)));
    refresh(parsed("1.3.6.1.4.1.32473.12.10.10.2.0"), AgentValue::Octets(upText));
    refresh(parsed("1.3.6.1.4.1.32473.12.10.10.3.0"), AgentValue::Octets(text(m_bootWall + shift)));
}

std::string AgentLive::ledOctets(uint64_t nowMs) const
{
    std::string led;
    led.reserve(LedOctets);
    led += char(0x01);   // power: on
    led += char(0x03);   // console: not in use
    led += char(0x03);   // RPS: working
    const uint64_t second = (nowMs - m_bootMs) / 1000;
    for (int p = 1; p <= Ports; ++p) {
        const bool up = m_up[size_t(p - 1)];
        // Activity is not continuous: a port blinks in most polls, not all.
        const bool active = up && (second / 3 + uint64_t(p)) % 4 != 0;
        led += char(active ? 0x82 : 0x02);
        char colour = 0x08;   // masks to the dark entry; a zero octet would end the text
        if (up) {
            const bool gigabit = p != 3 && p != 9;
            if (p > 24)
                colour = 0x03;
            else
                colour = gigabit ? 0x02 : 0x01;
        }
        led += colour;
    }
    switch (m_ledFault.kind) {
    case AgentLedFault::StatusOne:
        led[size_t(1 + 2 * m_ledFault.value)] = char(0x01);
        break;
    case AgentLedFault::ZeroAt:
        led[size_t(m_ledFault.value)] = '\0';
        break;
    case AgentLedFault::Short:
        led.resize(size_t(m_ledFault.value));
        break;
    case AgentLedFault::None:
        break;
    }
    return led;
}
