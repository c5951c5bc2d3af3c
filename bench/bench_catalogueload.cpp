// Start-up cost of the compiled-in menu catalogue: parse time of the
// catalogue text, best and median of several runs, with its counts.
#include "shell/catalogue/KtMenuCatalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 50;

    std::vector<double> menuMs;
    int entries = 0;
    int panels = 0;
    for (int r = 0; r < runs; ++r) {
        QElapsedTimer t;
        t.start();
        const KtMenuCatalogue c = KtMenuCatalogue::FromFile(KtMenuCatalogue::ResourcePath());
        menuMs.push_back(double(t.nsecsElapsed()) / 1e6);
        entries = c.count();
        panels = 0;
        for (int i = 0; i < c.count(); ++i)
            panels += int(c.at(i).panels().size());
    }

    std::printf("menu catalogue: %d entries, %d panels\n", entries, panels);
    std::printf("catalogue load: best %.3f ms, median %.3f ms over %d runs\n",
                *std::min_element(menuMs.begin(), menuMs.end()), medianOf(menuMs), runs);
    return 0;
}
