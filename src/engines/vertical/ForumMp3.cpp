// The forum and MP3 readers: straight walks over the page with the landmark matcher of the
// web readers' frame. "Skip" searches forward for a landmark, "Expect" needs it at once,
// "Capture" takes the text up to the next one.
#include "engines/vertical/ForumMp3.h"

#include "engines/web/WebEngineTable.h"
#include "engines/web/WebReadersFrame.h"
#include "search/ExpandQuery.h"
#include "toolkit/Misc.h"

namespace qm {

using readers::Frame;
using readers::Landmark;

namespace {

struct ForumRow {
    int selector;
    const char *name;
    bool enabled;
    const char *hostKey;
    const char *path;
};

// Table order is slot order.
constexpr ForumRow kForumRows[kForumEngineCount] = {
    {0, "Delphi Center", true, "forum-delphi",
     "/dir-app/search/index.asp?nav=search&webtag=mainconf&t=f&image1=Go!&qu=<$QRY>"},
    {2, "EZBoard", false, "forum-ezboard",
     "/BBSCategory.searchOdpBoards?searchKeys=<$QRY>&sortBy=displayName&activitySince=on&days=7"},
    {1, "Yahoo groups", true, "forum-yahoo", "/search?query=<$QRY>&sc=-1&sg=1&ss=1"},
    {3, "Topica", true, "forum-topica", "/search/?query=<$QRY>&search_type=cat"},
    {4, "BoardServer", true, "forum-boardserver", "/find.html?action=search&keywords=<$QRY>"},
};

struct Mp3Row {
    int selector;
    const char *name;
    const char *hostKey;
    const char *path;
};
constexpr Mp3Row kMp3Rows[kMp3EngineCount] = {
    {0, "KaZaA", "mp3-kazaa", "/search.php?search_type=simple&page=search&query=<$QRY>&type=music"},
    {3, "AVFind", "mp3-avfind", "/cgi-bin/search.cgi?keywords=<$QRY>&id=AVFIND&db=none"},
};

const ForumRow *ForumBySelector(int selector) {
    for (const auto &r : kForumRows)
        if (r.selector == selector) return &r;
    return nullptr;
}
const Mp3Row *Mp3BySelector(int selector) {
    for (const auto &r : kMp3Rows)
        if (r.selector == selector) return &r;
    return nullptr;
}

bool HasNoCase(std::string_view text, std::string_view pattern) {
    return TMisc::FindNoCasePos(text, pattern) != std::string_view::npos;
}

int Lower(int c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; }

// The next characters spell `text` (letters in any case); the mismatching one is consumed.
bool ExpectText(Frame &f, std::string_view text) {
    for (char want : text) {
        const int c = f.Next();
        if (c < 0 || Lower(c) != Lower((unsigned char)want)) return false;
    }
    return true;
}

// Captures up to `end` and drops `cut` characters from the end of the capture (an empty
// field when it is shorter).
bool CaptureCut(Frame &f, const Landmark &end, size_t cut, std::string &field) {
    if (!f.Capture(end, field)) return false;
    field.resize(field.size() > cut ? field.size() - cut : 0);
    return true;
}

const Landmark kLt("<");
const Landmark kGt(">");
const Landmark kDQGt("\">");
const Landmark kEndA("</a>");
const Landmark kEndAShort("</a");
const Landmark kEndTd("</td");
const Landmark kYourSearch(">your search on");

}  // namespace

// ---------------------------------------------------------------- tables

std::vector<EngineDescriptor> BuildForumEngineTable() {
    std::vector<EngineDescriptor> t;
    for (const auto &r : kForumRows) {
        EngineDescriptor d;
        d.selector = r.selector;
        d.name = r.name;
        d.defaultEnabled = r.enabled;
        d.templateAll = d.templateAny = d.templateExact = d.templateBool = ServiceRoot(r.hostKey) + r.path;
        d.homePage = ServiceRoot(r.hostKey) + "/";
        t.push_back(std::move(d));
    }
    return t;
}

std::string ForumSearchHost(int selector) {
    const ForumRow *r = ForumBySelector(selector);
    return r ? ServiceRoot(r->hostKey) : std::string();
}

std::string DelphiForumHost() { return ServiceRoot("forum-delphi-boards"); }

std::vector<EngineDescriptor> BuildMp3EngineTable() {
    std::vector<EngineDescriptor> t;
    for (const auto &r : kMp3Rows) {
        EngineDescriptor d;
        d.selector = r.selector;
        d.name = r.name;
        d.defaultEnabled = true;
        d.templateAll = d.templateAny = d.templateExact = d.templateBool = ServiceRoot(r.hostKey) + r.path;
        d.homePage = ServiceRoot(r.hostKey);
        t.push_back(std::move(d));
    }
    return t;
}

std::string Mp3HomeAddress(int selector) {
    const Mp3Row *r = Mp3BySelector(selector);
    return r ? ServiceRoot(r->hostKey) : std::string();
}

std::string PlainFirstAddress(const EngineDescriptor &row, const std::string &query) {
    return QueryAddress(row.templateAll, query);
}

int ForumSelectorByName(std::string_view name) {
    for (const auto &r : kForumRows)
        if (SameTextNoCase(name, r.name)) return r.selector;
    return -1;
}
int Mp3SelectorByName(std::string_view name) {
    for (const auto &r : kMp3Rows)
        if (SameTextNoCase(name, r.name)) return r.selector;
    return -1;
}
const char *ForumEngineName(int selector) {
    const ForumRow *r = ForumBySelector(selector);
    return r ? r->name : "";
}
const char *Mp3EngineName(int selector) {
    const Mp3Row *r = Mp3BySelector(selector);
    return r ? r->name : "";
}

// ---------------------------------------------------------------- Delphi Center

void FindDelphiPageLinks(std::string_view page, ReaderSink &sink) {
    const std::string prefix = sink.SearchHost() + "/dir-app/search/";
    Frame f(page, sink, true);
    if (!f.Skip(kYourSearch)) return;
    const Landmark first(std::string_view(prefix).substr(0, 1));
    std::string link;
    while (f.Skip(first)) {
        const size_t from = f.MatchPos(0);
        if (!ExpectText(f, std::string_view(prefix).substr(1))) continue;
        if (!f.CaptureFrom(from, Landmark("\" "), link)) return;
        sink.Queue().AddPage(link, "");
        return;  // one link per page
    }
}

void ParseDelphiResults(std::string_view page, ReaderSink &sink, const std::string &forumHost) {
    static const Landmark record("\"><a href=\""), linkEnd("\" "), bold("><b>"), nameEnd("</b></span>"),
        left("=left>"), endTdTag("</td>"), aHref("<a href=\"");
    Frame f(page, sink, true);
    if (!f.Skip(kYourSearch)) return;
    const std::string name = sink.EngineName();
    std::string raw, url, title, desc, type;
    while (f.Skip(record)) {
        if (!f.Capture(linkEnd, raw)) return;
        url = forumHost + raw;
        if (!f.Skip(bold) || !f.Capture(nameEnd, raw)) return;
        title = CleanHtmlText(raw);
        if (!f.Skip(left) || !CaptureCut(f, endTdTag, 2, raw)) return;
        desc = CleanHtmlText(raw);
        if (!f.Skip(aHref) || !f.Skip(kDQGt) || !CaptureCut(f, kEndA, 2, raw)) return;
        type = CleanHtmlText(raw);
        if (!f.Add({title, type, name, desc, url})) return;
    }
}

// ---------------------------------------------------------------- Yahoo groups

void FindYahooGroupsPageLinks(std::string_view page, ReaderSink &sink) {
    static const Landmark previous("previous"), aHref("<a href=\""), next("\">next");
    Frame f(page, sink, true);
    std::string link;
    if (!f.Skip(previous) || !f.Skip(aHref) || !f.Capture(next, link)) return;
    sink.Queue().AddPage(sink.SearchHost() + Trim(link), "");
}

void ParseYahooGroupsResults(std::string_view page, ReaderSink &sink) {
    static const Landmark archive("archive</td>"), aHref("a href=\""), br("<br>"), bold("><b>"), endB("</b>");
    Frame f(page, sink, true);
    if (!f.Skip(archive) || f.Next() < 0) return;
    const std::string host = sink.SearchHost(), source = sink.EngineName();
    std::string raw, url, name, desc, members, category;
    while (f.Skip(kLt)) {
        if (!f.Expect(aHref)) {
            f.Next();  // the character after the mismatching one goes too
            continue;
        }
        if (!f.Capture(kDQGt, raw)) return;
        url = host + raw;
        if (!CaptureCut(f, kEndA, 1, raw)) return;
        name = CleanHtmlText(raw);
        if (!f.Skip(br) || !f.Capture(br, raw)) return;
        desc = CleanHtmlText(raw);
        if (!f.Skip(bold) || !f.Capture(endB, raw)) return;
        members = Trim(CleanHtmlText(raw));
        if (!f.Skip(bold) || !CaptureCut(f, kEndA, 1, raw)) return;
        category = TMisc::RemoveBetween(Trim(CleanHtmlText(raw)), "<a href", "\">");
        if (!f.Add({name, category + " (" + members + " members)", source, desc, url})) return;
    }
}

// ---------------------------------------------------------------- Topica

void FindTopicaPageLinks(std::string_view page, ReaderSink &sink) {
    static const Landmark link("<a href=\"/search/?query=");
    Frame f(page, sink, true);
    const std::string host = sink.SearchHost();
    std::string address, text;
    while (f.Skip(link)) {
        if (!f.CaptureFrom(f.MatchPos(9), kDQGt, address) || !f.Capture(kEndA, text)) return;
        if (HasNoCase(text, "next")) sink.Queue().AddPage(host + Trim(address), "");
    }
}

void ParseTopicaResults(std::string_view page, ReaderSink &sink) {
    static const Landmark partner("partner<"), record("\"><a href="), br("<br>"), fontEnd("</font");
    Frame f(page, sink, true);
    if (!f.Skip(partner)) return;
    const std::string host = sink.SearchHost(), source = sink.EngineName();
    std::string raw, url, name, desc;
    while (f.Skip(record)) {
        if (f.Next() < 0 || !f.Capture(kDQGt, raw)) return;
        url = host + raw;
        if (!f.Capture(kEndA, raw)) return;
        name = CleanHtmlText(Trim(raw));
        if (!f.Skip(br) || !f.Skip(kDQGt) || !f.Capture(fontEnd, raw)) return;
        desc = CleanHtmlText(Trim(raw));
        // A description that runs into a table row or a form is the page's frame, not a list.
        if (HasNoCase(raw, "<TR") || HasNoCase(raw, "<INPUT") || HasNoCase(desc, "<TR") ||
            HasNoCase(desc, "<INPUT"))
            continue;
        if (!f.Add({name, "", source, desc, url})) return;
    }
}

// ---------------------------------------------------------------- BoardServer

void ParseBoardServerResults(std::string_view page, ReaderSink &sink) {
    static const Landmark results("results for:<"), aHref("a href='"), linkEnd("'>"), font("<font");
    Frame f(page, sink, true);
    if (!f.Skip(results)) return;
    const std::string host = sink.SearchHost(), source = sink.EngineName();
    std::string raw, url, name, count, desc;
    while (f.Skip(kLt)) {
        if (!f.Expect(aHref)) continue;
        if (!f.Capture(linkEnd, raw)) return;
        url = host + "/" + raw;
        if (!f.Capture(kEndA, raw)) return;
        name = CleanHtmlText(Trim(raw));
        count.clear();
        if (TMisc::TextBetween(name, "(", ")", count)) name = TMisc::RemoveBetween(name, "(", ")");
        if (!f.Skip(font) || !f.Skip(kGt) || !f.Capture(kEndTd, raw)) return;
        desc = TMisc::TextBefore(CleanHtmlText(Trim(raw)), "<font");
        if (!f.Add({name, count.empty() ? std::string() : count + " Members", source, desc, url})) return;
    }
}

// ---------------------------------------------------------------- KaZaA

void ParseKazaaResults(std::string_view page, ReaderSink &sink) {
    static const Landmark record("t><a href=\""), linkEnd("\" "), vbig("vbig>");
    Frame f(page, sink, true);
    const std::string source = sink.EngineName();
    std::string url, raw, title, desc, size;
    while (f.Skip(record)) {
        if (!f.Capture(linkEnd, url)) return;
        if (sink.IsDuplicateUrl(url) || HasNoCase(url, "javascript")) continue;
        if (!f.Skip(vbig) || !f.Capture(kEndAShort, raw)) return;
        title = CleanHtmlText(raw);
        if (!f.Skip(vbig) || !f.Capture(kEndTd, raw)) return;
        desc = CleanHtmlText(raw);
        if (!f.Skip(vbig) || !f.Skip(vbig) || !f.Capture(kEndTd, raw)) return;
        size = CleanHtmlText(raw);
        if (!f.Add({title, size, desc, source, url})) return;
    }
}

// ---------------------------------------------------------------- AVFind

void FindAvFindPageLinks(std::string_view page, ReaderSink &sink) {
    static const Landmark pageMark("<b>page</b>"), link("\"search.cgi?");
    Frame f(page, sink, true);
    if (!f.Skip(pageMark)) return;
    const std::string home = sink.SearchHost();
    std::string raw;
    while (f.Skip(link)) {
        if (!f.CaptureFrom(f.MatchPos(1), kDQGt, raw)) return;
        sink.Queue().AddPage(Trim(home + "/cgi-bin/" + raw), "");
    }
}

double AvFindSizeNumber(const std::string &size) {
    // Decimal only, whatever the process locale says about the decimal point.
    const std::string word = TMisc::NthWord(size, 1);
    size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '+' || word[i] == '-')) negative = word[i++] == '-';
    double value = 0, scale = 1;
    bool digits = false;
    for (; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i, digits = true) value = value * 10 + (word[i] - '0');
    if (i < word.size() && word[i] == '.')
        for (++i; i < word.size() && word[i] >= '0' && word[i] <= '9'; ++i, digits = true)
            value += (word[i] - '0') * (scale /= 10);
    if (!digits) return 0;
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        size_t j = i + 1;
        bool negExp = false;
        if (j < word.size() && (word[j] == '+' || word[j] == '-')) negExp = word[j++] == '-';
        int exp = 0;
        bool expDigits = false;
        for (; j < word.size() && word[j] >= '0' && word[j] <= '9' && exp < 400; ++j, expDigits = true)
            exp = exp * 10 + (word[j] - '0');
        for (int k = 0; expDigits && k < exp; ++k) value = negExp ? value / 10 : value * 10;
    }
    return negative ? -value : value;
}

