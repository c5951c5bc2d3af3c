#include "ports/KtPortTables.h"

#include "ports/KtPortMap.h"

#include "errors/KtException.h"
#include "mib/KtMibData.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include <QFile>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>

#include <memory>

static int registerPortTablesResource()
{
    // The resource lives in a static library; without this the linker
    // drops its registration.
    Q_INIT_RESOURCE(ports);
    return 0;
}

namespace {

const QLatin1String IfIndexOid("1.3.6.1.2.1.2.2.1.1");
const QLatin1String BasePortOid("1.3.6.1.2.1.17.1.4.1.1");

const QList<QPair<KtPortTable::Numbering, QLatin1String>> &numberings()
{
    static const QList<QPair<KtPortTable::Numbering, QLatin1String>> names{
        {KtPortTable::Port, QLatin1String("port")},
        {KtPortTable::IfIndex, QLatin1String("ifindex")},
        {KtPortTable::BridgePort, QLatin1String("bridgeport")},
    };
    return names;
}

[[noreturn]] void malformed(const QString &fileName, int line, const QString &what)
{
    throw KtException(-502, QStringLiteral("Bad format at line(%1) in port table file(%2): %3!")
                                .arg(line).arg(fileName, what));
}

bool number(const QString &word, int *value)
{
    bool ok = false;
    *value = word.toInt(&ok);
    return ok && *value >= 0 && !word.startsWith(QLatin1Char('+'));
}

// An index column that numbers a front port, and how.
bool portColumn(const KtSNMPVar &var, KtPortTable::Numbering *numbering)
{
    if (var.Oid == IfIndexOid) {
        *numbering = KtPortTable::IfIndex;
        return true;
    }
    const QString label = var.Label.toLower();
    if (var.Oid == BasePortOid || label.contains(QLatin1String("base port"))) {
        *numbering = KtPortTable::BridgePort;
        return true;
    }
    static const QRegularExpression other(QStringLiteral("group|vlan|profile"));
    if (label.contains(QLatin1String("port")) && !label.contains(other)) {
        *numbering = KtPortTable::Port;
        return true;
    }
    return false;
}

} // namespace

QString KtPortTables::ResourcePath()
{
    static const int once = registerPortTablesResource();
    Q_UNUSED(once);
    return QStringLiteral(":/ports/porttables.txt");
}

const QList<KtPortTable> &KtPortTables::Instance()
{
    static QMutex mutex;
    static std::unique_ptr<QList<KtPortTable>> instance;
    QMutexLocker lock(&mutex);
    if (!instance)
        instance = std::make_unique<QList<KtPortTable>>(Load(ResourcePath()));
    return *instance;
}

QList<KtPortTable> KtPortTables::Load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw KtException(-501, QStringLiteral("Fail to read port table file(%1)!").arg(path));
    return Parse(QString::fromUtf8(file.readAll()), path);
}

QList<KtPortTable> KtPortTables::Parse(const QString &text, const QString &fileName)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z][A-Za-z0-9_]*$"));
    QList<KtPortTable> tables;
    QSet<QString> seen;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const int line = n + 1;
        const QString content = lines.at(n).section(QLatin1Char('#'), 0, 0).trimmed();
        if (content.isEmpty())
            continue;
        const QStringList words = content.split(QRegularExpression(QStringLiteral("\\s+")));
        if (words.size() < 5)
            malformed(fileName, line, QStringLiteral("expected table, entry, index or bitmap, index count and more"));
        KtPortTable t;
        t.table = words.at(0);
        t.entry = words.at(1);
        t.line = line;
        for (const QString &w : {t.table, t.entry})
            if (!name.match(w).hasMatch())
                malformed(fileName, line, QStringLiteral("\"%1\" is no name").arg(w));
        if (seen.contains(t.table))
            malformed(fileName, line, QStringLiteral("table %1 is listed twice").arg(t.table));
        if (!number(words.at(3), &t.indexCount))
            malformed(fileName, line, QStringLiteral("\"%1\" is no index count").arg(words.at(3)));
        if (words.at(2) == QLatin1String("index")) {
            t.kind = KtPortTable::Index;
            if (words.size() != 6)
                malformed(fileName, line, QStringLiteral("index takes an index count, a column and a numbering"));
            if (!number(words.at(4), &t.indexColumn) || t.indexColumn >= t.indexCount)
                malformed(fileName, line, QStringLiteral("\"%1\" is no index column of %2").arg(words.at(4)).arg(t.indexCount));
            bool known = false;
            for (const auto &[kind, word] : numberings())
                if (words.at(5) == word) {
                    t.numbering = kind;
                    known = true;
                }
            if (!known)
                malformed(fileName, line, QStringLiteral("\"%1\" is no numbering (port, ifindex, bridgeport)").arg(words.at(5)));
        } else if (words.at(2) == QLatin1String("bitmap")) {
            t.kind = KtPortTable::Bitmap;
            if (words.size() != 5)
                malformed(fileName, line, QStringLiteral("bitmap takes an index count and its columns"));
            for (const QString &c : words.at(4).split(QLatin1Char(','))) {
                int column = 0;
                if (!number(c, &column) || column < t.indexCount)
                    malformed(fileName, line, QStringLiteral("\"%1\" is no column after the index").arg(c));
                t.columns.append(column);
            }
        } else {
            malformed(fileName, line, QStringLiteral("\"%1\" is neither index nor bitmap").arg(words.at(2)));
        }
        seen.insert(t.table);
        tables.append(t);
    }
    return tables;
}

