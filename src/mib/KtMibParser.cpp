#include "mib/KtMibParser.h"

#include "errors/KtCatalogue.h"
#include "errors/KtException.h"
#include "values/KtTypes.h"

#include <QStringDecoder>

namespace {

struct Keyword
{
    const char *name;
    quint32 code;
};

constexpr Keyword kTypes[] = {
    {"boolean", KtType::Boolean},       {"integer", KtType::Integer},
    {"bitstr", KtType::BitStr},         {"octetstr", KtType::OctetStr},
    {"null", KtType::Null},             {"objectid", KtType::ObjectId},
    {"ipaddress", KtType::IpAddress},   {"counter", KtType::Counter},
    {"guage", KtType::Gauge},           {"timeticks", KtType::TimeTicks},
    {"opaque", KtType::Opaque},         {"nsapaddr", KtType::NsapAddr},
    {"counter64", KtType::Counter64},   {"uinteger", KtType::UInteger},
    {"double", KtType::Double},         {"macaddress", KtType::MacAddress},
    {"datetime", KtType::DateTime},     {"bcdatetime", KtType::BcDateTime},
    {"displaystr", KtType::DisplayStr}, {"ipv6address", KtType::Ipv6Address},
    {"bool8", KtType::Bool8},           {"int8", KtType::Int8},
    {"uint8", KtType::UInt8},           {"bool16", KtType::Bool16},
    {"int16", KtType::Int16},           {"uint16", KtType::UInt16},
};

constexpr Keyword kAccess[] = {
    {"notaccess", KtAccess::NotAccess}, {"readonly", KtAccess::ReadOnly},
    {"writeonly", KtAccess::WriteOnly}, {"readwrite", KtAccess::ReadWrite},
    {"derived", KtAccess::Derived},     {"hidden", KtAccess::Hidden},
    {"invalid", KtAccess::Invalid},     {"implied", KtAccess::Implied},
};

template <std::size_t N>
bool lookUp(const Keyword (&table)[N], QStringView word, quint32 &code)
{
    for (const Keyword &k : table) {
        if (word == QLatin1StringView(k.name)) {
            code = k.code;
            return true;
        }
    }
    return false;
}

// Length-prefixed fields keep the key unambiguous whatever the labels hold.
void appendKeyField(QString &key, const QString &field)
{
    key += QString::number(field.size());
    key += QLatin1Char(':');
    key += field;
}

} // namespace

KtMibParser::KtMibParser(const QString &fileName) : m_fileName(fileName) {}

void KtMibParser::Fail(int entry, const QString &fileName, int line)
{
    QString text = KtCatalogue::Text(KtCatalogue::Engine, entry);
    text.replace(QLatin1String("[FILENAME]"), fileName);
    text.replace(QLatin1String("[LINENO]"), QString::number(line));
    throw KtException(-500 - entry, text);
}

void KtMibParser::fail(int entry) const
{
    Fail(entry, m_fileName, m_line);
}

bool KtMibParser::at(int pos, Token::Kind kind) const
{
    return pos < m_tokens.size() && m_tokens.at(pos).kind == kind;
}

bool KtMibParser::isOid(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QStringView part : text.split(QLatin1Char('.'))) {
        if (part.isEmpty() || part.size() > 10)
            return false;
        for (QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        }
        if (part.toULongLong() > 0xFFFFFFFFull)
            return false;
    }
    return true;
}

bool KtMibParser::isName(const QString &text)
{
    if (text.isEmpty() || !text.front().isLetter())
        return false;
    for (QChar c : text) {
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_')) || c.unicode() > 127)
            return false;
    }
    return true;
}

void KtMibParser::tokenize(const QString &line)
{
    m_tokens.clear();
    m_comment.clear();
    const int n = int(line.size());
    int i = 0;
    while (i < n) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('#')) {
            m_comment = line.mid(i + 1).trimmed();
            return;
        } else if (c == QLatin1Char('{')) {
            m_tokens.append(Token{Token::Open, QString()});
            ++i;
        } else if (c == QLatin1Char('}')) {
            m_tokens.append(Token{Token::Close, QString()});
            ++i;
        } else if (c == QLatin1Char(',')) {
            m_tokens.append(Token{Token::Comma, QString()});
            ++i;
        } else if (c == QLatin1Char('"')) {
            // Built non-null even when empty: a null label ends an option table.
            QString text(QLatin1String(""));
            text.reserve(32);
            ++i;
            bool closed = false;
            while (i < n) {
                QChar d = line.at(i++);
                if (d == QLatin1Char('"')) {
                    closed = true;
                    break;
                }
                if (d == QLatin1Char('\\')) {
                    if (i >= n)
                        break;
                    d = line.at(i++);
                    if (d != QLatin1Char('"') && d != QLatin1Char('\\'))
                        fail(KtCatalogue::EngVarFileFormat);
                }
                text += d;
            }
            if (!closed)
                fail(KtCatalogue::EngVarFileFormat);
            m_tokens.append(Token{Token::String, text});
        } else {
            const int start = i;
            while (i < n) {
                const QChar d = line.at(i);
                if (d.isSpace() || d == QLatin1Char('{') || d == QLatin1Char('}')
                    || d == QLatin1Char(',') || d == QLatin1Char('"') || d == QLatin1Char('#'))
                    break;
                ++i;
            }
            m_tokens.append(Token{Token::Word, line.mid(start, i - start)});
        }
    }
}

