// The road planner's tables, requests, saved text and controller.
#include "tools/RoadPlanner.h"

#include "net/HttpCli.h"
#include "net/ServiceHosts.h"
#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

const char kUsTemplate[] = "/directions.asp?OAD2=[ADR1]&OAD3=[CITY1]&DAD2=[ADR2]&DAD3=[CITY2]&showmap=1&PCT=[MODE]";
const char kEuTemplate[] =
    "/cgi-bin/geo/isroad.exe?Depart_Ville=[V1]&Depart_Code_Postal=[C1]&Depart_Pays=[P1]&Arrivee_Ville=[V2]"
    "&Arrivee_Code_Postal=[C2]&Arrivee_Pays=[P2]&Optimisation=T&carte=0&u=isroad&Lng=f&Mod=_IT.mod&Page=v&option=T"
    "&x=7&y=9";

// Fills the placeholders of a template in one pass: each placeholder is replaced once (the
// first occurrence, ASCII case ignored) by its encoded value, and a value that was put in is
// never searched again. A null value leaves its placeholder as it stands.
std::string FillTemplate(std::string_view tmpl, const std::vector<std::pair<std::string_view, const std::string *>> &fills) {
    struct Hit {
        size_t pos, len;
        const std::string *value;
    };
    std::vector<Hit> hits;
    for (const auto &[name, value] : fills) {
        if (!value) continue;
        size_t pos = TMisc::FindNoCasePos(tmpl, name);
        if (pos != std::string_view::npos) hits.push_back({pos, name.size(), value});
    }
    std::sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.pos < b.pos; });
    std::string out;
    size_t at = 0;
    for (const Hit &h : hits) {
        if (h.pos < at) continue;  // placeholders never overlap in the templates
        out.append(tmpl.substr(at, h.pos - at));
        out += EncodeRoadValue(*h.value);
        at = h.pos + h.len;
    }
    out.append(tmpl.substr(at));
    return TMisc::ReplaceChar(out, ' ', '+');
}

// "[CITY1]": the ZIP code, else "city, state" when both are given, else nothing to fill.
std::optional<std::string> UsPlaceText(const RoadUsPlace &p) {
    std::string zip = Trim(p.zip), city = Trim(p.city), state = Trim(p.state);
    if (!zip.empty()) return zip;
    if (!city.empty() && !state.empty()) return city + ", " + state;
    return std::nullopt;
}

const char *CountryName(int index) {
    return index >= 0 && index < kRoadCountryCount ? RoadCountries()[size_t(index)].name : "";
}
const char *CountryCode(int index) {
    return index >= 0 && index < kRoadCountryCount ? RoadCountries()[size_t(index)].code : "";
}

std::string SafeFileName(std::string name) {
    for (char &c : name)
        if (c == '/') c = '-';
    return name;
}

}  // namespace

const std::array<RoadCountry, kRoadCountryCount> &RoadCountries() {
    static const std::array<RoadCountry, kRoadCountryCount> table{{
        {"Albanie", "355"},        {"Allemagne", "49"},  {"Andore", "376"},       {"Arménie", "374"},
        {"Autriche", "43"},        {"Azerbaïdjan", "994"}, {"Belgique", "32"},    {"Biélorussie", "375"},
        {"Bosnie", "387"},         {"Bulgarie", "359"},  {"Chypre", "357"},       {"Croatie", "385"},
        {"Danemark", "45"},        {"Espagne", "34"},    {"Estonie", "372"},      {"Finlande", "358"},
        {"France", "33"},          {"Géorgie", "995"},   {"Gilbraltar", "350"},   {"Grande-Bretagne", "44"},
        {"Grèce", "30"},           {"Hongrie", "36"},    {"Iles Féroé", "298"},   {"Irlande", "353"},
        {"Islande", "354"},        {"Italie", "39"},     {"Lettonie", "371"},     {"Liechtenstein", "411"},
        {"Lituanie", "370"},       {"Luxembourg", "352"}, {"Macédoine", "389"},   {"Malte", "356"},
        {"Moldavie", "373"},       {"Monaco", "331"},    {"Norvège", "47"},       {"Pays-Bas", "31"},
        {"Pologne", "48"},         {"Portugal", "351"},  {"Roumanie", "40"},      {"Russie", "7"},
        {"San Marin", "391"},      {"Slovaquie", "42"},  {"Slovénie", "386"},     {"Suède", "46"},
        {"Suisse", "41"},          {"Bohème-Moravie", "421"}, {"Turquie", "90"},  {"Ukraine", "380"},
        {"Vatican", "392"},        {"Yougoslavie", "381"},
    }};
    return table;
}

int FindRoadCountry(std::string_view nameOrIndex) {
    std::string text = Trim(nameOrIndex);
    if (text.empty()) return -1;
    for (int i = 0; i < kRoadCountryCount; ++i)
        if (SameTextNoCase(RoadCountries()[size_t(i)].name, text)) return i;
    if (text.find_first_not_of("0123456789") == std::string::npos && text.size() <= 3) {
        int i = int(Atol(text));
        if (i < kRoadCountryCount) return i;
    }
    return -1;
}

