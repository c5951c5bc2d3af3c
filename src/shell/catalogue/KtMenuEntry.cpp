#include "shell/catalogue/KtMenuEntry.h"

#include <QStringList>

QString KtMenuEntry::siblingModule() const
{
    // The loader guarantees "/T", a non-empty module and an underscore.
    const qsizetype underscore = m_siblingArg.indexOf(QLatin1Char('_'));
    if (!m_siblingArg.startsWith(QLatin1String("/T")) || underscore < 2)
        return QString();
    return m_siblingArg.mid(2, underscore - 2);
}

int KtMenuEntry::depth() const
{
    int d = 0;
    for (const KtMenuEntry *p = m_parent; p; p = p->m_parent)
        ++d;
    return d;
}

QString KtMenuEntry::path() const
{
    QStringList parts;
    for (const KtMenuEntry *e = this; e; e = e->m_parent)
        parts.prepend(e->m_caption);
    return parts.join(QLatin1String(" > "));
}
