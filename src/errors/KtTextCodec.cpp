#include "errors/KtTextCodec.h"

#include <QStringDecoder>

namespace KtTextCodec {

QString Decode(const QByteArray &octets)
{
    // Stateless, or a sequence cut off at the end would wait for more input
    // instead of counting as an error.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(octets);
    if (!decoder.hasError())
        return text;
    return QString::fromLatin1(octets);
}

} // namespace KtTextCodec
