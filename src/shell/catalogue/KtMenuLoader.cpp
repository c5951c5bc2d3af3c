#include "shell/catalogue/KtMenuLoader.h"

#include "errors/KtException.h"
#include "values/KtTypes.h"

#include <QRegularExpression>
#include <QSet>

#include <functional>

namespace {

bool isIdentifier(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(text).hasMatch();
}

bool isOid(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^[0-9]+(\\.[0-9]+)+$"));
    return re.match(text).hasMatch();
}

// Walks the tokens of one line after its fixed leading fields.
class Cursor
{
public:
    using Token = KtMenuLoader::Token;
    using Fail = std::function<void(const QString &)>;

    Cursor(const QList<Token> &tokens, int start, Fail fail)
        : m_tokens(tokens), m_pos(start), m_fail(std::move(fail)) {}

    bool atEnd() const { return m_pos >= m_tokens.size(); }

    // The next keyword; a quoted text here is always misplaced.
    QString keyword()
    {
        const Token &t = m_tokens.at(m_pos++);
        if (t.quoted)
            m_fail(QStringLiteral("unexpected text \"%1\"").arg(t.text));
        return t.text;
    }

    QString quoted(const QString &what)
    {
        if (atEnd() || !m_tokens.at(m_pos).quoted)
            m_fail(QStringLiteral("%1 expects a quoted text").arg(what));
        return m_tokens.at(m_pos++).text;
    }

    QString word(const QString &what)
    {
        if (atEnd() || m_tokens.at(m_pos).quoted)
            m_fail(QStringLiteral("%1 expects a word").arg(what));
        return m_tokens.at(m_pos++).text;
    }

    int number(const QString &what, int min, int max)
    {
        const QString text = word(what);
        bool ok = false;
        const int value = text.toInt(&ok);
        // toInt accepts a sign; the catalogue writes plain digits only.
        if (!ok || text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'))
            || value < min || value > max)
            m_fail(QStringLiteral("%1 expects a number from %2 to %3, not \"%4\"")
                       .arg(what).arg(min).arg(max).arg(text));
        return value;
    }

private:
    const QList<Token> &m_tokens;
    qsizetype m_pos;
    Fail m_fail;
};

// Upper bounds that no real dialog comes near; they keep typos out.
constexpr int kMaxVars = 512;
constexpr int kMaxPixels = 4000;

} // namespace

KtMenuCatalogue KtMenuLoader::Parse(const QString &text, const QString &fileName)
{
    KtMenuLoader loader(fileName);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i)
        loader.parseLine(lines.at(i), i + 1);
    loader.m_lastLine = int(lines.size());
    loader.finish();
    return std::move(loader.m_catalogue);
}

bool KtMenuLoader::Tokenize(const QString &line, QList<Token> *tokens, QString *error)
{
    tokens->clear();
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        const QChar c = line.at(i);
        if (c == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        Token token;
        if (c == QLatin1Char('"')) {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = line.at(i);
                if (d == QLatin1Char('\\')) {
                    if (i + 1 >= n || (line.at(i + 1) != QLatin1Char('"') && line.at(i + 1) != QLatin1Char('\\'))) {
                        *error = QStringLiteral("a backslash in a quoted text must escape \" or \\");
                        return false;
                    }
                    token.text += line.at(i + 1);
                    i += 2;
                } else if (d == QLatin1Char('"')) {
                    closed = true;
                    ++i;
                    break;
                } else {
                    token.text += d;
                    ++i;
                }
            }
            if (!closed) {
                *error = QStringLiteral("quoted text is not closed");
                return false;
            }
            if (i < n && line.at(i) != QLatin1Char(' ')) {
                *error = QStringLiteral("a quoted text must be followed by a blank");
                return false;
            }
        } else {
            while (i < n && line.at(i) != QLatin1Char(' ')) {
                if (line.at(i) == QLatin1Char('"')) {
                    *error = QStringLiteral("a quote inside a word");
                    return false;
                }
                token.text += line.at(i);
                ++i;
            }
        }
        tokens->append(token);
    }
    return true;
}

void KtMenuLoader::fail(int line, const QString &what) const
{
    throw KtException(-502, QStringLiteral("Bad format at line(%1) in menu catalogue file(%2): %3!")
                                .arg(line).arg(m_fileName, what));
}

