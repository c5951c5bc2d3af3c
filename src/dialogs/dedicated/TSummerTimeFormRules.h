#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class KtOptionList;
class KtSNMPVarList;

// The summer-time rule: a status, an offset and two alternative rule
// pairs, each rule packed into an octet string. Which pair belongs to
// which status, how a rule is split into parts, and the checks before a set.
namespace TSummerTimeFormRules {

enum Var { Status, Offset, RepeatingStart, RepeatingEnd, AnnualStart, AnnualEnd, VarCount };
// Items of the status drop-down.
enum StatusItem { Disable, Repeating, Annual };

inline constexpr char OffsetFormat[] = "%i{n30x120l3}";
inline constexpr char PartFormat[] = "%i";
inline constexpr int ValueWidth = 240;

KtSNMPVarList List();

// One part of a packed rule: its octets and, for a drop-down, its options;
// an edit shows the number with a hint.
struct Part
{
    int offset;
    quint32 type;
    const KtOptionList *options;  // null for an edit
    const char *hint;
};

bool IsPacked(int var);
// The parts of a packed variable in their left-to-right order.
const QList<Part> &PartsOf(int var);
// Which part of a rule holds its month.
int MonthPart(int var);

// The part texts of a packed value (its hex text), left to right: the
// option label or the number; no text for a part the value does not reach.
QList<std::optional<QString>> Unpack(const QString &hexValue, int var);

// The rule pair a status shows and reads (none for "disable").
QList<int> PairOf(int statusItem);

// Reads of a Refresh: the status alone, then the offset and the pair of
// the status the first read found.
QList<int> FirstRead();
QList<int> SecondRead(int statusItem);

// One rule row as the dialog shows it: ticked for the set, its part texts
// (an empty text is a part without value).
struct Row
{
    bool ticked = false;
    QStringList parts;
};

struct Entry
{
    bool statusTicked = false;
    int statusItem = -1;
    bool offsetTicked = false;
    QString offset;
    Row start;  // of the pair the status shows
    Row end;
};

// Empty when the entry may be sent, else the message for the box.
QString Check(const Entry &entry);
// A ticked field without text (the offset), which the set would refuse
// only after the status had gone out.
bool EmptyTicked(const Entry &entry);

// The sets of a Set, in order, each as the variables it may carry: the
// status alone, then the offset and the pair. A set none of whose rows is
// ticked is left out.
QList<QList<int>> WriteSteps(const Entry &entry);

} // namespace TSummerTimeFormRules
