// The page-link reader and the result reader of every parser selector, written on the
// shared reading frame (WebReadersFrame.h). Each reader is a straight walk over the page:
// "Skip" searches forward for a landmark, "Capture" takes the text up to the next one.
// When a landmark inside a record is missing, the walk simply goes on looking for it.
#include "engines/web/WebReaders.h"

#include "engines/web/WebReadersFrame.h"
#include "toolkit/Misc.h"

namespace qm {

using readers::Frame;
using readers::Landmark;

namespace {

// ---------------------------------------------------------------- text helpers

bool HasNoCase(std::string_view text, std::string_view pattern) {
    return TMisc::FindNoCasePos(text, pattern) != std::string_view::npos;
}

// Captured titles and descriptions are cleaned; "trimmed" drops blanks at both ends.
std::string Clean(std::string_view field) { return CleanHtmlText(field); }
std::string CleanTrim(std::string_view field) { return Trim(CleanHtmlText(field)); }

// Descriptions of some engines: a description holding a font-size tag is dropped whole,
// any other is cleaned and trimmed.
std::string FontRule(std::string_view field) {
    if (HasNoCase(field, "<font size=")) return {};
    return CleanTrim(field);
}

// Highlight markup some engines leave inside descriptions.
std::string DropHighlights(std::string text) {
    text = TMisc::ReplaceAll(text, "<span class=e>", "");
    return TMisc::ReplaceAll(text, "</span>", "");
}

// ---------------------------------------------------------------- common steps

// Queues a further result page of the engine unless it is already queued. An empty
// address is never queued: the queue would read it as its end.
void QueuePage(Frame &f, std::string_view address) {
    if (!address.empty()) f.Sink().Queue().AddPage(address, "");
}

// The address test: the address must not be listed yet and, where the engine asks for
// it, must be a plain web address.
bool AddressOk(Frame &f, std::string_view address, bool needHttp) {
    if (f.Sink().IsDuplicateUrl(address)) return false;
    if (needHttp && !HasNoCase(address, "http://")) return false;
    return true;
}

// Adds one result; false (and the read ends) when the result limit was reached.
bool AddRow(Frame &f, std::string site, std::string location, std::string description,
            std::string url = {}) {
    return f.Add({std::move(site), std::move(location), f.Sink().EngineName(), std::move(description),
                  std::move(url)});
}

// ---------------------------------------------------------------- landmarks used often

const Landmark kDQ("\"");
const Landmark kDQGt("\">");
const Landmark kGt(">");
const Landmark kLt("<");
const Landmark kEndA("</a");
const Landmark kEndATag("</a>");
const Landmark kHrefDQ("href=\"");
const Landmark kAHrefDQ("<a href=\"");
const Landmark kAHref("<a href=");
const Landmark kBr("<br>");

// ================================================================ page-link readers

// Searches landmark `start` over and over; each link begins `offset` characters into the
// landmark (or right after it when offset equals its length) and ends before `end`.
// Every link passes `make`, which returns the address to queue or an empty text.
template <class Make>
void EachLink(Frame &f, const Landmark &start, size_t offset, const Landmark &end, Make make) {
    std::string link;
    while (f.Skip(start)) {
        size_t from = offset < start.size() ? f.MatchPos(offset) : f.Pos();
        if (!f.CaptureFrom(from, end, link)) return;
        std::string address = make(link);
        if (!address.empty()) QueuePage(f, address);
    }
}

void Links0(Frame &f, const std::string &host) {  // Google/Yahoo
    static const Landmark start("<td><a href=/search?q=");
    EachLink(f, start, 12, kGt, [&](const std::string &link) { return host + link; });
}

void Links1(Frame &f, const std::string &host) {  // Altavista
    static const Landmark start("href=\"/cgi-bin/query?kl=x");
    EachLink(f, start, 6, kDQ, [&](const std::string &link) { return host + link; });
}

void Links2(Frame &f, const std::string &host) {  // AOLNetFind
    static const Landmark once("px>"), start("<a href=dirs");
    if (!f.Skip(once)) return;
    EachLink(f, start, 8, kGt, [&](const std::string &link) { return host + "/" + link; });
}

void Links3(Frame &f, const std::string &host) {  // Hotbot/Lycos
    static const Landmark start("href=\"/?MT");
    EachLink(f, start, 6, kDQ, [&](const std::string &link) {
        return HasNoCase(link, "&Domain=") ? std::string() : host + link;
    });
}

void Links4(Frame &f, const std::string &host) {  // Euroseek
    static const Landmark start("href=\"/query?q=");
    EachLink(f, start, 6, kDQGt, [&](const std::string &link) {
        return HasNoCase(link, "&c=1") ? std::string() : host + link;
    });
}

void Links5(Frame &f, const std::string &host) {  // FastSearch
    static const Landmark start("href=\"/cgi-bin/se");
    EachLink(f, start, 6, kDQGt, [&](const std::string &link) { return host + link; });
}

void Links6(Frame &f, const std::string &host) {  // MSNSearch
    static const Landmark start("results.asp?ba=");
    EachLink(f, start, 0, kDQGt, [&](const std::string &link) {
        return TMisc::ReplaceAll(host + "/" + link, "&amp;", "&");
    });
}

void Links7(Frame &f, const std::string &host) {  // DirectHit: only the "next" links
    static const Landmark next(">next");
    std::string link;
    while (f.Skip(kAHrefDQ)) {
        if (!f.Capture(kDQ, link)) return;
        if (f.Expect(next)) QueuePage(f, host + link);
    }
}

void Links8(Frame &f, const std::string &host) {  // FindWhat
    static const Landmark start("?dc=25&b");
    std::string link;
    while (f.Skip(start)) {
        size_t question = f.MatchPos(0);
        size_t from = question >= 11 ? question - 11 : 0;
        if (!f.CaptureFrom(from, kDQGt, link)) return;
        QueuePage(f, host + "/" + link);
    }
}

void Links9(Frame &f, const std::string &) {  // Sprinks: absolute links
    static const Landmark once("srsmtext\"><br><br>");
    if (!f.Skip(once)) return;
    EachLink(f, kAHrefDQ, kAHrefDQ.size(), kDQGt, [](const std::string &link) {
        std::string address = Trim(link);
        return HasNoCase(address, "terms=") ? address : std::string();
    });
}

void Links10(Frame &f, const std::string &host) {  // GOTO: only the first link
    static const Landmark once("start="), start("<a href=/d/search/");
    std::string link;
    if (!f.Skip(once) || !f.Skip(start)) return;
    if (f.CaptureFrom(f.MatchPos(8), kDQ, link)) QueuePage(f, host + Trim(link));
}

void Links11(Frame &f, const std::string &host) {  // Netscape
    static const Landmark start{"href=\"/search.t", "href=\"google.tm"};
    EachLink(f, start, 6, kDQGt, [&](const std::string &captured) {
        std::string link = Trim(captured);
        std::string address = host + (link.starts_with('/') ? "" : "/") + link;
        std::erase_if(address, [](char c) { return c == '\r' || c == '\n'; });
        return address;
    });
}

void Links12(Frame &f, const std::string &host) {  // NBCi
    static const Landmark once("page&nbsp;&nbsp;&nbsp;");
    if (!f.Skip(once)) return;
    EachLink(f, kHrefDQ, kHrefDQ.size(), kDQGt, [&](const std::string &link) {
        return host + "/search/directory/results/" + Trim(link);
    });
}

void Links14(Frame &f, const std::string &) {  // InfoSpace: only the first link
    static const Landmark once("results:");
    std::string link;
    if (!f.Skip(once) || !f.Skip(kHrefDQ)) return;
    if (f.Capture(kDQGt, link)) QueuePage(f, Trim(link));
}

void Links16(Frame &f, const std::string &host) {  // OpenDirectory
    static const Landmark once("ry sites"), list("</ol");
    if (!f.Skip(once) || !f.Skip(list)) return;
    EachLink(f, kAHrefDQ, kAHrefDQ.size(), kDQGt, [&](const std::string &link) {
        return host + "/cgi-bin/" + Trim(link);
    });
}

void Links17(Frame &f, const std::string &host) {  // Compuserve: at most three links
    static const Landmark once(">web pages<"), start("<a nocol"), value("=\"");
    if (!f.Skip(once)) return;
    std::string link;
    for (int captured = 0; captured < 3;) {
        if (!f.Skip(start) || !f.Skip(value) || !f.Capture(kDQGt, link)) return;
        ++captured;
        QueuePage(f, host + "/cs/results/" + Trim(link));
    }
}

// ================================================================ result readers

void Results0(Frame &f) {  // Google/Yahoo
    static const Landmark record("<p><a href="), descEnd("<fo");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Capture(kGt, address)) return;
        if (HasNoCase(address, "/url?")) {
            std::string target;
            if (!TMisc::TextBetween(address, "&q=", "&e=", target)) continue;
            address = target;
        }
        if (!f.Capture(kEndA, title) || !f.Skip(kBr) || !f.Capture(descEnd, desc)) return;
        std::string description = CleanTrim(desc);
        if (description.empty()) description = address;
        if (!AddressOk(f, address, true)) continue;
        if (!AddRow(f, Clean(title), address, description)) return;
    }
}

