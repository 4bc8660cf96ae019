#include "news/HeadlineParsers.h"

#include "engines/web/WebReadersFrame.h"
#include "toolkit/Misc.h"

#include <cstdio>

namespace qm {

using readers::Frame;
using readers::Landmark;

namespace {

constexpr unsigned char kMarker = 0xB2;  // Radio Canada: line breaks, kept visible to the matcher

// The scanning frame asks a ReaderSink for its pumps; a parse has nothing else to give it.
class PumpOnly : public ReaderSink {
public:
    explicit PumpOnly(HeadlineSink &sink) : sink_(sink) {}
    std::string SearchHost() const override { return {}; }
    std::string EngineName() const override { return {}; }
    PageQueue &Queue() override { return queue_; }
    bool IsDuplicateUrl(std::string_view) const override { return false; }
    bool AddResult(ResultRow) override { return false; }
    bool KeepReading() override { return sink_.KeepReading(); }

private:
    HeadlineSink &sink_;
    PageQueue queue_;
};

bool Contains(std::string_view text, std::string_view pattern) {
    return TMisc::FindNoCasePos(text, pattern) != std::string_view::npos;
}

std::string Cleaned(std::string_view field) { return Trim(CleanHtmlText(field)); }

// Texts joined by appending (GCC 12 warns wrongly on chains of temporaries).
std::string Join(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts) out.append(p);
    return out;
}

std::string CutAtQuote(std::string text) {
    size_t q = text.find('"');
    if (q != std::string::npos) text.resize(q);
    return text;
}

// Searches for a landmark longer than the frame's landmarks: the first 32 bytes are searched
// for, the rest expected piece by piece; a mismatch starts the search again after the
// mismatching byte.
bool SkipLong(Frame &f, std::string_view text) {
    const size_t n = Landmark::kMaxLength;
    const Landmark head(text.substr(0, n));
    std::vector<Landmark> rest;
    for (size_t i = n; i < text.size(); i += n) rest.emplace_back(text.substr(i, n));
    for (;;) {
        if (!f.Skip(head)) return false;
        bool whole = true;
        for (const Landmark &piece : rest)
            if (!f.Expect(piece)) {
                whole = false;
                break;
            }
        if (whole) return true;
        if (f.Stopped()) return false;
    }
}

// One parse: the rows it appends, its group counter and how it builds addresses.
class Parse {
public:
    Parse(const HeadlineInput &in, HeadlineSink &sink, const char *tag) : in_(in), sink_(sink), tag_(tag) {}

