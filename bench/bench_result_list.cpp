// The duplicate test and adding rows to the result list at 500, 5,000 and 50,000 rows: the
// time per added row (each after its duplicate test, as the readers do) must not grow with
// the list. The list grows from N to 2N rows inside the run, so every growth step of the
// row vector and the address index is paid there. As a reader adds a page of results at a
// time, rows are built in pages of 250 outside the timed region and each page is added
// right after it was built (its rows are still in the cache, as in the program); building
// all N rows up front would measure the cache misses of the benchmark's own data at 50,000.
// A linear scan of the addresses is measured beside it for scale. Time figures are the
// best of five runs.
//
// Instructions per row are counted with the processor's counter when the kernel gives one
// (perf_event_open); else the column shows "n/a". Repeatable counts on any machine:
//   valgrind --tool=callgrind --callgrind-out-file=/tmp/rl.cg bench_result_list --once
//   callgrind_annotate --inclusive=yes --threshold=100 /tmp/rl.cg | grep -E 'AddPage|TestPhase'
// gives the inclusive instruction counts of AddPage<N> (all pages of one run: divide by N
// rows) and TestPhase<N> (divide by 20,000 probes). Adding --cache-sim=yes to the valgrind
// command also counts the cache misses: the instructions per row stay flat from 500 to
// 50,000 rows, so what time growth is left comes from the memory the larger list and its
// index occupy (a duplicate found reads its slot, its entry and its stored address).
#include "search/ResultListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#ifdef __linux__
#include <linux/perf_event.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

constexpr int kPage = 250;
constexpr int kProbes = 20000;

