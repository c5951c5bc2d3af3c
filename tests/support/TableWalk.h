#pragma once

// A whole table walk of a request, blocking or through the event pump, as
// rows of "|"-joined value texts. Header only: its users link qsx_snmp.

#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "snmp/KtSnmpEngine.h"

#include <QStringList>
#include <QTest>

namespace TestSupport {

struct TableWalk
{
    QStringList rows;
    int code = 0;           // of the failure that ended it; 1: no end within a minute
    quint64 exchanges = 0;  // datagrams the engine sent meanwhile

    static QString rowText(const KtSNMPVarList &vars)
    {
        QStringList cells;
        for (int i = 0; i < vars.Count(); ++i)
            cells << vars.Get(i).Value;
        return cells.join(u'|');
    }

    static TableWalk of(KtSNMPRequest &r, bool async)
    {
        TableWalk w;
        const quint64 sent = KtSnmpEngine::Instance().PacketsSent();
        if (async) {
            Step s{&r, &w, false};
            r.FetchAsync(&Step::next, &s, true);
            if (!QTest::qWaitFor([&] { return s.done; }, 60000))
                w.code = 1;
        } else {
            try {
                for (bool more = r.Fetch(true); more; more = r.Fetch(false))
                    w.rows << rowText(r.Vars);
            } catch (const KtException &e) {
                w.code = e.code();
            }
        }
        w.exchanges = KtSnmpEngine::Instance().PacketsSent() - sent;
        return w;
    }

private:
    struct Step
    {
        KtSNMPRequest *request;
        TableWalk *walk;
        bool done;

        static void next(void *data, KtSNMPError *result, KtSNMPVarList *vars)
        {
            auto *s = static_cast<Step *>(data);
            s->done = result->Code != 0 || result->Finished;
            if (s->done) {
                s->walk->code = result->Code;
                return;
            }
            s->walk->rows << rowText(*vars);
            s->request->FetchAsync(&Step::next, s, false);
        }
    };
};

} // namespace TestSupport
