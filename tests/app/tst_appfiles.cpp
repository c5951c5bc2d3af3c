// The files built beside the qsx4810 program: errMSg/ loads back as the
// built-in texts, and the help file is there.

#include "errors/KtCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestAppFiles : public QObject
{
    Q_OBJECT

    const QDir m_folder{QStringLiteral(QSX_APP_DIR)};

private slots:
    void cleanup()
    {
        for (int id = 0; id < KtCatalogue::Count; ++id)
            KtCatalogue::RestoreBuiltIn(KtCatalogue::Id(id));
    }

    void catalogueFilesHoldTheBuiltInTexts_data()
    {
        QTest::addColumn<int>("id");
        for (int id = 0; id < KtCatalogue::Count; ++id)
            QTest::newRow(qPrintable(KtCatalogue::FileName(KtCatalogue::Id(id)))) << id;
    }
    void catalogueFilesHoldTheBuiltInTexts()
    {
        QFETCH(int, id);
        const auto catalogue = KtCatalogue::Id(id);
        const QStringList builtIn = KtCatalogue::BuiltIn(catalogue);
        QVERIFY(KtCatalogue::LoadCatalogue(catalogue, m_folder.filePath(QStringLiteral("errMSg/") + KtCatalogue::FileName(catalogue))));
        QCOMPARE(KtCatalogue::EntryCount(catalogue), builtIn.size());
        for (int n = 0; n < builtIn.size(); ++n) {
            // A line break is written as \n, which the input checks turn back.
            QCOMPARE(KtCatalogue::Text(catalogue, n).replace(QLatin1String("\\n"), QLatin1String("\n")), builtIn.at(n));
        }
    }

    void helpFileBesideTheProgram()
    {
        QFile help(m_folder.filePath(QStringLiteral("QSX-4810 r4-5 JUN 08 Rhexmon-v9.html")));
        QVERIFY(help.open(QIODevice::ReadOnly));
        const QByteArray html = help.readAll();
        for (const char *part : {"id=\"panel\"", "id=\"menus\"", "id=\"commandline\"", "id=\"profile\""})
            QVERIFY2(html.contains(part), part);
    }
};

QTEST_GUILESS_MAIN(TestAppFiles)
#include "tst_appfiles.moc"
