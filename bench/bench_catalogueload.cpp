// Start-up cost of the compiled-in MIB vocabulary: the descriptor tables
// and the menu catalogue, each parsed from its resource, best and median of
// several runs, with the counts.
#include "mib/KtMibData.h"
#include "shell/catalogue/KtMenuCatalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double msSince(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

void report(const char *what, std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    std::printf("%-22s best %7.3f ms  median %7.3f ms  worst %7.3f ms\n", what, v.front(), v[v.size() / 2],
                v.back());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;

    // First use, as at start-up: both singletons, including resource set-up.
    QElapsedTimer first;
    first.start();
    const KtMibData &tables = KtMibData::Instance();
    const KtMenuCatalogue &menu = KtMenuCatalogue::Instance();
    const double firstMs = msSince(first);

    std::vector<double> tableMs, menuMs, bothMs;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const KtMibData d = KtMibData::Load(KtMibData::BuiltInPath());
        const double a = msSince(t);
        t.restart();
        const KtMenuCatalogue c = KtMenuCatalogue::FromFile(KtMenuCatalogue::ResourcePath());
        const double b = msSince(t);
        tableMs.push_back(a);
        menuMs.push_back(b);
        bothMs.push_back(a + b);
        if (d.TableCount() != tables.TableCount() || c.count() != menu.count())
            return 1;
    }

    int panels = 0;
    for (int i = 0; i < menu.count(); ++i)
        panels += int(menu.at(i).panels().size());

    std::printf("descriptor tables: %d tables, %d records, %d option lists\n", tables.TableCount(),
                tables.RecordCount(), tables.OptionListCount());
    std::printf("menu catalogue:    %d entries, %d panels\n", menu.count(), panels);
    std::printf("first use of both: %.3f ms\n", firstMs);
    report("descriptor tables", tableMs);
    report("menu catalogue", menuMs);
    report("tables + catalogue", bothMs);
    std::printf("(%d runs; target: tables + catalogue well under 50 ms)\n", runs);
    return 0;
}
