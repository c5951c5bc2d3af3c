#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Object identifiers of the store, kept independent of Net-SNMP's oid type.
using AgentOid = std::vector<uint32_t>;

std::optional<AgentOid> ParseOid(const std::string &text);
std::string OidToText(const AgentOid &oid);
bool OidStartsWith(const AgentOid &oid, const AgentOid &prefix);

// Varbind syntaxes, numbered like their BER tags (and like the .snmprec tags).
namespace AgentTag {
enum : uint8_t {
    Integer = 2,
    OctetString = 4,
    Null = 5,
    ObjectId = 6,
    IpAddress = 64,
    Counter32 = 65,
    Gauge32 = 66,
    TimeTicks = 67,
    Opaque = 68,
    Counter64 = 70,
};
bool IsKnown(int tag);
} // namespace AgentTag

// One value of the store.
struct AgentValue
{
    uint8_t tag = AgentTag::Null;
    int64_t number = 0;      // Integer32 (signed) and the unsigned syntaxes
    std::string bytes;       // OctetString, Opaque, IpAddress (4 octets)
    AgentOid oid;            // ObjectId

    static AgentValue Integer(int64_t v) { AgentValue a; a.tag = AgentTag::Integer; a.number = v; return a; }
    static AgentValue Unsigned(uint8_t tag, uint64_t v) { AgentValue a; a.tag = tag; a.number = int64_t(v); return a; }
    static AgentValue Octets(const std::string &s) { AgentValue a; a.tag = AgentTag::OctetString; a.bytes = s; return a; }
    static AgentValue Ip(uint8_t a1, uint8_t a2, uint8_t a3, uint8_t a4);
    static AgentValue Oid(const AgentOid &o) { AgentValue a; a.tag = AgentTag::ObjectId; a.oid = o; return a; }

    uint64_t unsignedValue() const { return uint64_t(number); }
    bool operator==(const AgentValue &o) const;
    bool operator!=(const AgentValue &o) const { return !(*this == o); }
};

// Parses the value field of a .snmprec line; tag text may end in 'x' (hex octets).
// Returns an error text, empty on success.
std::string ParseValue(const std::string &tagText, const std::string &valueText, AgentValue &out);
// The tag and value fields of a .snmprec line ("4x", "0a0b").
void FormatValue(const AgentValue &value, std::string &tagText, std::string &valueText);
