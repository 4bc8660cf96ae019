// Text work that must take time in proportion to its input: CleanHtmlText and ReplaceAll
// on 1 and 10 MB (100 MB with --large), the readers of `quillmar-cli parse` on pages of
// the same sizes, and the page-link reader on pages of 1,000 to 100,000 further-page
// links (the engine's PageQueue). Prints the time per MB (per 1,000 links) of each size
// side by side and the ratio of the largest size to the smallest: it stays near 1.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engines/web/WebReadersSink.h"
#include "toolkit/Misc.h"

namespace {

using Clock = std::chrono::steady_clock;

// The best of three runs.
double Seconds(const std::function<size_t()> &work, size_t &sink) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        auto start = Clock::now();
        sink += work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

// Captured HTML as readers see it: listed tags, named references and numeric ones with
// many distinct numbers (each distinct number was a pass over the whole text).
std::string Tags(size_t size) {
    std::string out;
    out.reserve(size + 256);
    for (unsigned n = 0; out.size() < size; ++n) {
        out += "<b>Site ";
        out += std::to_string(n);
        out += "</b> &amp; caf&eacute;<br><span class=e>word</span> &#";
        out += std::to_string(n % 10000);
        out += "; &#65;<I>x</i>\n";
    }
    return out;
}

// An Altavista answer page: records, and further-page links at the end.
std::string AltavistaPage(size_t size, size_t links) {
    std::string page = "<html>\n";
    page.reserve(size + links * 64 + 256);
    for (unsigned n = 1; page.size() < size; ++n) {
        std::string num = std::to_string(n);
        page += "<dl><dt><b>" + num + ". </b><a href=\"http://www.s" + num + ".example/\"><B>Site " + num +
                "</B> &amp; more</a><dd>Description of site " + num +
                " with <b>words</b> &#" + std::to_string(n % 9000) + ";<br><span class=u>URL</span></dl>\n";
    }
    for (size_t i = 0; i < links; ++i)
        page += "<a href=\"/cgi-bin/query?kl=XX&q=x&stq=" + std::to_string(10 * (i + 1)) + "\">" +
                std::to_string(i + 2) + "</a>\n";
    return page;
}

struct Row {
    const char *name;
    const char *unit;
    std::vector<double> perUnit;
};

void Print(const std::vector<std::string> &sizes, const std::vector<Row> &rows) {
    std::printf("%-34s", "");
    for (const auto &s : sizes) std::printf(" %12s", s.c_str());
    std::printf(" %14s\n", "largest/first");
    for (const Row &r : rows) {
        std::printf("%-24s %-9s", r.name, r.unit);
        for (double v : r.perUnit) std::printf(" %12.4f", v);
        std::printf(" %13.2fx\n", r.perUnit.back() / std::max(r.perUnit.front(), 1e-12));
    }
}

}  // namespace

int main(int argc, char **argv) {
    const bool large = argc > 1 && std::strcmp(argv[1], "--large") == 0;
    std::vector<size_t> megabytes{1, 10};
    if (large) megabytes.push_back(100);
    size_t sink = 0;

    std::vector<std::string> sizes;
    Row clean{"CleanHtmlText", "ms/MB", {}}, replace{"ReplaceAll </span>", "ms/MB", {}},
        replaceAmp{"ReplaceAll &amp; -> &", "ms/MB", {}}, parse{"parse (Altavista)", "ms/MB", {}};
    for (size_t mb : megabytes) {
        sizes.push_back(std::to_string(mb) + " MB");
        const std::string text = Tags(mb << 20);
        const double size = double(text.size()) / (1 << 20);
        clean.perUnit.push_back(1000 * Seconds([&] { return qm::CleanHtmlText(text).size(); }, sink) / size);
        replace.perUnit.push_back(
            1000 * Seconds([&] { return qm::TMisc::ReplaceAll(text, "</span>", "").size(); }, sink) / size);
        replaceAmp.perUnit.push_back(
            1000 * Seconds([&] { return qm::TMisc::ReplaceAll(text, "&amp;", "&").size(); }, sink) / size);
        const std::string page = AltavistaPage(mb << 20, 10);
        parse.perUnit.push_back(1000 *
                                Seconds([&] {
                                    qm::ParsedPage parsed;
                                    qm::ParseEnginePage("Altavista", "http://h.example", page, parsed);
                                    return parsed.rows.size();
                                }, sink) /
                                (double(page.size()) / (1 << 20)));
    }
    Print(sizes, {clean, replace, replaceAmp, parse});

    std::vector<std::string> counts;
    Row links{"parse, further pages", "ms/1000", {}};
    for (size_t n : {size_t{1000}, size_t{10000}, size_t{100000}}) {
        counts.push_back(std::to_string(n) + " links");
        const std::string page = AltavistaPage(0, n);
        size_t pages = 0;
        links.perUnit.push_back(1000 *
                                Seconds([&] {
                                    qm::ParsedPage parsed;
                                    qm::ParseEnginePage("Altavista", "http://h.example", page, parsed);
                                    pages = parsed.pages.size();
                                    return pages;
                                }, sink) /
                                (double(n) / 1000));
        if (pages != n) std::printf("(expected %zu further pages, read %zu)\n", n, pages);
    }
    std::printf("\n");
    Print(counts, {links});
    return sink == 0 ? 1 : 0;
}
