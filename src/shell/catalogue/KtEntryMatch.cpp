#include "shell/catalogue/KtEntryMatch.h"

#include <QStringList>

#include <algorithm>

namespace KtEntryMatch {

namespace {

bool allBegin(const QString &text, const QStringList &words)
{
    return std::all_of(words.begin(), words.end(), [&text](const QString &w) { return BeginsAWord(text, w); });
}

} // namespace

bool BeginsAWord(const QString &text, const QString &word)
{
    // "counters" also begins "Counter".
    const QString stem = word.size() > 1 && word.endsWith(QLatin1Char('s'), Qt::CaseInsensitive) ? word.chopped(1)
                                                                                                 : word;
    for (qsizetype at = text.indexOf(stem, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(stem, at + 1, Qt::CaseInsensitive)) {
        if (at == 0 || !text.at(at - 1).isLetterOrNumber())
            return true;
    }
    return false;
}

Rank Match(const QString &path, const QString &filter)
{
    const QStringList words = filter.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const qsizetype last = path.lastIndexOf(QLatin1String(" > "));
    if (allBegin(last < 0 ? path : path.mid(last + 3), words))
        return CaptionMatch;
    return allBegin(path, words) ? PathMatch : NoMatch;
}

} // namespace KtEntryMatch