qm::ResultRow Row(int i) {
    // Numbers of six digits, so that the texts are as long at every size.
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06d", i);
    const std::string n = digits;
    qm::ResultRow r;
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

// Counts the instructions this process runs in user space, when the kernel offers it.
class InstructionCounter {
public:
    InstructionCounter() {
#ifdef __linux__
        perf_event_attr attr;
        std::memset(&attr, 0, sizeof attr);
        attr.size = sizeof attr;
        attr.type = PERF_TYPE_HARDWARE;
        attr.config = PERF_COUNT_HW_INSTRUCTIONS;
        attr.exclude_kernel = 1;
        attr.exclude_hv = 1;
        fd_ = int(syscall(SYS_perf_event_open, &attr, 0, -1, -1, 0));
#endif
    }
    ~InstructionCounter() {
#ifdef __linux__
        if (fd_ >= 0) close(fd_);
#endif
    }
    bool Available() const { return fd_ >= 0; }
    long long Read() const {
        long long v = 0;
#ifdef __linux__
        if (fd_ < 0 || read(fd_, &v, sizeof v) != sizeof v) return 0;
#endif
        return v;
    }

private:
    int fd_ = -1;
};

InstructionCounter &Counter() {
    static InstructionCounter c;
    return c;
}

struct Figures {
    double addUs = 1e9, testUs = 1e9, linearUs = 1e9;
    double addInstr = 0, testInstr = 0;
};

// Adds a page of rows, each after its duplicate test (the timed region).
template <int N>
__attribute__((noinline)) void AddPage(qm::ResultListModel &m, std::vector<qm::ResultRow> &page) {
    static volatile int size = N;  // keeps the instances apart (no identical code folding)
    (void)size;
    for (auto &r : page)
        if (!m.IsDuplicateUrl(r.Address())) m.AppendRow(std::move(r));
}

// Grows the list from N to 2N rows, a page at a time; returns nanoseconds and instructions
// spent inside the timed region.
template <int N>
void AddPhase(qm::ResultListModel &m, qint64 &ns, long long &instr) {
    ns = 0;
    instr = 0;
    std::vector<qm::ResultRow> page;
    page.reserve(kPage);
    for (int start = N; start < 2 * N; start += kPage) {
        page.clear();
        for (int i = start; i < std::min(start + kPage, 2 * N); ++i) page.push_back(Row(i));
        QElapsedTimer t;
        const long long i0 = Counter().Read();
        t.start();
        AddPage<N>(m, page);
        ns += t.nsecsElapsed();
        instr += Counter().Read() - i0;
    }
}

template <int N>
__attribute__((noinline)) int TestPhase(const qm::ResultListModel &m, const std::vector<qm::ResultRow> &probes) {
    static volatile int size = N;
    (void)size;
    int hits = 0;
    for (const auto &p : probes) hits += m.IsDuplicateUrl(p.Address());
    return hits;
}

template <int N>
Figures Measure(int reps, bool linear) {
    Figures f;
    std::vector<qm::ResultRow> probes;
    // The same number of probes at every size (all of them listed), spread over the whole
    // list, so that the figure is the index's and not the probes' cache misses.
    for (int k = 0; k < kProbes; ++k) probes.push_back(Row(((k % 1000) * (2 * N / 1000) + k / 1000) % (2 * N)));
    for (int rep = 0; rep < reps; ++rep) {
        std::unique_ptr<qm::ResultListModel> m(qm::ResultListModel::CreateWebList());
        for (int i = 0; i < N; ++i) m->AppendRow(Row(i));
        m->SelectRow(N / 2);  // a selection model is attached, as in the window

        qint64 ns = 0;
        long long instr = 0;
        AddPhase<N>(*m, ns, instr);
        f.addUs = std::min(f.addUs, double(ns) / 1e3 / N);
        f.addInstr = double(instr) / N;
        if (m->Count() != 2 * N) std::fprintf(stderr, "unexpected row count\n");

        QElapsedTimer t;
        const long long i0 = Counter().Read();
        t.start();
        const int hits = TestPhase<N>(*m, probes);
        f.testUs = std::min(f.testUs, double(t.nsecsElapsed()) / 1e3 / kProbes);
        f.testInstr = double(Counter().Read() - i0) / kProbes;
        if (hits != kProbes) std::fprintf(stderr, "unexpected hits: %d\n", hits);

        if (linear) {
            t.restart();
            int linearHits = 0;
            for (int k = 0; k < 50; ++k) linearHits += LinearDuplicate(*m, probes[size_t(k)].Address());
            f.linearUs = std::min(f.linearUs, double(t.nsecsElapsed()) / 1e3 / 50);
            if (linearHits == 0) std::fprintf(stderr, "unexpected hits\n");
        }
    }
    return f;
}

void Print(int n, const Figures &f, bool counted) {
    if (counted)
        std::printf("%8d %12.3f %12.0f %12.3f %12.0f %14.3f\n", n, f.addUs, f.addInstr, f.testUs, f.testInstr,
                    f.linearUs);
    else
        std::printf("%8d %12.3f %12s %12.3f %12s %14.3f\n", n, f.addUs, "n/a", f.testUs, "n/a", f.linearUs);
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    // --once: one run per size and no linear scan, for running under callgrind.
    const bool once = argc > 1 && std::strcmp(argv[1], "--once") == 0;
    const int reps = once ? 1 : 5;
    const bool counted = Counter().Available();
    if (!once) Measure<500>(1, false);  // warm up
    std::printf("%8s %12s %12s %12s %12s %14s\n", "rows", "add+test us", "add instr", "test us", "test instr",
                "linear test us");
    const Figures a = Measure<500>(reps, !once);
    Print(500, a, counted);
    const Figures b = Measure<5000>(reps, !once);
    Print(5000, b, counted);
    const Figures c = Measure<50000>(reps, !once);
    Print(50000, c, counted);
    std::printf("ratio 50,000 / 500: add+test time %.2f, test time %.2f", c.addUs / a.addUs, c.testUs / a.testUs);
    if (counted)
        std::printf(", add instructions %.2f, test instructions %.2f", c.addInstr / a.addInstr,
                    c.testInstr / a.testInstr);
    if (!once) std::printf(", linear scan time %.1f", c.linearUs / a.linearUs);
    std::printf("\n");
    if (!counted) std::printf("(no instruction counter here: see the callgrind command at the top of this file)\n");
    return 0;
}
