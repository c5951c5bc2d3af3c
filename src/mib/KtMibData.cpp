#include "mib/KtMibData.h"

#include "errors/KtCatalogue.h"
#include "mib/KtMibParser.h"
#include "values/KtOptionList.h"

#include <QFile>

#include <mutex>

// Outside any namespace, as the resource initialiser requires; the
// resource lives in a static library, so nothing would pull it in otherwise.
static void registerMibResource()
{
    Q_INIT_RESOURCE(mib);
}

static void initMibResource()
{
    static std::once_flag once;
    std::call_once(once, registerMibResource);
}

KtMibData::KtMibData() = default;
KtMibData::KtMibData(KtMibData &&) noexcept = default;
KtMibData &KtMibData::operator=(KtMibData &&) noexcept = default;
KtMibData::~KtMibData() = default;

const KtMibData &KtMibData::Instance()
{
    static const KtMibData data = Load(BuiltInPath());
    return data;
}

QString KtMibData::BuiltInPath()
{
    return QStringLiteral(":/mib/descriptors.txt");
}

KtMibData KtMibData::Parse(const QByteArray &text, const QString &fileName)
{
    return KtMibParser(fileName).Parse(text);
}

KtMibData KtMibData::Load(const QString &path)
{
    initMibResource();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        KtMibParser::Fail(KtCatalogue::EngVarFileRead, path, 0);
    const QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        KtMibParser::Fail(KtCatalogue::EngVarFileRead, path, 0);
    return Parse(text, path);
}

const KtMibData::Table *KtMibData::FindTableInfo(const QString &name) const
{
    const auto it = m_tableIndex.constFind(name);
    return it == m_tableIndex.constEnd() ? nullptr : &m_tables.at(*it);
}

const KtSNMPVarTable *KtMibData::FindTable(const QString &name) const
{
    const Table *table = FindTableInfo(name);
    return table ? &table->Vars : nullptr;
}

QStringList KtMibData::TableNames() const
{
    QStringList names;
    names.reserve(m_tables.size());
    for (const Table &table : m_tables)
        names.append(table.Name);
    return names;
}

QStringList KtMibData::Roots(const QString &name) const
{
    const Table *table = FindTableInfo(name);
    return table ? table->Roots : QStringList();
}

QStringList KtMibData::MenuPaths(const QString &name) const
{
    const Table *table = FindTableInfo(name);
    return table ? table->MenuPaths : QStringList();
}

const KtOptionList *KtMibData::FindOptions(const QString &name) const
{
    return m_namedOptions.value(name);
}

int KtMibData::RecordCount() const
{
    int count = 0;
    for (const Table &table : m_tables)
        count += int(table.Vars.size());
    return count;
}
