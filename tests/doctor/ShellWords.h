#pragma once

// A command line split back into its words, for the tests of the copied commands.

#include <QString>
#include <QStringList>

// The words of a command line as a POSIX shell splits it: blanks, single
// quotes and backslashes.
inline QStringList shellWords(const QString &line)
{
    QStringList words;
    QString word;
    bool quoted = false, escaped = false, inWord = false;
    for (QChar c : line) {
        if (escaped) {
            word += c;
            escaped = false;
        } else if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (c == QLatin1Char('\\') && !quoted) {
            escaped = true;
        } else if (c == QLatin1Char(' ') && !quoted) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
            continue;
        } else {
            word += c;
        }
        inWord = true;
    }
    if (inWord)
        words << word;
    return words;
}