void Results1(Frame &f) {  // Altavista
    static const Landmark record("<dl><dt>"), anchor("<a hr"), http("ht"), dd("<dd"), descEnd("<s");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(anchor) || !f.Skip(http)) return;
        if (!f.CaptureFrom(f.MatchPos(0), kDQ, address)) return;
        if (!AddressOk(f, address, true)) continue;
        if (!f.Skip(kGt)) return;
        // The title runs to the first tag that does not belong to it: closing tags and
        // tags starting with "B", "I" or "i" are part of the title.
        size_t titleStart = f.Pos();
        for (;;) {
            if (!f.Skip(kLt)) return;
            size_t lt = f.MatchPos(0);
            int c = f.Next();
            if (c < 0) return;
            if (c == '/' || c == 'B' || c == 'I' || c == 'i') {
                if (!f.Skip(kGt)) return;
                continue;
            }
            title = f.Field(titleStart, lt);
            f.Rewind(lt);  // that "<" may begin the "<dd" that follows
            break;
        }
        if (!f.Skip(dd) || !f.Skip(kGt) || !f.Capture(descEnd, desc)) return;
        if (!AddRow(f, Clean(title), address, FontRule(desc))) return;
    }
}

void Results2(Frame &f) {  // AOLNetFind
    static const Landmark record("self.status='h"), quote("'"), dd("<dd"), descEnd("<i");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.CaptureFrom(f.MatchPos(record.size() - 1), quote, address)) return;
        if (!f.Skip(kGt) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(dd) || !f.Skip(kGt) || !f.Capture(descEnd, desc)) return;
        if (!AddressOk(f, address, true)) continue;
        if (!AddRow(f, Clean(title), address, FontRule(desc))) return;
    }
}

