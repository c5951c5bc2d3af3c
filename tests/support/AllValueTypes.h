#pragma once

#include "values/KtTypes.h"

// Every value type, for tests that take each through the conversions.
inline constexpr quint32 kAllTypes[] = {
    KtType::Boolean, KtType::Integer, KtType::BitStr, KtType::OctetStr, KtType::Null,
    KtType::ObjectId, KtType::IpAddress, KtType::Counter, KtType::Gauge, KtType::TimeTicks,
    KtType::Opaque, KtType::NsapAddr, KtType::Counter64, KtType::UInteger, KtType::Double,
    KtType::MacAddress, KtType::DateTime, KtType::BcDateTime, KtType::DisplayStr,
    KtType::Ipv6Address, KtType::Bool8, KtType::Int8, KtType::UInt8, KtType::Bool16,
    KtType::Int16, KtType::UInt16,
};