const RoadTexts &RoadPlannerTexts(RoadMode mode) {
    static const RoadTexts us{"USA Road planner",
                              "Create Road plan",
                              "Flip locations",
                              "Print the current road plan",
                              "Save the road plan to disk",
                              "See distance in Kilometers",
                              "Brought to you by : LycosTravel",
                              "visit this web site to seek other road plans",
                              "Total distance",
                              true,
                              "road-us",
                              "No road plan found."};
    static const RoadTexts eu{"Itinéraire routier européen",
                              "Création de l'itinéraire",
                              "Intervertir les localités",
                              "Imprimer l'ittinéraire",
                              "Sauver l'ittinéraire sur disque",
                              "Distance en kilomètres",
                              "Fournit par : ItiRoute Europe",
                              "Visiter ce site pour trouver d'autres ittinéraires",
                              "Distance",
                              false,
                              "road-eu",
                              "Aucun itinéraire trouvé."};
    return mode == RoadMode::Europe ? eu : us;
}

std::string RoadHomePage(RoadMode mode) {
    return "http://" + ServiceHostFor(RoadPlannerTexts(mode).hostKey) + "/";
}

RoadMode RoadPlannerForLanguage(std::string_view language) {
    return SameTextNoCase(Trim(language), "French") ? RoadMode::Europe : RoadMode::US;
}

std::string EncodeRoadValue(std::string_view value) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(value.size());
    for (unsigned char c : value) {
        if (c == ' ') out += '+';
        else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                 c == '_' || c == ',' || c == '*')
            out += char(c);
        else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string UsRoadRequest(const RoadUsPlace &from, const RoadUsPlace &to, bool fastest) {
    const std::string adr1 = Trim(from.address), adr2 = Trim(to.address);
    const std::optional<std::string> city1 = UsPlaceText(from), city2 = UsPlaceText(to);
    const std::string mode = fastest ? "short" : "easy";
    return FillTemplate(kUsTemplate, {{"[ADR1]", &adr1},
                                      {"[ADR2]", &adr2},
                                      {"[CITY1]", city1 ? &*city1 : nullptr},
                                      {"[CITY2]", city2 ? &*city2 : nullptr},
                                      {"[MODE]", &mode}});
}

std::string EuRoadRequest(const RoadEuPlace &from, const RoadEuPlace &to) {
    const std::string v1 = Trim(from.town), v2 = Trim(to.town), c1 = Trim(from.code), c2 = Trim(to.code);
    const std::string p1 = CountryCode(from.country), p2 = CountryCode(to.country);
    return FillTemplate(kEuTemplate,
                        {{"[V1]", &v1}, {"[V2]", &v2}, {"[C1]", &c1}, {"[C2]", &c2}, {"[P1]", &p1}, {"[P2]", &p2}});
}

std::string RoadSuggestedName(RoadMode mode, const RoadUsPlace &usFrom, const RoadUsPlace &usTo,
                              const RoadEuPlace &euFrom, const RoadEuPlace &euTo) {
    if (mode == RoadMode::Europe)
        return SafeFileName("Itinéraire " + Trim(euFrom.town) + " - " + Trim(euTo.town) + ".txt");
    return SafeFileName(Trim(usFrom.city) + " - " + Trim(usTo.city) + ".txt");
}

std::string RoadSavedText(RoadMode mode, const RoadUsPlace &usFrom, const RoadUsPlace &usTo,
                          const RoadEuPlace &euFrom, const RoadEuPlace &euTo, const std::vector<RoadRow> &rows) {
    std::string out;
    auto line = [&out](const std::string &text) { out += text + "\r\n"; };
    if (mode == RoadMode::Europe) {
        auto place = [&](const RoadEuPlace &p) {
            line("Ville:\t" + Trim(p.town));
            line("Code postal:\t" + Trim(p.code));
            line(std::string("Pays:\t") + CountryName(p.country));
        };
        line("--------- Ville de départ ---------");
        line("");
        place(euFrom);
        line("");
        line("--------- Ville de d'arrivée ---------");
        line("");
        place(euTo);
        line("");
        line("");
        line("");
        line("############## ITINERAIRE ##############");
    } else {
        auto place = [&](const RoadUsPlace &p) {
            line("Address:\n" + Trim(p.address));
            line("City:\n" + Trim(p.city));
            line("State:\n" + Trim(p.state));
            line("ZIP code:\n" + Trim(p.zip));
        };
        line("--------- From ---------");
        line("");
        place(usFrom);
        line("");
        line("--------- To ---------");
        line("");
        place(usTo);
        line("");
        line("");
        line("");
        line("############## Road Plan ##############");
    }
    line("");
    line("");
    for (const auto &r : rows) line("(" + r.distance + ")\t" + r.step);
    return out;
}

