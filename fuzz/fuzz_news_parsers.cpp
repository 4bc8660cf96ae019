// The 25 headline parsers on arbitrary bytes: the first byte chooses the routine, the rest is
// the page. Rows keep their shape, addresses their root, captures their 511-byte bound, and
// every parse of a page completes once.
#include "news/HeadlineParsers.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

class Sink : public qm::HeadlineSink {
public:
    bool KeepReading() override { return true; }
    void ClearList() override { rows.clear(); }
    void AddRow(qm::HeadlineRow row) override {
        if (!row.url.empty() && row.url.rfind("http://r", 0) != 0 && row.url.rfind("http", 0) != 0) std::abort();
        if (row.url.size() > 520 || row.title.size() > 1100) std::abort();
        if (row.url.empty() && !row.channel.empty()) std::abort();
        rows.push_back(std::move(row));
    }
    bool HasUrl(std::string_view url) const override {
        for (const auto &r : rows)
            if (r.url.size() == url.size() && !r.url.empty() && r.url == url) return true;
        return false;
    }
    void Complete() override { ++completed; }
    qm::HeadlineList rows;
    int completed = 0;
};

// One section per routine.
const int kSections[qm::kHeadlineRoutineCount] = {0, 1, 5, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12,
                                                  13, 14, 17, 25, 29, 33, 32, 31, 30, 37, 38, 40};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const int section = kSections[data[0] % qm::kHeadlineRoutineCount];
    std::string_view page(reinterpret_cast<const char *>(data + 1), size - 1);
    qm::HeadlineInput in;
    in.channel = "Fuzz";
    in.pageRoot = "http://r";
    in.year = 2001;
    Sink sink;
    qm::ParseHeadlines(section, page, in, sink);
    if (sink.completed != (page.empty() ? 0 : 1)) std::abort();
    size_t headlines = 0;
    for (const auto &r : sink.rows) headlines += !r.url.empty();
    if (headlines * 8 > page.size() + 8) std::abort();  // every headline costs its landmarks
    return 0;
}
