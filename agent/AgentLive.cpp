#include "AgentLive.h"

#include "AgentBuiltins.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>

namespace {

const double Wrap32 = 4294967296.0;

// Parsed once per literal: the live update runs for many requests a second.
const AgentOid &parsed(const char *text)
{
    static std::map<const char *, AgentOid> cache;
    auto it = cache.find(text);
    if (it == cache.end())
        it = cache.emplace(text, *ParseOid(text)).first;
    return it->second;
}

AgentOid column(const char *base, int port)
{
    AgentOid o = parsed(base);
    o.push_back(uint32_t(port));
    return o;
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

double AgentLive::Rate(int port, Counter c)
{
    const double in = InRate(port);
    const double out = in * 0.7;
    switch (c) {
    case InOctets: return in;
    case OutOctets: return out;
    case InUcast: return in / 620.0;
    case OutUcast: return out / 640.0;
    case InNUcast: return in / 620.0 / 40.0;
    case OutNUcast: return out / 640.0 / 60.0;
    case InMcast: return in / 620.0 / 60.0;
    case InBcast: return in / 620.0 / 120.0;
    case OutMcast: return out / 640.0 / 90.0;
    case OutBcast: return out / 640.0 / 180.0;
    case InDiscards: return 0.02 * double(port % 3);
    case OutDiscards: return 0.01 * double(port % 2);
    case InErrors: return port == 5 ? 0.05 : 0.0;
    case InUnknown: return 0.005;
    case OutErrors: return 0.0;
    case TpIn: return in / 620.0;
    case TpOut: return out / 640.0;
    case TpDiscards: return 0.02 * double(port % 3);
    default: return 0.0;
    }
}

void AgentLive::boot(uint64_t nowMs)
{
    m_bootMs = nowMs;
    m_lastMs = nowMs;
    for (auto &row : m_count)
        row.fill(0.0);
    m_proto.fill(0.0);
    m_bootWall = 0;
    m_clockWritten.clear();   // reloaded data holds an old clock value, not a manager's set
    // Port 1's octet counters start a minute before their first wrap.
    m_count[0][InOctets] = Wrap32 - Rate(1, InOctets) * 60.0;
    m_count[0][OutOctets] = Wrap32 - Rate(1, OutOctets) * 60.0;
    m_up.fill(false);
    m_linkKnown = false;
    write(nowMs);
}

void AgentLive::setNumber(const char *oid, int64_t v, uint8_t tag)
{
    refresh(parsed(oid), AgentValue::Unsigned(tag, uint64_t(v)));
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
    for (int p = 1; p <= Ports; ++p) {
        if (!m_up[size_t(p - 1)])
            continue;
        for (int c = 0; c < CounterCount; ++c)
            m_count[size_t(p - 1)][size_t(c)] += Rate(p, Counter(c)) * dt;
    }
    static const double protoRates[8] = {310.0, 0.2, 2.1, 305.0, 4.0, 3.9, 12.0, 11.5};
    for (size_t i = 0; i < m_proto.size(); ++i)
        m_proto[i] += protoRates[i] * dt;
    write(nowMs);
}

void AgentLive::write(uint64_t nowMs)
{
    const uint32_t ticks = uptimeTicks(nowMs);
    m_store.put(parsed(AgentOids::SysUpTime.c_str()), AgentValue::Unsigned(AgentTag::TimeTicks, ticks));
    for (int p = 1; p <= Ports; ++p) {
        const AgentValue *admin = m_store.get(column("1.3.6.1.2.1.2.2.1.7", p));
        const bool up = Connected(p) && (!admin || admin->number == 1);
        auto &cnt = m_count[size_t(p - 1)];
        if (up != m_up[size_t(p - 1)] || !m_linkKnown) {
            m_up[size_t(p - 1)] = up;
            refresh(column("1.3.6.1.2.1.2.2.1.8", p), AgentValue::Integer(up ? 1 : 2));
            refresh(column("1.3.6.1.2.1.2.2.1.9", p), AgentValue::Unsigned(AgentTag::TimeTicks, ticks));
        }
        auto c32 = [&](const char *base, Counter c) {
            refresh(column(base, p), AgentValue::Unsigned(AgentTag::Counter32, uint64_t(std::fmod(cnt[size_t(c)], Wrap32))));
        };
        auto c64 = [&](const char *base, Counter c) {
            refresh(column(base, p), AgentValue::Unsigned(AgentTag::Counter64, uint64_t(cnt[size_t(c)])));
        };
        c32("1.3.6.1.2.1.2.2.1.10", InOctets);
        c32("1.3.6.1.2.1.2.2.1.11", InUcast);
        c32("1.3.6.1.2.1.2.2.1.12", InNUcast);
        c32("1.3.6.1.2.1.2.2.1.13", InDiscards);
        c32("1.3.6.1.2.1.2.2.1.14", InErrors);
        c32("1.3.6.1.2.1.2.2.1.15", InUnknown);
        c32("1.3.6.1.2.1.2.2.1.16", OutOctets);
        c32("1.3.6.1.2.1.2.2.1.17", OutUcast);
        c32("1.3.6.1.2.1.2.2.1.18", OutNUcast);
        c32("1.3.6.1.2.1.2.2.1.19", OutDiscards);
        c32("1.3.6.1.2.1.2.2.1.20", OutErrors);
        c32("1.3.6.1.2.1.31.1.1.1.2", InMcast);
        c32("1.3.6.1.2.1.31.1.1.1.3", InBcast);
        c32("1.3.6.1.2.1.31.1.1.1.4", OutMcast);
        c32("1.3.6.1.2.1.31.1.1.1.5", OutBcast);
        c64("1.3.6.1.2.1.31.1.1.1.6", InOctets);
        c64("1.3.6.1.2.1.31.1.1.1.7", InUcast);
        c64("1.3.6.1.2.1.31.1.1.1.8", InMcast);
        c64("1.3.6.1.2.1.31.1.1.1.9", InBcast);
        c64("1.3.6.1.2.1.31.1.1.1.10", OutOctets);
        c64("1.3.6.1.2.1.31.1.1.1.11", OutUcast);
        c64("1.3.6.1.2.1.31.1.1.1.12", OutMcast);
        c64("1.3.6.1.2.1.31.1.1.1.13", OutBcast);
        c32("1.3.6.1.2.1.17.4.4.1.3", TpIn);
        c32("1.3.6.1.2.1.17.4.4.1.4", TpOut);
        c32("1.3.6.1.2.1.17.4.4.1.5", TpDiscards);
    }
    m_linkKnown = true;
    // ip, icmp and udp groups: a management interface's modest traffic.
    auto proto = [&](const char *oid, size_t i, double share) {
        setNumber(oid, int64_t(std::fmod(m_proto[i] * share, Wrap32)), AgentTag::Counter32);
    };
    proto("1.3.6.1.2.1.4.3.0", 0, 1.0);
    proto("1.3.6.1.2.1.4.9.0", 0, 0.98);
    proto("1.3.6.1.2.1.4.10.0", 3, 1.0);
    proto("1.3.6.1.2.1.4.4.0", 1, 1.0);
    proto("1.3.6.1.2.1.4.8.0", 1, 0.5);
    proto("1.3.6.1.2.1.5.1.0", 2, 1.0);
    proto("1.3.6.1.2.1.5.8.0", 2, 0.9);
    proto("1.3.6.1.2.1.5.14.0", 2, 0.95);
    proto("1.3.6.1.2.1.5.22.0", 2, 0.9);
    proto("1.3.6.1.2.1.5.3.0", 1, 0.4);
    proto("1.3.6.1.2.1.7.1.0", 4, 1.0);
    proto("1.3.6.1.2.1.7.2.0", 1, 0.3);
    proto("1.3.6.1.2.1.7.4.0", 5, 1.0);
    proto("1.3.6.1.2.1.4.15.0", 1, 0.1);
    refresh(parsed(AgentOids::FrontPanelLeds.c_str()), AgentValue::Octets(ledOctets(nowMs)));
}

std::string AgentLive::DateAndTime(int64_t localSec)
{
    const time_t t = time_t(localSec);
    struct tm tm;
    gmtime_r(&t, &tm);
    const int year = tm.tm_year + 1900;
    std::string o;
    o += char(year >> 8);
    o += char(year & 0xff);
    o += char(tm.tm_mon + 1);
    o += char(tm.tm_mday);
    o += char(tm.tm_hour);
    o += char(tm.tm_min);
    o += char(tm.tm_sec);
    o += char(0);
    return o;
}

std::optional<int64_t> AgentLive::ParseDateAndTime(const std::string &octets)
{
    if (octets.size() != 8 && octets.size() != 11)
        return std::nullopt;
    const auto u = [&](size_t i) { return int(uint8_t(octets[i])); };
    struct tm tm = {};
    tm.tm_year = (u(0) << 8 | u(1)) - 1900;
    tm.tm_mon = u(2) - 1;
    tm.tm_mday = u(3);
    tm.tm_hour = u(4);
    tm.tm_min = u(5);
    tm.tm_sec = u(6);
    if (tm.tm_mon < 0 || tm.tm_mon > 11 || tm.tm_mday < 1 || tm.tm_mday > 31 || tm.tm_hour > 23
        || tm.tm_min > 59 || tm.tm_sec > 60)
        return std::nullopt;
    return int64_t(timegm(&tm));
}

void AgentLive::updateClock(int64_t wallSec, uint64_t nowMs)
{
    const AgentOid &clockOid = parsed("1.3.6.1.4.1.32473.12.10.2.0");
    if (const AgentValue *cur = m_store.get(clockOid)) {
        if (!m_clockWritten.empty() && cur->bytes != m_clockWritten) {
            if (auto set = ParseDateAndTime(cur->bytes))
                m_clockOffset = *set - wallSec;
        }
        m_clockWritten = DateAndTime(wallSec + m_clockOffset);
        refresh(clockOid, AgentValue::Octets(m_clockWritten));
    }
    if (m_bootWall == 0 || nowMs == m_bootMs)
        m_bootWall = wallSec - int64_t((nowMs - m_bootMs) / 1000);
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
    refresh(parsed("1.3.6.1.4.1.32473.12.10.10.1.0"), AgentValue::Octets(text(wallSec + m_clockOffset)));
    refresh(parsed("1.3.6.1.4.1.32473.12.10.10.2.0"), AgentValue::Octets(upText));
    refresh(parsed("1.3.6.1.4.1.32473.12.10.10.3.0"), AgentValue::Octets(text(m_bootWall + m_clockOffset)));
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
    return led;
}
