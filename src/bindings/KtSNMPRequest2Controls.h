#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <memory>

class KtException;
class KtRequestLink;
class KtSNMPRequest;
class QLabel;
class QStatusBar;
class QWidget;
struct KtSNMPError;

// Base of every binding between one request and a set of controls: runs
// the read (get, or a walk one row per exchange) and the write (set),
// blocking or asynchronous, hands each accepted answer to RowReceived and
// reports the outcome in one status line.
//
// Asynchronous answers arrive through KtRequestLink; the binding may be
// deleted at any time, even while a walk is running or from inside
// OnReadDone/OnWriteDone. Failures raised while handling an answer are shown
// in the status line, or without one in a message box over Owner.
class KtSNMPRequest2Controls : public QObject
{
    Q_OBJECT

    std::unique_ptr<KtRequestLink> m_link;  // first: Request refers into it

public:
    // Called when an asynchronous operation has ended (see Read and Write for when).
    using DoneHandler = std::function<void(KtSNMPRequest2Controls *binding, const KtSNMPError &result)>;

    explicit KtSNMPRequest2Controls(QWidget *owner);
    ~KtSNMPRequest2Controls() override;

    KtSNMPRequest &Request;
    DoneHandler OnReadDone;
    DoneHandler OnWriteDone;
    bool Asynchronous = true;
    bool Busy = false;
    QPointer<QWidget> Owner;
    int ResultCount = 0;
    // A QPlainTextEdit (a line is appended), a QStatusBar (its message) or a
    // QLabel placed in a status bar (its text); other objects are ignored.
    QPointer<QObject> StatusTarget;
    int LastOperation = 0;  // 0 get, 1 set: picks the status template
    bool RefreshAfterSet = true;

    void SetStatusTarget(QObject *target);
    void SetStatusBar(QStatusBar *bar);
    void SetStatusPanel(QLabel *panel);

    // Fills the template of LastOperation and shows it in the status target.
    void ShowStatus(const QString &error);
    // The filled template: with an empty list name the request part goes.
    static QString StatusText(int operation, const QString &displayName, const QString &error,
                              const QTime &time);

    // Blocking: raises the engine's KtException with its text and code.
    // Asynchronous: returns at once; OnReadDone follows a failure, and a
    // success only when a status target is set.
    void Read();
    // Asynchronous: OnWriteDone follows every answer. A table list is read
    // again after a successful set when refreshAfterSet holds.
    void Write(bool refreshAfterSet = true, bool collect = true, const QString &columns = {},
               const QStringList &values = {});

    // Stops a running asynchronous table walk at once: the rows read so far
    // stay, the status line says the walk was stopped, no row follows. Busy
    // stays set until the exchange in flight is back; its answer is dropped.
    void StopRead();
    // A table walk is running (and has not been stopped).
    bool Walking() const { return m_walking; }

    // The steps of Read and Write, in this order.
    virtual void BeforeRead();
    virtual void BeforeWrite();
    virtual void RowReceived() = 0;
    virtual void CollectValues();
    virtual void ReadFailed(const KtSNMPError &result);
    virtual void WriteFailed(const KtSNMPError &result);
    virtual void AfterRead();
    virtual void AfterWrite();

signals:
    // A table walk started (true), or ended: finished, failed or stopped.
    void WalkRunning(bool running);

protected:
    // A failure that reached a callback or a control's handler: the status
    // line with the current LastOperation, or a message box without one.
    void ReportException(const KtException &error);
    // Runs work for a widget's signal; a KtException it raises is reported.
    void Guarded(const std::function<void()> &work);

private:
    void takeRow();
    void whileBusy(const std::function<void()> &work);
    void answered(bool read, const KtSNMPError &result);
    void failed(bool read, const KtException &error);
    void readStep(const KtSNMPError &result);
    void finishRead(const KtSNMPError &result);
    void writeAnswered(const KtSNMPError &result);
    void report(const QString &message);
    static bool isTable(int kind);
    void setWalking(bool walking);

    bool m_walking = false;
    bool m_stopped = false;  // the answer in flight belongs to a stopped walk
};
