// Query expansion over arbitrary typed text, every mode, plain and sponsored engines.
#include "search/ExpandQuery.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

bool WordByte(char c) { return static_cast<signed char>(c) > 32; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 1) return 0;
    const auto mode = static_cast<qm::SearchMode>(data[0] & 3);
    const bool sponsored = data[0] & 4;
    const std::string typed(reinterpret_cast<const char *>(data + 1), size - 1);

    const std::string query = qm::PrepareQuery(typed);
    Check(query.find(' ') == std::string::npos);
    Check(query.empty() || (static_cast<unsigned char>(query.front()) > 32 &&
                            static_cast<unsigned char>(query.back()) > 32));

    qm::EngineDescriptor d;
    d.mode = mode;
    if (sponsored) {
        d.sponsoredServe = "http://aff.example/bfast/serve?x=1";
        d.sponsoredClick = "http://aff.example/bfast/click?k=<$QRY>&tail=<$QRY>";
    } else {
        d.templateAll = d.templateAny = d.templateBool = "http://e.example/s?q=<$QRY>&n=<$qry>";
        d.templateExact = "http://e.example/s?q=+%22<$QRY>%22&n=<$qry>";
    }
    const qm::ExpandedQuery x = qm::ExpandQuery(d, query);
    Check(x.sponsored == sponsored);
    if (mode == qm::SearchMode::Any || mode == qm::SearchMode::Exact) {
        // Only word bytes and the joiners' "+" remain; Exact drops every quote.
        for (char c : x.query) Check(WordByte(c) || c == '+');
        if (mode == qm::SearchMode::Exact) Check(x.query.find('"') == std::string::npos);
    } else {
        Check(x.query == query);
    }
    // Exactly the first placeholder was replaced: the template's text around it is intact.
    const std::string &out = sponsored ? x.click : x.address;
    const std::string head = sponsored ? "http://aff.example/bfast/click?k=" : "http://e.example/s?q=";
    Check(out.compare(0, head.size(), head) == 0);
    const std::string tail = sponsored ? "&tail=<$QRY>" : "&n=<$qry>";
    Check(out.size() >= tail.size() && out.compare(out.size() - tail.size(), tail.size(), tail) == 0);
    // The query went in encoded: no byte above 127, "&", "#" or "=" of its own, and every
    // "%" starts an upper-case escape; decoding the escapes gives the query back.
    const std::string encoded = qm::EncodeQueryForAddress(x.query);
    Check(out.size() == x.tmpl.size() - 6 + encoded.size());
    // The query stands where the template's first placeholder stood ("+%22" before it in Exact).
    const size_t at = x.tmpl.find("<$QRY>");
    Check(at != std::string::npos && out.compare(0, at, x.tmpl, 0, at) == 0);
    Check(out.compare(at, encoded.size(), encoded) == 0);
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(encoded[i]);
        Check(c <= 127 && c != '&' && c != '#' && c != '=');
        if (c != '%') {
            decoded += char(c);
            continue;
        }
        Check(i + 2 < encoded.size());
        int v = 0;
        for (int k = 1; k <= 2; ++k) {
            const char h = encoded[i + size_t(k)];
            Check((h >= '0' && h <= '9') || (h >= 'A' && h <= 'F'));
            v = v * 16 + (h <= '9' ? h - '0' : h - 'A' + 10);
        }
        decoded += char(v);
        i += 2;
    }
    Check(decoded == x.query);
    return 0;
}
