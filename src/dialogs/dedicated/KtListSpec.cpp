#include "dialogs/dedicated/KtListSpec.h"

KtSNMPVarList KtListOf(const char *root, std::initializer_list<KtVarSpec> vars, quint8 kind, int indexCount)
{
    KtSNMPVarList list;
    const QString prefix = QString::fromLatin1(root) + QLatin1Char('.');
    for (const KtVarSpec &v : vars)
        list.AppendVarShared(prefix + QLatin1String(v.suffix), QString::fromLatin1(v.label), v.type, v.access,
                             v.options);
    list.Kind = kind;
    list.IndexCount = indexCount;
    return list;
}