void KtMenuLoader::parseLine(const QString &raw, int line)
{
    QString text = raw;
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    qsizetype indent = 0;
    while (indent < text.size() && text.at(indent) == QLatin1Char(' '))
        ++indent;
    const QString body = text.mid(indent).trimmed();
    if (body.isEmpty() || body.startsWith(QLatin1Char('#')))
        return;
    for (QChar c : text)
        if (c == QLatin1Char('\t'))
            fail(line, QStringLiteral("tab character (indent with blanks)"));
    if (indent % 2 != 0)
        fail(line, QStringLiteral("indentation is not a multiple of two blanks"));

    QList<Token> tokens;
    QString error;
    if (!Tokenize(text.mid(indent), &tokens, &error))
        fail(line, error);
    if (tokens.isEmpty() || tokens.first().quoted)
        fail(line, QStringLiteral("line does not start with a keyword"));

    const int depth = int(indent / 2);
    if (tokens.first().text == QLatin1String("panel"))
        parsePanel(tokens, depth, line);
    else
        parseEntry(tokens, depth, line);
}

void KtMenuLoader::parseEntry(const QList<Token> &tokens, int depth, int line)
{
    finishEntry();

    static const QHash<QString, KtMenuEntry::Action> kinds = {
        {QStringLiteral("menu"), KtMenuEntry::Submenu},
        {QStringLiteral("generic"), KtMenuEntry::Generic},
        {QStringLiteral("dedicated"), KtMenuEntry::Dedicated},
        {QStringLiteral("launch"), KtMenuEntry::Sibling},
        {QStringLiteral("action"), KtMenuEntry::MainWindow},
        {QStringLiteral("none"), KtMenuEntry::NoAction},
    };
    const QString &keyword = tokens.first().text;
    if (!kinds.contains(keyword))
        fail(line, QStringLiteral("unknown item kind \"%1\"").arg(keyword));

    auto entry = std::make_unique<KtMenuEntry>();
    entry->m_action = kinds.value(keyword);
    entry->m_line = line;

    if (tokens.size() < 2 || !tokens.at(1).quoted || tokens.at(1).text.trimmed().isEmpty())
        fail(line, QStringLiteral("item caption missing"));
    entry->m_caption = tokens.at(1).text;
    if (tokens.size() < 3 || tokens.at(2).quoted || !isIdentifier(tokens.at(2).text))
        fail(line, QStringLiteral("component name missing or not an identifier"));
    entry->m_name = tokens.at(2).text;
    if (const KtMenuEntry *other = m_catalogue.Find(entry->m_name))
        fail(line, QStringLiteral("component name %1 already used at line %2")
                       .arg(entry->m_name).arg(other->line()));

    if (depth > m_stack.size())
        fail(line, QStringLiteral("item indented more than one level below its menu"));
    m_stack.resize(depth);
    KtMenuEntry *parent = depth > 0 ? m_stack.at(depth - 1) : nullptr;
    if (parent && parent->m_action != KtMenuEntry::Submenu)
        fail(line, QStringLiteral("item below \"%1\", which is not a menu").arg(parent->m_caption));

    const KtMenuEntry::Action action = entry->m_action;
    auto allowed = [&](const QString &kw, std::initializer_list<KtMenuEntry::Action> where) {
        for (KtMenuEntry::Action a : where)
            if (a == action)
                return;
        fail(line, QStringLiteral("\"%1\" does not belong to a %2 item").arg(kw, keyword));
    };

    Cursor cur(tokens, 3, [&](const QString &what) { fail(line, what); });
    QSet<QString> seen;
    bool hasLayout = false;
    bool hasMainAction = false;
    while (!cur.atEnd()) {
        const QString kw = cur.keyword();
        QString group = kw;
        if (kw == QLatin1String("prefix") || kw == QLatin1String("name"))
            group = QStringLiteral("caption prefix");
        else if (kw == QLatin1String("E") || kw == QLatin1String("T") || kw == QLatin1String("pages"))
            group = QStringLiteral("layout");
        if (seen.contains(group))
            fail(line, QStringLiteral("%1 given twice").arg(group));
        seen.insert(group);

        if (kw == QLatin1String("hidden")) {
            entry->m_hidden = true;
        } else if (kw == QLatin1String("prefix")) {
            allowed(kw, {KtMenuEntry::Generic, KtMenuEntry::Dedicated});
            entry->m_hasPrefix = true;
            entry->m_prefix = cur.quoted(kw);
            if (entry->m_prefix.isEmpty())
                fail(line, QStringLiteral("empty caption prefix"));
        } else if (kw == QLatin1String("name")) {
            allowed(kw, {KtMenuEntry::Generic, KtMenuEntry::Dedicated});
            entry->m_hasPrefix = true;
            entry->m_named = true;
            entry->m_dialogName = cur.quoted(kw);
            if (entry->m_dialogName.isEmpty())
                fail(line, QStringLiteral("empty dialog name"));
            if (cur.atEnd() || cur.keyword() != QLatin1String("sep"))
                fail(line, QStringLiteral("dialog name must be followed by sep"));
            entry->m_separator = cur.quoted(QStringLiteral("sep"));
        } else if (kw == QLatin1String("E") || kw == QLatin1String("T") || kw == QLatin1String("pages")) {
            allowed(kw, {KtMenuEntry::Generic});
            hasLayout = true;
            entry->m_layout = kw == QLatin1String("E")   ? KtMenuEntry::EditorLayout
                              : kw == QLatin1String("T") ? KtMenuEntry::TableLayout
                                                         : KtMenuEntry::PagedLayout;
        } else if (kw == QLatin1String("height")) {
            allowed(kw, {KtMenuEntry::Generic});
            entry->m_height = cur.number(kw, 1, kMaxPixels);
        } else if (kw == QLatin1String("widen")) {
            allowed(kw, {KtMenuEntry::Generic});
            entry->m_widen = cur.number(kw, 1, kMaxPixels);
        } else if (kw == QLatin1String("close")) {
            allowed(kw, {KtMenuEntry::Generic});
            if (cur.word(kw) != QLatin1String("R"))
                fail(line, QStringLiteral("the only close hook is R"));
            entry->m_closeHook = true;
        } else if (kw == QLatin1String("class")) {
            allowed(kw, {KtMenuEntry::Dedicated});
            entry->m_formClass = cur.word(kw);
            if (!isIdentifier(entry->m_formClass))
                fail(line, QStringLiteral("form class is not an identifier"));
        } else if (kw == QLatin1String("arg")) {
            allowed(kw, {KtMenuEntry::Sibling});
            entry->m_siblingArg = cur.quoted(kw);
            static const QRegularExpression re(QStringLiteral("^/T[A-Za-z0-9]+_[A-Za-z0-9_]+$"));
            if (!re.match(entry->m_siblingArg).hasMatch())
                fail(line, QStringLiteral("sibling argument \"%1\" is not /T<module>_<table>")
                               .arg(entry->m_siblingArg));
        } else if (kw == QLatin1String("do")) {
            allowed(kw, {KtMenuEntry::MainWindow});
            static const QHash<QString, KtMenuEntry::MainAction> actions = {
                {QStringLiteral("SaveChanges"), KtMenuEntry::SaveChanges},
                {QStringLiteral("Reboot"), KtMenuEntry::Reboot},
                {QStringLiteral("Help"), KtMenuEntry::Help},
                {QStringLiteral("About"), KtMenuEntry::About},
                {QStringLiteral("SNMPConfigure"), KtMenuEntry::SNMPConfigure},
                {QStringLiteral("TestConnection"), KtMenuEntry::TestConnection},
                {QStringLiteral("BackUp"), KtMenuEntry::BackUp},
                {QStringLiteral("CompareWithSwitch"), KtMenuEntry::CompareWithSwitch},
                {QStringLiteral("Changes"), KtMenuEntry::Changes},
            };
            const QString what = cur.word(kw);
            if (!actions.contains(what))
                fail(line, QStringLiteral("unknown main-window action \"%1\"").arg(what));
            entry->m_mainAction = actions.value(what);
            hasMainAction = true;
        } else {
            fail(line, QStringLiteral("unknown keyword \"%1\"").arg(kw));
        }
    }

    switch (action) {
    case KtMenuEntry::Generic:
        if (!entry->m_hasPrefix)
            fail(line, QStringLiteral("generic dialog without a caption prefix"));
        if (!hasLayout)
            fail(line, QStringLiteral("generic dialog without a layout (E, T or pages)"));
        break;
    case KtMenuEntry::Dedicated:
        if (entry->m_formClass.isEmpty())
            fail(line, QStringLiteral("dedicated dialog without a class"));
        break;
    case KtMenuEntry::Sibling:
        if (entry->m_siblingArg.isEmpty())
            fail(line, QStringLiteral("launch without an arg"));
        break;
    case KtMenuEntry::MainWindow:
        if (!hasMainAction)
            fail(line, QStringLiteral("action without do"));
        break;
    case KtMenuEntry::Submenu:
    case KtMenuEntry::NoAction:
        break;
    }

    KtMenuEntry *raw = entry.get();
    raw->m_parent = parent;
    if (parent)
        parent->m_children.append(raw);
    else
        m_catalogue.m_topLevel.append(raw);
    m_catalogue.m_byName.insert(raw->m_name, raw);
    m_catalogue.m_entries.push_back(std::move(entry));
    m_stack.append(raw);
    m_current = raw;
}

