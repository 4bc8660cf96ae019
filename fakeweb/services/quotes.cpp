// The quote service of the currency converter: "/m5?s=FROM&t=TO&a=1&c=0" answers a page whose
// rate cell follows the landmarks the converter reads (a "Currency Exchange" heading, a
// "<td nowrap>" symbol cell, then the rate in the next "<td>").
//
// Every three-letter code has a value in units per U.S. dollar (a few fixed, the others
// derived from the code), and rate(FROM -> TO) = value(TO) / value(FROM): the two directions
// of a pair multiply to 1 and different pairs give different rates. Obsolete codes answer
// "N/A" in the rate cell, the pair XAU -> XAG answers 500, and an unknown symbol answers a
// page without the table.
#include "fakeweb/Service.h"

#include <charconv>

namespace qm::fakeweb::services {

namespace {

bool IsCode(const std::string &s) {
    if (s.size() != 3) return false;
    for (char c : s)
        if (c < 'A' || c > 'Z') return false;
    return true;
}

double Value(const std::string &code) {
    static const struct {
        const char *code;
        double value;
    } fixed[] = {{"USD", 1.0}, {"EUR", 0.92}, {"GBP", 0.79}, {"JPY", 151.3}, {"CHF", 0.88}, {"CAD", 1.36}};
    for (const auto &f : fixed)
        if (code == f.code) return f.value;
    unsigned h = 2166136261u;  // FNV-1a
    for (char c : code) h = (h ^ unsigned(char(c))) * 16777619u;
    return 0.5 + double(h % 99991) / 97.0;  // 0.5 to about 1031
}

bool Obsolete(const std::string &code) {
    static const char *const codes[] = {"AFA", "YUM", "ZWD", "ROL"};
    for (const char *c : codes)
        if (code == c) return true;
    return false;
}

std::string Page(const std::string &from, const std::string &to, const std::string &rate) {
    std::string symbol = from + to + "=X";
    return "<HTML><HEAD><TITLE>Currency Conversion - " + symbol +
           "</TITLE></HEAD>\r\n<BODY BGCOLOR=white>\r\n"
           "<table width=\"100%\"><tr><td><b>Quotes &amp; Info</b></td><td align=right>"
           "<a href=\"/m5\">Currency Exchange</a> rates</td></tr></table>\r\n"
           "<h2>Currency Exchange</h2>\r\n"
           "<TABLE BORDER=1 CELLPADDING=2>\r\n"
           "<TR><TH>Symbol</TH><TH>Exchange Rate</TH><TH>Trade Date</TH><TH>Amount</TH></TR>\r\n"
           "<TR><TD NOWRAP><a href=\"/q?s=" + symbol + "\">" + symbol + "</a></TD>"
           "<TD>" + rate + "</TD><TD NOWRAP>Jan 12</TD><TD>" + rate + "</TD></TR>\r\n"
           "</TABLE>\r\n<p>Quotes delayed.</p></BODY></HTML>\r\n";
}

}  // namespace

void RegisterQuotes(Registry &registry) {
    registry.add("quotes", [](const Request &r) -> std::optional<Response> {
        if (r.path != "/m5") return std::nullopt;
        const std::string from = r.param("s"), to = r.param("t");
        if (from == "XAU" && to == "XAG")
            return Response::Html("<html><body><h1>Internal Server Error</h1></body></html>", 500);
        if (!IsCode(from) || !IsCode(to))
            return Response::Html("<html><body><h2>Currency Exchange</h2><p>Symbol not found.</p></body></html>");
        std::string rate = "N/A";
        if (!Obsolete(from) && !Obsolete(to)) {
            char text[64];
            auto done = std::to_chars(text, text + sizeof text, Value(to) / Value(from),
                                      std::chars_format::general, 10);  // "." whatever the locale
            rate.assign(text, done.ptr);
        }
        return Response::Html(Page(from, to, rate));
    });
}

}  // namespace qm::fakeweb::services
