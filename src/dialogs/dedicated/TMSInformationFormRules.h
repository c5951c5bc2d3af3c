#pragma once

#include <QString>
#include <QStringList>

class KtSNMPVarList;

// The member switches of single-IP management: the table, the single
// instance through which a member is added or removed, and the checks
// before a member is added.
namespace TMSInformationFormRules {

// Columns of the member table.
enum Column { Id, DeviceName, Mac, Firmware, Capability, Platform, Holdtime, CasSource, Password, RowStatus };
// Variables of the single instance.
enum EditVar { EditId, EditCandidate, EditPassword, EditRowStatus };
// Items of the row-status drop-down.
enum StatusItem { Active, CreateAndGo, Destroy };

inline constexpr int MinId = 1;
inline constexpr int MaxId = 32;
inline constexpr char IdFormat[] = "%i{n1x32l2a}";
inline constexpr char PasswordFormat[] = "%s";
inline constexpr int RequestTimeout = 500;  // 5 s

KtSNMPVarList TableList();
KtSNMPVarList EditList();

// The add dialog's entries.
struct Entry
{
    QString id;
    QString candidate;
    QString rowStatus;
};

// Which field a refusal is about, so the dialog can focus it.
enum class Field { None, Id, Candidate, RowStatus };

struct Verdict
{
    QString message;  // empty: the member may be added
    Field focus = Field::None;
    bool warning = false;
    QString suffix;  // the instance to address when accepted
};

// existingIds: the IDs of the rows in the list.
Verdict CheckAdd(const Entry &entry, const QStringList &existingIds);

// The instance of a listed row's ID; empty when the text is no ID.
QString SuffixOf(const QString &id);

} // namespace TMSInformationFormRules