void KtMenuLoader::parsePanel(const QList<Token> &tokens, int depth, int line)
{
    KtMenuEntry *entry = m_current;
    if (!entry || entry->m_action != KtMenuEntry::Generic)
        fail(line, QStringLiteral("panel line without a generic dialog item above it"));
    if (depth != m_stack.size())
        fail(line, QStringLiteral("panel line must be indented one level below its item"));

    KtMenuPanel panel;
    panel.line = line;
    Cursor cur(tokens, 1, [&](const QString &what) { fail(line, what); });

    const QString layout = cur.word(QStringLiteral("panel"));
    if (layout == QLatin1String("E"))
        panel.layout = KtMenuPanel::Editor;
    else if (layout == QLatin1String("T"))
        panel.layout = KtMenuPanel::Table;
    else
        fail(line, QStringLiteral("panel layout must be E or T, not \"%1\"").arg(layout));

    const QString kindIndex = cur.word(QStringLiteral("panel"));
    static const QRegularExpression kindRe(QStringLiteral("^([0-9]+)/([0-9]+)$"));
    const QRegularExpressionMatch m = kindRe.match(kindIndex);
    if (!m.hasMatch())
        fail(line, QStringLiteral("list kind/index count expected, not \"%1\"").arg(kindIndex));
    const int kind = m.captured(1).toInt();
    if (kind > KtKind::MVT_UMV)
        fail(line, QStringLiteral("list kind %1 out of range 0 to 3").arg(m.captured(1)));
    panel.listKind = quint8(kind);
    bool ok = false;
    panel.indexCount = m.captured(2).toInt(&ok);
    if (!ok || panel.indexCount > kMaxVars)
        fail(line, QStringLiteral("index count %1 out of range").arg(m.captured(2)));

    // Positions are checked against the variable count once the line is read.
    QList<QPair<QString, int>> positions;
    QSet<QString> seen;
    bool hasVars = false;
    while (!cur.atEnd()) {
        const QString kw = cur.keyword();
        static const QSet<QString> once = {QStringLiteral("vars"), QStringLiteral("page"),
                                           QStringLiteral("rows"), QStringLiteral("hook"),
                                           QStringLiteral("noedit"), QStringLiteral("width")};
        if (once.contains(kw)) {
            if (seen.contains(kw))
                fail(line, QStringLiteral("%1 given twice").arg(kw));
            seen.insert(kw);
        }
        auto tableOnly = [&]() {
            if (panel.layout != KtMenuPanel::Table)
                fail(line, QStringLiteral("%1 applies to table panels only").arg(kw));
        };

        if (kw == QLatin1String("vars")) {
            panel.varCount = cur.number(kw, 1, kMaxVars);
            hasVars = true;
        } else if (kw == QLatin1String("page")) {
            panel.pageCaption = cur.quoted(kw);
            if (panel.pageCaption.isEmpty())
                fail(line, QStringLiteral("empty page caption"));
        } else if (kw == QLatin1String("table")) {
            const QString name = cur.word(kw);
            if (!isIdentifier(name))
                fail(line, QStringLiteral("table name \"%1\" is not an identifier").arg(name));
            panel.tables.append(name);
        } else if (kw == QLatin1String("root")) {
            const QString oid = cur.word(kw);
            if (!isOid(oid))
                fail(line, QStringLiteral("\"%1\" is not a dotted OID").arg(oid));
            panel.roots.append(oid);
        } else if (kw == QLatin1String("rows")) {
            tableOnly();
            panel.rowStatusColumn = cur.number(kw, 0, kMaxVars - 1);
            positions.append({kw, panel.rowStatusColumn});
            panel.addValue = cur.quoted(QStringLiteral("rows add value"));
            panel.deleteValue = cur.quoted(QStringLiteral("rows delete value"));
            if (panel.addValue.isEmpty() || panel.deleteValue.isEmpty())
                fail(line, QStringLiteral("empty row-status value"));
        } else if (kw == QLatin1String("fmt")) {
            KtMenuTailoring t;
            t.kind = KtMenuTailoring::Format;
            t.value = cur.number(kw, 0, kMaxVars - 1);
            t.format = cur.quoted(kw);
            if (t.format.isEmpty())
                fail(line, QStringLiteral("empty format text"));
            positions.append({kw, t.value});
            panel.tailoring.append(t);
        } else if (kw == QLatin1String("ports") || kw == QLatin1String("always")) {
            KtMenuTailoring t;
            t.kind = kw == QLatin1String("ports") ? KtMenuTailoring::Ports : KtMenuTailoring::Always;
            t.value = cur.number(kw, 0, kMaxVars - 1);
            positions.append({kw, t.value});
            panel.tailoring.append(t);
        } else if (kw == QLatin1String("noedit")) {
            tableOnly();
            KtMenuTailoring t;
            t.kind = KtMenuTailoring::NoEdit;
            panel.tailoring.append(t);
        } else if (kw == QLatin1String("width")) {
            KtMenuTailoring t;
            t.kind = KtMenuTailoring::Width;
            t.value = cur.number(kw, 1, kMaxPixels);
            panel.tailoring.append(t);
        } else if (kw == QLatin1String("hook")) {
            tableOnly();
            const QString hook = cur.word(kw);
            if (hook != QLatin1String("A") && hook != QLatin1String("B") && hook != QLatin1String("C"))
                fail(line, QStringLiteral("add hook must be A, B or C, not \"%1\"").arg(hook));
            panel.addHook = hook.at(0);
        } else {
            fail(line, QStringLiteral("unknown panel keyword \"%1\"").arg(kw));
        }
    }

    if (!hasVars)
        fail(line, QStringLiteral("panel without vars"));
    if (panel.tables.isEmpty())
        fail(line, QStringLiteral("panel without a table"));
    if (panel.roots.isEmpty())
        fail(line, QStringLiteral("panel without a root"));
    if (panel.indexCount > panel.varCount)
        fail(line, QStringLiteral("index count %1 exceeds the %2 variables")
                       .arg(panel.indexCount).arg(panel.varCount));
    for (const auto &p : positions)
        if (p.second >= panel.varCount)
            fail(line, QStringLiteral("%1 %2 lies outside the %3 variables")
                           .arg(p.first).arg(p.second).arg(panel.varCount));

    const bool paged = entry->m_layout == KtMenuEntry::PagedLayout;
    if (paged && panel.pageCaption.isEmpty())
        fail(line, QStringLiteral("page of a paged dialog without a page caption"));
    if (!paged) {
        if (!panel.pageCaption.isEmpty())
            fail(line, QStringLiteral("page caption in a dialog without pages"));
        if (!entry->m_panels.isEmpty())
            fail(line, QStringLiteral("second panel in a dialog without pages"));
        const bool wantTable = entry->m_layout == KtMenuEntry::TableLayout;
        if (wantTable != (panel.layout == KtMenuPanel::Table))
            fail(line, QStringLiteral("panel layout differs from its dialog's layout"));
    }
    entry->m_panels.append(panel);
}

void KtMenuLoader::finishEntry()
{
    if (m_current && m_current->m_action == KtMenuEntry::Generic && m_current->m_panels.isEmpty())
        fail(m_current->m_line, QStringLiteral("generic dialog item without a panel"));
}

void KtMenuLoader::finish()
{
    finishEntry();
    if (m_catalogue.m_entries.empty())
        fail(m_lastLine, QStringLiteral("no menu items"));
    for (const auto &e : m_catalogue.m_entries)
        if (e->m_action == KtMenuEntry::Submenu && e->m_children.isEmpty())
            fail(e->m_line, QStringLiteral("menu \"%1\" without items").arg(e->m_caption));
}
