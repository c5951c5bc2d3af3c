#include "bindings/KtSNMPRequest2Controls.h"

#include "bindings/KtRequestLink.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPRequest.h"
#include "values/KtTypes.h"
#include "values/widgets/KtMessageService.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStatusBar>

#include <utility>

namespace {

QString successText()
{
    return StatusToError(0).text;
}

bool inStatusBar(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QStatusBar *>(p))
            return true;
    return false;
}

} // namespace

KtSNMPRequest2Controls::KtSNMPRequest2Controls(QWidget *owner)
    : m_link(std::make_unique<KtRequestLink>(
          [this](bool read, const KtSNMPError &result) { answered(read, result); },
          [this](bool read, const KtException &error) { failed(read, error); })),
      Request(m_link->Request()), Owner(owner)
{
}

// An exchange still outstanding keeps the request in the link's care.
KtSNMPRequest2Controls::~KtSNMPRequest2Controls()
{
    Busy = false;
}

bool KtSNMPRequest2Controls::isTable(int kind)
{
    return kind == KtKind::MVT_FMV || kind == KtKind::MVT_UMV;
}

void KtSNMPRequest2Controls::SetStatusTarget(QObject *target)
{
    StatusTarget = target;
}

void KtSNMPRequest2Controls::SetStatusBar(QStatusBar *bar)
{
    StatusTarget = bar;
}

void KtSNMPRequest2Controls::SetStatusPanel(QLabel *panel)
{
    StatusTarget = panel;
}

QString KtSNMPRequest2Controls::StatusText(int operation, const QString &displayName, const QString &error,
                                           const QTime &time)
{
    QString text = KtCatalogue::Text(KtCatalogue::Templates, operation == 1 ? 1 : 0);
    const QString errorMark = QStringLiteral("[ERROR]");
    const QString listMark = QStringLiteral("[VARLIST]");
    if (displayName.isEmpty()) {
        // Everything after the error mark up to the end of the list mark goes.
        const qsizetype a = text.indexOf(errorMark);
        const qsizetype v = text.indexOf(listMark);
        if (a >= 0 && v >= a)
            text.remove(a + errorMark.size(), v + listMark.size() - a - errorMark.size());
    }
    text.replace(listMark, displayName);
    text.replace(errorMark, error);
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const QString clock = QString::asprintf("%02d:%02d:%02d %s", hour, time.minute(), time.second(),
                                            time.hour() < 12 ? "AM" : "PM");
    text.replace(QStringLiteral("[TIME]"), clock);
    return text;
}

void KtSNMPRequest2Controls::ShowStatus(const QString &error)
{
    QObject *target = StatusTarget.data();
    if (!target)
        return;
    const QString line = StatusText(LastOperation, Request.Vars.DisplayName, error, QTime::currentTime());
    if (auto *memo = qobject_cast<QPlainTextEdit *>(target)) {
        memo->appendPlainText(line);
    } else if (auto *bar = qobject_cast<QStatusBar *>(target)) {
        bar->showMessage(line);
    } else if (auto *panel = qobject_cast<QLabel *>(target)) {
        if (inStatusBar(panel))
            panel->setText(line);
    }
}

void KtSNMPRequest2Controls::report(const QString &message)
{
    if (StatusTarget)
        ShowStatus(message);
    else
        KtMessageService::Inform(Owner, message);
}

void KtSNMPRequest2Controls::ReportException(const KtException &error)
{
    report(error.message());
}

void KtSNMPRequest2Controls::Guarded(const std::function<void()> &work)
{
    try {
        work();
    } catch (const KtException &e) {
        ReportException(e);
    }
}

// A row counts only when the request's condition holds for it (the
// binding's own condition is always empty).
void KtSNMPRequest2Controls::takeRow()
{
    if (Request.Evaluate(QString()) && Request.MatchesCondition()) {
        RowReceived();
        ++ResultCount;
    }
}

// Runs work with Busy set; a failure clears it and goes on to the caller.
void KtSNMPRequest2Controls::whileBusy(const std::function<void()> &work)
{
    Busy = true;
    try {
        work();
    } catch (const KtException &) {
        Busy = false;
        throw;
    }
}

