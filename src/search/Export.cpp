#include "search/Export.h"

#include "net/ServiceHosts.h"
#include "toolkit/AtomicFile.h"

#include <algorithm>

namespace qm {

const char *const kPartnerBannerFile = "qm_partner_search.gif";
const char *const kResultLogoFile = "qm_result_logo.gif";
const char *const kExportDiskError = "Disk error - Can't view the list as a web page";

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

size_t FindNoCaseIn(std::string_view text, std::string_view pattern) {
    if (pattern.empty() || pattern.size() > text.size()) return std::string_view::npos;
    for (size_t i = 0; i + pattern.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < pattern.size() && Lower(text[i + k]) == Lower(pattern[k])) ++k;
        if (k == pattern.size()) return i;
    }
    return std::string_view::npos;
}

std::string PartnerSearchAddress() {
    return "http://" + ServiceHostFor("partner-search") + "/search.php3";
}

ResultTemplates &Current() {
    static ResultTemplates t = BuiltInResultTemplates();
    return t;
}

std::vector<EngineHome> &EngineHomes() {
    static std::vector<EngineHome> homes;
    return homes;
}

std::string &HomeSiteOverride() {
    static std::string s;
    return s;
}

bool IsStrippedControl(unsigned char c) { return c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

ResultTemplates BuiltInResultTemplates() {
    ResultTemplates t;
    t.header =
        "<HTML><HEAD><TITLE>Quillmar search results</TITLE></HEAD><BODY>\r\n"
        "\r\n"
        "<table border=\"1\" width=\"399\" align=\"center\" cellspacing=\"0\" cellpadding=\"0\">\r\n"
        "  <tr>\r\n"
        "    <td width=\"267\" bgcolor=\"#000000\" align=\"center\"><a href=\"<$HOMESITE>\">"
        "<img border=\"0\" src=\"<$RESULTLOGO>\" width=\"257\" height=\"84\"></a></td>\r\n"
        "    <td width=\"126\" bgcolor=\"#000000\" align=\"center\">\r\n"
        "<!--NOEDIT-->\r\n"
        "<table border=\"1\" width=\"120\" cellspacing=\"0\" cellpadding=\"0\" bgcolor=\"#66cc99\">\r\n"
        "<form method=\"GET\" action=\"" + PartnerSearchAddress() + "\">\r\n"
        "  <tr>\r\n"
        "    <td><img src=\"<$GIF>\" width=\"120\" height=\"46\" border=\"0\" alt=\"\"></td>\r\n"
        "  </tr>\r\n"
        "  <tr>\r\n"
        "    <td valign=\"bottom\" height=\"40\" align=\"center\">"
        "<input type=\"hidden\" name=\"l\" value=\"quillmar\">"
        "<input type=\"text\" name=\"term\" size=\"15\"><br>"
        "<input type=\"submit\" value=\"Search\"></td>\r\n"
        "  </tr>\r\n"
        "</form>\r\n"
        "</table>\r\n"
        "<!--/NOEDIT-->\r\n"
        "    </td>\r\n"
        "  </tr>\r\n"
        "</table>\r\n"
        "\r\n"
        "<p>&nbsp;</p>\r\n"
        "\n"
        "<table border=\"0\" width=\"100%\" cellspacing=\"0\" cellpadding=\"0\">\n";
    t.line =
        "  <tr>\r\n"
        "    <td width=\"80%\" bgcolor=\"#000000\"><font size=\"3\">&nbsp;</font></td>\r\n"
        "  </tr>\r\n"
        "  <tr>\r\n"
        "    <td width=\"80%\"><font size=\"3\">&nbsp;<font color=\"#008000\">"
        "<a href=\"<$URL>\" target=\"_blank\"><$SITENAME></a></font></font></td>\r\n"
        "  </tr>\r\n"
        "  <tr>\r\n"
        "    <td width=\"80%\"><font face=\"Arial\" size=\"2\"><$DESCRIPTION></font></td>\r\n"
        "  </tr>\r\n"
        "  <tr>\r\n"
        "    <td width=\"80%\" align=\"right\"><i><font size=\"2\" color=\"#000080\">"
        "<a href=\"<$ENGINE_URL>\" target=\"_blank\"><$ENGINE_NAME></a></font></i></td>\r\n"
        "  </tr>\r\n"
        "\r\n";
    t.end = "</table></body></html>\r\n";
    return t;
}

const ResultTemplates &CurrentResultTemplates() { return Current(); }
void SetResultTemplates(ResultTemplates templates) { Current() = std::move(templates); }
void ResetResultTemplates() { Current() = BuiltInResultTemplates(); }

const std::vector<EngineHome> &ExportEngineHomes() { return EngineHomes(); }
void SetExportEngineHomes(std::vector<EngineHome> engines) { EngineHomes() = std::move(engines); }

std::vector<EngineHome> EngineHomesOf(const std::vector<EngineDescriptor> &table) {
    std::vector<EngineHome> homes;
    homes.reserve(table.size());
    for (const auto &e : table) homes.push_back({e.name, e.homePage});
    return homes;
}

std::string ExportHomeSite() {
    if (!HomeSiteOverride().empty()) return HomeSiteOverride();
    return "http://" + ServiceHostFor("home") + "/";
}
void SetExportHomeSite(std::string address) { HomeSiteOverride() = std::move(address); }

ExportSettings WebExportSettings(const std::string &dataRoot) {
    ExportSettings s;
    s.homeSite = ExportHomeSite();
    s.gifPath = dataRoot + "/GFX/" + kPartnerBannerFile;
    s.logoPath = dataRoot + "/GFX/" + kResultLogoFile;
    s.engines = ExportEngineHomes();
    s.templates = CurrentResultTemplates();
    return s;
}

std::string FillTemplate(std::string_view tmpl,
                         const std::vector<std::pair<std::string_view, std::string>> &values) {
    struct Hit {
        size_t pos, len;
        const std::string *value;
    };
    std::vector<Hit> hits;
    for (const auto &[placeholder, value] : values) {
        size_t pos = FindNoCaseIn(tmpl, placeholder);
        if (pos == std::string_view::npos) continue;
        // Two placeholders never overlap (each starts with "<$" and ends with ">"), but a
        // remote template could repeat one inside another's span: keep the first claim.
        bool overlaps = false;
        for (const auto &h : hits)
            if (pos < h.pos + h.len && h.pos < pos + placeholder.size()) overlaps = true;
        if (!overlaps) hits.push_back({pos, placeholder.size(), &value});
    }
    std::sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.pos < b.pos; });
    std::string out;
    out.reserve(tmpl.size() + 256);
    size_t at = 0;
    for (const auto &h : hits) {
        out.append(tmpl.substr(at, h.pos - at));
        out += *h.value;
        at = h.pos + h.len;
    }
    out.append(tmpl.substr(at));
    return out;
}

