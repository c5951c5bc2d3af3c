#include "AgentValue.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

std::optional<AgentOid> ParseOid(const std::string &text)
{
    AgentOid oid;
    size_t i = 0;
    if (!text.empty() && text[0] == '.')
        i = 1;
    if (i >= text.size())
        return std::nullopt;
    while (i < text.size()) {
        uint64_t arc = 0;
        size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            arc = arc * 10 + uint64_t(text[i] - '0');
            if (arc > std::numeric_limits<uint32_t>::max())
                return std::nullopt;
            ++i;
        }
        if (i == start)
            return std::nullopt;
        oid.push_back(uint32_t(arc));
        if (i < text.size()) {
            if (text[i] != '.' || i + 1 == text.size())
                return std::nullopt;
            ++i;
        }
    }
    return oid;
}

std::string OidToText(const AgentOid &oid)
{
    std::string s;
    for (size_t i = 0; i < oid.size(); ++i) {
        if (i)
            s += '.';
        s += std::to_string(oid[i]);
    }
    return s;
}

bool OidStartsWith(const AgentOid &oid, const AgentOid &prefix)
{
    return oid.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

bool AgentTag::IsKnown(int tag)
{
    switch (tag) {
    case Integer: case OctetString: case Null: case ObjectId: case IpAddress:
    case Counter32: case Gauge32: case TimeTicks: case Opaque: case Counter64:
        return true;
    default:
        return false;
    }
}

AgentValue AgentValue::Ip(uint8_t a1, uint8_t a2, uint8_t a3, uint8_t a4)
{
    AgentValue a;
    a.tag = AgentTag::IpAddress;
    a.bytes = std::string{char(a1), char(a2), char(a3), char(a4)};
    return a;
}

bool AgentValue::operator==(const AgentValue &o) const
{
    if (tag != o.tag)
        return false;
    switch (tag) {
    case AgentTag::OctetString: case AgentTag::Opaque: case AgentTag::IpAddress:
        return bytes == o.bytes;
    case AgentTag::ObjectId:
        return oid == o.oid;
    case AgentTag::Null:
        return true;
    default:
        return number == o.number;
    }
}

namespace {

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool parseHex(const std::string &text, std::string &out)
{
    out.clear();
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == ':')
            continue;
        if (hexDigit(c) < 0)
            return false;
        digits += c;
    }
    if (digits.size() % 2)
        return false;
    for (size_t i = 0; i < digits.size(); i += 2)
        out += char(hexDigit(digits[i]) * 16 + hexDigit(digits[i + 1]));
    return true;
}

bool parseInteger(const std::string &text, int64_t lo, int64_t hi, int64_t &out)
{
    if (text.empty())
        return false;
    errno = 0;
    char *end = nullptr;
    if (lo >= 0) {
        if (text[0] == '-')
            return false;
        unsigned long long v = std::strtoull(text.c_str(), &end, 10);
        if (errno || *end || uint64_t(v) > uint64_t(hi))
            return false;
        out = int64_t(v);
        return true;
    }
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno || *end || v < lo || v > hi)
        return false;
    out = v;
    return true;
}

} // namespace

std::string ParseValue(const std::string &tagText, const std::string &valueText, AgentValue &out)
{
    std::string t = tagText;
    bool hex = false;
    if (!t.empty() && (t.back() == 'x' || t.back() == 'X')) {
        hex = true;
        t.pop_back();
    }
    int64_t tagNumber = 0;
    if (!parseInteger(t, 0, 255, tagNumber) || !AgentTag::IsKnown(int(tagNumber)))
        return "unknown tag \"" + tagText + "\"";
    out = AgentValue();
    out.tag = uint8_t(tagNumber);
    if (hex && out.tag != AgentTag::OctetString && out.tag != AgentTag::Opaque
        && out.tag != AgentTag::IpAddress)
        return "hex form is only allowed for octet strings";
    switch (out.tag) {
    case AgentTag::Integer:
        if (!parseInteger(valueText, std::numeric_limits<int32_t>::min(),
                          std::numeric_limits<int32_t>::max(), out.number))
            return "not a 32-bit integer: \"" + valueText + "\"";
        return {};
    case AgentTag::Counter32: case AgentTag::Gauge32: case AgentTag::TimeTicks:
        if (!parseInteger(valueText, 0, std::numeric_limits<uint32_t>::max(), out.number))
            return "not an unsigned 32-bit number: \"" + valueText + "\"";
        return {};
    case AgentTag::Counter64: {
        if (valueText.empty() || valueText[0] == '-')
            return "not an unsigned 64-bit number: \"" + valueText + "\"";
        errno = 0;
        char *end = nullptr;
        unsigned long long v = std::strtoull(valueText.c_str(), &end, 10);
        if (errno || *end)
            return "not an unsigned 64-bit number: \"" + valueText + "\"";
        out.number = int64_t(v);
        return {};
    }
    case AgentTag::Null:
        return {};
    case AgentTag::ObjectId: {
        auto oid = ParseOid(valueText);
        if (!oid)
            return "not an object identifier: \"" + valueText + "\"";
        out.oid = *oid;
        return {};
    }
    case AgentTag::IpAddress:
        if (hex) {
            if (!parseHex(valueText, out.bytes) || out.bytes.size() != 4)
                return "not four hex octets: \"" + valueText + "\"";
            return {};
        } else {
            auto parts = ParseOid(valueText);
            if (!parts || parts->size() != 4)
                return "not a dotted IPv4 address: \"" + valueText + "\"";
            for (uint32_t p : *parts) {
                if (p > 255)
                    return "not a dotted IPv4 address: \"" + valueText + "\"";
                out.bytes += char(p);
            }
            return {};
        }
    default: // OctetString, Opaque
        if (hex) {
            if (!parseHex(valueText, out.bytes))
                return "bad hex octets: \"" + valueText + "\"";
        } else {
            out.bytes = valueText;
        }
        return {};
    }
}

void FormatValue(const AgentValue &value, std::string &tagText, std::string &valueText)
{
    static const char digits[] = "0123456789abcdef";
    tagText = std::to_string(value.tag);
    valueText.clear();
    switch (value.tag) {
    case AgentTag::Integer:
    case AgentTag::Counter32: case AgentTag::Gauge32: case AgentTag::TimeTicks:
        valueText = std::to_string(value.number);
        break;
    case AgentTag::Counter64:
        valueText = std::to_string(value.unsignedValue());
        break;
    case AgentTag::ObjectId:
        valueText = OidToText(value.oid);
        break;
    case AgentTag::IpAddress:
        for (size_t i = 0; i < value.bytes.size(); ++i) {
            if (i)
                valueText += '.';
            valueText += std::to_string(uint8_t(value.bytes[i]));
        }
        break;
    case AgentTag::Null:
        break;
    default: {
        bool printable = true;
        for (unsigned char c : value.bytes)
            if (c < 0x20 || c >= 0x7f)
                printable = false;
        // Leading/trailing blanks would not survive a hand edit of the file.
        if (!value.bytes.empty() && (value.bytes.front() == ' ' || value.bytes.back() == ' '))
            printable = false;
        if (printable) {
            valueText = value.bytes;
        } else {
            tagText += 'x';
            for (unsigned char c : value.bytes) {
                valueText += digits[c >> 4];
                valueText += digits[c & 15];
            }
        }
    }
    }
}
