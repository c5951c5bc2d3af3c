// Writes the built-in message catalogues as the editable files of the
// errMSg folder: one message a line, a line break inside a message as \n
// (the input-check messages turn it back into one).

#include "errors/KtCatalogue.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "%s: cannot create %s\n", argv[0], argv[1]);
        return 1;
    }
    for (int id = 0; id < KtCatalogue::Count; ++id) {
        QByteArray content;
        for (const QString &message : KtCatalogue::BuiltIn(KtCatalogue::Id(id))) {
            // A blank message would be skipped on loading and shift every later one.
            if (message.trimmed().isEmpty() || message.contains(QLatin1Char('\r'))) {
                std::fprintf(stderr, "%s: message %lld of %s cannot be written as a line\n", argv[0],
                             qint64(content.count('\n')), qPrintable(KtCatalogue::FileName(KtCatalogue::Id(id))));
                return 1;
            }
            content += QString(message).replace(QLatin1Char('\n'), QLatin1String("\\n")).toLocal8Bit() + '\n';
        }
        const QString path = folder.filePath(KtCatalogue::FileName(KtCatalogue::Id(id)));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
