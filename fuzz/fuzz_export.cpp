// Result pages and the address checks from arbitrary row texts: whatever a remote page
// gave, the page holds no markup but the templates', and no unsafe address is linked.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "search/Export.h"
#include "search/InListFilter.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

size_t CountOf(const std::string &text, char c) {
    size_t n = 0;
    for (char x : text) n += x == c;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string input(reinterpret_cast<const char *>(data), size);
    // Fields separated by NUL: site, location, source, description, url, filter text.
    std::vector<std::string> fields(6);
    size_t f = 0;
    for (char c : input) {
        if (c == '\0' && f + 1 < fields.size()) ++f;
        else fields[f] += c;
    }
    qm::ResultRow row;
    row.subItems.assign(fields.begin(), fields.begin() + 5);
    qm::ExportSettings s;
    s.templates = qm::BuiltInResultTemplates();
    s.engines = {{fields[2], fields[1]}};
    const std::string page = qm::BuildResultPage({row, row}, {}, s);
    const std::string empty = qm::BuildResultPage({}, {}, s);
    // The engine list names the row's own source, so every placeholder of a line is filled
    // (an empty source names no engine: its link keeps the placeholder).
    std::vector<std::pair<std::string_view, std::string>> blanks = {
        {"<$URL>", ""}, {"<$SITENAME>", ""}, {"<$DESCRIPTION>", ""}, {"<$ENGINE_NAME>", ""}};
    if (!fields[2].empty()) blanks.push_back({"<$ENGINE_URL>", ""});
    const std::string line = qm::FillTemplate(s.templates.line, blanks);
    // Every "<", ">" and double quote of the page comes from the templates.
    for (char c : {'<', '>', '"'})
        Check(CountOf(page, c) == CountOf(empty, c) + 2 * CountOf(line, c));

    const std::string &address = row.Address();
    const std::string linked = qm::LinkableAddress(address);
    if (!linked.empty()) {
        Check(qm::IsSafeToOpen(address));
        const std::string scheme = qm::AddressScheme(linked);
        Check(scheme == "http" || scheme == "https" || scheme == "ftp");
    }

    // The filter never throws and an empty text matches nothing.
    Check(qm::FilterMatches({row}, "", qm::FilterMode::All).empty());
    for (auto mode : {qm::FilterMode::All, qm::FilterMode::Any, qm::FilterMode::Exact}) {
        auto m = qm::FilterMatches({row}, fields[5], mode);
        if (mode == qm::FilterMode::Exact && !m.empty()) {
            bool found = false;
            for (const auto &sub : row.subItems) found = found || qm::ContainsNoCase(sub, fields[5]);
            Check(found);
        }
    }
    return 0;
}
