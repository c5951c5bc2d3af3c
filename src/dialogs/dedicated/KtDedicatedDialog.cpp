#include "dialogs/dedicated/KtDedicatedDialog.h"

#include "bindings/KtSNMPRequest2Edits.h"
#include "dialogs/dedicated/KtSubForm.h"
#include "dialogs/generic/KtBindingWait.h"
#include "dialogs/generic/KtSlotGuard.h"
#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "snmp/KtSNMPError.h"
#include "snmp/KtSNMPRequest.h"
#include "values/widgets/KtMessageService.h"

#include <QPushButton>
#include <QShortcut>
#include <QTimer>

KtDedicatedDialog::KtDedicatedDialog(QWidget *owner) : QDialog(owner) {}

// A dialog deleted without being closed drops its answers still on their
// way (the bindings' links see to that) instead of waiting for them.
KtDedicatedDialog::~KtDedicatedDialog()
{
    for (auto &b : m_bindings)
        b->Request.Alive = false;
    m_pending.clear();
    m_bindings.clear();
}

void KtDedicatedDialog::adopt(std::unique_ptr<KtSNMPRequest2Controls> binding)
{
    KtSNMPRequest2Controls *b = binding.get();
    b->OnWriteDone = [this](KtSNMPRequest2Controls *from, const KtSNMPError &result) { writeAnswered(from, result); };
    b->OnReadDone = [this](KtSNMPRequest2Controls *from, const KtSNMPError &result) { readAnswered(from, result); };
    m_bindings.push_back(std::move(binding));
}

void KtDedicatedDialog::AdoptEdits(const KtSNMPVarList &vars, bool asynchronous)
{
    auto binding = std::make_unique<KtSNMPRequest2Edits>(this);
    binding->Request.Vars = vars;
    binding->Asynchronous = asynchronous;
    Edits = Adopt(std::move(binding));
}

void KtDedicatedDialog::writeAnswered(KtSNMPRequest2Controls *binding, const KtSNMPError &result)
{
    const Outcome then = m_pending.take(binding);
    if (then && !m_closed)
        then(result);
}

void KtDedicatedDialog::readAnswered(KtSNMPRequest2Controls *binding, const KtSNMPError &result)
{
    m_complete.insert(binding, result.Code == 0);
    if (!m_closed)
        ReadDone(binding, result);
}

void KtDedicatedDialog::FirstShown()
{
    if (Edits)
        StartRead(*Edits);
}

void KtDedicatedDialog::ReadDone(KtSNMPRequest2Controls *, const KtSNMPError &) {}

void KtDedicatedDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    QTimer::singleShot(0, this, [this] {
        if (!m_closed)
            Guard([this] { FirstShown(); });
    });
}

void KtDedicatedDialog::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        QList<KtSNMPRequest2Controls *> bindings;
        int bound = 0;
        for (auto &b : m_bindings) {
            b->Request.Alive = false;
            bindings.append(b.get());
            bound = qMax(bound, KtBindingWait::AnswerBoundMs(*b));
        }
        KtBindingWait::Wait(bindings, bound);
        m_pending.clear();
    }
    QDialog::done(result);
}

void KtDedicatedDialog::StartRead(KtSNMPRequest2Controls &binding)
{
    if (m_closed)
        return;
    if (!KtBindingWait::Quiet(binding))
        KtBindingWait::Wait({&binding}, KtBindingWait::AnswerBoundMs(binding));
    binding.Request.Alive = true;
    m_complete.insert(&binding, false);
    KtSNMPError outcome;
    outcome.Finished = true;
    try {
        binding.Read();
    } catch (const KtException &e) {
        binding.LastOperation = 0;
        binding.ShowStatus(e.message());
        outcome.Code = e.code();
        outcome.Message = e.message();
        readAnswered(&binding, outcome);
        return;
    }
    // A blocking read has ended here; an asynchronous one reports later.
    if (!binding.Asynchronous) {
        outcome.Message = StatusToError(0).text;
        readAnswered(&binding, outcome);
    }
}

void KtDedicatedDialog::StopRead(KtSNMPRequest2Controls &binding)
{
    KtBindingWait::Stop(binding, KtBindingWait::AnswerBoundMs(binding));
    binding.Request.Alive = !m_closed;
}

bool KtDedicatedDialog::WaitUntilIdle(KtSNMPRequest2Controls &binding, int maxMs)
{
    if (binding.Busy)
        KtBindingWait::Wait({&binding}, maxMs);
    return !binding.Busy;
}

void KtDedicatedDialog::StartWrite(KtSNMPRequest2Controls &binding, bool refreshAfterSet, bool collect,
                                   Outcome then)
{
    if (m_closed)
        return;
    binding.Request.Alive = true;
    KtSNMPError outcome;
    outcome.Finished = true;
    if (binding.Asynchronous)
        m_pending.insert(&binding, then);
    try {
        binding.Write(refreshAfterSet, collect);
    } catch (const KtException &e) {
        m_pending.remove(&binding);
        binding.LastOperation = 1;
        binding.ShowStatus(e.message());
        outcome.Code = e.code();
        outcome.Message = e.message();
        if (then)
            then(outcome);
        return;
    }
    if (!binding.Asynchronous) {
        outcome.Message = StatusToError(0).text;
        if (then)
            then(outcome);
    }
}

void KtDedicatedDialog::StartSubFormWrite(KtSubForm *form, QPushButton *setButton, bool refreshAfterSet,
                                          const std::function<void()> &accepted)
{
    form->ShowFailure(QString());
    setButton->setEnabled(false);
    StartWrite(*Edits, refreshAfterSet, true, [form, setButton, accepted](const KtSNMPError &result) {
        setButton->setEnabled(true);
        if (result.Code != 0) {
            form->ShowFailure(result.Message);
            return;
        }
        form->accept();
        if (accepted)
            accepted();
    });
}

bool KtDedicatedDialog::WritePending(const KtSNMPRequest2Controls &binding) const
{
    return m_pending.contains(&binding);
}

bool KtDedicatedDialog::ReadyFor(KtSNMPRequest2Controls &binding)
{
    if (WaitUntilIdle(binding) && !WritePending(binding))
        return true;
    KtMessageService::Inform(this, tr("The device has not answered the previous request yet. Please try again."));
    return false;
}

bool KtDedicatedDialog::ListComplete(const KtSNMPRequest2Controls &binding) const
{
    return m_complete.value(&binding, false);
}

bool KtDedicatedDialog::ReadyToCompare(KtSNMPRequest2Controls &binding)
{
    if (!ReadyFor(binding))
        return false;
    if (ListComplete(binding))
        return true;
    KtMessageService::Inform(this, tr("The list has not been read completely. Please refresh it first."));
    return false;
}

void KtDedicatedDialog::Guard(const std::function<void()> &work)
{
    KtRunGuarded(this, m_bindings.empty() ? nullptr : m_bindings.front().get(), work);
}

void KtDedicatedDialog::SetTabOrder(const QList<QWidget *> &widgets)
{
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets.at(i - 1), widgets.at(i));
}

void KtDedicatedDialog::SetRefresh(const std::function<void()> &refresh)
{
    auto *shortcut = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(shortcut, &QShortcut::activated, this, [this, refresh] { Guard(refresh); });
}
