#include "dialogs/generic/KtBindingWait.h"

#include "bindings/KtSNMPRequest2Controls.h"
#include "snmp/KtSNMPRequest.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <algorithm>

namespace KtBindingWait {

bool Quiet(const KtSNMPRequest2Controls &binding)
{
    return binding.Request.Pending <= 0;
}

bool Running(const KtSNMPRequest2Controls &binding)
{
    return binding.Busy && !Quiet(binding);
}

int AnswerBoundMs(const KtSNMPRequest2Controls &binding)
{
    const qint64 tries = qint64(binding.Request.Retries) + 1;
    return int(qMin<qint64>(qint64(binding.Request.Timeout) * 10 * tries + 500, 60000));
}

bool Wait(const QList<KtSNMPRequest2Controls *> &bindings, int maxMs)
{
    QList<QPointer<KtSNMPRequest2Controls>> watched;
    for (KtSNMPRequest2Controls *b : bindings)
        if (b)
            watched.append(b);
    const auto allQuiet = [&] {
        return std::all_of(watched.begin(), watched.end(),
                           [](const QPointer<KtSNMPRequest2Controls> &b) { return !b || Quiet(*b); });
    };
    if (!allQuiet() && maxMs > 0) {
        // The answers come through timers and sockets; a short poll sees
        // them without spinning.
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(5);
        QElapsedTimer clock;
        clock.start();
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (allQuiet() || clock.elapsed() >= maxMs)
                loop.quit();
        });
        poll.start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    for (const QPointer<KtSNMPRequest2Controls> &b : watched)
        if (b && Quiet(*b) && !b->Request.Alive)
            b->Busy = false;
    return allQuiet();
}

bool Stop(KtSNMPRequest2Controls &binding, int maxMs)
{
    binding.Request.Alive = false;
    return Wait({&binding}, maxMs);
}

} // namespace KtBindingWait
