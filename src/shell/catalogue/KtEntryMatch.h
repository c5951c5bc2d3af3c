#pragma once

#include <QString>

// How a menu path answers what an operator typed to find it: every typed
// word must begin a word of the path, in any case and order, or be a word
// of it but for a plural "s" ("ip counters" finds "MIB II > IP Counter";
// "stats" does not find "State").
namespace KtEntryMatch {

// Better matches are greater: the caption (the part after the last " > ")
// before the rest of the path, and either of them typed whole (every word
// of it begun by a typed word) before a part of it.
enum Rank { NoMatch = 0, PathMatch, WholePath, CaptionMatch, WholeCaption };

// An empty filter matches every path as its caption.
Rank Match(const QString &path, const QString &filter);

} // namespace KtEntryMatch