void Results3(Frame &f) {  // Hotbot/Lycos
    static const Landmark record("<p><b>"), http("http");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(kGt) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(kBr) || !f.Capture(kBr, desc)) return;
        if (!f.Skip(http) || !f.CaptureFrom(f.MatchPos(0), kLt, address)) return;
        address = Trim(address);
        if (!AddressOk(f, address, true)) continue;
        if (!AddRow(f, Clean(title), address, FontRule(desc))) return;
    }
}

void Results4(Frame &f) {  // Euroseek
    static const Landmark record("<dt>"), titleMark("matchtitle\">"), textMark("matchtext\">"),
        descEnd("</f"), urlMark("matchurls\"");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(titleMark) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(textMark) || !f.Capture(descEnd, desc)) return;
        if (!f.Skip(urlMark) || !f.Skip(kGt) || !f.Capture(kEndA, address)) return;
        address = Trim(address);
        if (!AddressOk(f, address, true)) continue;
        if (!AddRow(f, Clean(title), address, FontRule(desc))) return;
    }
}

void Results5(Frame &f) {  // FastSearch
    static const Landmark record("<dt>"), status("status='"), addrEnd("';"), descMark("class=t>"),
        descEnd("<br");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(status) || !f.Capture(addrEnd, address)) return;
        address = Trim(address);
        if (!AddressOk(f, address, true)) continue;
        if (!f.Skip(status) || !f.Skip(kDQ) || !f.Skip(kGt) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(descMark) || !f.Capture(descEnd, desc)) return;
        if (!AddRow(f, CleanTrim(title), address, DropHighlights(CleanTrim(desc)))) return;
    }
}

void Results6(Frame &f) {  // MSNSearch
    static const Landmark record("ttitle\""), brSlash("<br />"), descEnd("<br");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(kDQ) || !f.Capture(kDQGt, address)) return;
        address = Trim(address);
        if (!AddressOk(f, address, true)) continue;
        if (!f.Capture(kEndA, title) || !f.Skip(brSlash) || !f.Capture(descEnd, desc)) return;
        if (!AddRow(f, CleanTrim(title), address, DropHighlights(CleanTrim(desc)))) return;
    }
}

void Results7(Frame &f) {  // DirectHit
    static const Landmark record(". <a href=\""), slashGt("/>"), descEnd("<br /");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(kDQGt) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(slashGt) || !f.Capture(descEnd, desc)) return;
        if (!f.Skip(kDQGt) || !f.Capture(kLt, address)) return;
        address.resize(address.size() >= 3 ? address.size() - 3 : 0);
        address = Trim(address);
        if (!AddressOk(f, address, true)) continue;
        if (!AddRow(f, CleanTrim(title), address, CleanTrim(desc))) return;
    }
}

