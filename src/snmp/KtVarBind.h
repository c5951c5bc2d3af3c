#pragma once

#include <QByteArray>
#include <QString>

// Varbind syntax tags as they travel on the wire.
namespace KtSyntax {
enum : quint8 {
    Integer = 0x02,
    OctetString = 0x04,
    Null = 0x05,
    ObjectId = 0x06,
    IpAddress = 0x40,
    Counter32 = 0x41,
    Gauge32 = 0x42,
    TimeTicks = 0x43,
    Opaque = 0x44,
    Counter64 = 0x46,
    UInteger32 = 0x47,
    NoSuchObject = 0x80,
    NoSuchInstance = 0x81,
    EndOfMibView = 0x82,
};
} // namespace KtSyntax

// One varbind, independent of the SNMP library in use.
struct KtVarBind
{
    QString oid;                    // dotted, no leading dot
    quint8 syntax = KtSyntax::Null;
    qint64 integer = 0;             // INTEGER, Counter32, Gauge32, TimeTicks, UInteger32
    quint64 counter64 = 0;
    QByteArray octets;              // OCTET STRING, Opaque, IpAddress (4 octets)
    QString objectId;               // value of an OBJECT IDENTIFIER

    bool isException() const { return syntax >= KtSyntax::NoSuchObject && syntax <= KtSyntax::EndOfMibView; }
};

// The display text of a received value for a descriptor's type code: the
// value exactly, or "(NULL)" when it is absent or the type cannot hold it
// (a syntax of another kind, a number outside the type's range, too few
// octets). -511 for a type code that a descriptor cannot have.
QString VarBindToText(const KtVarBind &vb, quint32 type);