void KtSNMPRequest2Controls::Read()
{
    LastOperation = 0;
    BeforeRead();
    ResultCount = 0;
    if (Asynchronous) {
        // Busy stays set until the answer, unless nothing went out.
        whileBusy([this] { Busy = m_link->FetchAsync(true); });
        m_stopped = false;
        setWalking(Busy && isTable(Request.Vars.Kind));
        return;
    }
    whileBusy([this] {
        if (isTable(Request.Vars.Kind)) {
            setWalking(true);
            const auto ended = qScopeGuard([this] { setWalking(false); });
            for (bool more = Request.Fetch(true); more; more = Request.Fetch(false))
                takeRow();
        } else {
            Request.Fetch(true);
            takeRow();
        }
        AfterRead();
    });
    Busy = false;
    if (StatusTarget)
        ShowStatus(successText());
}

void KtSNMPRequest2Controls::Write(bool refreshAfterSet, bool collect, const QString &columns,
                                   const QStringList &values)
{
    LastOperation = 1;
    RefreshAfterSet = refreshAfterSet;
    BeforeWrite();
    if (collect)
        CollectValues();
    if (Asynchronous) {
        whileBusy([&] { Busy = m_link->StoreAsync(columns, values); });
        return;
    }
    whileBusy([&] {
        Request.Store(columns, values);
        AfterWrite();
    });
    Busy = false;
    if (StatusTarget)
        ShowStatus(successText());
    if (isTable(Request.Vars.Kind) && RefreshAfterSet)
        Read();
}

void KtSNMPRequest2Controls::answered(bool read, const KtSNMPError &result)
{
    if (read)
        readStep(result);
    else
        writeAnswered(result);
}

void KtSNMPRequest2Controls::failed(bool read, const KtException &error)
{
    Busy = false;
    if (read && std::exchange(m_stopped, false))
        return;
    if (read) {
        LastOperation = 0;
        setWalking(false);
    }
    ReportException(error);
}

void KtSNMPRequest2Controls::readStep(const KtSNMPError &result)
{
    if (std::exchange(m_stopped, false)) {
        Busy = false;
        return;
    }
    if (result.Code != 0) {
        Busy = false;
        setWalking(false);
        const QPointer<KtSNMPRequest2Controls> self(this);
        ReadFailed(result);
        if (self && OnReadDone) {
            const DoneHandler done = OnReadDone;
            done(this, result);
        }
        return;
    }
    if (!isTable(Request.Vars.Kind)) {
        takeRow();
        finishRead(result);
        return;
    }
    if (!result.Finished) {
        takeRow();
        if (m_link->FetchAsync(false))
            return;
    }
    finishRead(result);
}

void KtSNMPRequest2Controls::StopRead()
{
    if (!m_walking || !Asynchronous)
        return;
    m_stopped = true;
    AfterRead();
    setWalking(false);
    LastOperation = 0;
    if (StatusTarget)
        ShowStatus(tr("Walk stopped!"));
}

void KtSNMPRequest2Controls::setWalking(bool walking)
{
    if (m_walking == walking)
        return;
    m_walking = walking;
    emit WalkRunning(walking);
}

void KtSNMPRequest2Controls::finishRead(const KtSNMPError &result)
{
    AfterRead();
    Busy = false;
    setWalking(false);
    if (!StatusTarget)
        return;
    LastOperation = 0;
    ShowStatus(successText());
    if (OnReadDone) {
        const DoneHandler done = OnReadDone;
        done(this, result);
    }
}

void KtSNMPRequest2Controls::writeAnswered(const KtSNMPError &result)
{
    const QPointer<KtSNMPRequest2Controls> self(this);
    const DoneHandler done = OnWriteDone;
    if (result.Code != 0) {
        Busy = false;
        WriteFailed(result);
        if (self && done)
            done(this, result);
        return;
    }
    AfterWrite();
    Busy = false;
    LastOperation = 1;
    if (StatusTarget)
        ShowStatus(successText());
    if (done)
        done(this, result);
    // Only now, after the set has been answered, and only if the binding is still there.
    if (self && isTable(Request.Vars.Kind) && RefreshAfterSet)
        Read();
}

void KtSNMPRequest2Controls::BeforeRead() {}
void KtSNMPRequest2Controls::BeforeWrite() {}
void KtSNMPRequest2Controls::CollectValues() {}

void KtSNMPRequest2Controls::ReadFailed(const KtSNMPError &result)
{
    LastOperation = 0;
    report(result.Message);
}

void KtSNMPRequest2Controls::WriteFailed(const KtSNMPError &result)
{
    LastOperation = 1;
    report(result.Message);
}

void KtSNMPRequest2Controls::AfterRead() {}
void KtSNMPRequest2Controls::AfterWrite() {}