void ParseAvFindResults(std::string_view page, ReaderSink &sink) {
    static const Landmark second("</b> second"), aHref("a href=\""), reliability("reliability:</b> "),
        fon("<fon"), sizeMark("size:</b>"), amp("&");
    Frame f(page, sink, true);
    if (!f.Skip(second)) return;
    const std::string home = sink.SearchHost(), source = sink.EngineName();
    const std::string download = home + "/cgi-bin/download.cg";
    std::string url, raw, title, desc, size;
    while (f.Skip(kLt)) {
        if (!f.Expect(aHref)) continue;
        const size_t from = f.Pos();
        if (!ExpectText(f, download) || f.Next() < 0) continue;
        if (!f.CaptureFrom(from, kDQGt, url)) return;
        if (sink.IsDuplicateUrl(url)) continue;
        if (!f.Capture(kEndAShort, raw)) return;
        title = CleanHtmlText(raw);
        if (!f.Skip(reliability) || !f.Capture(fon, raw)) return;
        desc = "Reliability: " + CleanHtmlText(raw);
        if (!f.Skip(sizeMark) || !f.Capture(amp, raw)) return;
        size = CleanHtmlText(raw);
        if (AvFindSizeNumber(size) < 1) continue;
        if (!f.Add({title, size, desc, source, url})) return;
    }
}

