#pragma once

#include "snmp/KtOid.h"
#include "snmp/KtVarBind.h"

#include <QList>
#include <QString>

// The columns of a table walk read ahead with get-bulk, handed out as the
// answers a get-next of every column would have had.
//
// A get-bulk answer holds, per asked column, the chain of objects that
// follow the place it was asked from. Within a chain nothing lies between
// two neighbours, so the get-next answer for any place from the chain's
// start on is its first object beyond that place. A chain ends with the
// first object that has left its column (or endOfMibView); that object answers every place past the column's
// last object (past the end object itself the agent's answer would lie
// outside the column too, so the column ends all the same). An answer may stop anywhere, also inside a repetition:
// columns with too little stay asked for again.
//
// Places are the OIDs a get-next would ask, one per column in column order
// (KtSNMPRequest asks each column's base, then its last answered OID).
class KtBulkWalk
{
public:
    static constexpr int MaxRepetitions = 64;
    static constexpr int AnswerBudget = 8000;  // octets of an answer we aim for

    struct Request
    {
        QList<int> columns;        // positions of the asked columns
        QList<KtVarBind> vbs;      // one per asked column, where it is asked from
        int repetitions = 1;
    };

    // Column bases in column order, each with its descriptor's type code;
    // indexOctets: estimated octets of a row's instance suffix. Forgets what
    // was read ahead, not the cap. limit caps the repetitions (0: none
    // beyond MaxRepetitions).
    void Start(const QStringList &bases, const QList<quint32> &types, int indexOctets, int limit = 0);
    // Whether the columns are these (and none was cleared).
    bool Serves(const QStringList &bases) const { return !m_columns.isEmpty() && m_bases == bases; }
    void Clear();

    bool CanAnswer(const QList<KtVarBind> &places) const;
    // The get-next answers for places; only when CanAnswer. Forgets what
    // lies before them.
    QList<KtVarBind> Answer(const QList<KtVarBind> &places);

    // The get-bulk for the columns that cannot answer their place.
    Request Next(const QList<KtVarBind> &places) const;
    // Takes the answer to request; false when it is nonsense: empty, or an
    // object that does not follow the one before it in its column.
    bool Take(const Request &request, const QList<KtVarBind> &answer);

    // After an answer too big (or lost) with repetitions: asks with half as
    // many from now on. False when already at one.
    bool Halve(int repetitions);
    int Cap() const { return m_cap; }

    // Estimated octets of a varbind in an answer.
    static int ValueOctets(quint32 type);
    static int IndexOctets(quint32 type, bool implied);
    static int Octets(const KtVarBind &vb);

private:
    struct Cell
    {
        KtOid oid;
        KtVarBind vb;
    };
    struct Column
    {
        KtOid base;
        int octets = 0;       // estimated per varbind
        bool read = false;    // a chain was read from start
        KtOid start;
        QList<Cell> cells;
        bool ended = false;   // end holds the object past the column
        KtVarBind end;
    };

    const KtVarBind *answerFor(const Column &c, const KtOid &place) const;

    QList<Column> m_columns;
    QStringList m_bases;
    int m_cap = MaxRepetitions;
};