    void Header(std::string_view heading) {
        sink_.AddRow({Join({"---------------- ", heading, " ----------------"}), {}, {}, {}});
    }
    void Spacer() { sink_.AddRow({}); }
    void Spacers() {
        Spacer();
        Spacer();
    }
    // The page root followed by the trimmed address; an absolute address is kept as it is.
    std::string Url(std::string_view address) const {
        std::string a = Trim(address);
        if (TMisc::FindNoCasePos(a, "http://") == 0 || TMisc::FindNoCasePos(a, "https://") == 0) return a;
        return in_.pageRoot + a;
    }
    bool Listed(const std::string &url) const { return sink_.HasUrl(url); }
    void Headline(std::string title, std::string url) {
        counter_ = (counter_ + 1) % 5;
        if (counter_ == 0) Spacer();
        sink_.AddRow({std::move(title), std::move(url), in_.channel, tag_});
    }
    HeadlineSink &Sink() { return sink_; }
    int Year() const { return in_.year; }

private:
    const HeadlineInput &in_;
    HeadlineSink &sink_;
    const char *tag_;
    int counter_ = -1;
};

// ---- ABC News: the section pass and the wire pass -------------------------------------------

// After the address's landmark: the closing quote must be followed by a blank (">" drops the
// candidate, another byte waits for the next quote); the byte after the blank is passed.
// 1 taken, 0 dropped, -1 page over.
int QuoteThenBlank(Frame &f, size_t &quote) {
    static const Landmark dq("\"");
    for (;;) {
        if (!f.Skip(dq)) return -1;
        quote = f.Pos() - 1;
        int c = f.Next();
        if (c < 0) return -1;
        if (c == '>') return 0;
        if (c == ' ') return f.Next() < 0 ? -1 : 1;
    }
}

// Right after "href=\"" and `path`: the headline's address (from `path` to the closing
// quote, made absolute) when it is taken and not listed yet. 1 new address, 0 none here,
// -1 page over.
int NewAddressAfter(Frame &f, Parse &p, std::string_view path, std::string &url) {
    const size_t start = f.Pos() - path.size();
    size_t quote = 0;
    const int r = QuoteThenBlank(f, quote);
    if (r <= 0) return r;
    url = p.Url(f.Field(start, quote));
    return p.Listed(url) ? 0 : 1;
}

struct AbcRule {
    bool dropTd = false;  // Health and LifeStyle: a headline holding "</td" is dropped
};

void AbcSectionPass(Frame &f, Parse &p, std::string_view path, AbcRule rule) {
    static const Landmark tagEnd("\">"), closeA("</a");
    const std::string landmark = Join({"href=\"", path});
    for (;;) {
        if (!SkipLong(f, landmark)) return;
        std::string url;
        const int r = NewAddressAfter(f, p, path, url);
        if (r < 0) return;
        if (r == 0) continue;
        size_t titleStart = 0;
        for (;;) {
            if (!f.Skip(tagEnd)) return;
            const int c = f.Next();
            if (c < 0) return;
            if (c != '<') {
                titleStart = f.Pos() - 1;
                break;
            }
        }
        std::string field;
        if (!f.CaptureFrom(titleStart, closeA, field)) return;
        if (rule.dropTd && (Contains(field, "</td") || Contains(url, "</td"))) continue;
        p.Headline(Cleaned(field), url);
    }
}

void AbcWirePass(Frame &f, Parse &p, std::string_view path) {
    static const Landmark blue("=bluesmall>"), closeA("</a>"), closeD("</d");
    const Landmark landmark(Join({"href=\"", path}));
    for (;;) {
        if (!f.Skip(landmark)) return;
        std::string url;
        const int r = NewAddressAfter(f, p, path, url);
        if (r < 0) return;
        if (r == 0) continue;
        std::string link, time;
        if (!f.Skip(blue) || !f.Capture(closeA, link) || !f.Capture(closeD, time)) return;
        p.Headline(Join({"(", Cleaned(time), ")    ", Cleaned(link)}), url);
    }
}

// ---- The routines ---------------------------------------------------------------------------

struct Routine {
    int firstSection, lastSection;
    bool clears;
    const char *tag;
    void (*run)(Frame &f, Parse &p, int section, std::string_view page);
    const char *heading;  // fixed first header; nullptr: "from the section title"
};

void RunAbcTwoPasses(Frame &f, Parse &p, int section, std::string_view page) {
    struct Paths {
        const char *section, *wire, *second;
    };
    static const Paths paths[] = {
        {"/sections/world/dailynews", "/wire/world", "INSTANT WORLD NEWS"},
        {"/sections/entertainment/dailynews", "/wire/enter", "INSTANT ENTERTAINMENT NEWS"},
        {"/sections/us/dailynews", "/wire/us", "INSTANT U.S NEWS"},
    };
    const Paths &x = paths[section == 0 ? 0 : section == 1 ? 1 : 2];
    AbcSectionPass(f, p, x.section, {});
    p.Spacers();
    p.Header(x.second);
    p.Spacers();
    PumpOnly pump(p.Sink());
    Frame second(page, pump, true);
    AbcWirePass(second, p, x.wire);
}

void RunAbcOnePass(Frame &f, Parse &p, int section, std::string_view) {
    static const char *const paths[] = {"/sections/scitech/dailynews", "/sections/living/dailynews", "/sections/gma/"};
    AbcSectionPass(f, p, paths[section - 2], {section != 2});
}

void RunRegister(Frame &f, Parse &p, int, std::string_view) {
    static const Landmark first("adlink\"><a href=\""), tagEnd("\">"), bold("ng>"), closeSt("</st");
    for (;;) {
        if (!f.Skip(first)) return;
        const size_t start = f.Pos();
        if (!f.Skip(tagEnd)) return;
        const std::string url = p.Url(f.Field(start, f.MatchPos(0)));
        if (p.Listed(url)) continue;
        std::string field;
        if (!f.Skip(bold) || !f.Capture(closeSt, field)) return;
        p.Headline(Cleaned(field), url);
    }
}

void RunTf1(Frame &f, Parse &p, int section, std::string_view) {
    static const char *const paths[] = {"/news/monde/0",      "/news/people/0",     "/news/sciences/0",
                                        "/news/insolite/0",   "/news/multimedia/0", "/news/france/0"};
    static const char *const words[] = {"Monde", "People", "Sciences", "Insolite", "Multim\xE9" "dia", "France"};
    static const Landmark dq("\""), tagEnd("\">"), closeA("</a");
    const std::string path = paths[section - 8];
    const Landmark landmark(Join({"href=\"", path}));
    for (;;) {
        if (!f.Skip(landmark)) return;
        const size_t start = f.Pos() - path.size();
        if (!f.Skip(dq)) return;
        const size_t quote = f.Pos() - 1;
        int c = f.Next();
        if (c < 0) return;
        if (c != ' ' && c != '>') continue;
        const std::string url = p.Url(f.Field(start, quote));
        if (p.Listed(url)) continue;
        if (c == ' ' && !f.Skip(tagEnd)) return;
        for (;;) {  // a title that starts with a tag waits for the next quote and ">"
            c = f.Next();
            if (c < 0) return;
            if (c != '<') break;
            if (!f.Skip(tagEnd)) return;
        }
        std::string field;
        if (!f.CaptureFrom(f.Pos() - 1, closeA, field)) return;
        std::string title = Cleaned(field);
        const std::string word = words[section - 8];
        const bool own = SameTextNoCase(title, word) ||
                         (section == 12 && SameTextNoCase(title, "Multim\xC3\xA9" "dia"));
        if (own || Contains(title, "suite de l'article") || Contains(field, "href=") || Contains(title, "href=")) continue;
        p.Headline(std::move(title), url);
    }
}

void RunRadioCanada(Frame &f, Parse &p, int, std::string_view) {
    static const Landmark first("<a href=\"/nouvelles/"), dq("\""), closeA("</a");
    for (;;) {
        if (!f.Skip(first)) return;
        const size_t start = f.Pos() - 11;
        if (!f.Skip(dq)) return;
        const size_t quote = f.Pos() - 1;
        int c = f.Next();
        if (c < 0) return;
        if (c != '>') continue;
        const std::string url = p.Url(f.Field(start, quote));
        if (p.Listed(url)) continue;
        do c = f.Next();
        while (c == kMarker);
        if (c < 0) return;
        size_t titleStart = f.Pos() - 1;
        bool empty = false, drop = false;
        if (c == '<') {
            int d;
            do d = f.Next();
            while (d >= 0 && d != 'i' && d != 'I' && d != 'b' && d != 'B' && d != '/');
            if (d < 0) return;
            if (d == 'i' || d == 'I') {
                drop = true;
            } else if (d == '/') {
                const int e = f.Next();
                if (e < 0) return;
                if (e == 'a' || e == 'A')
                    empty = true;
                else
                    drop = true;
            } else {
                titleStart = f.Pos() - 2;
            }
        }
        if (drop) continue;
        std::string field;
        if (!empty && !f.CaptureFrom(titleStart, closeA, field)) return;
        for (char &b : field)
            if ((unsigned char)b == kMarker) b = ' ';
        p.Headline(Cleaned(field), url);
    }
}

void RunGerman(Frame &f, Parse &p, int, std::string_view) {
    static const Landmark topicMark("class=\"listethema\">"), closeA("</a>"), link("<a href=\""), dq("\""),
        gt(">"), closeLink("</a");
    for (;;) {
        std::string topic, address, text;
        if (!f.Skip(topicMark) || !f.Capture(closeA, topic)) return;
        if (!f.Skip(link) || !f.Capture(dq, address)) return;
        const std::string url = p.Url(Cleaned(address));
        if (!f.Skip(gt) || !f.Capture(closeLink, text)) return;
        p.Headline(Join({Cleaned(topic), " - ", Cleaned(text)}), url);
    }
}

void RunNu(Frame &f, Parse &p, int, std::string_view page) {
    static const Landmark heading("=\"heading\"><a href=\""), link("<a href=\""), tagEnd("\">"), img("</img>"),
        closeA("</a");
    size_t split = TMisc::FindNoCasePos(page, "Overig nieuws");
    split = split == std::string_view::npos ? page.size() : split + 13;
    auto pass = [&](Frame &frame, const Landmark &first, const Landmark *beforeTitle) {
        for (;;) {
            if (!frame.Skip(first)) return;
            const size_t start = frame.Pos();
            if (!frame.Skip(tagEnd)) return;
            const std::string url = p.Url(frame.Field(start, frame.MatchPos(0)));
            if (p.Listed(url)) continue;
            if (beforeTitle && !frame.Skip(*beforeTitle)) return;
            std::string field;
            if (!frame.Capture(closeA, field)) return;
            p.Headline(Cleaned(field), url);
        }
    };
    (void)f;
    PumpOnly pump(p.Sink());
    Frame head(page.substr(0, split), pump, true);
    pass(head, heading, nullptr);
    p.Spacers();
    p.Header("OVERIG NIEUWS");
    p.Spacers();
    if (head.Stopped()) return;
    Frame rest(page.substr(split), pump, true);
    pass(rest, link, &img);
}

void RunSpanish(Frame &f, Parse &p, int section, std::string_view) {
    static const char *const paths[] = {"/mundo/", "/latin/", "/deportes/", "/tec/", "/gente/"};
    static const Landmark tagEnd("\">"), closeA("</a");
    char year[16];
    std::snprintf(year, sizeof year, "%04d", p.Year());
    const std::string path = Join({"/", year, paths[section - 29]});
    const Landmark landmark(Join({"href=\"", path}));
    for (;;) {
        if (!f.Skip(landmark)) return;
        const size_t start = f.Pos() - path.size();
        if (!f.Skip(tagEnd)) return;
        const std::string url = p.Url(CutAtQuote(f.Field(start, f.MatchPos(0))));
        if (p.Listed(url)) continue;
        const int c = f.Next();
        if (c < 0) return;
        if (c == '<') continue;
        std::string field;
        if (!f.CaptureFrom(f.Pos() - 1, closeA, field)) return;
        p.Headline(Cleaned(field), url);
    }
}

void RunAustralian(Frame &f, Parse &p, int, std::string_view) {
    static const Landmark first("<a href=\"/common/story_page/0"), tagEnd("\">"), gt(">"), closeA("</a");
    for (;;) {
        if (!f.Skip(first)) return;
        const size_t start = f.Pos() - 20;
        if (!f.Skip(tagEnd)) return;
        const std::string url = p.Url(f.Field(start, f.MatchPos(0)));
        if (p.Listed(url)) continue;
        std::string field;
        if (!f.Skip(gt) || !f.Capture(closeA, field)) return;
        p.Headline(Cleaned(field), url);
    }
}

void RunBbc(Frame &f, Parse &p, int, std::string_view) {
    static const Landmark body("\"bodytext\">"), anyLink("<a h"), link("<a href=\""), tagEnd("\">"), br("<br");
    for (;;) {
        if (!f.Skip(body) || !f.Skip(anyLink) || !f.Skip(link)) return;
        const size_t start = f.Pos();
        if (!f.Skip(tagEnd)) return;
        const std::string url = p.Url(CutAtQuote(f.Field(start, f.MatchPos(0))));
        if (p.Listed(url)) continue;
        std::string field;
        if (!f.Skip(tagEnd) || !f.Capture(br, field)) return;
        p.Headline(Cleaned(field), url);
    }
}

void RunYahooCanada(Frame &f, Parse &p, int, std::string_view) {
    static const Landmark photos(">photos</a>"), link("<b><a href="), gt(">"), closeA("</a");
    if (!f.Skip(photos)) return;
    for (;;) {
        if (!f.Skip(link)) return;
        const size_t start = f.Pos();
        if (!f.Skip(gt)) return;
        const std::string url = p.Url(CutAtQuote(f.Field(start, f.MatchPos(0))));
        if (p.Listed(url)) continue;
        std::string field;
        if (!f.Capture(closeA, field)) return;
        p.Headline(Cleaned(field), url);
    }
}

const Routine kRoutines[kHeadlineRoutineCount] = {
    {0, 0, true, "US", RunAbcTwoPasses, "WORLD NEWS"},
    {1, 1, true, "US", RunAbcTwoPasses, "ENTERTAINMENT NEWS"},
    {5, 5, true, "US", RunAbcTwoPasses, "U.S NEWS"},
    {2, 2, true, "US", RunAbcOnePass, "Science & Technology NEWS"},
    {3, 3, false, "US", RunAbcOnePass, "HEALTH NEWS"},
    {4, 4, false, "US", RunAbcOnePass, "Life Styles NEWS"},
    {6, 6, false, "UK", RunRegister, "Computer and Internet related NEWS"},
    {7, 7, false, "UK", RunRegister, "Security related NEWS"},
    {8, 8, true, "FR", RunTf1, "ACTUALITES DU MONDE"},
    {9, 9, true, "FR", RunTf1, "ACTUALITES PEOPLE"},
    {10, 10, true, "FR", RunTf1, "ACTUALITES SCIENTIFIQUES"},
    {11, 11, true, "FR", RunTf1, "INSOLITES"},
    {12, 12, true, "FR", RunTf1, "MULTIMEDIA"},
    {13, 13, true, "FR", RunTf1, "EN FRANCE"},
    {14, 16, false, "CA", RunRadioCanada, nullptr},
    {17, 24, true, "DE", RunGerman, nullptr},
    {25, 28, true, "NL", RunNu, nullptr},
    {29, 29, true, "ES", RunSpanish, "NUEVAS DEL MUNDO"},
    {33, 33, true, "ES", RunSpanish, "GENTE"},
    {32, 32, true, "ES", RunSpanish, "TECNOLOGIA"},
    {31, 31, true, "ES", RunSpanish, "DEPORTES"},
    {30, 30, true, "ES", RunSpanish, "NUEVAS LATINOAMERICANAS"},
    {37, 37, true, "AU", RunAustralian, "AUSTRALIA NEWS"},
    {38, 39, false, "BBC", RunBbc, nullptr},
    {40, 44, false, "CA", RunYahooCanada, nullptr},
};

}  // namespace

