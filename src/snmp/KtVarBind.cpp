#include "snmp/KtVarBind.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtTypes.h"
#include "values/KtValueText.h"

#include <limits>
#include <optional>

namespace {

const QString Null = QStringLiteral("(NULL)");

bool isNumber32(quint8 s)
{
    return s == KtSyntax::Integer || s == KtSyntax::Counter32 || s == KtSyntax::Gauge32
        || s == KtSyntax::TimeTicks || s == KtSyntax::UInteger32;
}

bool isOctets(quint8 s)
{
    return s == KtSyntax::OctetString || s == KtSyntax::Opaque || s == KtSyntax::IpAddress;
}

// A number of any numeric syntax, when it lies within the 32-bit signed range.
std::optional<qint64> signed32(const KtVarBind &vb)
{
    constexpr qint64 lo = std::numeric_limits<qint32>::min(), hi = std::numeric_limits<qint32>::max();
    if (vb.syntax == KtSyntax::Counter64)
        return vb.counter64 <= quint64(hi) ? std::optional<qint64>(qint64(vb.counter64)) : std::nullopt;
    if (!isNumber32(vb.syntax) || vb.integer < lo || vb.integer > hi)
        return std::nullopt;
    return vb.integer;
}

// A number of any numeric syntax, when it lies within 0..max.
std::optional<quint64> unsignedUpTo(const KtVarBind &vb, quint64 max)
{
    if (vb.syntax == KtSyntax::Counter64)
        return vb.counter64 <= max ? std::optional<quint64>(vb.counter64) : std::nullopt;
    if (!isNumber32(vb.syntax) || vb.integer < 0 || quint64(vb.integer) > max)
        return std::nullopt;
    return quint64(vb.integer);
}

// Octet forms through the value layer; what it cannot print is absent.
QString octetText(const KtVarBind &vb, quint32 type, qsizetype least)
{
    if (!isOctets(vb.syntax) || vb.octets.size() < least)
        return Null;
    try {
        return KtValue::RawToText(vb.octets, type);
    } catch (const KtException &) {
        return Null;
    }
}

} // namespace

QString VarBindToText(const KtVarBind &vb, quint32 type)
{
    constexpr quint64 max32 = std::numeric_limits<quint32>::max();
    const bool absent = vb.isException() || vb.syntax == KtSyntax::Null;
    switch (type) {
    case KtType::Boolean: {
        const auto v = absent ? std::nullopt : signed32(vb);
        return !v ? Null : *v == 1 ? QStringLiteral("true") : QStringLiteral("false");
    }
    case KtType::Integer: {
        const auto v = absent ? std::nullopt : signed32(vb);
        return v ? QString::number(*v) : Null;
    }
    case KtType::Counter:
    case KtType::Gauge:
    case KtType::UInteger: {
        const auto v = absent ? std::nullopt : unsignedUpTo(vb, max32);
        return v ? QString::number(*v) : Null;
    }
    case KtType::TimeTicks: {
        const auto v = absent ? std::nullopt : unsignedUpTo(vb, max32);
        return v ? KtValue::TicksToText(quint32(*v)) : Null;
    }
    case KtType::Counter64: {
        const auto v = absent ? std::nullopt : unsignedUpTo(vb, std::numeric_limits<quint64>::max());
        return v ? QString::number(*v) : Null;
    }
    case KtType::Null:
        return Null;
    case KtType::ObjectId:
        return absent || vb.syntax != KtSyntax::ObjectId || vb.objectId.isEmpty() ? Null : vb.objectId;
    case KtType::IpAddress:
    case KtType::NsapAddr:
        return absent || vb.octets.size() != 4 ? Null : octetText(vb, type, 4);
    // An empty string is a value, not an absent one.
    case KtType::BitStr:
    case KtType::OctetStr:
    case KtType::Opaque:
    case KtType::MacAddress:
    case KtType::Ipv6Address:
    case KtType::DisplayStr:
        if (absent || !isOctets(vb.syntax))
            return Null;
        return vb.octets.isEmpty() ? QString() : octetText(vb, type, 0);
    case KtType::Double:
    case KtType::DateTime:
    case KtType::BcDateTime:
        return absent ? Null : octetText(vb, type, 1);
    default:
        KtThrowEngine(KtCatalogue::EngBadSyntax);
    }
}
