#include "shell/catalogue/KtEntryMatch.h"

#include <QList>
#include <QStringList>

namespace KtEntryMatch {

namespace {

bool wordStart(const QString &text, qsizetype at)
{
    return text.at(at).isLetterOrNumber() && (at == 0 || !text.at(at - 1).isLetterOrNumber());
}

// Whether every word begins a word of text (or, ending in s, is one
// without it); *whole: and every word of text
// lies in such a match.
bool allBegin(const QString &text, const QStringList &words, bool *whole)
{
    QList<bool> covered(text.size(), false);
    const auto mark = [&](const QString &part, bool wholeWord) {
        bool found = false;
        for (qsizetype at = text.indexOf(part, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(part, at + 1, Qt::CaseInsensitive)) {
            const qsizetype end = at + part.size();
            if ((at > 0 && text.at(at - 1).isLetterOrNumber())
                || (wholeWord && end < text.size() && text.at(end).isLetterOrNumber()))
                continue;
            found = true;
            for (qsizetype i = at; i < end; ++i)
                covered[i] = true;
        }
        return found;
    };
    for (const QString &word : words) {
        // "counters" also finds the word "Counter", but "stats" no "State".
        const bool plural = word.size() > 1 && word.endsWith(QLatin1Char('s'), Qt::CaseInsensitive);
        const bool found = mark(word, false);
        if (!(plural && mark(word.chopped(1), true)) && !found)
            return false;
    }
    *whole = true;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (wordStart(text, i) && !covered.at(i))
            *whole = false;
    return true;
}

} // namespace

Rank Match(const QString &path, const QString &filter)
{
    const QStringList words = filter.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const qsizetype last = path.lastIndexOf(QLatin1String(" > "));
    bool whole = false;
    if (allBegin(last < 0 ? path : path.mid(last + 3), words, &whole))
        return whole || words.isEmpty() ? WholeCaption : CaptionMatch;
    if (allBegin(path, words, &whole))
        return whole ? WholePath : PathMatch;
    return NoMatch;
}

} // namespace KtEntryMatch
