// The WHOIS gateway of the domain name search:
//
//   /cgi-bin/proxy.cgi?targetnic=auto&query=DOMAIN
//
// answers a page with two <pre> blocks: the gateway's banner, then the record. The record
// depends on the domain's first label:
//   "free..."     an "Unable to find" record (the name is free)
//   "nopre..."    a page with one <pre> only (nothing to show)
//   "hostile..."  a record whose link texts are markup (<img onerror=...>, <script>)
//   anything else a record naming the domain, with a registrar link
// The domains' own servers are the fake web's other hosts; every answer carries a "Server:"
// header.
#include "fakeweb/Service.h"

#include <cctype>

namespace qm::fakeweb::services {

namespace {

// The domain as a record shows it: as received, without markup characters.
std::string Plain(const std::string &text) {
    std::string out;
    for (char c : text)
        if (c != '<' && c != '>') out += c;
    return out;
}

bool LabelStarts(const std::string &domain, const char *prefix) {
    std::string label = domain.substr(0, domain.find('.'));
    for (char &c : label) c = char(std::tolower((unsigned char)c));
    return label.rfind(prefix, 0) == 0;
}

std::string Page(const std::string &domain, const std::string &record) {
    return "<html><head><title>WHOIS gateway</title></head><body>\n"
           "<h1>WHOIS gateway</h1>\n<pre>Query: " + Plain(domain) + "\nServer: auto</pre>\n<hr>\n<pre>\n" + record +
           "</pre>\n<p>Data provided for information only.</p></body></html>\n";
}

}  // namespace

void RegisterWhois(Registry &registry) {
    registry.add("whois", [](const Request &r) -> std::optional<Response> {
        if (r.path != "/cgi-bin/proxy.cgi") return std::nullopt;
        const std::string domain = r.param("query");
        const std::string shown = Plain(domain);
        if (LabelStarts(domain, "nopre"))
            return Response::Html("<html><body><pre>Query: " + shown + "</pre><p>Service busy.</p></body></html>");
        if (LabelStarts(domain, "free"))
            return Response::Html(Page(domain, "No match for \"" + shown + "\".\n\nUnable to find any record for " +
                                                   shown + ".\n"));
        if (LabelStarts(domain, "hostile"))
            return Response::Html(Page(
                domain, "   Domain Name: " + shown +
                            "\n   Registrar: <a href=\"javascript:alert(1)\"><img src=x onerror=alert(1)></a>\n"
                            "   Contact: <a href=\"http://x.example/\"><script>alert(2)</script></a> Ltd\n"
                            "   Note: <b>bold</b> &amp; <i>plain</i>\n"));
        return Response::Html(Page(
            domain, "   Domain Name: " + shown +
                        "\n   Registrar: <a href=\"http://www.registrar.example/\">Example Registrar</a> Inc.\n"
                        "   Whois Server: whois.registrar.example\n"
                        "   Referral URL: <a href=\"http://www.registrar.example/\">www.registrar.example</a>\n"
                        "   Name Server: NS1." + shown + "\n   Name Server: NS2." + shown +
                        "\n   Updated Date: 14-mar-2001\n\n>>> Last update of whois database: 2001-03-15 <<<\n"));
    });
}

}  // namespace qm::fakeweb::services