int HeadlineRoutineOf(int section) {
    for (int i = 0; i < kHeadlineRoutineCount; ++i)
        if (section >= kRoutines[i].firstSection && section <= kRoutines[i].lastSection) return i;
    return -1;
}

const char *SectionTitleOf(int section) {
    static const char *const titles[45] = {
        "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        "ACTUALITES", "ECONOMIE", "POLITIQUE",
        "UBERSICHT", "INLAND", "AUSLAND", "WIRTSCHAFT", "SPORT", "ENTERTAINMENT", "COMPUTER", "BUCHER",
        "ALGEMEEN NIEUWS", "ACHTERKLAP", "INTERNET", "SPORT",
        "", "", "", "", "", "", "", "", "",
        "UK NEWS", "UK POLITICS",
        "CANADIAN NEWS", "CANADIAN BUSINESS", "CANADIAN PRESS", "TECHNOLOGY", "ENTERTAINMENT"};
    return section >= 0 && section < 45 ? titles[section] : "";
}

bool HeadlineRoutineClears(int section) {
    const int r = HeadlineRoutineOf(section);
    return r >= 0 && kRoutines[r].clears;
}

void ParseHeadlines(int section, std::string_view page, const HeadlineInput &input, HeadlineSink &sink) {
    const int r = HeadlineRoutineOf(section);
    if (r < 0 || page.empty()) return;
    const Routine &routine = kRoutines[r];
    std::string marked;
    if (routine.run == RunRadioCanada) {
        // Line breaks become a marker the matcher sees; tabs stay blanks it passes over.
        marked.assign(page);
        for (char &c : marked)
            if (c == '\r' || c == '\n') c = char(kMarker);
        page = marked;
    }
    Parse p(input, sink, routine.tag);
    if (routine.clears) sink.ClearList();
    p.Header(routine.heading ? routine.heading : SectionTitleOf(section));
    p.Spacers();
    PumpOnly pump(sink);
    Frame frame(page, pump, true);
    routine.run(frame, p, section, page);
    p.Spacers();
    sink.Complete();
}

namespace {
std::string Folded(std::string_view url) {
    std::string s(url);
    for (char &c : s) c = TMisc::LowCaseChar(c);
    return s;
}
}  // namespace

void HeadlineNodeList::Clear() {
    rows_.clear();
    urls_.clear();
}

void HeadlineNodeList::Add(HeadlineRow row) {
    if (!row.url.empty()) urls_.insert(Folded(row.url));
    rows_.push_back(std::move(row));
}

void HeadlineNodeList::Assign(HeadlineList rows) {
    Clear();
    for (HeadlineRow &r : rows) Add(std::move(r));
}

bool HeadlineNodeList::HasUrl(std::string_view url) const { return !url.empty() && urls_.count(Folded(url)); }

std::string WithoutControlBytes(std::string text) {
    for (char &c : text)
        if ((unsigned char)c < 32 || c == 127) c = ' ';
    return text;
}

}  // namespace qm
