#include "dialogs/dedicated/KtDedicatedOptions.h"

KtOptionList KtIntOptionList(std::initializer_list<std::pair<qint32, const char *>> entries)
{
    KtOptionTable table;
    for (const auto &[value, label] : entries)
        table.append(KtOptionEntry{value, QString(), QString::fromLatin1(label)});
    return KtOptionList(table);
}
