#pragma once

#include "mib/KtMibData.h"
#include "values/KtOptionList.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// Reads the descriptor data format line by line into a KtMibData. Every
// fault is reported with its line: -502 structure, -503 type keyword,
// -504 OID or option-list syntax, -505 access keyword.
class KtMibParser
{
public:
    explicit KtMibParser(const QString &fileName);

    KtMibData Parse(const QByteArray &text);

    // Engine failure n with [FILENAME] and [LINENO] filled in.
    [[noreturn]] static void Fail(int entry, const QString &fileName, int line);

private:
    struct Token
    {
        enum Kind { Word, String, Open, Close, Comma } kind;
        QString text;
    };

    void tokenize(const QString &line);
    void parseTable();
    void parseOptionsLine();
    void parseRecord();
    const KtOptionList *parseList(int &pos);
    const KtOptionList *share(const KtOptionTable &entries, unsigned kind, bool exact);

    [[noreturn]] void fail(int entry) const;
    bool at(int pos, Token::Kind kind) const;

    static bool isOid(QStringView text);
    static bool isName(const QString &text);

    QString m_fileName;
    int m_line = 0;
    QList<Token> m_tokens;
    QString m_comment;
    KtMibData m_data;
    QHash<QString, const KtOptionList *> m_shared;
};
