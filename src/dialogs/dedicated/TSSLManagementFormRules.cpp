#include "dialogs/dedicated/TSSLManagementFormRules.h"

#include "dialogs/dedicated/KtDedicatedRules.h"
#include "dialogs/dedicated/KtListSpec.h"
#include "values/KtOptionList.h"
#include "values/KtTypes.h"

namespace TSSLManagementFormRules {

namespace {

int hexDigit(QChar c)
{
    const char l = c.toUpper().toLatin1();
    if (l >= '0' && l <= '9')
        return l - '0';
    if (l >= 'A' && l <= 'F')
        return l - 'A' + 10;
    return -1;
}

} // namespace

KtSNMPVarList SslList()
{
    static const KtOptionList status(
        KtOptionTable{{2, {}, QStringLiteral("disabled")}, {3, {}, QStringLiteral("enabled")}});
    return KtListOf("1.3.6.1.4.1.32473.12.7.1",
                    {{"1", "Status Admin", KtType::Integer, KtAccess::ReadWrite, &status},
                     {"2", "Cipher Suites", KtType::OctetStr, KtAccess::ReadWrite},
                     {"3", "Cache Timeout", KtType::Gauge, KtAccess::ReadWrite}},
                    KtKind::SVT_SV);
}

std::optional<Suites> UnpackSuites(const QString &cipherText)
{
    if (cipherText.size() != 2 || hexDigit(cipherText.at(1)) < 0)
        return std::nullopt;
    const int nibble = hexDigit(cipherText.at(0));
    if (nibble < 0)
        return std::nullopt;
    Suites suites{};
    for (int k = 0; k < SuiteCount; ++k)
        suites[size_t(k)] = (nibble & SuiteBit(k)) != 0;
    return suites;
}

QString PackSuites(const Suites &suites, const QString &previousText)
{
    int nibble = 0;
    for (int k = 0; k < SuiteCount; ++k)
        if (suites[size_t(k)])
            nibble |= SuiteBit(k);
    const bool kept = previousText.size() == 2 && hexDigit(previousText.at(0)) >= 0 && hexDigit(previousText.at(1)) >= 0;
    const QChar low = kept ? previousText.at(1).toUpper() : QLatin1Char('0');
    return QString(QChar(QLatin1Char("0123456789ABCDEF"[nibble]))) + low;
}

std::optional<quint32> ParseCacheTimeout(const QString &text)
{
    const auto v = KtDedicatedRules::ParseNumber(text, 0, 0xFFFFFFFFLL);
    if (!v)
        return std::nullopt;
    return quint32(*v);
}

} // namespace TSSLManagementFormRules
