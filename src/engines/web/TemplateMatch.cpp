#include "engines/web/TemplateMatch.h"

#include <vector>

#include "toolkit/Misc.h"

namespace qm {

namespace {

inline char Low(char c) { return TMisc::LowCaseChar(c); }
inline bool IsLineByte(char c) { return c == '\t' || c == '\r' || c == '\n'; }

bool IsAddressKind(SegmentKind k) {
    return k == SegmentKind::Link || k == SegmentKind::BaseLink || k == SegmentKind::Location;
}

// One segment ready for matching: the landmark in lower case and its failure table, so
// the walk finds every occurrence in one forward pass without going back in the page.
struct Landmark {
    std::string low;
    std::vector<size_t> border;  // border[i]: longest proper border of low[0..i]

    explicit Landmark(std::string_view text) {
        low.reserve(text.size());
        for (char c : text) low += Low(c);
        border.assign(low.size(), 0);
        for (size_t i = 1, k = 0; i < low.size(); ++i) {
            while (k > 0 && low[i] != low[k]) k = border[k - 1];
            if (low[i] == low[k]) ++k;
            border[i] = k;
        }
    }
};

// A link as stored: trimmed, cleaned, cut before the first quote, double quote and ">".
std::string CleanLink(std::string_view capture) {
    std::string link = CleanHtmlText(Trim(capture));
    for (char stop : {'\'', '"', '>'}) {
        size_t p = link.find(stop);
        if (p != std::string::npos) link.resize(p);
    }
    return link;
}

bool HasScheme(std::string_view link) {
    size_t colon = link.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    for (size_t i = 0; i < colon; ++i) {
        char c = link[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
        if (!ok) return false;
    }
    return true;
}

}  // namespace

size_t FindAreaStart(std::string_view page, std::string_view landmark) {
    size_t p = TMisc::FindNoCasePos(page, landmark);
    if (landmark.empty() || p == std::string_view::npos) return 0;
    return p + landmark.size();
}

size_t FindAreaStop(std::string_view page, std::string_view landmark, size_t from) {
    if (landmark.empty() || from >= page.size()) return page.size();
    size_t p = TMisc::FindNoCasePos(page, landmark, from);
    return p == std::string_view::npos ? page.size() : p;
}

TemplateArea FindArea(std::string_view page, std::string_view startAt, std::string_view stopAt) {
    TemplateArea area;
    area.start = FindAreaStart(page, startAt);
    area.stop = FindAreaStop(page, stopAt, area.start);
    return area;
}

void WalkTemplate(std::string_view page, TemplateArea area, const TemplateSegments &segments,
                  std::string_view baseUrl, const std::function<bool()> &keepReading,
                  const std::function<bool(TemplateRecord &)> &onRecord) {
    if (segments.empty()) return;
    if (area.stop > page.size()) area.stop = page.size();
    if (area.start >= area.stop) return;

    std::vector<Landmark> marks;
    marks.reserve(segments.size());
    size_t longest = 1;
    for (const auto &s : segments) {
        marks.emplace_back(s.text);
        longest = std::max(longest, s.text.size());
    }
    // Positions of the latest bytes taken part in matching, so the first byte of a
    // landmark found across line breaks is known.
    std::vector<size_t> recent(longest, 0);

    size_t seg = 0;         // current segment
    size_t matched = 0;     // bytes of its landmark matched so far
    size_t taken = 0;       // bytes of this segment that took part in matching
    size_t capStart = area.start;
    bool quoteBlank = false;  // the capture's first byte is a quote read as a blank
    TemplateRecord rec;

    for (size_t p = area.start; p < area.stop; ++p) {
        if ((p - area.start) % kPumpInterval == 0 && !keepReading()) return;
        const char c = page[p];
        if (IsLineByte(c)) continue;
        const Landmark &mark = marks[seg];
        const size_t len = mark.low.size();
        if (len == 0) continue;  // an empty landmark is never found
        recent[taken % len] = p;
        ++taken;
        const char lc = Low(c);
        while (matched > 0 && mark.low[matched] != lc) matched = mark.border[matched - 1];
        if (mark.low[matched] == lc) {
            ++matched;
        } else if (p == capStart && (c == '"' || c == '\'') && IsAddressKind(segments[seg].kind)) {
            quoteBlank = true;
        }
        if (matched < len) continue;

        // The whole landmark is found: the capture runs up to its first byte.
        const size_t first = recent[(taken - len) % len];
        size_t n = first - capStart;
        if (n > kMaxField) n = kMaxField;
        std::string capture(page.substr(capStart, n));
        for (char &b : capture)
            if (IsLineByte(b)) b = ' ';
        if (quoteBlank && !capture.empty()) capture[0] = ' ';

        switch (segments[seg].kind) {
            case SegmentKind::Link: rec.link = CleanLink(capture); break;
            case SegmentKind::BaseLink: rec.link = CleanLink(std::string(baseUrl) + Trim(capture)); break;
            case SegmentKind::Location: rec.location = CleanLink(capture); break;
            case SegmentKind::Title: rec.title = Trim(CleanHtmlText(capture)); break;
            case SegmentKind::Text: rec.text = Trim(CleanHtmlText(capture)); break;
            case SegmentKind::Skip:
            case SegmentKind::None: break;
        }

        ++seg;
        matched = 0;
        taken = 0;
        capStart = p + 1;
        quoteBlank = false;
        if (seg == segments.size()) {
            seg = 0;
            bool go = onRecord(rec);
            rec = TemplateRecord{};
            if (!go) return;
        }
    }
}

bool RecordMakesRow(const TemplateRecord &r) {
    if (!r.title.empty() && !r.text.empty()) return !r.link.empty();
    return !r.location.empty();
}

ResultRow RecordRow(const TemplateRecord &r, const std::string &engineName) {
    ResultRow row;
    row.image = -1;
    row.subItems = {r.title, r.link, engineName, r.text, r.location};
    return row;
}

int MatchTemplate(const TWebBot &bot, std::string_view page, ReaderSink &sink) {
    const TemplateArea area = FindArea(page, bot.linkAreaStartAt, bot.linkAreaStopAt);
    const std::string engine = sink.EngineName();
    int added = 0;
    WalkTemplate(
        page, area, bot.linkTemplate, bot.baseUrl, [&] { return sink.KeepReading(); },
        [&](TemplateRecord &rec) {
            if (!RecordMakesRow(rec)) return true;
            ResultRow row = RecordRow(rec, engine);
            if (sink.IsDuplicateUrl(row.Address())) return true;
            ++added;
            return sink.AddResult(std::move(row));
        });
    return added;
}

int MatchNextTemplate(const TWebBot &bot, std::string_view page, std::string_view pageAddress,
                      ReaderSink &sink) {
    // A page without the next-page area has no further pages: reading the whole page
    // instead would queue every link of it.
    if (!bot.nextAreaStartAt.empty() && TMisc::FindNoCasePos(page, bot.nextAreaStartAt) == std::string_view::npos)
        return 0;
    const TemplateArea area = FindArea(page, bot.nextAreaStartAt, bot.nextAreaStopAt);
    int queued = 0;
    WalkTemplate(
        page, area, bot.nextTemplate, bot.baseUrl, [&] { return sink.KeepReading(); },
        [&](TemplateRecord &rec) {
            const std::string &found = rec.link.empty() ? rec.location : rec.link;
            if (found.empty()) return true;
            if (sink.Queue().AddPage(ResolveAgainst(pageAddress, found))) ++queued;
            return true;
        });
    return queued;
}

std::string ResolveAgainst(std::string_view pageAddress, std::string_view link) {
    if (link.empty() || HasScheme(link)) return std::string(link);
    const size_t schemeEnd = pageAddress.find("://");
    if (schemeEnd == std::string_view::npos) return std::string(link);
    const size_t hostStart = schemeEnd + 3;
    size_t pathStart = pageAddress.find_first_of("/?#", hostStart);
    if (pathStart == std::string_view::npos) pathStart = pageAddress.size();

    if (link.size() >= 2 && link[0] == '/' && link[1] == '/')
        return std::string(pageAddress.substr(0, schemeEnd + 1)) + std::string(link);
    if (link[0] == '/') return std::string(pageAddress.substr(0, pathStart)) + std::string(link);

    // The page's path without its query and fragment.
    size_t pathEnd = pageAddress.find_first_of("?#", pathStart);
    if (pathEnd == std::string_view::npos) pathEnd = pageAddress.size();
    if (link[0] == '?') return std::string(pageAddress.substr(0, pathEnd)) + std::string(link);
    if (link[0] == '#') return std::string(pageAddress.substr(0, pathEnd)) + std::string(link);

    std::string_view path = pageAddress.substr(pathStart, pathEnd - pathStart);
    size_t slash = path.rfind('/');
    std::string dir = std::string(pageAddress.substr(0, pathStart)) +
                      (slash == std::string_view::npos ? std::string("/") : std::string(path.substr(0, slash + 1)));
    return dir + std::string(link);
}

}  // namespace qm
