#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class KtMainWindowServices;

// What a menu entry hands to the dialog it opens.
struct KtDialogOpening
{
    KtMainWindowServices *main = nullptr;
    // The entry's caption prefix; empty when the dialog has its own caption.
    QString captionPrefix;
};

// Dedicated dialogs and monitors register a factory under their class name;
// the menu opens them by that name and never includes them. A factory runs
// the dialog (modally, as its entry expects) and returns when it closed.
namespace KtDialogRegistry {

using Factory = std::function<void(const KtDialogOpening &)>;

// A second registration of a name replaces the first.
void Register(const QString &className, Factory factory);
void Unregister(const QString &className);
bool Has(const QString &className);
QStringList Names();

// Runs the dialog; false when no factory is registered under the name.
bool Open(const QString &className, const KtDialogOpening &opening);

} // namespace KtDialogRegistry
