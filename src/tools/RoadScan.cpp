// Reading the planners' answer pages, and the distance texts.
//
// A page is walked once, byte by byte, over a working copy. Tabs, CR and LF become blanks in
// the copy and are not fed to the matcher; every other byte is fed in lower case. A landmark
// is waited for by its first byte and then expected byte after byte; a mismatch goes back to
// waiting for the first byte without looking at the mismatching byte again. Captures are
// taken from the copy, at most 511 bytes. Every 512 bytes the caller may pump events and
// stop the walk.
#include "tools/RoadPlanner.h"
#include "toolkit/Misc.h"

#include <charconv>
#include <cmath>

namespace qm {

namespace {

constexpr size_t kMaxCapture = 511;
constexpr double kKmPerMile = 1.609;
constexpr double kMilesPerKm = 0.6215040397762585;  // 1 / 1.609

// One landmark (lower case) being matched.
class Landmark {
public:
    explicit Landmark(std::string_view text) : text_(text) {}
    // Feeds one lower-cased byte at `pos`; true when it completes the landmark.
    bool Feed(char c, size_t pos) {
        if (matched_ == 0) {
            if (c != text_[0]) return false;
            start_ = pos;
            matched_ = 1;
        } else if (c == text_[matched_]) {
            ++matched_;
        } else {
            matched_ = 0;  // the mismatching byte is not looked at again
            return false;
        }
        if (matched_ < text_.size()) return false;
        matched_ = 0;
        return true;
    }
    // Position of the first byte of the last landmark completed.
    size_t Start() const { return start_; }

private:
    std::string_view text_;
    size_t matched_ = 0;
    size_t start_ = 0;
};

// Walks the copy and feeds each byte that is not a tab or line break to `feed`.
template <typename Feed>
void Walk(std::string &copy, const RoadKeepGoing &keepGoing, Feed feed) {
    for (size_t p = 0; p < copy.size(); ++p) {
        if (p % 512 == 0 && keepGoing && !keepGoing()) return;
        char c = copy[p];
        if (c == '\t' || c == '\r' || c == '\n') {
            copy[p] = ' ';
            continue;
        }
        feed(TMisc::LowCaseChar(c), p);
    }
}

std::string Capture(const std::string &copy, size_t from, size_t to) {
    if (to <= from) return {};
    return copy.substr(from, std::min(to - from, kMaxCapture));
}

bool Contains(std::string_view text, std::string_view pattern) {
    return TMisc::FindNoCasePos(text, pattern) != std::string_view::npos;
}

}  // namespace

std::string FormatFixed2(double value) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    if (r.ec != std::errc()) return "0.00";
    return std::string(buf, r.ptr);
}

double FirstWordNumber(std::string_view text) {
    std::string word = TMisc::NthWord(text, 1);
    const char *b = word.data(), *e = word.data() + word.size();
    if (b != e && *b == '+') ++b;
    double v = 0;
    auto r = std::from_chars(b, e, v);
    if (r.ec != std::errc() || !std::isfinite(v)) return 0;
    return v;
}

std::vector<RoadRow> ScanUsRoadPage(std::string_view page, bool km, const RoadKeepGoing &keepGoing) {
    std::vector<RoadRow> rows;
    std::string copy(page);
    Landmark header("<b>distance</b>"), colon(":</b>"), cellEnd("</td"), quote("\">"), fontEnd("</fo");
    int state = 0, quotes = 0;
    size_t start = 0;
    std::string step;
    Walk(copy, keepGoing, [&](char c, size_t p) {
        switch (state) {
        case 0:
            if (header.Feed(c, p)) state = 1;
            break;
        case 1:
            if (colon.Feed(c, p)) start = p + 1, state = 2;
            break;
        case 2:
            if (cellEnd.Feed(c, p)) {
                step = std::to_string(rows.size() + 1) + ": " +
                       Trim(CleanHtmlText(Capture(copy, start, cellEnd.Start())));
                quotes = 0;
                state = 3;
            }
            break;
        case 3:
            if (quote.Feed(c, p) && ++quotes == 2) start = p + 1, state = 4;
            break;
        case 4:
            if (fontEnd.Feed(c, p)) {
                double miles = FirstWordNumber(Capture(copy, start, fontEnd.Start()));
                rows.push_back({step, km ? FormatFixed2(miles * kKmPerMile) + " km"
                                         : FormatFixed2(miles) + " miles"});
                state = 1;
            }
            break;
        }
    });
    return rows;
}

std::vector<RoadRow> ScanEuRoadPage(std::string_view page, const RoadKeepGoing &keepGoing) {
    std::vector<RoadRow> rows;
    std::string copy(page);
    Landmark action("but action / di"), bold("--><b>"), comment("<!--"), nowrap("nowrap>"), cellEnd("</td");
    int state = 0;
    size_t start = 0;
    std::string step;
    Walk(copy, keepGoing, [&](char c, size_t p) {
        switch (state) {
        case 0:
            if (action.Feed(c, p)) state = 1;
            break;
        case 1:
            if (bold.Feed(c, p)) start = p + 1, state = 2;
            break;
        case 2:
            if (comment.Feed(c, p)) {
                step = Capture(copy, start, comment.Start());
                step = TMisc::ReplaceFirst(step, "&nbsp;", " ");
                step = TMisc::ReplaceFirst(step, "<BR>", " / ");
                step = CleanHtmlText(step);
                state = 3;
            }
            break;
        case 3:
            if (nowrap.Feed(c, p)) start = p + 1, state = 4;
            break;
        case 4:
            if (cellEnd.Feed(c, p)) {
                rows.push_back({step, CleanHtmlText(Capture(copy, start, cellEnd.Start())) + " km"});
                state = 0;
            }
            break;
        }
    });
    return rows;
}

void AppendEuRoadTotals(std::vector<RoadRow> &rows) {
    double total = 0;
    for (const auto &r : rows) total += FirstWordNumber(r.distance);
    double hours = total / 90;
    rows.push_back({});
    rows.push_back({"Distance totale:", FormatFixed2(total) + " km"});
    rows.push_back({"Temps total (à 90km/h):",
                    hours >= 1 ? FormatFixed2(hours) + " heures" : FormatFixed2(hours * 60) + " minutes"});
}

void SwitchRoadUnits(std::vector<RoadRow> &rows, bool km) {
    for (auto &r : rows) {
        if (r.step.empty() || Contains(r.step, "time:") || Contains(r.step, "km/h):")) continue;
        if (km && !Contains(r.distance, "km"))
            r.distance = FormatFixed2(FirstWordNumber(r.distance) * kKmPerMile) + " km";
        else if (!km && !Contains(r.distance, "miles"))
            r.distance = FormatFixed2(FirstWordNumber(r.distance) * kMilesPerKm) + " miles";
    }
}

}  // namespace qm
