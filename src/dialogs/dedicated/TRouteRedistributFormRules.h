#pragma once

#include <QList>
#include <QString>

class KtOptionList;
class KtSNMPVarList;

// Route redistribution between routing protocols: which route types and
// metrics a source/destination pair allows.
namespace TRouteRedistributFormRules {

enum Var { Source, Destination, Type, Metric, RowStatus, VarCount };
// Items of the hidden row-status drop-down.
enum StatusItem { Active, CreateAndGo, Destroy };

inline constexpr char MetricFormat[] = "%i{n0x16777214l8a}";
inline constexpr int MetricLength = 8;
inline constexpr char RipRange[] = "[0..16]";
inline constexpr char OspfRange[] = "[0..16777214]";

KtSNMPVarList List();
const KtOptionList &Types();

// The type radio buttons, left to right: caption and the type they stand
// for (none for "other").
struct Radio
{
    const char *caption;
    const char *type;
};
const QList<Radio> &Radios();
// The button of a row's type text; -1 for a type no button names.
int RadioOfType(const QString &typeText);

// What a protocol pair allows; nothing changes for a pair without a rule.
struct PairRule
{
    bool applies = false;
    QString range;
    QList<bool> enabled;  // per radio button
};
PairRule RuleOf(const QString &source, const QString &destination);

// Empty when the metric may be sent to the destination protocol, else the
// message to show. An empty metric is refused with an empty text too
// (the dialog only moves the focus then): see MetricMissing.
QString MetricRefusal(const QString &destination, const QString &metric);
bool MetricMissing(const QString &metric);

} // namespace TRouteRedistributFormRules