void Results8(Frame &f) {  // FindWhat
    static const Landmark record =
        Landmark::Classes({"rw", "hu", "ar", "lt", ".", "df", "cl", "gl", "?"});
    static const Landmark fon("<fon"), descEnd("<br"), italic("<i>"), italicEnd("</i>");
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(kAHrefDQ) || !f.Skip(kDQGt) || !f.Skip(kDQGt) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(fon) || !f.Skip(kDQGt) || !f.Capture(descEnd, desc)) return;
        if (!f.Skip(italic) || !f.Capture(italicEnd, address)) return;
        address = CleanTrim(address);
        if (!AddressOk(f, address, true)) continue;
        if (!AddRow(f, CleanTrim(title), address, CleanTrim(desc))) return;
    }
}

void Results9(Frame &f) {  // Sprinks
    static const Landmark once("\">results for"), descEnd("</spa");
    if (!f.Skip(once)) return;
    std::string link, title, desc;
    while (f.Skip(kAHrefDQ)) {
        if (!f.Capture(kDQ, link)) return;
        size_t lnk = TMisc::FindNoCasePos(link, "lnk=");
        std::string address = Trim(lnk == std::string::npos ? std::string_view(link)
                                                            : std::string_view(link).substr(lnk + 4));
        if (HasNoCase(address, "search.htm?terms=")) return;  // the engine's own paging: end of results
        if (!f.Skip(kDQGt) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(kDQGt) || !f.Capture(descEnd, desc)) return;
        if (!AddressOk(f, address, false)) continue;
        if (!AddRow(f, CleanTrim(title), address, CleanTrim(desc))) return;
    }
}

void Results10(Frame &f) {  // GOTO: click-through address in "URL"
    static const Landmark record("<li><b><a href="), urlEnd{" ", ">"}, em("<em>"), emEnd("</em>"),
        para("<p>");
    std::string url, title, desc, shown;
    while (f.Skip(record)) {
        if (!f.Capture(urlEnd, url)) return;
        url = Trim(url);
        if (!f.Skip(kGt) || !f.Capture(kEndATag, title) || !f.Capture(em, desc) ||
            !f.Capture(emEnd, shown))
            return;
        if (AddressOk(f, url, false) &&
            !AddRow(f, CleanTrim(title), "http://" + Trim(shown), CleanTrim(desc), url))
            return;
        // "<p>" ends the record, whether it was added or refused.
        if (!f.Skip(para)) return;
    }
}

void Results11(Frame &f) {  // Netscape
    static const Landmark once{"sites found b", "sites reviewe"}, li("<li>"), descEnd("<fon");
    if (!f.Skip(once)) return;
    std::string address, title, desc;
    while (f.Skip(li)) {
        if (!f.Skip(kAHrefDQ) || !f.Capture(kDQGt, address)) return;
        address = Trim(address);
        if (!AddressOk(f, address, false)) continue;
        if (!f.Capture(kEndA, title) || !f.Skip(kBr) || !f.Capture(descEnd, desc)) return;
        if (!AddRow(f, CleanTrim(title), address, CleanTrim(desc))) return;
    }
}

void Results12(Frame &f) {  // NBCi: at most ten rows a page
    static const Landmark once("sites review"), record("<a href"), nbsp(">&nbsp;"),
        descEnd{"<br", "<im"}, after("to my nb");
    if (!f.Skip(once)) return;
    std::string address, title, desc;
    int added = 0;
    while (f.Skip(record)) {
        if (!f.Skip(kDQGt) || !f.Capture(kEndA, title)) return;
        if (!f.Skip(nbsp) || !f.Capture(kBr, address)) return;
        address = Trim(std::string_view(address).substr(std::min<size_t>(2, address.size())));
        if (AddressOk(f, address, false)) {
            if (!f.Capture(descEnd, desc)) return;
            if (!AddRow(f, CleanTrim(title), address, CleanTrim(desc))) return;
            if (++added == 10) return;
        }
        // Every record, added or refused, ends with its "Add to my NBCi" link: pass it, or
        // that link would be read as the next record.
        if (!f.Skip(after)) return;
    }
}

void Results14(Frame &f) {  // InfoSpace: click-through address in "URL"
    static const Landmark once("results: "), fon("<fon"), italic("<i>"), italicEnd("</i>");
    if (!f.Skip(once) || !f.Skip(kAHref)) return;
    std::string url, title, desc, shown;
    while (f.Skip(kAHrefDQ)) {
        if (!f.Capture(kDQGt, url) || !f.Capture(kEndATag, title)) return;
        if (!f.Skip(fon) || !f.Skip(kGt) || !f.Capture(italic, desc) || !f.Capture(italicEnd, shown))
            return;
        url = Trim(url);
        if (!AddressOk(f, url, false)) continue;
        if (!AddRow(f, CleanTrim(title), Trim(shown), CleanTrim(desc), url)) return;
    }
}

