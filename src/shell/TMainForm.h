#pragma once

#include "dialogs/registry/KtMainWindowServices.h"
#include "shell/KtDisplaySettings.h"
#include "shell/TFindEntryDialog.h"

#include <QMainWindow>
#include <QPointer>
#include <QTextBrowser>

#include <functional>

class KtChangeLedger;
class KtDoctorWatch;
class KtFrontPanelImage;
class KtMenuEntry;
class KtPortPanel;
class KtSNMPRequest2Edits;
class KtSNMPRequest2Leds;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QStatusBar;
class TChangesForm;
class TPortPageForm;

// The module's one long-lived window: the switch's front panel with live
// LEDs, status panel 0, the menu bar, the device actions and the exit
// question.
//
// Every menu entry is a QAction (a submenu: its menuAction()) whose object
// name is the entry's component name, so the state logic below finds
// entries by name whoever built them.
class TMainForm : public QMainWindow, public KtMainWindowServices
{
    Q_OBJECT

public:
    static constexpr const char *HelpFileName = "QSX-4810 r4-5 JUN 08 Rhexmon-v9.html";
    static constexpr const char *SaveConfigOid = "1.3.6.1.4.1.32473.12.1.2.6";
    static constexpr const char *RebootOid = "1.3.6.1.4.1.32473.12.1.2.19";
    static constexpr const char *RmonStateOid = "1.3.6.1.4.1.32473.11.69.1.2.1.2.3";
    static constexpr const char *StpVersionOid = "1.3.6.1.4.1.32473.12.15.1.2";
    // A switch may restart before it answers the reboot set.
    static constexpr const char *RebootTimeoutText = "No answer to the reboot request: the device may be restarting.";

    // Builds the menu bar of a new window; the default gives the whole catalogue.
    using MenuBuilder = std::function<void(TMainForm &form, QMenuBar *bar)>;

    explicit TMainForm(const MenuBuilder &buildMenus = {}, QWidget *parent = nullptr);
    ~TMainForm() override;

    // Start-up (session, catalogues, switches, profile), then the window's
    // own set-up: front panel, caption, SNMPv3 items, RMON state. False
    // when start-up ended; the program then exits with ExitCode().
    bool FormCreate(const QStringList &arguments, const QString &executableFolder);
    int ExitCode() const { return m_exitCode; }

    // Menu entries from the catalogue, each with its parent menus, in
    // catalogue order; include picks the entries. Entries that are the
    // window's own commands get them.
    static void BuildMenus(TMainForm &form, QMenuBar *bar, const std::function<bool(const KtMenuEntry &)> &include);
    // The default builder: every catalogue entry.
    static void BuildCatalogueMenus(TMainForm &form, QMenuBar *bar);
    // The entries of OwnCommand only.
    static void BuildOwnMenus(TMainForm &form, QMenuBar *bar);
    // What the window does for a catalogue entry itself; empty for the others.
    std::function<void()> OwnCommand(const KtMenuEntry &entry);
    // What clicking an entry does: OwnCommand, a configuration dialog, a
    // dedicated dialog or a sibling module; empty for entries without action.
    std::function<void()> Command(const KtMenuEntry &entry);

    // A menu entry by component name; null when the menu has none.
    QAction *MenuItem(const QString &name) const;

    // Reads the RMON state and enables the RMON entries by it; also run
    // when the "RMON State" dialog closes.
    void RmonStateCheck();

    // Commands.
    void SaveConfigClick();
    void ResetClick();
    void H1Click();
    void About1Click();
    void SNMPConfigure1Click();
    void BridgeSTPInformationClick();
    // Basic Configuration > Test Connection...: the running settings.
    void TestConnection1Click();
    void BackUpConfiguration1Click();
    void CompareWithSwitch1Click();
    // The configuration dialog of a generic entry, run modally.
    void OpenGeneric(const KtMenuEntry &entry);
    // Starts the entry's sibling module; status panel 0 shows the command
    // line with communities and pass phrases as ****, or why the module
    // could not be started.
    void LaunchSibling(const KtMenuEntry &entry);
    // Sibling entries (of menu; null: all) whose program is found neither
    // beside this one nor on PATH are disabled with the reason as tool tip;
    // found again, they are enabled. Runs whenever their menu opens.
    void UpdateSiblingEntries(const QMenu *menu = nullptr);
    // Ctrl+F: picks an entry by its menu path and opens it.
    void FindEntryClick();
    // The entries the menu shows now, by menu path, in menu order; the
    // sibling entries checked first.
    QList<TFindEntryDialog::Entry> FindableEntries();

