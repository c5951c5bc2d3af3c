#include "dialogs/dedicated/TMd5InformationFormRules.h"

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtListSpec.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

#include <algorithm>

namespace TMd5InformationFormRules {

KtSNMPVarList KeyList()
{
    static const KtOptionList status(KtOptionTable{
        {1, {}, QStringLiteral("active")}, {4, {}, QStringLiteral("createAndGo")}, {6, {}, QStringLiteral("destroy")}});
    return KtListOf("1.3.6.1.4.1.32473.11.69.1.3.4.1",
                    {{"1", "Key ID", KtType::Integer, KtAccess::NotAccess},
                     {"2", "Key", KtType::DisplayStr, KtAccess::ReadWrite},
                     {"3", "Status", KtType::Integer, KtAccess::ReadWrite, &status}},
                    KtKind::MVT_UMV, 1);
}

bool HasBlank(const QString &key)
{
    return std::any_of(key.begin(), key.end(), [](QChar c) { return c.isSpace(); });
}

std::optional<Refusal> CheckSet(int mode, const QString &keyId, const QString &key, const QString &status,
                                const QStringList &listedIds)
{
    if (mode == AddMode) {
        if (keyId.trimmed().isEmpty())
            return Refusal{QStringLiteral("KeyID is needed."), Field::KeyId};
        // The ID becomes the row's index: a number of the table's range only.
        if (!KtDedicatedRules::ParseNumber(keyId, 1, 255))
            return Refusal{QStringLiteral("KeyID must be a number from 1 to 255."), Field::KeyId};
        for (const QString &id : listedIds)
            if (KtDedicatedRules::SameNumber(id, keyId))
                return Refusal{QStringLiteral("KeyID must be different."), Field::KeyId};
    }
    if (key.isEmpty())
        return Refusal{QStringLiteral("Key is needed."), Field::Key};
    if (HasBlank(key))
        return Refusal{QStringLiteral("Invalid key."), Field::Key};
    if (key.size() > MaxKeyLength)
        return Refusal{QStringLiteral("A key has at most 16 characters."), Field::Key};
    if (mode == AddMode && status != QLatin1String("createAndGo"))
        return Refusal{QStringLiteral("Status should be createAndGo."), Field::Status};
    return std::nullopt;
}

} // namespace TMd5InformationFormRules
