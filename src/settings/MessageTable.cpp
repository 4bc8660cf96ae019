#include "settings/MessageTable.h"

namespace qm {

namespace {

struct Row {
    Msg id;
    const char *key;
    const char *text;
};

// Order follows the enum; checked once at start-up by Rows().
constexpr Row kRows[] = {
    {Msg::TsFind, "$LANG_TS_FIND", "Search settings"},
    {Msg::TsProxy, "$LANG_TS_PRX", "Proxy settings"},
    {Msg::TsCache, "$LANG_TS_CACHE", "Disk and search Cache"},
    {Msg::TsMisc, "$LANG_TS_MISC", "Miscellaneous settings"},
    {Msg::TsNav, "$LANG_TS_NAV", "Navigation settings"},
    {Msg::CacheInfo, "$W_LBL_CACHEINFO", "Files cached"},

    {Msg::FileSaved, "$LANG_ALERT_FILEOK", "File saved successfully!!!"},
    {Msg::Confirm, "$LANG_ALERT_CONFIRM", "Are you sure?"},
    {Msg::Error, "$LANG_ERROR", "Error"},
    {Msg::NotFound, "$LANG_ERR_NOTFOUND", "Not found"},
    {Msg::Search, "$LANG_SEARCH", "Search"},
    {Msg::Stop, "$LANG_STOP", "Stop"},
    {Msg::Update, "$LANG_UPDATE", "Update"},
    {Msg::Found, "$LANG_FOUND", "Found"},
    {Msg::WorkingOn, "$LANG_WORKINGON", "Working on"},
    {Msg::Average, "$LANG_AVERAGE", "Average"},
    {Msg::Returns, "$LANG_RETURNS", "returns"},
    {Msg::EndProcess, "$LANG_ENDPROCESS", "end of process"},
    {Msg::From, "$LANG_FROM", "From"},
    {Msg::To, "$LANG_TO", "To"},
    {Msg::Amount, "$LANG_AMOUNT", "Amount"},
    {Msg::ConvertCurrency, "$LANG_DOL_START", "Convert currency"},

    {Msg::Site, "$LANG_SITE", "Site"},
    {Msg::Sites, "$LANG_S_SITE", "Sites"},
    {Msg::File, "$LANG_FILE", "File"},
    {Msg::Files, "$LANG_S_FILE", "Files"},
    {Msg::Article, "$LANG_ARTICLE", "Article"},
    {Msg::Articles, "$LANG_S_ARTICLE", "Articles"},
    {Msg::Name, "$LANG_NAME", "Name"},
    {Msg::Names, "$LANG_S_NAME", "Names"},
    {Msg::Title, "$LANG_TITLE", "Title"},
    {Msg::Titles, "$LANG_TITLES", "Titles"},
    {Msg::Software, "$LANG_SOFTWARE", "software"},
    {Msg::Softwares, "$LANG_S_SOFTWARE", "softwares"},
    {Msg::Address, "$LANG_ADDRESS", "address"},
    {Msg::Addresses, "$LANG_S_ADDRESS", "addresses"},
    {Msg::RatedDownloads, "$LANG_RATEDL", "(rated/#downloads)"},

    {Msg::NoSearchString, "<@ALERT_NOSEARCH_TYPE>",
     "You have not typed a search string yet\n\nSearch not started"},
    {Msg::NothingFoundFor, "$LANG_ERR_NOTHINGFOR", "Nothing found for"},
    {Msg::NothingInArea, "$LANG_ERR_EMPTYAREA", "Nothing found in this area..."},
    {Msg::NoSearchWhileVerifying, "$LANG_NOSEARCH_ONRUN",
     "You can't perform a search while the verification still running"},
    {Msg::NoMemory, "$LANG_NOSEARCH_MEMERR", "Unable to start due to memory allocation problems"},
    {Msg::VerificationRunning, "$LANG_ERR_VERIFYGO", "Verification process already running"},
    {Msg::DiskErrorView, "$LANG_ERR_DISKPAGE", "Disk error - Can't view the list as a web page"},

    {Msg::FindingModules, "$LANG_WHOIS_FINDMOD", "Finding modules for : "},
    {Msg::SiteUses, "$LANG_WHOIS_MODUSE", "This site uses"},
    {Msg::ModuleError, "$LANG_WHOIS_MODERR1", "Error - can't detect module(s) used"},
    {Msg::NoKnownModule, "$LANG_WHOIS_MODERR2", "No known module detect"},
    {Msg::TypeAddress, "$LANG_DNS_TYPE", "You must type an address to resolve first"},
    {Msg::PingAtLeastOne, "$LANG_PING_SETONE", "You must specify at least 1 PING to perform"},
    {Msg::UnknownHost, "$LANG_ERR_UNKNOWNHOST", "unknown host"},
    {Msg::CantPing, "$LANG_ERR_CANTPING", "Can't PING this host"},
    {Msg::Delay, "$LANG_DELAY", "Delay"},
    {Msg::Received, "$LANG_RECEIVED", "Received"},
    {Msg::LocalIp, "$LANG_LOCALIP", "Local IP"},
    {Msg::DomainNotRegistered, "$LANG_WHOIS_NOTREG", "This domain does not appear to be registered..."},
    {Msg::NoDomainString, "<@ALERT_WHOIS_TYPE>",
     "You have not typed a domain name yet\n\nSearch not started"},
    {Msg::DomainRegisterAsk, "<@ALERT_WHOIS_NOTREG>",
     "This domain does not appear to be registered\n\n  Do you want to go ahead and register it?"},
    {Msg::DomainInvalid, "<@ALERT_WHOIS_VALID>",
     "You must specify a valid domain name\n\n  Example :      mysite.example\n"},

    {Msg::NoOpinion, "$LANG_NOOPINION", "There is no user opinions for this software"},
    {Msg::SubcategoryRemoved, "$LANG_SUBCATDEL", "Subcategory removed from cache"},

    {Msg::NavigatorMissing, "<@LANG_ALERT_ERRNAV>",
     "The specified navigator can't be found.\n     Browsing result not possible\n\n"
     "You'll be lead to the browsing options now\n"},
    {Msg::DownloadAgentMissing, "<@ALERT_ALERT_BAD_DL_AGENT>",
     "The specified download agent is not available. Download impossible\n\n"
     "  Make sure you have specified the right location to the agent\n\n"
     "  You will be now lead to the option window to fix the problem"},
    {Msg::DownloadDefault, "", "Use your the default download agent (Internet Explorer..)"},
    {Msg::DownloadClipboard, "", "Send download information into the Clipboard"},
    {Msg::DownloadExternal, "", "Speciify the download agent (Gozilla/getright / ect...)"},
    {Msg::DownloadOption, "", "Download option"},

    {Msg::FavWeb, "$LANG_FAV_WEB", "My Favorites : WEB sites"},
    {Msg::FavNews, "$LANG_FAV_NEWS", "My Favorites : NEWS articles"},
    {Msg::FavSoftware, "$LANG_FAV_PRG", "My Favorites : Software titles"},
    {Msg::FavDaily, "$LANG_FAV_DNC", "My Favorites : daily news articles"},

    {Msg::NewsBroughtBy, "$LANG_DNC_COMPANY", "News brought to you by"},
    {Msg::UpdateSection, "$BT_DNC_UPONE", "Update a section"},
    {Msg::UpdateAll, "$BT_DNC_UPALL", "Update all"},
    {Msg::NewsHint, "$LANG_DNC_HINT", ""},

    {Msg::UnitArea, "$LANG_CONV_AREA", "Area"},
    {Msg::UnitDensity, "$LANG_CONV_DENSITY", "Density"},
    {Msg::UnitEnergy, "$LANG_CONV_ENERGY", "Energy"},
    {Msg::UnitForce, "$LANG_CONV_FORCE", "Force"},
    {Msg::UnitLength, "$LANG_CONV_LENGTH", "Length"},
    {Msg::UnitMass, "$LANG_CONV_MASS", "Mass"},
    {Msg::UnitPower, "$LANG_CONV_POWER", "Power"},
    {Msg::UnitPressure, "$LANG_CONV_PRESSURE", "Pressure"},
    {Msg::UnitTime, "$LANG_CONV_TIME", "Time"},
    {Msg::UnitTemperature, "$LANG_CONV_TEMPERATURE", "Temparture"},
    {Msg::UnitVolume, "$LANG_CONV_VOLUME", "Volume"},
    {Msg::UnitSpeed, "$LANG_CONV_SPEED", "Speed"},

    {Msg::Support, "$LANG_SUPPORT",
     "Please support this software by visiting these interesting sites - Thank you !!!"},
    {Msg::Slogan, "$LANG_PUBSTART", "Quillmar : The easy way to search what you want"},
};

static_assert(sizeof(kRows) / sizeof(kRows[0]) == kMessageCount, "one row per message");

constexpr bool RowsInOrder() {
    for (int i = 0; i < kMessageCount; ++i)
        if (static_cast<int>(kRows[i].id) != i) return false;
    return true;
}
static_assert(RowsInOrder(), "rows follow the enum order");

bool SameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

void MessageTable::ResetToDefaults() {
    for (int i = 0; i < kMessageCount; ++i) texts_[static_cast<size_t>(i)] = kRows[i].text;
}

std::string_view MessageTable::Default(Msg m) { return kRows[static_cast<int>(m)].text; }

std::string MessageTable::TextOf(std::string_view english) const {
    for (const auto &row : kRows)
        if (row.text == english) return Text(row.id);
    return std::string(english);
}

std::string_view MessageTable::LanguageKey(Msg m) { return kRows[static_cast<int>(m)].key; }

Msg MessageTable::FromLanguageKey(std::string_view key) {
    if (key.empty()) return Msg::Count;
    for (const auto &row : kRows)
        if (SameNoCase(row.key, key)) return row.id;
    return Msg::Count;
}

}  // namespace qm
