// Start-up cost of the compiled-in descriptor tables: a fresh read and
// parse of the resource per run, best and median of several runs.
#include "mib/KtMibData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;

    QElapsedTimer first;
    first.start();
    const KtMibData &builtIn = KtMibData::Instance();
    const double firstMs = double(first.nsecsElapsed()) / 1e6;

    std::vector<double> ms;
    int tables = 0, records = 0, lists = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const KtMibData d = KtMibData::Load(KtMibData::BuiltInPath());
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        tables = d.TableCount();
        records = d.RecordCount();
        lists = d.OptionListCount();
    }
    std::sort(ms.begin(), ms.end());

    std::printf("descriptor tables: %d tables, %d records, %d option lists\n", tables, records,
                lists);
    std::printf("descriptor load: first %.3f ms; best %.3f ms, median %.3f ms over %d runs\n",
                firstMs, ms.front(), ms[ms.size() / 2], runs);
    return tables == builtIn.TableCount() ? 0 : 1;
}
