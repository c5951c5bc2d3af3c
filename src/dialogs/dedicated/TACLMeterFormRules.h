#pragma once

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "snmp/KtSNMPVarList.h"

#include <QString>

#include <optional>

// What the ACL meter dialog checks before it sets a meter.
namespace TACLMeterFormRules {

enum Column { ProfileColumn, AccessColumn, RateColumn, ActionColumn };
enum class Field { Row, Rate, Action };

constexpr qint64 MaxRate = 999936;

using Refusal = KtRefusal<Field>;

// The ACL meters, indexed by profile and access ID; rows are never
// created or destroyed here.
KtSNMPVarList MeterList();

// rowSelected: a listed row is chosen (the IDs come from it). Nothing when
// the set may go.
std::optional<Refusal> CheckSet(bool rowSelected, const QString &rate, const QString &action);

} // namespace TACLMeterFormRules
