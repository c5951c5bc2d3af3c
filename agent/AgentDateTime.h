#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The DateAndTime octets of the switch clock: 8 octets of local time, or
// 11 with the zone (direction '+'/'-', hours and minutes from UTC).
namespace AgentDateTime {

// 11 octets for a local time in seconds since the epoch and its zone in minutes east of UTC.
std::string Encode(int64_t localSec, int zoneMinutes);

struct Decoded
{
    int64_t localSec = 0;
    std::optional<int> zoneMinutes;   // only in the 11-octet form
};
// Nullopt unless Check() accepts the octets.
std::optional<Decoded> Decode(const std::string &octets);

// The status a set of these octets earns: noError, wrongLength (not 8 or
// 11 octets) or wrongValue (a field out of range, e.g. 31 April).
int Check(const std::string &octets);

} // namespace AgentDateTime
