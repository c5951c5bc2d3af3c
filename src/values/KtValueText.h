#pragma once

#include <QByteArray>
#include <QList>
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
// Printing raises -518 for days outside the years 1..9999 (or NaN). Parsing
// also takes "-" or "." as date separator, "T" before the time, a 24-hour
// time without am/pm, a time without seconds or a date alone; other texts give 0.
QString BcDateTimeToText(double days);
double TextToBcDateTime(const QString &text);

// Unsigned 64-bit counter from a decimal text: plain digits are read exactly,
// texts with fraction or exponent through long double; negative, NaN and
// too large values clamp to 0 or 2^64-1.
quint64 TextToCounter64(const QString &text);
// strtod in the C locale: leading blanks, longest valid prefix, 0 without digits.
double ParseDouble(const QString &text);
// Like "%.15g" in the C locale.
QString FormatDouble(double value);

// Dotted OID text <-> sub-identifiers. Blanks around the text and one leading
// or trailing "." are ignored; each component is read like Atol, negative ones
// give 0 and values above 4294967295 saturate.
QList<quint32> ParseOid(const QString &text);
QString OidToText(const QList<quint32> &oid);

} // namespace KtValue