KtMibData KtMibParser::Parse(const QByteArray &text)
{
    m_data = KtMibData();
    m_shared.clear();
    m_line = 0;
    qsizetype pos = 0;
    while (pos <= text.size()) {
        qsizetype end = text.indexOf('\n', pos);
        if (end < 0)
            end = text.size();
        QByteArrayView raw(text.constData() + pos, end - pos);
        pos = end + 1;
        ++m_line;
        if (raw.endsWith('\r'))
            raw.chop(1);
        if (raw.isEmpty())
            continue;

        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decode(raw);
        if (decode.hasError())
            fail(KtCatalogue::EngVarFileFormat);

        tokenize(line);
        if (m_tokens.isEmpty())
            continue;
        const Token &first = m_tokens.front();
        if (first.kind != Token::Word)
            fail(KtCatalogue::EngVarFileFormat);
        if (first.text == QLatin1String("table"))
            parseTable();
        else if (first.text == QLatin1String("options"))
            parseOptionsLine();
        else if (first.text == QLatin1String("index") || first.text.startsWith(QLatin1Char('.'))
                 || first.text.front().isDigit())
            parseRecord();
        else
            fail(KtCatalogue::EngVarFileFormat);
    }
    return std::move(m_data);
}

void KtMibParser::parseTable()
{
    if (!at(1, Token::Word) || !isName(m_tokens.at(1).text)
        || m_data.m_tableIndex.contains(m_tokens.at(1).text) || m_tokens.size() < 3)
        fail(KtCatalogue::EngVarFileFormat);

    KtMibData::Table table;
    table.Name = m_tokens.at(1).text;
    table.Line = m_line;
    for (int i = 2; i < m_tokens.size(); ++i) {
        if (!at(i, Token::Word))
            fail(KtCatalogue::EngVarFileFormat);
        if (!isOid(m_tokens.at(i).text))
            fail(KtCatalogue::EngVarFileSyntax);
        table.Roots.append(m_tokens.at(i).text);
    }
    for (const QString &path : m_comment.split(QLatin1String(" | "), Qt::SkipEmptyParts)) {
        const QString trimmed = path.trimmed();
        if (!trimmed.isEmpty())
            table.MenuPaths.append(trimmed);
    }
    m_data.m_tableIndex.insert(table.Name, int(m_data.m_tables.size()));
    m_data.m_tables.append(std::move(table));
}

void KtMibParser::parseOptionsLine()
{
    if (!at(1, Token::Word) || !isName(m_tokens.at(1).text)
        || m_data.m_namedOptions.contains(m_tokens.at(1).text))
        fail(KtCatalogue::EngVarFileFormat);
    int pos = 2;
    // A named list must be written out, not refer to another name.
    if (at(pos, Token::Word) && m_tokens.at(pos).text.startsWith(QLatin1Char('@')))
        fail(KtCatalogue::EngVarFileSyntax);
    const KtOptionList *list = parseList(pos);
    if (!list)
        fail(KtCatalogue::EngVarFileSyntax);
    if (pos != m_tokens.size())
        fail(KtCatalogue::EngVarFileFormat);
    m_data.m_namedOptions.insert(m_tokens.at(1).text, list);
}

