#pragma once
// The message table: every text that code (not the window layout) shows, with its English
// default and the language key that replaces it. Texts are UTF-8.
#include <array>
#include <string>
#include <string_view>

namespace qm {

enum class Msg : int {
    // Settings window sections
    TsFind, TsProxy, TsCache, TsMisc, TsNav, CacheInfo,
    // General
    FileSaved, Confirm, Error, NotFound, Search, Stop, Update, Found, WorkingOn, Average,
    Returns, EndProcess, From, To, Amount, ConvertCurrency,
    // Counting words (singular, plural)
    Site, Sites, File, Files, Article, Articles, Name, Names, Title, Titles, Software,
    Softwares, Address, Addresses, RatedDownloads,
    // Search messages
    NoSearchString, NothingFoundFor, NothingInArea, NoSearchWhileVerifying, NoMemory,
    VerificationRunning, DiskErrorView,
    // Network tools
    FindingModules, SiteUses, ModuleError, NoKnownModule, TypeAddress, PingAtLeastOne,
    UnknownHost, CantPing, Delay, Received, LocalIp, DomainNotRegistered, NoDomainString,
    DomainRegisterAsk, DomainInvalid,
    // Software and catalogue
    NoOpinion, SubcategoryRemoved,
    // Browser and download agent
    NavigatorMissing, DownloadAgentMissing, DownloadDefault, DownloadClipboard,
    DownloadExternal, DownloadOption,
    // Favorites
    FavWeb, FavNews, FavSoftware, FavDaily,
    // Daily news
    NewsBroughtBy, UpdateSection, UpdateAll, NewsHint,
    // Unit categories
    UnitArea, UnitDensity, UnitEnergy, UnitForce, UnitLength, UnitMass, UnitPower,
    UnitPressure, UnitTime, UnitTemperature, UnitVolume, UnitSpeed,
    // Banner and slogan
    Support, Slogan,
    Count
};

inline constexpr int kMessageCount = static_cast<int>(Msg::Count);

class MessageTable {
public:
    MessageTable() { ResetToDefaults(); }

    // Puts every text back to its English default.
    void ResetToDefaults();

    const std::string &Text(Msg m) const { return texts_[static_cast<size_t>(m)]; }
    void Set(Msg m, std::string text) { texts_[static_cast<size_t>(m)] = std::move(text); }

    // English default of a message.
    static std::string_view Default(Msg m);
    // Key of the language file that replaces it: "$LANG_..." for a key line, "<@...>" for
    // an alert block, empty for texts that no language key replaces.
    static std::string_view LanguageKey(Msg m);
    // The current text of the message whose English default is `english`; `english` itself
    // when no message has that default (the core names its messages by their defaults).
    std::string TextOf(std::string_view english) const;
    // Message whose language key equals the key, ignoring ASCII case; Msg::Count if none.
    static Msg FromLanguageKey(std::string_view key);

private:
    std::array<std::string, kMessageCount> texts_;
};

}  // namespace qm
