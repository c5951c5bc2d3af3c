#pragma once

#include <QChar>
#include <QString>

#include <functional>

class KtMenuEntry;
class QWidget;
class TConfigForm;
class TSNMPListViewPanel;
struct KtMenuPanel;

// Builds the configuration dialog of one generic catalogue entry: the
// caption, the panels or pages with their bindings, every tailoring item
// right after its panel, the add hooks, then the dialog's own size.
//
// An entry that does not fit its descriptor tables (an unknown table, a
// tailoring item or a status label the table does not offer) is a
// catalogue error: Build raises KtException naming the entry and its line,
// and nothing is left behind.
class KtMenuRecipe
{
public:
    static constexpr int PortsPerRow = 20;
    static constexpr int PortCount = 28;

    // The form is owned by the caller (parent: owner). Its first read is
    // already posted and runs once it is shown.
    static TConfigForm *Build(const KtMenuEntry &entry, const QString &host, QWidget *owner);

    // Builds, runs modally, deletes. afterClose runs when the dialog closes
    // (after the form's own close processing) for entries with the close hook.
    static void Run(const KtMenuEntry &entry, const QString &host, QWidget *owner,
                    const std::function<void()> &afterClose = {});

    // Installs the add hooks named by letter ('A', 'B', 'C') on a table panel.
    static void InstallAddHooks(TSNMPListViewPanel *panel, QChar hook);

private:
    static void tailor(const KtMenuEntry &entry, const KtMenuPanel &panel, QWidget *built);
};