std::string AddressScheme(std::string_view address) {
    size_t i = 0;
    while (i < address.size() && static_cast<unsigned char>(address[i]) <= 32) ++i;
    std::string scheme;
    for (; i < address.size(); ++i) {
        unsigned char c = address[i];
        if (IsStrippedControl(c)) continue;
        if (c == ':') return scheme;
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (letter || (other && !scheme.empty())) {
            scheme += Lower(char(c));
            continue;
        }
        break;
    }
    return {};
}

namespace {

// A plain host address: it starts with a letter or digit and names no scheme. A colon is
// allowed after a dotted host when a port number follows it ("a.example:8080/x"), or
// after the first "/", "?" or "#".
bool IsPlainHostAddress(std::string_view address) {
    if (address.empty()) return false;
    unsigned char c = address[0];
    bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!alnum) return false;
    size_t colon = address.find(':');
    if (colon == std::string_view::npos) return true;
    size_t end = address.find_first_of("/?#");
    if (end != std::string_view::npos && end < colon) return true;
    if (address.substr(0, colon).find('.') == std::string_view::npos) return false;
    size_t portEnd = end == std::string_view::npos ? address.size() : end;
    if (portEnd == colon + 1) return false;
    for (size_t i = colon + 1; i < portEnd; ++i)
        if (address[i] < '0' || address[i] > '9') return false;
    return true;
}

bool IsWebScheme(const std::string &scheme) {
    return scheme == "http" || scheme == "https" || scheme == "ftp";
}

}  // namespace

bool IsSafeToOpen(std::string_view address) {
    for (char c : address)
        if (c == '\0') return false;
    if (IsWebScheme(AddressScheme(address))) return true;
    return IsPlainHostAddress(address);
}

std::string LinkableAddress(std::string_view address) {
    if (!IsSafeToOpen(address)) return {};
    if (!IsWebScheme(AddressScheme(address))) return "http://" + std::string(address);
    return std::string(address);
}

std::string BuildResultPage(const std::vector<ResultRow> &rows, const std::vector<bool> &selected,
                            const ExportSettings &s) {
    static const std::string kEmpty;
    auto sub = [](const ResultRow &r, size_t i) -> const std::string & {
        return i < r.subItems.size() ? r.subItems[i] : kEmpty;
    };
    std::string page = FillTemplate(s.templates.header, {{"<$HOMESITE>", HtmlEscape(s.homeSite)},
                                                         {"<$GIF>", HtmlEscape(s.gifPath)},
                                                         {"<$RESULTLOGO>", HtmlEscape(s.logoPath)}});
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!selected.empty() && (i >= selected.size() || !selected[i])) continue;
        const ResultRow &r = rows[i];
        const std::string &source = sub(r, kSource);
        std::vector<std::pair<std::string_view, std::string>> values = {
            {"<$URL>", HtmlEscape(LinkableAddress(r.Address(s.urlColumn, s.locationColumn)))},
            {"<$SITENAME>", HtmlEscape(sub(r, kSite))},
            {"<$DESCRIPTION>", HtmlEscape(sub(r, kDescription))},
            {"<$ENGINE_NAME>", HtmlEscape(source)},
        };
        const EngineHome *engine = nullptr;
        for (const auto &e : s.engines)
            if (e.name.size() == source.size() && FindNoCaseIn(e.name, source) == 0) {
                engine = &e;
                break;
            }
        if (engine)
            values.push_back({"<$ENGINE_URL>", HtmlEscape(LinkableAddress(engine->homePage))});
        else if (!s.keepEngineUrlWhenUnknown)
            values.push_back({"<$ENGINE_URL>", std::string()});
        page += FillTemplate(s.templates.line, values);
    }
    page += s.templates.end;
    return page;
}

bool ExportResultPage(const std::vector<ResultRow> &rows, const std::string &path,
                      const std::vector<bool> &selected, const ExportSettings &settings) {
    if (path.empty()) return false;
    return WriteFileAtomic(path, BuildResultPage(rows, selected, settings));
}

bool ExportWebResultPage(const std::string &dataRoot, const std::vector<ResultRow> &rows, const std::string &path,
                         const std::vector<bool> &selected) {
    return ExportResultPage(rows, path, selected, WebExportSettings(dataRoot));
}

std::string WithHtmlExtension(const std::string &path) {
    size_t slash = path.find_last_of('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.find_last_of('.');
    std::string_view ext;
    if (dot != std::string::npos && dot >= nameStart) ext = std::string_view(path).substr(dot);
    if (FindNoCaseIn(ext, ".htm") != std::string_view::npos) return path;
    return path + ".htm";
}

}  // namespace qm
