#pragma once

#include "dialogs/monitors/KtCounterModel.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class KtRatePlot;
class KtSNMPRequest2Controls;
class KtSNMPRequest2Edits;
class KtSNMPVarList;
class QComboBox;
class QLabel;
class QPushButton;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QVBoxLayout;
struct KtSNMPError;

// What every counter monitor has: the six-column list of counters, the
// poll interval, the clock, Reset/Start/Pause/Exit, the poll timer and a
// status bar whose panel 0 is the status target of the bindings.
//
// A poll reads the counter binding asynchronously into a hidden one-row
// list; its answer feeds the model, which the visible list only shows. A
// tick never starts a poll while the previous one is still out, and the
// dialog may close at any moment: an answer that comes in after it went
// is dropped by the binding layer.
class KtCounterMonitor : public QDialog
{
    Q_OBJECT

public:
    struct Setup
    {
        QString caption;        // with the host text already appended
        QStringList rowNames;
        KtCounterModel::Rule rule = KtCounterModel::Rule::ShowDelta;
        QString listName;       // object name of the visible list
        QString hiddenName;     // object name of the hidden one
        bool ratePlot = true;   // the rate of the selected row under the list
        QString timeLabel = QStringLiteral("System Time");
    };

    KtCounterMonitor(QWidget *parent, const Setup &setup);
    ~KtCounterMonitor() override;

    const KtCounterModel &Model() const { return m_model; }
    bool Running() const { return m_running; }
    KtSNMPRequest2Edits *CounterBinding() const { return m_counters.get(); }

    // The form's handlers; tests drive them directly as the widgets do.
    void Timer1Timer();
    void CB_IntervalChange();
    void BT_StartClick();
    void BT_StopClick();
    void BT_ResetClick();

    void done(int result) override;

signals:
    // After every answer to a poll: true when it was taken into the model.
    void PollDone(bool sampled);

protected:
    // Builds the counter binding over vars: asynchronous, status to panel
    // 0, answers into the hidden list. Counter i is variable firstVar + i.
    // A binding that is still reading is dropped with its answer.
    void SetCounterList(const KtSNMPVarList &vars, int firstVar);
    void DropCounterBinding();
    // Starts one poll unless one is out; false when none was started.
    bool Poll();
    void SetRunning(bool on) { m_running = on; }
    // Sets up a binding of the dialog the way the counter binding is:
    // asynchronous, status into panel 0.
    void PrepareBinding(KtSNMPRequest2Controls &binding);
    // The status line for an error of this dialog itself.
    void ShowError(const QString &text);

    // The model to the visible list (rows, texts, widths, rate plot).
    void ShowModel();
    KtCounterModel &MutableModel() { return m_model; }

    // The Reset of the form; subclasses add their own steps around it.
    virtual void ResetCounters();
    // After a pass was taken into the model and shown.
    virtual void Sampled() {}
    // After every answer to a poll; ok when it brought a row of counters
    // (whether or not it was sampled).
    virtual void PollAnswered(bool ok) { Q_UNUSED(ok); }
    // The next good answer is not taken into the model.
    void SkipNextSample() { m_skipSample = true; }

    QVBoxLayout *Body() const { return m_body; }
    QWidget *CounterPanel() const { return m_panel; }
    QLabel *StatusPanel() const { return m_status; }
    QTimer *Timer() const { return m_timer; }
    QString Now() const;

    QTreeWidget *m_list = nullptr;
    QTreeWidget *m_hidden = nullptr;
    QComboBox *m_interval = nullptr;
    QLabel *m_time = nullptr;
    QPushButton *m_reset = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_exit = nullptr;

private:
    void answered(KtSNMPRequest2Controls *binding, const KtSNMPError &result);
    bool takeAnswer();
    void showPlot();

    KtCounterModel m_model;
    std::unique_ptr<KtSNMPRequest2Edits> m_counters;
    int m_firstVar = 0;
    bool m_running = false;
    bool m_skipSample = false;
    QVBoxLayout *m_body = nullptr;
    QWidget *m_panel = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_status = nullptr;
    QTimer *m_timer = nullptr;
    KtRatePlot *m_plot = nullptr;
};
