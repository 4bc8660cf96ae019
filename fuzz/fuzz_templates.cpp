// Fuzzes the engine-definition reader, the template compiler and the template matcher.
// The input is cut at NUL bytes into: template, page, area start, area stop, next template.
// The whole input is also read as a group file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engines/web/TemplateMatch.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

class FuzzSink : public qm::ReaderSink {
public:
    qm::PageQueue queue;
    int rows = 0;
    size_t maxField = 0;
    std::string SearchHost() const override { return "http://h.example"; }
    std::string EngineName() const override { return "Fuzz"; }
    qm::PageQueue &Queue() override { return queue; }
    bool IsDuplicateUrl(std::string_view) const override { return false; }
    bool AddResult(qm::ResultRow row) override {
        Check(row.subItems.size() == 5);
        Check(!row.Address().empty());
        for (const auto &s : row.subItems) Check(s.size() <= maxField);
        return ++rows < 1000;
    }
    bool KeepReading() override { return true; }
};

void CheckSegments(const qm::TemplateSegments &segs) {
    Check(segs.size() <= qm::kMaxTemplateSegments);
    for (size_t i = 0; i + 1 < segs.size(); ++i) Check(!segs[i].text.empty());
    for (const auto &s : segs) Check(static_cast<int>(s.kind) <= 6);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    std::vector<std::string_view> parts;
    size_t from = 0;
    while (parts.size() < 4) {
        size_t nul = input.find('\0', from);
        if (nul == std::string_view::npos) break;
        parts.push_back(input.substr(from, nul - from));
        from = nul + 1;
    }
    parts.push_back(input.substr(from));
    parts.resize(5);

    qm::TWebBot bot;
    bot.engineName = "Fuzz";
    bot.baseUrl = "http://b.example";
    std::vector<std::string> notes;
    bot.linkTemplate = qm::CompileTemplate(parts[0], &notes, "link");
    bot.nextTemplate = qm::CompileTemplate(parts[4], &notes, "next");
    CheckSegments(bot.linkTemplate);
    CheckSegments(bot.nextTemplate);
    bot.linkAreaStartAt = std::string(parts[2]);
    bot.linkAreaStopAt = std::string(parts[3]);
    bot.nextAreaStartAt = std::string(parts[3]);
    bot.nextAreaStopAt = std::string(parts[2]);

    const std::string_view page = parts[1];
    const qm::TemplateArea area = qm::FindArea(page, bot.linkAreaStartAt, bot.linkAreaStopAt);
    Check(area.start <= page.size() && area.stop <= page.size());

    FuzzSink sink;
    sink.maxField = qm::kMaxField + bot.baseUrl.size();
    sink.queue.Append("http://h.example/dir/page?q=1", "ON");
    qm::MatchTemplate(bot, page, sink);
    qm::MatchNextTemplate(bot, page, "http://h.example/dir/page?q=1", sink);
    for (const auto &e : sink.queue.entries()) Check(!e.address.empty());

    // The same input as a whole group file.
    qm::TemplateEngineTable table;
    if (table.LoadEngineGroupText(input)) {
        Check(table.Count() >= 1 && table.Count() <= qm::kMaxEngineDefinitions);
        for (const auto &d : table.Definitions()) {
            CheckSegments(d.linkTemplate);
            CheckSegments(d.nextTemplate);
            (void)d.RequestAddress("a+b");
        }
    }
    return 0;
}
