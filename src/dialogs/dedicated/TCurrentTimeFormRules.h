#pragma once

#include <QString>

#include <optional>

class KtSNMPVarList;

// The clock group: which time sources the switch has, and its clock.
namespace TCurrentTimeFormRules {

enum Var { Capacity, Clock, ResetOnReboot };

inline constexpr char ClockFormat[] = "%s{l22}";
inline constexpr char EmptyClockText[] = "The Current Edit should not be empty!";

KtSNMPVarList List();

// The sources named by the capacity's hex text, after one blank:
// "systemTime" (0x80), ",SNTP" (0x40), ",SummerTime" (0x20),
// ",realTimeClock" (0x10). The leading hex digits are one number, so the
// last octet of a longer value carries the bits. No value without a
// leading hex digit.
std::optional<QString> CapacityText(const QString &hex);

} // namespace TCurrentTimeFormRules