// ---------------------------------------------------------------- running

void RunForumReaders(int selector, std::string_view page, ReaderSink &sink, const std::string &forumHost) {
    if (page.empty()) return;
    switch (selector) {
    case 0:
        FindDelphiPageLinks(page, sink);
        ParseDelphiResults(page, sink, forumHost);
        break;
    case 1:
        FindYahooGroupsPageLinks(page, sink);
        ParseYahooGroupsResults(page, sink);
        break;
    case 3:
        FindTopicaPageLinks(page, sink);
        ParseTopicaResults(page, sink);
        break;
    case 4: ParseBoardServerResults(page, sink); break;
    default: break;  // EZBoard reads nothing
    }
}

void RunMp3Readers(int selector, std::string_view page, ReaderSink &sink) {
    if (page.empty()) return;
    if (selector == 0) {
        ParseKazaaResults(page, sink);
    } else if (selector == 3) {
        FindAvFindPageLinks(page, sink);
        ParseAvFindResults(page, sink);
    }
}

namespace {

template <class Run>
VerticalParsed ParseOnePage(const std::string &host, const char *name, Run run) {
    VerticalCollectingSink sink(host, name, kFrmColumns, kFrmUrl);  // both kinds: five values, URL last
    sink.limit = kForumMp3MaxRows + 1;
    sink.Queue().Append("http://unrelated.example/first-page", "ON");
    run(sink);
    VerticalParsed out;
    out.rows = sink.Rows();
    for (size_t i = 1; i < sink.Queue().size(); ++i) out.pages.push_back(sink.Queue()[i].address);
    return out;
}

}  // namespace

VerticalParsed ParseForumPage(int selector, const std::string &host, const std::string &forumHost,
                              std::string_view page) {
    const std::string h = host.empty() ? ForumSearchHost(selector) : host;
    const std::string fh = forumHost.empty() ? DelphiForumHost() : forumHost;
    return ParseOnePage(h, ForumEngineName(selector),
                        [&](ReaderSink &s) { RunForumReaders(selector, page, s, fh); });
}

VerticalParsed ParseMp3Page(int selector, const std::string &host, std::string_view page) {
    const std::string h = host.empty() ? Mp3HomeAddress(selector) : host;
    return ParseOnePage(h, Mp3EngineName(selector), [&](ReaderSink &s) { RunMp3Readers(selector, page, s); });
}

}  // namespace qm
