#include "AgentDateTime.h"

#include "AgentStore.h"

#include <ctime>

namespace {

int daysIn(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

} // namespace

std::string AgentDateTime::Encode(int64_t localSec, int zoneMinutes)
{
    const time_t t = time_t(localSec);
    struct tm tm;
    gmtime_r(&t, &tm);
    const int year = tm.tm_year + 1900;
    const int zone = zoneMinutes < 0 ? -zoneMinutes : zoneMinutes;
    std::string o;
    o += char(year >> 8);
    o += char(year & 0xff);
    o += char(tm.tm_mon + 1);
    o += char(tm.tm_mday);
    o += char(tm.tm_hour);
    o += char(tm.tm_min);
    o += char(tm.tm_sec);
    o += char(0);
    o += zoneMinutes < 0 ? '-' : '+';
    o += char(zone / 60);
    o += char(zone % 60);
    return o;
}

int AgentDateTime::Check(const std::string &octets)
{
    if (octets.size() != 8 && octets.size() != 11)
        return AgentError::WrongLength;
    const auto u = [&](size_t i) { return int(uint8_t(octets[i])); };
    const int year = u(0) << 8 | u(1);
    const int month = u(2);
    if (month < 1 || month > 12 || u(3) < 1 || u(3) > daysIn(year, month) || u(4) > 23 || u(5) > 59
        || u(6) > 60 || u(7) > 9)
        return AgentError::WrongValue;
    if (octets.size() == 11 && ((octets[8] != '+' && octets[8] != '-') || u(9) > 13 || u(10) > 59))
        return AgentError::WrongValue;
    return AgentError::NoError;
}

std::optional<AgentDateTime::Decoded> AgentDateTime::Decode(const std::string &octets)
{
    if (Check(octets) != AgentError::NoError)
        return std::nullopt;
    const auto u = [&](size_t i) { return int(uint8_t(octets[i])); };
    struct tm tm = {};
    tm.tm_year = (u(0) << 8 | u(1)) - 1900;
    tm.tm_mon = u(2) - 1;
    tm.tm_mday = u(3);
    tm.tm_hour = u(4);
    tm.tm_min = u(5);
    tm.tm_sec = u(6);
    Decoded d;
    d.localSec = int64_t(timegm(&tm));
    if (octets.size() == 11)
        d.zoneMinutes = (octets[8] == '-' ? -1 : 1) * (u(9) * 60 + u(10));
    return d;
}
