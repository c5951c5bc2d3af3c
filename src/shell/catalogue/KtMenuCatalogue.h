#pragma once

#include "shell/catalogue/KtMenuEntry.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

// The menu tree as data: every item in menu order, with its parent and
// children. Entries are owned here and never move once loaded.
class KtMenuCatalogue
{
public:
    KtMenuCatalogue();
    ~KtMenuCatalogue();
    KtMenuCatalogue(KtMenuCatalogue &&other) noexcept;
    KtMenuCatalogue &operator=(KtMenuCatalogue &&other) noexcept;
    KtMenuCatalogue(const KtMenuCatalogue &) = delete;
    KtMenuCatalogue &operator=(const KtMenuCatalogue &) = delete;

    // The compiled-in catalogue, loaded on first use. Raises KtException
    // when the data is malformed; the next call tries again.
    static const KtMenuCatalogue &Instance();
    // Where the compiled-in data lives; makes sure it is registered.
    static QString ResourcePath();

    // -501 when the file cannot be read, -502 for a malformed line.
    static KtMenuCatalogue FromFile(const QString &path);
    static KtMenuCatalogue FromText(const QString &text, const QString &fileName);

    // Flat iteration in menu order (a parent before its children).
    int count() const { return int(m_entries.size()); }
    const KtMenuEntry &at(int i) const { return *m_entries.at(size_t(i)); }
    const QList<const KtMenuEntry *> &topLevel() const { return m_topLevel; }

    // By component name; null when there is none.
    const KtMenuEntry *Find(const QString &name) const;
    // By captions joined with " > "; blanks around each caption do not count.
    const KtMenuEntry *FindPath(const QString &path) const;

private:
    friend class KtMenuLoader;

    std::vector<std::unique_ptr<KtMenuEntry>> m_entries;
    QList<const KtMenuEntry *> m_topLevel;
    QHash<QString, const KtMenuEntry *> m_byName;
};
