#include "engines/vertical/VerticalTables.h"

#include "engines/web/WebEngineTable.h"
#include "search/ExpandQuery.h"
#include "toolkit/Misc.h"

#include <QByteArray>

namespace qm {

namespace {

struct Language {
    const char *name;
    const char *code;
};

constexpr Language kLanguages[kNewsLanguageCount] = {
    {"any language", ""},         {"Chinese (Simplified)", "lang_zh-CN"}, {"Chinese (Traditional)", "lang_zh-TW"},
    {"Czech", "lang_cs"},         {"Danish", "lang_da"},                  {"Dutch", "lang_nl"},
    {"English", "lang_en"},       {"Estonian", "lang_et"},                {"Finnish", "lang_fi"},
    {"French", "lang_fr"},        {"German", "lang_de"},                  {"Greek", "lang_el"},
    {"Hebrew", "lang_iw"},        {"Hungarian", "lang_hu"},               {"Icelandic", "lang_is"},
    {"Italian", "lang_it"},       {"Japanese", "lang_ja"},                {"Korean", "lang_ko"},
    {"Latvian", "lang_lv"},       {"Lithuanian", "lang_lt"},              {"Norwegian", "lang_no"},
    {"Polish", "lang_pl"},        {"Portuguese", "lang_pt"},              {"Romanian", "lang_ro"},
    {"Russian", "lang_ru"},       {"Spanish", "lang_es"},                 {"Swedish", "lang_sv"},
};

const char *const kSoftwareHostKeys[kSoftwareEngineCount] = {"software-cnet", "software-tucows"};

}  // namespace

std::vector<EngineDescriptor> BuildNewsEngineTable() {
    EngineDescriptor d;
    d.selector = 0;
    d.name = kNewsEngineName;
    const std::string host = NewsSearchHost();
    d.templateAll = host + "/groups?q=<$QRY><$GROUP>&num=30&lr=<$LANG>";
    d.templateAny = host + "/groups?q=%22<$QRY><$GROUP>%22&num=30&lr=<$LANG>";
    d.templateExact = d.templateAny;
    d.templateBool = d.templateAll;
    d.mode = SearchMode::All;
    return {d};
}

std::string NewsSearchHost() { return ServiceRoot("news-groups"); }

const char *NewsLanguageName(int index) {
    return index >= 0 && index < kNewsLanguageCount ? kLanguages[index].name : "";
}

std::string NewsLanguageCode(int index) {
    return index >= 0 && index < kNewsLanguageCount ? kLanguages[index].code : "";
}

std::string NewsGroupPart(const NewsRestriction &r) {
    const std::string group = Trim(r.group);
    return r.open && !group.empty() ? "&as_ugroup=" + group : std::string();
}

std::string NewsLangPart(const NewsRestriction &r) { return r.open ? NewsLanguageCode(r.language) : std::string(); }

std::string NewsFirstAddress(const EngineDescriptor &row, const std::string &query, const NewsRestriction &r,
                             std::string *expandedOut) {
    // The news row is always asked with its All template, whatever the menu shows.
    if (expandedOut) *expandedOut = query;
    std::string address = QueryAddress(row.templateAll, query);
    address = TMisc::ReplaceFirst(address, kGroupPlaceholder, NewsGroupPart(r));
    return TMisc::ReplaceFirst(address, kLangPlaceholder, NewsLangPart(r));
}

std::string NewsGroupBrowseAddress(std::string_view newsgroup) {
    return NewsSearchHost() + "/groups?hl=fr&lr=&safe=off&group=" + std::string(newsgroup);
}

std::vector<EngineDescriptor> BuildSoftwareEngineTable() {
    std::vector<EngineDescriptor> t(kSoftwareEngineCount);
    t[0].selector = 0;
    t[0].name = "C|NET";
    const std::string cnet = SoftwareSearchHost(0) + "/search/redirector/1,10207,0-0,00.html?qt=";
    const std::string cnetTail = "&tg=dl-10001&cn=&tt=srch";
    t[0].templateAll = t[0].templateAny = t[0].templateBool = cnet + "<$QRY>" + cnetTail;
    t[0].templateExact = cnet + "+%22<$QRY>%22" + cnetTail;

    t[1].selector = 1;
    t[1].name = "TuCows";
    const std::string home = ServiceRoot("home") + "/";
    const std::string from =
        QByteArray::fromStdString(home).toPercentEncoding().toStdString();  // the product's home, encoded
    const std::string tucows = SoftwareSearchHost(1) + "/perl/tucowsSearch?word=";
    const std::string tucowsTail = "&do=search&fromref=" + from + "&platform=%25&key=all";
    t[1].templateAll = t[1].templateAny = t[1].templateBool = tucows + "<$QRY>" + tucowsTail;
    t[1].templateExact = tucows + "+%22<$QRY>%22" + tucowsTail;
    for (auto &d : t) d.homePage = d.templateAll.substr(0, d.templateAll.find('/', 7)) + "/";
    return t;
}

void SetSoftwareSearchMode(std::vector<EngineDescriptor> &table, SearchMode mode) {
    for (auto &d : table) d.mode = mode;
}

std::string SoftwareSearchHost(int slot) {
    return slot >= 0 && slot < kSoftwareEngineCount ? ServiceRoot(kSoftwareHostKeys[slot]) : std::string();
}

std::string SoftwareFirstAddress(const EngineDescriptor &row, const std::string &query, std::string *expandedOut) {
    const ExpandedQuery x = ExpandQuery(row, query);
    if (expandedOut) *expandedOut = x.query;
    return x.address;
}

VerticalEngine FindVerticalEngine(std::string_view name) {
    if (SameTextNoCase(name, kNewsEngineName)) return VerticalEngine::News;
    if (SameTextNoCase(name, "C|NET")) return VerticalEngine::Cnet;
    if (SameTextNoCase(name, "TuCows")) return VerticalEngine::TuCows;
    return VerticalEngine::None;
}

}  // namespace qm
