// The newsgroup and software readers: straight walks over the page with the landmark
// matcher of the web readers' frame. "Skip" searches forward for a landmark, "Expect" needs
// it at once, "Capture" takes the text up to the next one.
#include "engines/vertical/VerticalReaders.h"

#include "engines/web/WebReadersFrame.h"
#include "toolkit/Misc.h"

#include <cstdlib>

namespace qm {

using readers::Frame;
using readers::Landmark;

namespace {

bool HasNoCase(std::string_view text, std::string_view pattern) {
    return TMisc::FindNoCasePos(text, pattern) != std::string_view::npos;
}
std::string CleanTrim(std::string_view field) { return Trim(CleanHtmlText(field)); }

const Landmark kGt(">");
const Landmark kLt("<");
const Landmark kDQ("\"");
const Landmark kDQGt("\">");
const Landmark kAHrefDQ("<a href=\"");

// "<" then `rest` at once; a mismatch goes back to waiting for "<".
bool SkipTag(Frame &f, const Landmark &rest) {
    while (f.Skip(kLt))
        if (f.Expect(rest)) return true;
    return false;
}

}  // namespace

// ---------------------------------------------------------------- newsgroups

void FindNewsPageLinks(std::string_view page, ReaderSink &sink) {
    static const Landmark start("href=/groups?q=");
    Frame f(page, sink, true);
    const std::string host = sink.SearchHost();
    std::string link;
    while (f.Skip(start)) {
        const size_t from = f.MatchPos(5);  // the "/" of "/groups"
        if (f.Next() < 0) return;           // the character after the landmark is taken
        if (!f.CaptureFrom(from, kGt, link)) return;
        if (HasNoCase(link, "&seld=") || !HasNoCase(link, "&start=")) continue;
        const std::string address = host + Trim(link);
        sink.Queue().AddPage(address, "");
    }
}

void ParseNewsResults(std::string_view page, ReaderSink &sink) {
    static const Landmark sorted("Sorted by "), link("<a href=/groups?q="), endA("</a"), br("<br>"), fo("<fo"),
        cls("class="), endATag("</a>");
    Frame f(page, sink, true);
    if (!f.Skip(sorted)) return;
    const std::string host = sink.SearchHost(), name = sink.EngineName();
    std::string raw, title, desc, group;
    while (f.Skip(kGt)) {
        if (!f.Expect(link)) continue;
        const size_t from = f.MatchPos(8);  // the "/" of "/groups"
        if (f.Next() < 0) return;
        if (!f.CaptureFrom(from, kGt, raw)) return;
        const std::string address = host + Trim(raw);
        if (sink.IsDuplicateUrl(address)) continue;
        if (!f.Capture(endA, raw)) return;
        // A link around a picture is not an article (the tag is looked for before cleaning,
        // which would remove it).
        if (HasNoCase(raw, "<img ")) continue;
        title = CleanTrim(raw);
        if (!f.Skip(br) || !f.Capture(fo, raw)) return;
        desc = "... " + CleanTrim(raw);
        if (!f.Skip(cls) || !f.Skip(kGt) || !f.Capture(endATag, raw)) return;
        group = Trim(raw);
        if (!f.Add({title, group, name, desc, address})) return;
    }
}

// ---------------------------------------------------------------- C|NET

void FindCnetPageLinks(std::string_view page, ReaderSink &sink) {
    static const Landmark start("<a href=/downloads/0,"), dash("-"), zeroDash("0-"), amp("&");
    Frame f(page, sink, true);
    const std::string host = sink.SearchHost();
    while (f.Skip(start)) {
        const size_t from = f.MatchPos(8);  // the "/" of "/downloads"
        if (f.Next() < 0) return;
        bool found = false;
        while (!found && f.Skip(dash)) found = f.Expect(zeroDash);
        if (!found) return;
        size_t ampAt = 0;
        for (;;) {
            if (!f.Skip(amp)) return;
            ampAt = f.MatchPos(0);
            const int c = f.Next();
            if (c < 0) return;
            if (c == '>' || c == ' ') break;
        }
        sink.Queue().AddPage(host + f.Field(from, ampAt + 1), "");
    }
}

namespace {

// The C|NET record walk. The search list composes Comments; the catalogue list keeps the
// text between "<s" and "</sp" as the Date and gives Rated and #Downloads columns of their own.
void ReadCnetRecords(std::string_view page, ReaderSink &sink, bool catalogue) {
    static const Landmark record("\"f\"><a href=\"/downloads/0-"), endA("</a"), endSp("</sp"),
        typeEnd = Landmark::Classes({"<", "/a", " t", "dh"}), s("<s"), aHref("<a href"), sp("<sp"), endTd("</td");
    Frame f(page, sink, true);
    const std::string host = sink.SearchHost(), name = sink.EngineName();
    std::string raw, title, desc, type, rating, downloads, size, date;
    while (f.Skip(record)) {
        const size_t from = f.MatchPos(13);  // the "/" of "/downloads"
        if (f.Next() < 0) return;
        if (!f.CaptureFrom(from, kDQGt, raw)) return;
        const std::string url = host + Trim(raw);
        if (!f.Capture(endA, raw)) return;
        title = CleanTrim(raw);
        if (sink.IsDuplicateUrl(title)) continue;
        if (!f.Skip(kDQGt) || !f.Capture(endSp, raw)) return;
        desc = CleanTrim(raw);
        if (!f.Skip(kDQGt) || !f.Capture(typeEnd, raw)) return;
        type = CleanTrim(raw);
        if (!f.Skip(s) || !f.Skip(kDQGt) || !f.Capture(endSp, raw)) return;
        date = Trim(raw);
        if (!f.Skip(aHref) || !f.Skip(kGt) || !f.Capture(endA, raw)) return;
        rating = CleanTrim(raw);
        if (rating.find('%') == std::string::npos) rating.clear();
        if (!f.Skip(sp) || !f.Skip(kDQGt) || !f.Capture(endSp, raw)) return;
        downloads.clear();
        for (char c : Trim(raw))
            if (c != ',') downloads += c;
        if (!f.Skip(kDQGt) || !f.Capture(endTd, raw)) return;
        size = Trim(raw);
        if (catalogue) {
            if (!f.Add({title, type, size, rating, downloads, date, desc, url})) return;
            continue;
        }
        const std::string comments = (rating.empty() ? "---" : rating) + " / " + downloads + "  (rated/#downloads)";
        if (!f.Add({title, type, size, comments, name, desc, url, ""})) return;
    }
}

bool EndsPopularList(std::string_view address) {
    return HasNoCase(address, ".list.list") || HasNoCase(address, ".list.next") || HasNoCase(address, ".list.prev");
}

const Landmark kPopularLink("<a href=\"/downloads/0-");

}  // namespace

void ParseCnetResults(std::string_view page, ReaderSink &sink) { ReadCnetRecords(page, sink, false); }

void ParseCatalogueList(std::string_view page, ReaderSink &sink) { ReadCnetRecords(page, sink, true); }

void FindPopularPageLinks(std::string_view page, ReaderSink &sink) {
    Frame f(page, sink, true);
    const std::string host = sink.SearchHost();
    std::string raw;
    while (f.Skip(kPopularLink)) {
        const size_t from = f.MatchPos(9);  // the "/" of "/downloads"
        if (f.Next() < 0) return;
        if (!f.CaptureFrom(from, kDQGt, raw)) return;
        const std::string address = host + raw;
        if (HasNoCase(address, "list.list") || HasNoCase(address, "list.next") || HasNoCase(address, "list.prev"))
            sink.Queue().AddPage(address, "");
    }
}

void ParsePopularList(std::string_view page, ReaderSink &sink) {
    static const Landmark buy(">buy<"), endA("</a"), br("<br>"), os(">os:</b>"), se("se:</b>"), two("2>");
    Frame f(page, sink, true);
    const std::string host = sink.SearchHost();
    std::string raw, name, desc, type, downloads;
    if (!f.Skip(buy)) return;  // once per page
    while (f.Skip(kPopularLink)) {
        const size_t from = f.MatchPos(9);
        if (f.Next() < 0) return;
        if (!f.CaptureFrom(from, kDQGt, raw)) return;
        const std::string url = host + Trim(raw);
        if (EndsPopularList(url)) return;  // the list of this page is over
        if (!f.Capture(endA, raw)) return;
        name = CleanTrim(raw);
        if (sink.IsDuplicateUrl(name)) continue;
        if (!f.Skip(br) || !f.Capture(br, raw)) return;
        // The description ends with the character two before the next "<br>" (the one just
        // before it is not part of it).
        desc = CleanTrim(std::string_view(raw).substr(0, raw.empty() ? 0 : raw.size() - 1));
        if (!f.Skip(os) || !f.Capture(kLt, raw)) return;
        desc += "  -  " + CleanTrim(raw);
        if (!f.Skip(se) || !f.Capture(kLt, raw)) return;
        type = CleanTrim(raw);
        for (int i = 0; i < 3; ++i)
            if (!f.Skip(two)) return;
        if (!f.Capture(kLt, raw)) return;
        downloads.clear();
        for (char c : Trim(raw))
            if (c != ',') downloads += c;
        if (!f.Add({name, type, "", "", downloads, "", desc, url})) return;
    }
}

void RunCatalogueReaders(bool popular, std::string_view page, ReaderSink &sink) {
    if (popular) {
        FindPopularPageLinks(page, sink);
        ParsePopularList(page, sink);
    } else {
        FindCnetPageLinks(page, sink);
        ParseCatalogueList(page, sink);
    }
}

// ---------------------------------------------------------------- TuCows

void FindTuCowsPageLinks(std::string_view page, ReaderSink &sink) {
    Frame f(page, sink, true);
    const std::string prefix = sink.SearchHost() + "/perl/tucowsSearch";
    auto lower = [](int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    std::string link;
    while (f.Skip(kAHrefDQ)) {
        const size_t from = f.Pos();
        bool same = true;
        for (char want : prefix) {
            const int c = f.Next();
            if (c < 0) return;
            if (lower(c) != lower((unsigned char)want)) {
                same = false;
                break;
            }
        }
        if (!same) continue;
        if (!f.CaptureFrom(from, kDQ, link)) return;
        if (!link.empty()) sink.Queue().AddPage(link, "");
    }
}

void ParseTuCowsResults(std::string_view page, ReaderSink &sink, const std::string &rated) {
    static const Landmark anchor("<a name="), b("<b>"), endB("</b>"), form("form:"), li("<li"), number("mber:</b>"),
        license("ense:"), l("<l"), sizeMark("size:"), homeMark("page:"), endTag("</"), descMark("tion:"),
        brMark("<br"), alt("alt=\"");
    Frame f(page, sink, true);
    const std::string name = sink.EngineName();
    std::string raw, title, platform, version, type, size, home, desc, rating;
    while (f.Skip(anchor)) {
        if (!f.Skip(kAHrefDQ)) return;
        const size_t from = f.Pos();
        if (!f.Skip(kDQGt)) return;
        const size_t quote = f.MatchPos(0);
        // The link's last character is not part of the address.
        const std::string url = quote > from ? Trim(f.Field(from, quote - 1)) : std::string();
        if (!f.Skip(b) || !f.Capture(endB, raw)) return;
        title = CleanTrim(raw);
        if (!f.Skip(form) || !f.Capture(li, raw)) return;
        platform = CleanTrim(raw);
        if (!f.Skip(number) || !f.Capture(kLt, raw)) return;
        version = Trim(raw);
        title += "  (" + version + ")";
        if (sink.IsDuplicateUrl(title)) continue;
        if (!f.Skip(license) || !f.Capture(l, raw)) return;
        type = CleanTrim(raw);
        if (!f.Skip(sizeMark) || !f.Capture(l, raw)) return;
        const long long bytes = std::strtoll(CleanTrim(raw).c_str(), nullptr, 10);
        size = std::to_string(bytes >> 10) + " KB";
        if (!f.Skip(homeMark) || !f.Skip(kDQGt) || !f.Capture(endTag, raw)) return;
        home = Trim(raw);
        if (!f.Skip(descMark) || !f.Capture(brMark, raw)) return;
        desc = CleanTrim(raw);
        if (!f.Skip(alt) || !f.Capture(kDQ, raw)) return;
        rating = Trim(raw);
        const std::string comments = platform + " / " + rated + "  " + rating;
        if (!f.Add({title, type, size, comments, name, desc, url, home})) return;
    }
}

void RunVerticalReaders(VerticalEngine engine, std::string_view page, ReaderSink &sink, const std::string &rated) {
    if (page.empty()) return;
    switch (engine) {
    case VerticalEngine::News:
        FindNewsPageLinks(page, sink);
        ParseNewsResults(page, sink);
        break;
    case VerticalEngine::Cnet:
        FindCnetPageLinks(page, sink);
        ParseCnetResults(page, sink);
        break;
    case VerticalEngine::TuCows:
        FindTuCowsPageLinks(page, sink);
        ParseTuCowsResults(page, sink, rated);
        break;
    case VerticalEngine::None: break;
    }
}

// ---------------------------------------------------------------- detail pages

namespace {

class PumpSink : public ReaderSink {
public:
    explicit PumpSink(const std::function<bool()> &keep) : keep_(keep) {}
    std::string SearchHost() const override { return {}; }
    std::string EngineName() const override { return {}; }
    PageQueue &Queue() override { return queue_; }
    bool IsDuplicateUrl(std::string_view) const override { return false; }
    bool AddResult(ResultRow) override { return false; }
    bool KeepReading() override { return !keep_ || keep_(); }

private:
    const std::function<bool()> &keep_;
    PageQueue queue_;
};

}  // namespace

SoftwareDetail ReadSoftwareDetailPage(std::string_view page, const std::string &host,
                                      const std::function<bool()> &keepReading) {
    static const Landmark basic("dlhtmlbasic"), slashLink("a href=/"), sites("d sites</a"), hrefDQ("a href=\""),
        specs("specs</a"), opinionEnd("\">r"), description("description<"), br("<br>"), fo("</fo");
    SoftwareDetail d;
    if (page.empty()) return d;
    d.mentionsOpinions = HasNoCase(page, "opinions");
    PumpSink sink(keepReading);
    Frame f(page, sink, true);
    std::string raw;
    if (!f.Skip(basic) || !SkipTag(f, slashLink)) return d;
    if (!f.CaptureFrom(f.MatchPos(7), kGt, raw)) return d;
    d.download = host + Trim(raw);
    if (!f.Skip(sites) || !SkipTag(f, hrefDQ) || !f.Capture(kDQGt, raw)) return d;
    d.author = host + Trim(raw);
    if (d.mentionsOpinions) {
        if (!f.Skip(specs) || !SkipTag(f, hrefDQ) || !f.Capture(opinionEnd, raw)) return d;
        d.opinions = host + Trim(raw);
    }
    if (!f.Skip(description) || !f.Skip(br) || !f.CaptureFrom(f.Pos(), fo, raw, kMaxDetailDescription)) return d;
    std::string text = CleanHtmlText(Trim(raw));
    text = TMisc::RemoveBetween(text, "<FONT", ">");
    d.description = TMisc::RemoveBetween(text, "<A HREF", ">");
    return d;
}

// ---------------------------------------------------------------- collecting

bool VerticalCollectingSink::IsDuplicateUrl(std::string_view identity) const {
    for (const auto &r : rows_)
        if (identity_ < r.subItems.size() && SameTextNoCase(r.subItems[identity_], identity)) return true;
    return false;
}

bool VerticalCollectingSink::AddResult(ResultRow row) {
    row.subItems.resize(columns_);
    row.caption = std::to_string(rows_.size() + 1);
    row.image = -1;
    if (!IsDuplicateUrl(row.subItems[identity_])) rows_.push_back(std::move(row));
    return limit == 0 || rows_.size() < limit;
}

VerticalParsed ParseVerticalPage(VerticalEngine engine, const std::string &host, std::string_view page) {
    std::string h = host, name;
    const bool news = engine == VerticalEngine::News;
    if (news) name = kNewsEngineName;
    else name = engine == VerticalEngine::Cnet ? "C|NET" : "TuCows";
    if (h.empty()) h = news ? NewsSearchHost() : SoftwareSearchHost(engine == VerticalEngine::Cnet ? 0 : 1);
    VerticalCollectingSink sink(h, name, news ? size_t(kNewsColumns) : size_t(kPrgColumns),
                                news ? size_t(kNewsAddress) : size_t(kPrgName));
    sink.Queue().Append("http://unrelated.example/first-page", "ON");
    RunVerticalReaders(engine, page, sink);
    VerticalParsed out;
    out.rows = sink.Rows();
    for (size_t i = 1; i < sink.Queue().size(); ++i) out.pages.push_back(sink.Queue()[i].address);
    return out;
}

VerticalParsed ParseCataloguePage(bool popular, const std::string &host, std::string_view page) {
    VerticalCollectingSink sink(host, "C|NET", 8, 0);
    sink.Queue().Append("http://unrelated.example/first-page", "ON");
    RunCatalogueReaders(popular, page, sink);
    VerticalParsed out;
    out.rows = sink.Rows();
    for (size_t i = 1; i < sink.Queue().size(); ++i) out.pages.push_back(sink.Queue()[i].address);
    return out;
}

}  // namespace qm
