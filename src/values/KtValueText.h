#pragma once

#include <QByteArray>
#include <QString>

// Conversions between a value's display text and its raw octets, by type
// code. Failures raise KtException with the engine catalogue text.
namespace KtValue {

QByteArray TextToRaw(const QString &text, quint32 type);   // -511
QString RawToText(const QByteArray &raw, quint32 type);    // -511, -518
QByteArray ExtractPart(const QByteArray &raw, int offset, quint32 type); // -511, -519

// Size of a fixed-size part of a type; -1 for variable length, -2 unknown.
int PartSize(quint32 type);

// Upper-case hex, two digits an octet, no separators.
QString OctetsToHex(const QByteArray &octets);
// Blanks removed, any non-hex character counts as 0, odd count: first digit alone.
QByteArray HexToOctets(const QString &text);

QString TicksToText(quint32 ticks);
quint32 TextToTicks(const QString &text);

// C atol: leading blanks, optional sign, digits up to the first non-digit.
// Saturates instead of overflowing.
qint64 Atol(const QString &text);

// "yyyy/mm/dd hh:nn:ss am/pm" <-> days since 1899-12-30 with the time as fraction.
QString BcDateTimeToText(double days);
double TextToBcDateTime(const QString &text);

// Dotted OID text <-> sub-identifiers (parsing like the engine does:
// components that do not convert give 0).
QList<quint32> ParseOid(const QString &text);
QString OidToText(const QList<quint32> &oid);

} // namespace KtValue
