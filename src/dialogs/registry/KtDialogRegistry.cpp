#include "dialogs/registry/KtDialogRegistry.h"

#include <QHash>

namespace {

QHash<QString, KtDialogRegistry::Factory> &factories()
{
    static QHash<QString, KtDialogRegistry::Factory> map;
    return map;
}

} // namespace

namespace KtDialogRegistry {

void Register(const QString &className, Factory factory)
{
    if (factory)
        factories().insert(className, std::move(factory));
    else
        factories().remove(className);
}

void Unregister(const QString &className)
{
    factories().remove(className);
}

bool Has(const QString &className)
{
    return factories().contains(className);
}

QStringList Names()
{
    QStringList names = factories().keys();
    names.sort();
    return names;
}

bool Open(const QString &className, const KtDialogOpening &opening)
{
    const auto it = factories().constFind(className);
    if (it == factories().constEnd())
        return false;
    // A copy: the dialog's own event loop may register or replace factories.
    const Factory factory = it.value();
    factory(opening);
    return true;
}

} // namespace KtDialogRegistry
