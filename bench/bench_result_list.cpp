// The duplicate test and adding rows to the result list at 500, 5,000 and 50,000 rows: the
// time per added row (each after its duplicate test, as the readers do; measured while the
// list grows from N to 2N rows, so every growth step of the row vector and the address
// index is paid inside the run) must not grow with the list. A linear scan of the
// addresses is measured beside it for scale. Each figure is the best of five runs.
#include "search/ResultListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

qm::ResultRow Row(int i) {
    qm::ResultRow r;
    std::string n = std::to_string(i);
    r.subItems = {"Title " + n, "http://www.site" + n + ".example/page/" + n + ".html", "Engine",
                  "Description of result " + n, (i % 3 == 0) ? "http://click.example/?u=" + n : ""};
    return r;
}

bool LinearDuplicate(const qm::ResultListModel &m, const std::string &address) {
    const std::string want = qm::AsciiLower(address);
    for (int i = 0; i < m.Count(); ++i)
        if (qm::AsciiLower(m.AddressOf(i)) == want) return true;
    return false;
}

struct Figures {
    double addUs = 1e9, testUs = 1e9, linearUs = 1e9;
};

Figures Measure(int n) {
    Figures f;
    std::vector<qm::ResultRow> probes;
    // The same number of distinct probes at every size (half of them listed), spread over
    // the whole list, so that the figure is the index's and not the probes' cache misses.
    for (int k = 0; k < 20000; ++k) probes.push_back(Row(((k % 1000) * (2 * n / 1000) + k / 1000) % (2 * n)));
    for (int rep = 0; rep < 5; ++rep) {
        std::unique_ptr<qm::ResultListModel> m(qm::ResultListModel::CreateWebList());
        for (int i = 0; i < n; ++i) m->AppendRow(Row(i));
        m->SelectRow(n / 2);  // a selection model is attached, as in the window
        std::vector<qm::ResultRow> batch;
        for (int i = n; i < 2 * n; ++i) batch.push_back(Row(i));

        QElapsedTimer t;
        t.start();
        for (auto &r : batch)
            if (!m->IsDuplicateUrl(r.Address())) m->AppendRow(std::move(r));
        f.addUs = std::min(f.addUs, double(t.nsecsElapsed()) / 1e3 / n);
        if (m->Count() != 2 * n) std::fprintf(stderr, "unexpected row count\n");

        t.restart();
        int hits = 0;
        for (const auto &p : probes) hits += m->IsDuplicateUrl(p.Address());
        f.testUs = std::min(f.testUs, double(t.nsecsElapsed()) / 1e3 / double(probes.size()));

        t.restart();
        int linearHits = 0;
        for (int k = 0; k < 50; ++k) linearHits += LinearDuplicate(*m, probes[size_t(k)].Address());
        f.linearUs = std::min(f.linearUs, double(t.nsecsElapsed()) / 1e3 / 50);
        if (hits == 0 || linearHits == 0) std::fprintf(stderr, "unexpected hits\n");
    }
    return f;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    Measure(500);  // warm up
    std::printf("%8s %14s %14s %16s\n", "rows", "add+test us", "test only us", "linear test us");
    Figures base;
    for (int n : {500, 5000, 50000}) {
        Figures f = Measure(n);
        if (n == 500) base = f;
        std::printf("%8d %14.3f %14.3f %16.3f\n", n, f.addUs, f.testUs, f.linearUs);
        if (n == 50000)
            std::printf("ratio 50,000 / 500: add+test %.2f, test %.2f, linear scan %.1f\n", f.addUs / base.addUs,
                        f.testUs / base.testUs, f.linearUs / base.linearUs);
    }
    return 0;
}
