// The in-list filter on a long result list. Prints, measured side by side in one run:
// - the filter over 50,000 rows against 5,000 rows (it should grow linearly, about 10x);
// - the filter against a plain case-sensitive scan of the same texts (std::string::find);
// - the whole model step (match + one selection change) against the match alone;
// - rows whose titles and descriptions hold accented letters (Windows-1252 and UTF-8, which
//   are compared as displayed) against the same rows in plain ASCII;
// - moving every other row of 50,000 to the top against the same on 5,000.
#include "search/InListFilterModel.h"
#include "search/ResultListModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace qm;

namespace {

std::vector<ResultRow> MakeRows(size_t n, unsigned seed) {
    static const char *words[] = {"cheap", "hotel", "New", "York", "car", "rental", "music", "Free",
                                  "download", "news", "weather", "paris", "London", "cat", "dog",
                                  "software", "review", "best", "guide", "travel", "forum"};
    std::mt19937 rng(seed);
    auto phrase = [&](int count) {
        std::string s;
        for (int i = 0; i < count; ++i) {
            if (i) s += ' ';
            s += words[rng() % (sizeof words / sizeof *words)];
        }
        return s;
    };
    std::vector<ResultRow> rows(n);
    for (size_t i = 0; i < n; ++i) {
        auto &r = rows[i];
        r.caption = std::to_string(i + 1);
        r.subItems = {phrase(5), "http://www.site" + std::to_string(i) + ".example/" + phrase(2),
                      i % 3 ? "Altavista" : "Lycos", phrase(25), ""};
        for (auto &c : r.subItems[1]) if (c == ' ') c = '/';
    }
    return rows;
}

template <class F>
double BestMs(int reps, F &&f) {
    double best = 1e300;
    for (int i = 0; i < reps; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

volatile size_t sink;

size_t PlainScan(const std::vector<ResultRow> &rows, const std::string &needle) {
    size_t n = 0;
    for (const auto &r : rows)
        for (const auto &s : r.subItems)
            if (s.find(needle) != std::string::npos) {
                ++n;
                break;
            }
    return n;
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int reps = 7;
    auto small = MakeRows(5000, 1), big = MakeRows(50000, 2);
    size_t bytes = 0;
    for (const auto &r : big)
        for (const auto &s : r.subItems) bytes += s.size();
    std::printf("rows: 5,000 and 50,000 (%.1f MB of text in the large list)\n", bytes / 1e6);

    struct Case {
        const char *text;
        FilterMode mode;
    } cases[] = {{"new york", FilterMode::Exact}, {"hotel paris", FilterMode::All},
                 {"zzz qqq", FilterMode::Any}, {"c", FilterMode::Exact}};
    for (const auto &c : cases) {
        double s = BestMs(reps, [&] { sink = FilterMatches(small, c.text, c.mode).size(); });
        double b = BestMs(reps, [&] { sink = FilterMatches(big, c.text, c.mode).size(); });
        double plain = BestMs(reps, [&] { sink = PlainScan(big, c.text); });
        std::printf("filter %-6s '%s': 5k %.2f ms, 50k %.2f ms, ratio 50k/5k %.1f; "
                    "plain find over 50k %.2f ms, ratio filter/plain %.2f\n",
                    c.mode == FilterMode::Exact ? "EXACT" : c.mode == FilterMode::All ? "ALL" : "ANY", c.text, s,
                    b, b / s, plain, b / plain);
    }

    // Accented rows: every title and description holds one accented word, half of them in
    // Windows-1252, half in UTF-8; the plain list has "cafe" in its place.
    auto accented = big, plainAccents = big;
    for (size_t i = 0; i < big.size(); ++i)
        for (size_t k : {size_t(0), size_t(3)}) {
            accented[i].subItems[k] += i % 2 ? " caf\xE9" : " caf\xC3\xA9";
            plainAccents[i].subItems[k] += " cafe";
        }
    for (const char *typed : {"new york", "caf\xC3\xA9"}) {
        double a = BestMs(reps, [&] { sink = FilterMatches(accented, typed, FilterMode::Exact).size(); });
        double p = BestMs(reps, [&] { sink = FilterMatches(plainAccents, typed, FilterMode::Exact).size(); });
        std::printf("accented rows, EXACT '%s': 50k %.2f ms (%zu found), plain ASCII rows %.2f ms, ratio %.2f\n",
                    typed, a, size_t(sink = FilterMatches(accented, typed, FilterMode::Exact).size()), p, a / p);
    }

    // Typing into the filter box over the accented list: the model keeps the rows in the
    // compared form, so only the first keystroke after a change of the list converts them.
    {
        std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
        m->ResetRows(accented);
        QElapsedTimer t;
        t.start();
        ApplyInListFilter(*m, "new york", FilterMode::Exact);
        const double first = t.nsecsElapsed() / 1e6;
        const double next = BestMs(reps, [&] { sink = ApplyInListFilter(*m, "new york", FilterMode::Exact); });
        std::printf("model step on 50k accented rows: first keystroke %.2f ms, next keystrokes %.2f ms, ratio %.2f\n",
                    first, next, first / next);
    }

    // The model step: matching plus one selection change, as the filter box runs it.
    std::unique_ptr<ResultListModel> model(ResultListModel::CreateWebList());
    model->ResetRows(big);
    double matchOnly = BestMs(reps, [&] { sink = FilterMatches(big, "car", FilterMode::All).size(); });
    double withSelection = BestMs(reps, [&] { sink = ApplyInListFilter(*model, "car", FilterMode::All); });
    std::printf("model step on 50k ('car' selects %zu rows): %.2f ms, match alone %.2f ms, ratio %.2f\n",
                size_t(sink), withSelection, matchOnly, withSelection / matchOnly);

    // Moving every other row to the top (the list is reloaded and selected before each
    // timed move), beside a plain copy of the same rows as the baseline.
    auto moveMs = [&](const std::vector<ResultRow> &rows) {
        std::unique_ptr<ResultListModel> m(ResultListModel::CreateWebList());
        double best = 1e300;
        for (int i = 0; i < 3; ++i) {
            m->ResetRows(rows);
            std::vector<size_t> half;
            for (size_t k = 0; k < rows.size(); k += 2) half.push_back(k);
            SelectRowsAtOnce(*m, half);
            QElapsedTimer t;
            t.start();
            MoveSelectedToTop(*m, false);
            best = std::min(best, t.nsecsElapsed() / 1e6);
        }
        return best;
    };
    auto copyMs = [&](const std::vector<ResultRow> &rows) {
        return BestMs(3, [&] {
            std::vector<ResultRow> copy = rows;
            sink = copy.size();
        });
    };
    double m5 = moveMs(small), m50 = moveMs(big), c50 = copyMs(big);
    std::printf("move every other row to the top: 5k %.2f ms, 50k %.2f ms, ratio 50k/5k %.1f; "
                "plain copy of 50k rows %.2f ms, ratio move/copy %.2f\n",
                m5, m50, m50 / m5, c50, m50 / c50);
    return 0;
}