void Results15(Frame &f) {  // WebCrawler
    static const Landmark once("results for:"), record("ze10>"), descEnd("</span>");
    if (!f.Skip(once) || !f.Skip(kAHref)) return;
    std::string address, title, desc;
    while (f.Skip(record)) {
        if (!f.Skip(kAHref) || !f.Capture(kGt, address)) return;
        if (!f.Capture(kEndATag, title) || !f.Capture(descEnd, desc)) return;
        address = Trim(address);
        if (!AddressOk(f, address, false)) continue;
        if (!AddRow(f, CleanTrim(title), address, CleanTrim(desc))) return;
    }
}

void Results16(Frame &f) {  // OpenDirectory
    static const Landmark once("ry sites"), small("<small>"), smallEnd("</small");
    if (!f.Skip(once)) return;
    std::string address, title, desc;
    while (f.Skip(kAHrefDQ)) {
        if (!f.Capture(kDQGt, address)) return;
        address = Trim(address);
        if (HasNoCase(address, "search?search=")) return;  // the engine's own paging: end of results
        if (!f.Capture(kEndATag, title) || !f.Capture(small, desc)) return;
        if (AddressOk(f, address, false) && !AddRow(f, CleanTrim(title), address, CleanTrim(desc))) return;
        // The record's "<small>" part may hold links of its own: pass it, added or refused.
        if (!f.Skip(smallEnd)) return;
    }
}

void Results17(Frame &f, const std::string &host) {  // Compuserve: click-through address in "URL"
    static const Landmark once(">web pages<"), record("e=2><a href=\""), status("s='"), quote("'");
    if (!f.Skip(once)) return;
    std::string link, shown, title, desc;
    while (f.Skip(record)) {
        if (!f.Capture(kDQ, link)) return;
        std::string url = host + "/cs/results/" + Trim(link);
        if (!f.Skip(status) || !f.Capture(quote, shown)) return;
        if (!f.Skip(kDQGt) || !f.Capture(kEndATag, title) || !f.Capture(kBr, desc)) return;
        if (!AddressOk(f, url, false)) continue;
        if (!AddRow(f, CleanTrim(title), Trim(shown), CleanTrim(desc), url)) return;
    }
}

// Page-link readers of selectors 11, 12 and 14 to 17 see tabs, CR and LF as ordinary
// characters; every other reader passes over them.
bool LinkReaderSkipsLines(int selector) { return selector <= 10; }

}  // namespace

bool HasReaders(int selector) { return selector >= 0 && selector <= 17 && selector != 13; }

void RunPageLinkReader(int selector, std::string_view page, ReaderSink &sink) {
    if (page.empty() || !HasReaders(selector) || selector == 15) return;  // 15 has no further pages
    Frame f(page, sink, LinkReaderSkipsLines(selector));
    const std::string host = sink.SearchHost();
    switch (selector) {
        case 0: Links0(f, host); break;
        case 1: Links1(f, host); break;
        case 2: Links2(f, host); break;
        case 3: Links3(f, host); break;
        case 4: Links4(f, host); break;
        case 5: Links5(f, host); break;
        case 6: Links6(f, host); break;
        case 7: Links7(f, host); break;
        case 8: Links8(f, host); break;
        case 9: Links9(f, host); break;
        case 10: Links10(f, host); break;
        case 11: Links11(f, host); break;
        case 12: Links12(f, host); break;
        case 14: Links14(f, host); break;
        case 16: Links16(f, host); break;
        case 17: Links17(f, host); break;
        default: break;
    }
}

void RunResultReader(int selector, std::string_view page, ReaderSink &sink) {
    if (page.empty() || !HasReaders(selector)) return;
    Frame f(page, sink, true);
    switch (selector) {
        case 0: Results0(f); break;
        case 1: Results1(f); break;
        case 2: Results2(f); break;
        case 3: Results3(f); break;
        case 4: Results4(f); break;
        case 5: Results5(f); break;
        case 6: Results6(f); break;
        case 7: Results7(f); break;
        case 8: Results8(f); break;
        case 9: Results9(f); break;
        case 10: Results10(f); break;
        case 11: Results11(f); break;
        case 12: Results12(f); break;
        case 14: Results14(f); break;
        case 15: Results15(f); break;
        case 16: Results16(f); break;
        case 17: Results17(f, sink.SearchHost()); break;
        default: break;
    }
}

}  // namespace qm
