#include "shell/catalogue/KtMenuCatalogue.h"
#include "shell/catalogue/KtMenuLoader.h"

#include "errors/KtException.h"

#include <QFile>
#include <QMutex>
#include <QStringDecoder>
#include <QStringList>

static int registerCatalogueResource()
{
    // The resource lives in a static library; without this the linker
    // drops its registration.
    Q_INIT_RESOURCE(menu);
    return 0;
}

static void initCatalogueResource()
{
    static const int once = registerCatalogueResource();
    Q_UNUSED(once);
}

KtMenuCatalogue::KtMenuCatalogue() = default;
KtMenuCatalogue::~KtMenuCatalogue() = default;
KtMenuCatalogue::KtMenuCatalogue(KtMenuCatalogue &&other) noexcept = default;
KtMenuCatalogue &KtMenuCatalogue::operator=(KtMenuCatalogue &&other) noexcept = default;

QString KtMenuCatalogue::ResourcePath()
{
    initCatalogueResource();
    return QStringLiteral(":/catalogue/menu.txt");
}

const KtMenuCatalogue &KtMenuCatalogue::Instance()
{
    static QMutex mutex;
    static std::unique_ptr<KtMenuCatalogue> instance;
    QMutexLocker lock(&mutex);
    if (!instance) {
        instance = std::make_unique<KtMenuCatalogue>(FromFile(ResourcePath()));
    }
    return *instance;
}

KtMenuCatalogue KtMenuCatalogue::FromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KtException(-501, QStringLiteral("Fail to read menu catalogue file(%1)!").arg(path));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KtException(-501, QStringLiteral("Fail to read menu catalogue file(%1)!").arg(path));
    // Reject bytes that are not UTF-8 instead of turning them into
    // replacement characters inside captions.
    const QList<QByteArray> lines = data.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString decoded = decoder(lines.at(i));
        Q_UNUSED(decoded);
        if (decoder.hasError())
            throw KtException(-502, QStringLiteral("Bad format at line(%1) in menu catalogue file(%2): "
                                                   "text is not UTF-8!").arg(i + 1).arg(path));
    }
    return FromText(QString::fromUtf8(data), path);
}

KtMenuCatalogue KtMenuCatalogue::FromText(const QString &text, const QString &fileName)
{
    return KtMenuLoader::Parse(text, fileName);
}

const KtMenuEntry *KtMenuCatalogue::Find(const QString &name) const
{
    return m_byName.value(name, nullptr);
}

const KtMenuEntry *KtMenuCatalogue::FindPath(const QString &path) const
{
    const QStringList parts = path.split(QLatin1String(">"));
    const QList<const KtMenuEntry *> *level = &m_topLevel;
    const KtMenuEntry *found = nullptr;
    for (const QString &part : parts) {
        const QString wanted = part.trimmed();
        found = nullptr;
        for (const KtMenuEntry *e : *level) {
            if (e->caption().trimmed() == wanted) {
                found = e;
                break;
            }
        }
        if (!found)
            return nullptr;
        level = &found->children();
    }
    return found;
}