void KtMibParser::parseRecord()
{
    if (m_data.m_tables.isEmpty())
        fail(KtCatalogue::EngVarFileFormat);
    KtMibData::Table &table = m_data.m_tables.last();

    KtSNMPVar var;
    const QString &oid = m_tokens.at(0).text;
    if (oid == QLatin1String("index")) {
        var.Oid = QStringLiteral(" ");
    } else if (oid.startsWith(QLatin1Char('.'))) {
        if (!isOid(QStringView(oid).mid(1)))
            fail(KtCatalogue::EngVarFileSyntax);
        var.Oid = table.Roots.front() + oid;
    } else {
        if (!isOid(oid))
            fail(KtCatalogue::EngVarFileSyntax);
        var.Oid = oid;
    }

    if (!at(1, Token::String) || !at(2, Token::Word) || !at(3, Token::Word))
        fail(KtCatalogue::EngVarFileFormat);
    var.Label = m_tokens.at(1).text;
    if (!lookUp(kTypes, m_tokens.at(2).text, var.Type))
        fail(KtCatalogue::EngVarFileItemType);

    const QString &access = m_tokens.at(3).text;
    if (access == QLatin1String("0")) {
        var.Access = 0;
    } else {
        for (QStringView part : QStringView(access).split(QLatin1Char('+'))) {
            quint32 bit = 0;
            if (!lookUp(kAccess, part, bit))
                fail(KtCatalogue::EngVarFileAccess);
            var.Access |= bit;
        }
    }

    int pos = 4;
    if (pos < m_tokens.size()) {
        var.Options = parseList(pos);
        if (!var.Options)
            fail(KtCatalogue::EngVarFileSyntax);
        if (pos != m_tokens.size())
            fail(KtCatalogue::EngVarFileFormat);
    }
    table.Vars.append(std::move(var));
}

// At pos: "@NAME", or modifiers followed by a braced entry list. Returns
// null when nothing there starts a list; raises -504 on a broken one.
const KtOptionList *KtMibParser::parseList(int &pos)
{
    if (at(pos, Token::Word) && m_tokens.at(pos).text.startsWith(QLatin1Char('@'))) {
        const KtOptionList *named = m_data.m_namedOptions.value(m_tokens.at(pos).text.mid(1));
        if (!named)
            fail(KtCatalogue::EngVarFileSyntax);
        ++pos;
        return named;
    }

    bool text = false, prefix = false, exact = false;
    while (at(pos, Token::Word)) {
        const QString &word = m_tokens.at(pos).text;
        bool *flag = word == QLatin1String("text")     ? &text
                   : word == QLatin1String("prefix") ? &prefix
                   : word == QLatin1String("exact")  ? &exact
                                                     : nullptr;
        if (!flag || *flag)
            fail(KtCatalogue::EngVarFileSyntax);
        *flag = true;
        ++pos;
    }
    if (!at(pos, Token::Open))
        return nullptr;
    ++pos;

    unsigned kind = prefix ? KtOptionList::PrefixValues
                  : text   ? KtOptionList::TextValues
                  : at(pos, Token::String) ? KtOptionList::TextValues
                                           : KtOptionList::IntegerValues;
    KtOptionTable entries;
    if (at(pos, Token::Close)) {
        ++pos;
        return share(entries, kind, exact);
    }
    for (;;) {
        KtOptionEntry entry;
        if (kind == KtOptionList::IntegerValues) {
            bool ok = false;
            if (at(pos, Token::Word))
                entry.Value = m_tokens.at(pos).text.toInt(&ok, 10);
            if (!ok)
                fail(KtCatalogue::EngVarFileSyntax);
        } else {
            if (!at(pos, Token::String))
                fail(KtCatalogue::EngVarFileSyntax);
            entry.Text = m_tokens.at(pos).text;
        }
        if (!at(pos + 1, Token::String))
            fail(KtCatalogue::EngVarFileSyntax);
        entry.Label = m_tokens.at(pos + 1).text;
        entries.append(entry);
        pos += 2;
        if (at(pos, Token::Close)) {
            ++pos;
            break;
        }
        if (!at(pos, Token::Comma))
            fail(KtCatalogue::EngVarFileSyntax);
        ++pos;
    }
    return share(entries, kind, exact);
}

const KtOptionList *KtMibParser::share(const KtOptionTable &entries, unsigned kind, bool exact)
{
    QString key = QString::number(kind) + (exact ? QLatin1Char('e') : QLatin1Char('i'));
    for (const KtOptionEntry &e : entries) {
        appendKeyField(key, kind == KtOptionList::IntegerValues ? QString::number(e.Value) : e.Text);
        appendKeyField(key, e.Label);
    }
    if (const KtOptionList *known = m_shared.value(key))
        return known;
    m_data.m_options.push_back(std::make_unique<KtOptionList>(entries, kind, exact));
    const KtOptionList *list = m_data.m_options.back().get();
    m_shared.insert(key, list);
    return list;
}
