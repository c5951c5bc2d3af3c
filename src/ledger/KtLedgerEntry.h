#pragma once

#include <QDateTime>
#include <QString>

// One object changed on the switch since its configuration was last saved.
struct KtLedgerEntry
{
    QDateTime Time;        // of the latest write
    quint32 UpTime = 0;    // the switch's up-time (ticks) known at that write, at most the real one
    QString Where;         // menu path or dialog caption
    QString Oid;           // with instance
    QString Label;
    bool OldKnown = false; // false: the value before could not be read
    QString Old;           // display text before the first write ("(NULL)": the object did not exist)
    QString New;           // display text of the latest write
    QString Type;          // snmpset type letter of the value sent
    QString Value;         // the value sent, as snmpset takes it; empty for a secret
    bool Secret = false;   // Old, New and Value are never stored
};
