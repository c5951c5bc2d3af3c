#pragma once

#include <QList>
#include <QString>

class KtSNMPVarList;

// The four scalars of OSPF default-route origination, each taking part in
// a set only when its box is ticked.
namespace TOSPFDefaultInfoOriginateFormRules {

enum Var { State, Always, Mettype, Metric, VarCount };

inline constexpr char MetricFormat[] = "%i{n0x16777214l8}";
inline constexpr char EmptyMetricText[] = "you have choosed the Metric,it can't be empty";
inline constexpr char NothingTickedText[] = "Tick the items to set first.";

KtSNMPVarList List();

// The fields that depend on the state are usable unless it is disabled.
bool DependentsEnabled(int stateItem, const QString &stateText);

// Empty when the ticked items may be sent, else the message to show.
QString Check(const QList<bool> &ticked, const QString &metric);
// The variables a set leaves out: those not ticked.
QList<int> LeftOut(const QList<bool> &ticked);

} // namespace TOSPFDefaultInfoOriginateFormRules