std::array<std::string, 2> RoadPrintHeadings(RoadMode mode, const RoadUsPlace &usFrom, const RoadUsPlace &usTo,
                                             const RoadEuPlace &euFrom, const RoadEuPlace &euTo) {
    if (mode == RoadMode::Europe) {
        auto place = [](const RoadEuPlace &p) {
            return Trim(p.town) + " - " + Trim(p.code) + " " + CountryName(p.country);
        };
        return {"From: " + place(euFrom), "To: " + place(euTo)};
    }
    auto place = [](const RoadUsPlace &p) {
        return Trim(p.address) + " - " + Trim(p.city) + " " + Trim(p.state) + " " + Trim(p.zip);
    };
    return {"From: " + place(usFrom), "To: " + place(usTo)};
}

std::string FileNotWrittenMessage(const std::string &path) { return "The file could not be written.\n\n" + path; }

// ---- RoadPlanner ----

RoadPlanner::RoadPlanner(QObject *parent) : QObject(parent) {}

RoadPlanner::~RoadPlanner() = default;

void RoadPlanner::SelectPlanner(RoadMode mode) {
    mode_ = mode;
    emit modeChanged(mode);
    if (mode == RoadMode::Europe) SetKm(true);
}

void RoadPlanner::SetKm(bool km) {
    km_ = km;
    SwitchRoadUnits(rows_, km);
    emit kmChanged(km);
    emit rowsChanged();
}

void RoadPlanner::SetRows(std::vector<RoadRow> rows) {
    rows_ = std::move(rows);
    emit rowsChanged();
}

std::string RoadPlanner::RequestPath() const {
    return mode_ == RoadMode::Europe ? EuRoadRequest(euFrom, euTo) : UsRoadRequest(usFrom, usTo, fastest);
}

std::string RoadPlanner::RequestUrl() const {
    return "http://" + ServiceHostFor(RoadPlannerTexts(mode_).hostKey) + RequestPath();
}

void RoadPlanner::setBusy(bool busy) {
    if (busy_ == busy) return;
    busy_ = busy;
    emit busyChanged(busy);
}

bool RoadPlanner::Request() {
    if (busy_) return false;
    if (!client_) {
        client_ = new THttpCli(this);
        connect(client_, &THttpCli::OnDocData, this,
                [this](THttpCli *, const char *data, qsizetype n) { stream_.append(data, size_t(n)); });
        connect(client_, &THttpCli::OnRequestDone, this, [this](THttpCli *, HttpRequest, int error) { onDone(error); });
    }
    if (client_->Busy()) client_->Abort();
    lastRequest_ = RequestPath();
    requestMode_ = mode_;
    setBusy(true);
    stream_.clear();
    if (configureClient) configureClient(*client_);
    client_->URL = RequestUrl();
    if (!client_->GetASync()) {
        // The client was still finishing the aborted request: nothing was sent.
        setBusy(false);
        emit notice(RoadPlannerTexts(mode_).noPlan);
        emit finished(false);
        return false;
    }
    return true;
}

void RoadPlanner::onDone(int error) {
    if (!busy_) return;  // the end of an aborted request
    std::string page;
    page.swap(stream_);
    Answer(error, page);
}

void RoadPlanner::Answer(int error, const std::string &page) {
    const RoadMode mode = busy_ ? requestMode_ : mode_;
    const RoadTexts &t = RoadPlannerTexts(mode);
    bool plan = false;
    if (error != HttpOk) {
        emit notice(std::string(t.noPlan) + "\n\n" + HttpErrorText(error));
    } else if (page.empty()) {
        emit notice(t.noPlan);
    } else {
        std::vector<RoadRow> rows;
        auto keepGoing = [this] {
            if (pump) pump();
            return busy_ && !(closing && closing());
        };
        rows = mode == RoadMode::Europe ? ScanEuRoadPage(page, keepGoing) : ScanUsRoadPage(page, km_, keepGoing);
        plan = !rows.empty();
        if (plan && mode == RoadMode::Europe) AppendEuRoadTotals(rows);
        SetRows(std::move(rows));
        if (!plan && !(closing && closing())) emit notice(t.noPlan);
    }
    setBusy(false);
    stream_.clear();
    emit finished(plan);
}

bool RoadPlanner::ReadPage(std::string_view page) {
    std::vector<RoadRow> rows = mode_ == RoadMode::Europe ? ScanEuRoadPage(page) : ScanUsRoadPage(page, km_);
    bool plan = !rows.empty();
    if (plan && mode_ == RoadMode::Europe) AppendEuRoadTotals(rows);
    SetRows(std::move(rows));
    return plan;
}

void RoadPlanner::Flip() {
    if (mode_ == RoadMode::Europe) std::swap(euFrom, euTo);
    else std::swap(usFrom, usTo);
}

std::string RoadPlanner::SuggestedFileName() const { return RoadSuggestedName(mode_, usFrom, usTo, euFrom, euTo); }

std::string RoadPlanner::SavedText() const { return RoadSavedText(mode_, usFrom, usTo, euFrom, euTo, rows_); }

bool RoadPlanner::SaveTo(const std::string &path) const { return WriteFileAtomic(path, SavedText()); }

std::array<std::string, 2> RoadPlanner::PrintHeadings() const {
    return RoadPrintHeadings(mode_, usFrom, usTo, euFrom, euTo);
}

}  // namespace qm
