#pragma once

#include <QString>

class QWidget;

// What a dialog opened from the menu may use of the main window, so that
// dialogs never include the shell.
class KtMainWindowServices
{
public:
    virtual ~KtMainWindowServices() = default;

    // The main window itself: owner of the dialogs.
    virtual QWidget *Window() = 0;
    // The agent host text given with /I; every caption ends with it.
    virtual QString HostText() const = 0;
    // Status panel 0 of the main window's status bar.
    virtual void ShowStatus(const QString &text) = 0;
    // The spanning-tree version the device runs, as read by the main
    // window's state binding ("stp", "rstp", "mstp"; empty when unknown).
    virtual QString StpVersionText() const = 0;
    virtual void SetStpVersionText(const QString &text) = 0;
};