QString KtPortTables::Line(const KtPortTable &t)
{
    QString how;
    if (t.kind == KtPortTable::Index) {
        QString numbering;
        for (const auto &[kind, word] : numberings())
            if (kind == t.numbering)
                numbering = word;
        how = QStringLiteral("index %1 %2 %3").arg(t.indexCount).arg(t.indexColumn).arg(numbering);
    } else {
        QStringList columns;
        for (int c : t.columns)
            columns.append(QString::number(c));
        how = QStringLiteral("bitmap %1 %2").arg(t.indexCount).arg(columns.join(QLatin1Char(',')));
    }
    return QStringLiteral("%1 %2 %3").arg(t.table, t.entry, how);
}

QList<KtPortTable> KtPortTables::Derive(const KtMibData &mib, const KtMenuCatalogue &catalogue)
{
    QList<KtPortTable> found;
    QSet<QString> decided;
    for (int e = 0; e < catalogue.count(); ++e) {
        const KtMenuEntry &entry = catalogue.at(e);
        if (entry.action() != KtMenuEntry::Generic)
            continue;
        for (const KtMenuPanel &panel : entry.panels()) {
            if (panel.tables.isEmpty() || decided.contains(panel.tables.first()))
                continue;
            const QString &name = panel.tables.first();
            decided.insert(name);
            const KtSNMPVarTable *vars = mib.FindTable(name);
            if (!vars)
                continue;
            KtPortTable t;
            t.table = name;
            t.entry = entry.name();
            t.indexCount = panel.indexCount;
            bool port = false;
            for (int i = 0; i < panel.indexCount && i < vars->size() && !port; ++i)
                if (portColumn(vars->at(i), &t.numbering)) {
                    t.indexColumn = i;
                    port = true;
                }
            if (!port) {
                for (int c : panel.positions(KtMenuTailoring::Ports))
                    if (c >= panel.indexCount)
                        t.columns.append(c);
                if (t.columns.isEmpty())
                    continue;
                t.kind = KtPortTable::Bitmap;
            }
            found.append(t);
        }
    }
    return found;
}

const KtMenuPanel *KtPortTables::Panel(const KtPortTable &table, const KtMenuCatalogue &catalogue)
{
    const KtMenuEntry *entry = catalogue.Find(table.entry);
    if (!entry)
        return nullptr;
    for (const KtMenuPanel &panel : entry->panels())
        if (!panel.tables.isEmpty() && panel.tables.first() == table.table)
            return &panel;
    return nullptr;
}

QString KtPortTables::Caption(const KtPortTable &table, const KtMenuCatalogue &catalogue)
{
    const KtMenuPanel *panel = Panel(table, catalogue);
    if (panel && !panel->pageCaption.isEmpty())
        return panel->pageCaption;
    const KtMenuEntry *entry = catalogue.Find(table.entry);
    return entry ? entry->caption() : table.table;
}

int KtPortTables::Number(const KtPortTable &table, int port)
{
    switch (table.numbering) {
    case KtPortTable::IfIndex: return KtPortMap::IfIndex(port);
    case KtPortTable::BridgePort: return KtPortMap::BridgePort(port);
    case KtPortTable::Port: break;
    }
    return port;
}
