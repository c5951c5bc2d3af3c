#pragma once

#include <QDialog>
#include <QHash>
#include <QList>

#include <functional>
#include <memory>
#include <vector>

class KtSNMPRequest2Controls;
class KtSNMPRequest2Edits;
class KtSNMPVarList;
class KtSubForm;
class QPushButton;
struct KtSNMPError;

// The frame of a dedicated dialog: it owns the dialog's bindings, reads
// once from the event loop after it was first shown, starts writes whose
// outcome comes back in one continuation, and stops its bindings and
// waits (bounded) for their last answers before it closes.
//
// The bindings go before the dialog's widgets (they are members here,
// the widgets are children), so no binding outlives a control it shows.
class KtDedicatedDialog : public QDialog
{
    Q_OBJECT

public:
    using Outcome = std::function<void(const KtSNMPError &result)>;

    explicit KtDedicatedDialog(QWidget *owner);
    ~KtDedicatedDialog() override;

    // How long an operation waits for a walk to end before it gives up.
    static constexpr int ReadWaitMs = 30000;

    void done(int result) override;
    bool IsClosed() const { return m_closed; }

    // The binding of the dialog's fields and list, from AdoptEdits.
    KtSNMPRequest2Edits *Edits = nullptr;

protected:
    // Takes the binding; the first one adopted reports the failures of Guard.
    template <class Binding>
    Binding *Adopt(std::unique_ptr<Binding> binding)
    {
        Binding *b = binding.get();
        adopt(std::move(binding));
        return b;
    }

    // Makes Edits: a binding of vars, adopted.
    void AdoptEdits(const KtSNMPVarList &vars, bool asynchronous = true);

    // Runs once, from the event loop, after the dialog was first shown;
    // reads Edits unless overridden.
    virtual void FirstShown();
    // Runs when a read of the binding has ended, failed or not (a stopped
    // walk does not end this way).
    virtual void ReadDone(KtSNMPRequest2Controls *binding, const KtSNMPError &result);

    // Starts a read; the last answer of a stopped walk is awaited first.
    // A failure raised on the way is shown in the binding's status line.
    void StartRead(KtSNMPRequest2Controls &binding);
    // Ends a running walk at its next step and waits for it.
    void StopRead(KtSNMPRequest2Controls &binding);
    // Waits until a read or write of the binding has ended; true when it has.
    bool WaitUntilIdle(KtSNMPRequest2Controls &binding, int maxMs = ReadWaitMs);
    // Starts a write and runs then once with its outcome: the answer, or
    // the failure raised while starting it (which is also shown in the
    // status line). A blocking binding runs then before this returns.
    void StartWrite(KtSNMPRequest2Controls &binding, bool refreshAfterSet, bool collect, Outcome then);
    // Writes Edits for a sub-form: setButton is off until the answer; a
    // failure stays in the form, success closes it and runs accepted.
    void StartSubFormWrite(KtSubForm *form, QPushButton *setButton, bool refreshAfterSet,
                           const std::function<void()> &accepted = {});
    // A write started by StartWrite has not been answered yet.
    bool WritePending(const KtSNMPRequest2Controls &binding) const;

    // Waits for a running read or write of the binding; false, after
    // saying so, when it did not end in time.
    bool ReadyFor(KtSNMPRequest2Controls &binding);
    // The last read of the binding went through to its end.
    bool ListComplete(const KtSNMPRequest2Controls &binding) const;
    // ReadyFor, and the list complete; checks that compare with every row
    // of the list run only then. False after saying why.
    bool ReadyToCompare(KtSNMPRequest2Controls &binding);

    // Runs work for a widget's signal; a KtException ends in the first
    // binding's status line, or without one in a message box.
    void Guard(const std::function<void()> &work);
    // F5 runs refresh.
    void SetRefresh(const std::function<void()> &refresh);
    // Tab goes through the widgets in this order (that of the screen).
    static void SetTabOrder(const QList<QWidget *> &widgets);

    void showEvent(QShowEvent *event) override;

private:
    void adopt(std::unique_ptr<KtSNMPRequest2Controls> binding);
    void writeAnswered(KtSNMPRequest2Controls *binding, const KtSNMPError &result);
    void readAnswered(KtSNMPRequest2Controls *binding, const KtSNMPError &result);

    std::vector<std::unique_ptr<KtSNMPRequest2Controls>> m_bindings;
    QHash<const KtSNMPRequest2Controls *, Outcome> m_pending;
    QHash<const KtSNMPRequest2Controls *, bool> m_complete;
    bool m_shown = false;
    bool m_closed = false;
};
