#pragma once

#include <QtGlobal>

// Value type codes; the number is also the varbind syntax sent in a set.
namespace KtType {
enum : quint32 {
    Boolean = 1,
    Integer = 2,
    BitStr = 3,
    OctetStr = 4,
    Null = 5,
    ObjectId = 6,
    IpAddress = 64,
    Counter = 65,
    Gauge = 66,
    TimeTicks = 67,
    Opaque = 68,
    NsapAddr = 69,
    Counter64 = 70,
    UInteger = 71,
    Double = 72,
    MacAddress = 73,
    DateTime = 74,
    BcDateTime = 75,
    DisplayStr = 76,
    Ipv6Address = 77,
    Bool8 = 193,
    Int8 = 194,
    UInt8 = 195,
    Bool16 = 196,
    Int16 = 197,
    UInt16 = 198,
};
} // namespace KtType

// Access bits of a descriptor.
namespace KtAccess {
enum : quint32 {
    NotAccess = 0x01,
    ReadOnly = 0x02,
    WriteOnly = 0x04,
    ReadWrite = 0x06,
    Derived = 0x08,
    Hidden = 0x10,
    Invalid = 0x20,
    Implied = 0x40,
};
} // namespace KtAccess

// Kinds of a variable list.
namespace KtKind {
enum : quint8 {
    SVT_SV = 0,   // scalars: ".0" appended
    MVT_SV = 1,   // one instance of columns
    MVT_FMV = 2,  // table walked row by row (editor shows it specially)
    MVT_UMV = 3,  // table walked row by row
};
} // namespace KtKind
