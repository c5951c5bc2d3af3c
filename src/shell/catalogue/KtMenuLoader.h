#pragma once

#include "shell/catalogue/KtMenuCatalogue.h"

#include <QList>
#include <QString>

// Strict reader of the menu catalogue text. Every malformed line raises
// KtException -502 naming the file and the line.
class KtMenuLoader
{
public:
    static KtMenuCatalogue Parse(const QString &text, const QString &fileName);

    struct Token
    {
        QString text;
        bool quoted = false;
    };
    // Splits one line into bare words and double-quoted texts, where a
    // backslash escapes a quote or a backslash. False with a reason for an
    // unterminated or misplaced quote.
    static bool Tokenize(const QString &line, QList<Token> *tokens, QString *error);

private:
    KtMenuLoader(const QString &fileName) : m_fileName(fileName) {}

    [[noreturn]] void fail(int line, const QString &what) const;
    void parseLine(const QString &raw, int line);
    void parseEntry(const QList<Token> &tokens, int depth, int line);
    void parsePanel(const QList<Token> &tokens, int depth, int line);
    void finishEntry();
    void finish();

    QString m_fileName;
    KtMenuCatalogue m_catalogue;
    QList<KtMenuEntry *> m_stack;   // open items, index = depth
    KtMenuEntry *m_current = nullptr;  // last item line read
    int m_lastLine = 0;
};
