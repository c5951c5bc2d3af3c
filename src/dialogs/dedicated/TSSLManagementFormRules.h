#pragma once

#include "snmp/KtSNMPVarList.h"

#include <QString>

#include <array>
#include <optional>

// The SSL settings: the four cipher suites live in the high nibble of a
// one-octet value, shown as its two hex digits.
namespace TSSLManagementFormRules {

enum Column { StatusColumn, CipherColumn, TimeoutColumn };

constexpr int SuiteCount = 4;
using Suites = std::array<bool, SuiteCount>;

// Suite k (0-based) stands for bit 8 >> k of the nibble.
constexpr int SuiteBit(int k) { return 8 >> k; }

KtSNMPVarList SslList();

// The suites of a cipher text of two hex digits; nothing for any other text,
// so that no suite of an earlier value is shown (and written back) for it.
std::optional<Suites> UnpackSuites(const QString &cipherText);

// The cipher text for the suites. The low nibble, which no suite shows,
// is kept from the value read (previousText); "0" when that was no value.
QString PackSuites(const Suites &suites, const QString &previousText);

// Cache Timeout: an unsigned 32-bit number.
std::optional<quint32> ParseCacheTimeout(const QString &text);

} // namespace TSSLManagementFormRules
