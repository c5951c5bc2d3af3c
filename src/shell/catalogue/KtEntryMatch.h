#pragma once

#include <QString>

// How a menu path answers what an operator typed to find it: every typed
// word must begin a word of the path, in any case and order, and a plural
// "s" at its end may be left out of the path ("ip counters" finds
// "MIB II > IP Counter").
namespace KtEntryMatch {

enum Rank { NoMatch = 0, PathMatch = 1, CaptionMatch = 2 };

// CaptionMatch when every word begins a word of the caption (the part
// after the last " > "), PathMatch when it takes the rest of the path.
// An empty filter matches every path, as its caption.
Rank Match(const QString &path, const QString &filter);

// Whether word begins a word of text: at its start or after a character
// that is neither a letter nor a digit.
bool BeginsAWord(const QString &text, const QString &word);

} // namespace KtEntryMatch