    // Basic Configuration > Changes... (and a click on the count in the
    // status bar): the window of unsaved changes, opened once.
    void Changes1Click();
    // Starts the ledger of unsaved changes for the session's switch, in
    // folder (empty: the state folder), and makes it see every write.
    void StartLedger(const QString &folder = {});
    KtChangeLedger *Ledger() const { return m_ledger; }
    QLabel *ChangesLabel() const { return m_changesLabel; }
    TChangesForm *ChangesWindow() const;
    // Reads again what shows the switch's data: the state texts and open dialogs.
    void ReadAgain();

    // The dialog name the last named-caption entry stored.
    const QString &LastDialogName() const { return m_lastDialogName; }

    const KtDisplaySettings &Display() const { return m_display; }
    QLabel *StatusPanel() const { return m_statusPanel; }
    KtSNMPRequest2Leds *FrontPanelLeds() const { return m_frontPanelLeds; }
    // Runs the connection test when the LED poll keeps failing.
    KtDoctorWatch *DoctorWatch() const { return m_doctorWatch; }
    QTextBrowser *HelpWindow() const { return m_help; }
    // The ports of the front panel: tool tips, selection, overlays.
    KtPortPanel *PortPanel() const { return m_portPanel; }

    // KtMainWindowServices
    QWidget *Window() override { return this; }
    QString HostText() const override { return m_hostText; }
    void ShowStatus(const QString &text) override;
    QString StpVersionText() const override;
    void SetStpVersionText(const QString &text) override;

    // The port page of a front port (1-28): opened, or raised when it is
    // open already; one page per port.
    void OpenPortPage(int port);
    // The port page's page of this port, null when none is open.
    TPortPageForm *PortPage(int port) const;
    // Opens a generic entry's dialog on the page that shows table, with the
    // row of that instance suffix selected once it is read.
    void OpenEntryRow(const QString &componentName, const QString &rowIndex, const QString &table);

signals:
    // Start-up ended; its message is about to be shown.
    void startFailed();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFace();
    static bool hideEmptyMenus(const QList<QAction *> &actions);
    void setUpFrontPanel();
    void enableVersion3Items();
    void createRmonStateBinding();
    // timeoutText, when given, replaces the message of a request that timed out.
    void deviceAction(const char *oid, const QString &value, const QString &question, const QString &caption,
                      const QString &timeoutText = {});
    void openDedicated(const QString &className, const QString &captionPrefix = {});
    void openDedicatedEntry(const KtMenuEntry &entry);
    void rememberDialogName(const KtMenuEntry &entry);
    void guarded(const std::function<void()> &work);
    void stopFrontPanel();
    QString siblingFolder() const;
    void enableEntry(QAction *item);
    void showChangeCount(int count);
    void ledgerEnded(const QString &text);
    // Save Changes without its question; false when the switch did not take it.
    bool saveForExit();

    struct SiblingItem
    {
        QAction *Action;
        QString Module;
    };
    QList<SiblingItem> m_siblingItems;
    bool m_rmonDisabled = false;  // the switch's RMON state, as last read

    int m_exitCode = 0;
    QString m_executableFolder;
    QString m_hostText;
    QString m_lastDialogName;
    QString m_runningEntry;  // menu path of the entry whose command runs
    QString m_endedNote;     // why the ledger ended, for the next Changes window
    KtChangeLedger *m_ledger = nullptr;
    QLabel *m_changesLabel = nullptr;
    QPointer<TChangesForm> m_changes;
    KtDisplaySettings m_display;

    QScrollArea *ScrollBox1 = nullptr;
    KtFrontPanelImage *Image1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QLabel *m_statusPanel = nullptr;
    QLabel *ST_RmonState = nullptr;
    QLabel *stSTP = nullptr;
    QWidget *PowerLedPanel = nullptr;
    QWidget *ConsoleLedPanel = nullptr;
    QWidget *RPSPanel = nullptr;
    QWidget *GEPanel1 = nullptr;
    QWidget *GEPanel2 = nullptr;
    QWidget *LedPanel1 = nullptr;
    QWidget *LedPanel2 = nullptr;
    QWidget *Combo1Panel = nullptr;
    QWidget *Combo2Panel = nullptr;

    KtSNMPRequest2Edits *m_stpStateBinding = nullptr;
    KtSNMPRequest2Edits *m_rmonStateBinding = nullptr;
    KtSNMPRequest2Leds *m_frontPanelLeds = nullptr;
    KtPortPanel *m_portPanel = nullptr;
    KtDoctorWatch *m_doctorWatch = nullptr;
    QPointer<QTextBrowser> m_help;
};
