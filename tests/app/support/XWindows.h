#pragma once

// What a user sees on an X display and the keys they press, from outside
// the program: the window manager's list of windows with their titles, the
// active one, their pictures (XGetImage), and XTest input through xdotool.

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

struct _XDisplay;

class XWindows
{
public:
    using Id = unsigned long;
    struct Window
    {
        Id id = 0;
        QString title;
    };

    explicit XWindows(const QString &display);
    ~XWindows();
    XWindows(const XWindows &) = delete;
    XWindows &operator=(const XWindows &) = delete;

    bool isOpen() const { return m_display != nullptr; }
    bool windowManagerRuns() const;

    // The managed windows on the screen, oldest first.
    QList<Window> windows() const;
    // The first window with this title; 0 when there is none.
    Id find(const QString &title) const;
    // The window the window manager calls active and that has the keyboard; 0 when none.
    Id active() const;
    QString title(Id window) const;
    // The window's part of the screen; null when it is not viewable.
    QImage grab(Id window) const;
    // As the title bar's close button does.
    void close(Id window) const;

    // xdotool arguments ("key", "ctrl+f"); false when it failed.
    bool send(const QStringList &arguments) const;

    // Polls until done holds, at most ms; whether it did.
    static bool waitFor(const std::function<bool()> &done, int ms);

private:
    QList<Id> idsOf(Id window, const char *property) const;

    _XDisplay *m_display = nullptr;
    QString m_name;
};
