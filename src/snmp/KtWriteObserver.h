#pragma once

#include "snmp/KtVarBind.h"

#include <QList>
#include <QString>

class KtSNMPRequest;

// One object of a set, as the write observer sees it.
struct KtWrittenObject
{
    int Var = -1;           // its descriptor in the request's list
    KtVarBind Value;        // the instance OID and the value sent
    bool OldKnown = false;  // OldText holds what the request read last
    QString OldText;        // display text, as the request shows values
};

// Learns of every set the agent accepts, whichever request sent it, so
// that a higher layer can keep track of changes without each dialog doing
// anything. One observer serves the process (none by default); requests
// call it on the GUI thread. It must not throw.
class KtWriteObserver
{
public:
    virtual ~KtWriteObserver();

    // Before a set goes out. Objects the request has read carry that value;
    // the observer may fill in the others (it may read the agent, not write).
    virtual void AboutToWrite(KtSNMPRequest &request, QList<KtWrittenObject> &objects) = 0;
    // The agent accepted the set. Never called for a failed one.
    virtual void Written(const KtSNMPRequest &request, const QList<KtWrittenObject> &objects) = 0;

    // Null removes the observer.
    static void Install(KtWriteObserver *observer);
    static KtWriteObserver *Installed();
};
