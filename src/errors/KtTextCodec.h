#pragma once

#include <QByteArray>
#include <QString>

// Texts that arrive as octets in no declared encoding (device strings,
// catalogue files): valid UTF-8 is read as such, anything else octet for
// octet as Latin-1, so nothing is dropped or replaced on the way to the screen.
namespace KtTextCodec {

QString Decode(const QByteArray &octets);

} // namespace KtTextCodec
