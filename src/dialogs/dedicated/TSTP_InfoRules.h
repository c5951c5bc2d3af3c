#pragma once

#include <QList>
#include <QString>

class KtOptionList;
class KtSNMPVarList;

// The spanning-tree settings: their descriptors, the 802.1D timer
// relations that must hold before anything is sent, and which sets a
// change needs.
namespace TSTP_InfoRules {

// Positions in the list of the editor binding (all seven scalars).
enum EditVar { Version, MaxAge, HelloTime, ForwardDelay, MaxHops, TxHoldCount, ForwardBpdu, EditVarCount };
// Positions in the list without Hello Time, which does not apply to MSTP.
enum MstpVar { MstpVersion, MstpMaxAge, MstpForwardDelay, MstpMaxHops, MstpTxHoldCount, MstpForwardBpdu, MstpVarCount };

inline constexpr char Mstp[] = "mstp";

const KtOptionList &Versions();
KtSNMPVarList EditList();
KtSNMPVarList MstpList();
// The edit format of an editor-list variable; empty for the drop-downs.
QString Format(int editVar);
// The editor-list position of an MSTP-list variable.
int EditVarOf(int mstpVar);

// The texts of the controls.
struct Entry
{
    QString version;
    QString maxAge;
    QString helloTime;
    QString forwardDelay;
    QString maxHops;
    QString txHoldCount;
    QString bpdu;
};

// Empty when the entry may be sent, else the message to show.
QString Check(const Entry &entry);

// One set: through the MSTP list or the editor list, writing these of its
// variables (the others are left out).
struct Set
{
    bool mstp = false;
    QList<int> vars;
    bool carriesVersion() const { return vars.contains(0); }
};

// The sets that take the device from the running version to the selected
// one with the entered values, in order.
QList<Set> Plan(const QString &selected, const QString &running);

} // namespace TSTP_InfoRules
