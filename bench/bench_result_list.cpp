// The duplicate test and adding rows to the result list at 500, 5,000 and 50,000 rows: the
// time per added row (each after its duplicate test, as the readers do; measured while the
// list grows from N to 2N rows) must not grow with the list. A linear scan of the addresses is measured beside it for scale.
#include "search/ResultListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
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

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    std::printf("%8s %14s %14s %16s\n", "rows", "add+test us", "test only us", "linear test us");
    double base = 0, baseTest = 0, baseLinear = 0, worst = 0;
    for (int n : {500, 500, 5000, 50000}) {  // the first run warms up
        std::vector<qm::ResultRow> batch, probes;
        // From n to 2n rows: every growth step of the row vector and the address index is
        // paid once inside the measured run, as over a whole search.
        const int kBatch = n;
        for (int i = n; i < n + kBatch; ++i) batch.push_back(Row(i));
        for (int k = 0; k < 20000; ++k) probes.push_back(Row((k * 7919) % (2 * n)));
        std::unique_ptr<qm::ResultListModel> m(qm::ResultListModel::CreateWebList());
        for (int i = 0; i < n; ++i) m->AppendRow(Row(i));
        if (!getenv("NOSEL")) m->SelectRow(n / 2);  // a selection model is attached, as in the window

        QElapsedTimer t;
        t.start();
        int added = 0;
        for (auto &r : batch) {
            if (!m->IsDuplicateUrl(r.Address())) {
                m->AppendRow(std::move(r));
                ++added;
            }
        }
        const double addUs = double(t.nsecsElapsed()) / 1e3 / kBatch;

        t.restart();
        int hits = 0;
        for (const auto &p : probes) hits += m->IsDuplicateUrl(p.Address());
        const double testUs = double(t.nsecsElapsed()) / 1e3 / 20000;

        t.restart();
        int linearHits = 0;
        const int linearProbes = 200;
        for (int k = 0; k < linearProbes; ++k) linearHits += LinearDuplicate(*m, probes[size_t(k)].Address());
        const double linearUs = double(t.nsecsElapsed()) / 1e3 / linearProbes;

        if (added != kBatch || hits == 0 || linearHits == 0) std::fprintf(stderr, "unexpected counts\n");
        static int runs = 0;
        if (++runs == 1) continue;
        if (n == 500) base = addUs, baseTest = testUs, baseLinear = linearUs;
        std::printf("%8d %14.3f %14.3f %16.3f\n", n, addUs, testUs, linearUs);
        if (n == 50000) {
            worst = addUs / base;
            std::printf("ratio 50,000 / 500: add+test %.2f, test %.2f, linear scan %.1f\n", worst, testUs / baseTest,
                        linearUs / baseLinear);
        }
    }
    return 0;
}
