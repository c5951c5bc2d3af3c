#pragma once

#include "shell/catalogue/KtMenuPanel.h"

#include <QList>
#include <QString>

// One item of the main window's menu tree and what clicking it does.
class KtMenuEntry
{
public:
    enum Action { Submenu, Generic, Dedicated, Sibling, MainWindow, NoAction };
    enum Layout { EditorLayout, TableLayout, PagedLayout };
    enum MainAction { SaveChanges, Reboot, Help, About, SNMPConfigure, TestConnection, BackUp, CompareWithSwitch,
                      Changes };

    const QString &caption() const { return m_caption; }
    const QString &name() const { return m_name; }
    QString clickHandler() const { return m_name + QLatin1String("Click"); }
    bool hidden() const { return m_hidden; }
    Action action() const { return m_action; }
    int line() const { return m_line; }

    // Caption prefix. The named style stores the dialog name in the main
    // window before the dialog opens; the plain style is one text.
    bool hasCaptionPrefix() const { return m_hasPrefix; }
    bool captionNamed() const { return m_named; }
    const QString &dialogName() const { return m_dialogName; }
    const QString &separator() const { return m_separator; }
    QString captionPrefix() const { return m_named ? m_dialogName + m_separator : m_prefix; }
    QString dialogCaption(const QString &host) const { return captionPrefix() + host; }

    // Generic dialogs.
    Layout layout() const { return m_layout; }
    const QList<KtMenuPanel> &panels() const { return m_panels; }
    int dialogHeight() const { return m_height; }   // 0: left as laid out
    int widthGrowth() const { return m_widen; }     // 0: none
    bool rmonCheckOnClose() const { return m_closeHook; }

    // Dedicated dialogs.
    const QString &formClass() const { return m_formClass; }

    // Sibling modules: "/T<Module>_<table>".
    const QString &siblingArgument() const { return m_siblingArg; }
    QString siblingModule() const;

    MainAction mainAction() const { return m_mainAction; }

    // Tree.
    const KtMenuEntry *parent() const { return m_parent; }
    const QList<const KtMenuEntry *> &children() const { return m_children; }
    int depth() const;
    // Captions from the top level down, joined by " > ".
    QString path() const;

private:
    friend class KtMenuLoader;

    QString m_caption;
    QString m_name;
    bool m_hidden = false;
    Action m_action = NoAction;
    int m_line = 0;

    bool m_hasPrefix = false;
    bool m_named = false;
    QString m_prefix;
    QString m_dialogName;
    QString m_separator;

    Layout m_layout = EditorLayout;
    QList<KtMenuPanel> m_panels;
    int m_height = 0;
    int m_widen = 0;
    bool m_closeHook = false;

    QString m_formClass;
    QString m_siblingArg;
    MainAction m_mainAction = SaveChanges;

    const KtMenuEntry *m_parent = nullptr;
    QList<const KtMenuEntry *> m_children;
};
