#include "engines/vertical/Catalogue.h"

#include "engines/web/WebEngineTable.h"
#include "toolkit/ListFile.h"
#include "toolkit/Misc.h"

#include <filesystem>

namespace qm {

namespace {

constexpr const char *kCacheExtension = ".softwares";
constexpr const char *kNothingFound = "Nothing found in this area...";

std::string CategoryFolder(const std::string &root, const std::string &category) {
    return root + "/Cache/Software/" + NormaliseListFileName(category);
}

}  // namespace

const std::vector<CatalogueEntry> &CatalogueTable() {
    static const std::vector<CatalogueEntry> table = {
        {"MP3 & Audio", "Most popular", "/downloads/3-2000,10000-0.html?tag=mp"},
        {"MP3 & Audio", "New releases", "/downloads/3-2000,10001-0.html?tag=dir"},
        {"MP3 & Audio", "Players", "/downloads/3-2000,10002-0.html?tag=dir"},
        {"MP3 & Audio", "Rippers & Encoders", "/downloads/3-2000,10003-0.html?tag=dir"},
        {"MP3 & Audio", "Audio CD Burners", "/downloads/3-2000,10004-0.html?tag=dir"},
        {"MP3 & Audio", "Music Management", "/downloads/3-2000,10005-0.html?tag=dir"},
        {"MP3 & Audio", "MP3 Search Tools", "/downloads/3-2000,10006-0.html?tag=dir"},
        {"MP3 & Audio", "All-in-One Jukeboxes", "/downloads/3-2000,10007-0.html?tag=dir"},
        {"MP3 & Audio", "Streaming Audio", "/downloads/3-2000,10008-0.html?tag=dir"},
        {"MP3 & Audio", "Utilities & Plug-Ins", "/downloads/3-2000,10009-0.html?tag=dir"},
        {"MP3 & Audio", "Music Creation", "/downloads/3-2000,10010-0.html?tag=dir"},
        {"MP3 & Audio", "MIDI", "/downloads/3-2000,10011-0.html?tag=dir"},
        {"MP3 & Audio", "Skins", "/downloads/3-2000,10012-0.html?tag=dir"},
        {"Games", "Most popular", "/downloads/3-2001,10100-0.html?tag=mp"},
        {"Games", "New releases", "/downloads/3-2001,10101-0.html?tag=dir"},
        {"Games", "Action", "/downloads/3-2001,10102-0.html?tag=dir"},
        {"Games", "Adventure & RPG", "/downloads/3-2001,10103-0.html?tag=dir"},
        {"Games", "Arcade", "/downloads/3-2001,10104-0.html?tag=dir"},
        {"Games", "Cards,Casino,Lottery", "/downloads/3-2001,10105-0.html?tag=dir"},
        {"Games", "Kids", "/downloads/3-2001,10106-0.html?tag=dir"},
        {"Games", "Mods & Scenarios", "/downloads/3-2001,10107-0.html?tag=dir"},
        {"Games", "Patches & Updates", "/downloads/3-2001,10108-0.html?tag=dir"},
        {"Games", "Puzzles", "/downloads/3-2001,10109-0.html?tag=dir"},
        {"Games", "Simulations", "/downloads/3-2001,10110-0.html?tag=dir"},
        {"Games", "Sports", "/downloads/3-2001,10111-0.html?tag=dir"},
        {"Games", "Strategy & War", "/downloads/3-2001,10112-0.html?tag=dir"},
        {"Games", "Tools & Editors", "/downloads/3-2001,10113-0.html?tag=dir"},
        {"Desktop enhancements", "Most popular", "/downloads/3-2002,10200-0.html?tag=mp"},
        {"Desktop enhancements", "New releases", "/downloads/3-2002,10201-0.html?tag=dir"},
        {"Desktop enhancements", "Cursors", "/downloads/3-2002,10202-0.html?tag=dir"},
        {"Desktop enhancements", "Font Tools", "/downloads/3-2002,10203-0.html?tag=dir"},
        {"Desktop enhancements", "Fonts", "/downloads/3-2002,10204-0.html?tag=dir"},
        {"Desktop enhancements", "Icon Tools", "/downloads/3-2002,10205-0.html?tag=dir"},
        {"Desktop enhancements", "Icons", "/downloads/3-2002,10206-0.html?tag=dir"},
        {"Desktop enhancements", "Screensavers", "/downloads/3-2002,10207-0.html?tag=dir"},
        {"Desktop enhancements", "Shell & Desktop management", "/downloads/3-2002,10208-0.html?tag=dir"},
        {"Desktop enhancements", "Skins", "/downloads/3-2002,10209-0.html?tag=dir"},
        {"Desktop enhancements", "Startup/shutdown screens", "/downloads/3-2002,10210-0.html?tag=dir"},
        {"Desktop enhancements", "Themes", "/downloads/3-2002,10211-0.html?tag=dir"},
        {"Desktop enhancements", "Wallpaper", "/downloads/3-2002,10212-0.html?tag=dir"},
        {"Business & Finance", "Most popular", "/downloads/3-2003,10300-0.html?tag=mp"},
        {"Business & Finance", "New releases", "/downloads/3-2003,10301-0.html?tag=dir"},
        {"Business & Finance", "Applications", "/downloads/3-2003,10302-0.html?tag=dir"},
        {"Business & Finance", "Business Finance", "/downloads/3-2003,10303-0.html?tag=dir"},
        {"Business & Finance", "Database management", "/downloads/3-2003,10304-0.html?tag=dir"},
        {"Business & Finance", "Inventory Systems", "/downloads/3-2003,10305-0.html?tag=dir"},
        {"Business & Finance", "Legal", "/downloads/3-2003,10306-0.html?tag=dir"},
        {"Business & Finance", "Personnal Finance", "/downloads/3-2003,10307-0.html?tag=dir"},
        {"Business & Finance", "Personnal Info managers", "/downloads/3-2003,10308-0.html?tag=dir"},
        {"Business & Finance", "Presentation Tools", "/downloads/3-2003,10309-0.html?tag=dir"},
        {"Business & Finance", "Project Management", "/downloads/3-2003,10310-0.html?tag=dir"},
        {"Business & Finance", "Spreadsheets", "/downloads/3-2003,10311-0.html?tag=dir"},
        {"Business & Finance", "Vertical Markets", "/downloads/3-2003,10312-0.html?tag=dir"},
        {"Business & Finance", "Taxes", "/downloads/3-2003,10313-0.html?tag=dir"},
        {"Business & Finance", "Word processing", "/downloads/3-2003,10314-0.html?tag=dir"},
        {"Home & Education", "Most popular", "/downloads/3-2004,10400-0.html?tag=mp"},
        {"Home & Education", "New releases", "/downloads/3-2004,10401-0.html?tag=dir"},
        {"Home & Education", "Calendar & Planners", "/downloads/3-2004,10402-0.html?tag=dir"},
        {"Home & Education", "E-books & Literature", "/downloads/3-2004,10403-0.html?tag=dir"},
        {"Home & Education", "Food & Beverage", "/downloads/3-2004,10404-0.html?tag=dir"},
        {"Home & Education", "Genealogy", "/downloads/3-2004,10405-0.html?tag=dir"},
        {"Home & Education", "Health & Nutrition", "/downloads/3-2004,10406-0.html?tag=dir"},
        {"Home & Education", "Hobbies", "/downloads/3-2004,10407-0.html?tag=dir"},
        {"Home & Education", "Home Inventory", "/downloads/3-2004,10408-0.html?tag=dir"},
        {"Home & Education", "Kids & Parenting", "/downloads/3-2004,10409-0.html?tag=dir"},
        {"Home & Education", "Language", "/downloads/3-2004,10410-0.html?tag=dir"},
        {"Home & Education", "Mathematics", "/downloads/3-2004,10411-0.html?tag=dir"},
        {"Home & Education", "Miscellaneous", "/downloads/3-2004,10412-0.html?tag=dir"},
        {"Home & Education", "Music", "/downloads/3-2004,10413-0.html?tag=dir"},
        {"Home & Education", "Religion & Spirituality", "/downloads/3-2004,10414-0.html?tag=dir"},
        {"Home & Education", "Science", "/downloads/3-2004,10415-0.html?tag=dir"},
        {"Home & Education", "Sports", "/downloads/3-2004,10416-0.html?tag=dir"},
        {"Home & Education", "Teaching Tools", "/downloads/3-2004,10417-0.html?tag=dir"},
        {"Drivers", "Most popular", "/downloads/3-2005,10500-0.html?tag=mp"},
        {"Drivers", "New releases", "/downloads/3-2005,10501-0.html?tag=dir"},
        {"Drivers", "BIOS & System updates", "/downloads/3-2005,10502-0.html?tag=dir"},
        {"Drivers", "CD-ROM", "/downloads/3-2005,10503-0.html?tag=dir"},
        {"Drivers", "Display & Video", "/downloads/3-2005,10504-0.html?tag=dir"},
        {"Drivers", "Fax-Modems & ISDN", "/downloads/3-2005,10505-0.html?tag=dir"},
        {"Drivers", "Input devices", "/downloads/3-2005,10506-0.html?tag=dir"},
        {"Drivers", "Network", "/downloads/3-2005,10507-0.html?tag=dir"},
        {"Drivers", "Other devices", "/downloads/3-2005,10508-0.html?tag=dir"},
        {"Drivers", "Printers", "/downloads/3-2005,10509-0.html?tag=dir"},
        {"Drivers", "Scanners", "/downloads/3-2005,10510-0.html?tag=dir"},
        {"Drivers", "Sound & Multimedia", "/downloads/3-2005,10511-0.html?tag=dir"},
        {"Drivers", "Storage Systems", "/downloads/3-2005,10512-0.html?tag=dir"},
        {"Internet", "Most popular", "/downloads/3-2006,10600-0.html?tag=mp"},
        {"Internet", "New releases", "/downloads/3-2006,10601-0.html?tag=dir"},
        {"Internet", "Chat", "/downloads/3-2006,10602-0.html?tag=dir"},
        {"Internet", "Dialup & Connectivity", "/downloads/3-2006,10603-0.html?tag=dir"},
        {"Internet", "Download managers", "/downloads/3-2006,10604-0.html?tag=dir"},
        {"Internet", "FTP", "/downloads/3-2006,10605-0.html?tag=dir"},
        {"Internet", "Alternative browsers", "/downloads/3-2006,10606-0.html?tag=dir"},
        {"Internet", "Browsing Companions", "/downloads/3-2006,10607-0.html?tag=dir"},
        {"Internet", "Internet Explorer", "/downloads/3-2006,10608-0.html?tag=dir"},
        {"Internet", "Netscape", "/downloads/3-2006,10609-0.html?tag=dir"},
        {"Internet", "Offline browsers", "/downloads/3-2006,10610-0.html?tag=dir"},
        {"Internet", "Browser Plug-ins", "/downloads/3-2006,10611-0.html?tag=dir"},
        {"Internet", "File sharing", "/downloads/3-2006,10612-0.html?tag=dir"},
        {"Internet", "ISPs", "/downloads/3-2006,10613-0.html?tag=dir"},
        {"Internet", "Email Clients", "/downloads/3-2006,10614-0.html?tag=dir"},
        {"Internet", "Email Plug-ins", "/downloads/3-2006,10615-0.html?tag=dir"},
        {"Internet", "Email Utilities", "/downloads/3-2006,10616-0.html?tag=dir"},
        {"Internet", "Newsreaders", "/downloads/3-2006,10617-0.html?tag=dir"},
        {"Internet", "Online Privacy", "/downloads/3-2006,10618-0.html?tag=dir"},
        {"Internet", "Bookmark Managers", "/downloads/3-2006,10619-0.html?tag=dir"},
        {"Internet", "Miscellaneous", "/downloads/3-2006,10620-0.html?tag=dir"},
        {"Internet", "Online form Tools", "/downloads/3-2006,10621-0.html?tag=dir"},
        {"Internet", "Patches & Updates", "/downloads/3-2006,10622-0.html?tag=dir"},
        {"Internet", "Ping & Trace tools", "/downloads/3-2006,10623-0.html?tag=dir"},
        {"Internet", "Search Tools", "/downloads/3-2006,10624-0.html?tag=dir"},
        {"Communications", "Most popular", "/downloads/3-2007,10700-0.html?tag=mp"},
        {"Communications", "New releases", "/downloads/3-2007,10701-0.html?tag=dir"},
        {"Communications", "Chat", "/downloads/3-2007,10702-0.html?tag=dir"},
        {"Communications", "Dialup & connectivity", "/downloads/3-2007,10703-0.html?tag=dir"},
        {"Communications", "Fax", "/downloads/3-2007,10704-0.html?tag=dir"},
        {"Communications", "Web phones", "/downloads/3-2007,10705-0.html?tag=dir"},
        {"Communications", "Webcam & Video", "/downloads/3-2007,10706-0.html?tag=dir"},
        {"Utilities", "Most popular", "/downloads/3-2008,10800-0.html?tag=mp"},
        {"Utilities", "New releases", "/downloads/3-2008,10801-0.html?tag=dir"},
        {"Utilities", "Antivirus", "/downloads/3-2008,10802-0.html?tag=dir"},
        {"Utilities", "Backup", "/downloads/3-2008,10803-0.html?tag=dir"},
        {"Utilities", "File & Disk management", "/downloads/3-2008,10804-0.html?tag=dir"},
        {"Utilities", "File compression", "/downloads/3-2008,10805-0.html?tag=dir"},
        {"Utilities", "Network", "/downloads/3-2008,10806-0.html?tag=dir"},
        {"Utilities", "Security & Encryption", "/downloads/3-2008,10807-0.html?tag=dir"},
        {"Utilities", "System utilities", "/downloads/3-2008,10808-0.html?tag=dir"},
        {"Utilities", "Uninstallers", "/downloads/3-2008,10809-0.html?tag=dir"},
        {"Utilities", "Optimizers & Diagnostics", "/downloads/3-2008,10810-0.html?tag=dir"},
        {"Utilities", "Printers", "/downloads/3-2008,10811-0.html?tag=dir"},
        {"Multimedia & Design", "Most popular", "/downloads/3-2009,10900-0.html?tag=mp"},
        {"Multimedia & Design", "New releases", "/downloads/3-2009,10901-0.html?tag=dir"},
        {"Multimedia & Design", "Animation", "/downloads/3-2009,10902-0.html?tag=dir"},
        {"Multimedia & Design", "Authoring tools", "/downloads/3-2009,10903-0.html?tag=dir"},
        {"Multimedia & Design", "Fonts", "/downloads/3-2009,10904-0.html?tag=dir"},
        {"Multimedia & Design", "Illustration", "/downloads/3-2009,10905-0.html?tag=dir"},
        {"Multimedia & Design", "Image Editing", "/downloads/3-2009,10906-0.html?tag=dir"},
        {"Multimedia & Design", "Media Management", "/downloads/3-2009,10907-0.html?tag=dir"},
        {"Multimedia & Design", "Video", "/downloads/3-2009,10908-0.html?tag=dir"},
        {"Software development", "Most popular", "/downloads/3-2010,11000-0.html?tag=mp"},
        {"Software development", "New releases", "/downloads/3-2010,11001-0.html?tag=dir"},
        {"Software development", "Compilers & Interpreters", "/downloads/3-2010,11002-0.html?tag=dir"},
        {"Software development", "Components & Libraries", "/downloads/3-2010,11003-0.html?tag=dir"},
        {"Software development", "Databases & Networks", "/downloads/3-2010,11004-0.html?tag=dir"},
        {"Software development", "Java", "/downloads/3-2010,11005-0.html?tag=dir"},
        {"Software development", "Debugging", "/downloads/3-2010,11006-0.html?tag=dir"},
        {"Software development", "IDEs & Coding utilities", "/downloads/3-2010,11007-0.html?tag=dir"},
        {"Software development", "Reference & Tutorials", "/downloads/3-2010,11008-0.html?tag=dir"},
        {"Software development", "Source Code", "/downloads/3-2010,11009-0.html?tag=dir"},
        {"Software development", "Management & Distribution", "/downloads/3-2010,11010-0.html?tag=dir"},
        {"Software development", "Game Tools & Editors", "/downloads/3-2010,11011-0.html?tag=dir"},
        {"Software development", "Handheld Tools & Editors", "/downloads/3-2010,11012-0.html?tag=dir"},
        {"Software development", "Editors", "/downloads/3-2010,11013-0.html?tag=dir"},
        {"Software development", "Specialized Tools", "/downloads/3-2010,11014-0.html?tag=dir"},
        {"ActiveX", "Most popular", "/downloads/3-2011,11100-0.html?tag=mp"},
        {"ActiveX", "New release", "/downloads/3-2011,11101-0.html?tag=dir"},
        {"ActiveX", "Application Development", "/downloads/3-2011,11102-0.html?tag=dir"},
        {"ActiveX", "Browser enhancements", "/downloads/3-2011,11103-0.html?tag=dir"},
        {"ActiveX", "Control Development", "/downloads/3-2011,11104-0.html?tag=dir"},
        {"ActiveX", "Database Connectivity", "/downloads/3-2011,11105-0.html?tag=dir"},
        {"ActiveX", "Online applications", "/downloads/3-2011,11106-0.html?tag=dir"},
        {"ActiveX", "Site development", "/downloads/3-2011,11107-0.html?tag=dir"},
        {"ActiveX", "Tools & Utilities", "/downloads/3-2011,11108-0.html?tag=dir"},
        {"Java", "Most popular", "/downloads/3-2012,11200-0.html?tag=mp"},
        {"Java", "New releases", "/downloads/3-2012,11201-0.html?tag=dir"},
        {"Java", "Applets", "/downloads/3-2012,11202-0.html?tag=dir"},
        {"Java", "Applications", "/downloads/3-2012,11203-0.html?tag=dir"},
        {"Java", "Beans", "/downloads/3-2012,11204-0.html?tag=dir"},
        {"Java", "Class libraries", "/downloads/3-2012,11205-0.html?tag=dir"},
        {"Java", "Editors", "/downloads/3-2012,11206-0.html?tag=dir"},
        {"Java", "GUI Widgets", "/downloads/3-2012,11207-0.html?tag=dir"},
        {"Java", "Reference & Tutorials", "/downloads/3-2012,11208-0.html?tag=dir"},
        {"Java", "Source code", "/downloads/3-2012,11209-0.html?tag=dir"},
        {"Java", "Tools & utilities", "/downloads/3-2012,11210-0.html?tag=dir"},
        {"Web authoring", "Most popular", "/downloads/3-2013,11300-0.html?tag=mp"},
        {"Web authoring", "New releases", "/downloads/3-2013,11301-0.html?tag=dir"},
        {"Web authoring", "HTML Editors", "/downloads/3-2013,11302-0.html?tag=dir"},
        {"Web authoring", "Javascript", "/downloads/3-2013,11303-0.html?tag=dir"},
        {"Web authoring", "HTML conversion tools", "/downloads/3-2013,11304-0.html?tag=dir"},
        {"Web authoring", "Fonts", "/downloads/3-2013,11305-0.html?tag=dir"},
        {"Web authoring", "FTP", "/downloads/3-2013,11306-0.html?tag=dir"},
        {"Web authoring", "Reference & Tutorials", "/downloads/3-2013,11307-0.html?tag=dir"},
        {"Web authoring", "Servers", "/downloads/3-2013,11308-0.html?tag=dir"},
        {"Web authoring", "Site management", "/downloads/3-2013,11309-0.html?tag=dir"},
        {"Web authoring", "Image Editing", "/downloads/3-2013,11310-0.html?tag=dir"},
        {"Web authoring", "Web design utilities", "/downloads/3-2013,11311-0.html?tag=dir"},
        {"Desktop themes", "Most popular", "/downloads/3-2014,11400-0.html?tag=mp"},
        {"Desktop themes", "New releases", "/downloads/3-2014,11401-0.html?tag=dir"},
        {"Desktop themes", "Animals & Nature", "/downloads/3-2014,11402-0.html?tag=dir"},
        {"Desktop themes", "Art & Graphics", "/downloads/3-2014,11403-0.html?tag=dir"},
        {"Desktop themes", "Catoon & Anime", "/downloads/3-2014,11404-0.html?tag=dir"},
        {"Desktop themes", "Video games", "/downloads/3-2014,11405-0.html?tag=dir"},
        {"Desktop themes", "Holiday & Seasonal", "/downloads/3-2014,11406-0.html?tag=dir"},
        {"Desktop themes", "Miscellaneous", "/downloads/3-2014,11407-0.html?tag=dir"},
        {"Desktop themes", "Movies, TV, Celebrities", "/downloads/3-2014,11408-0.html?tag=dir"},
        {"Desktop themes", "Music", "/downloads/3-2014,11409-0.html?tag=dir"},
        {"Desktop themes", "Places", "/downloads/3-2014,11410-0.html?tag=dir"},
        {"Desktop themes", "Sports", "/downloads/3-2014,11411-0.html?tag=dir"},
        {"Desktop themes", "Theme editors & Tools", "/downloads/3-2014,11412-0.html?tag=dir"},
        {"Screensavers", "Most popular", "/downloads/3-2015,11500-0.html?tag=mp"},
        {"Screensavers", "New releases", "/downloads/3-2015,11501-0.html?tag=dir"},
        {"Screensavers", "Animals & NAture", "/downloads/3-2015,11502-0.html?tag=dir"},
        {"Screensavers", "Art & Graphics", "/downloads/3-2015,11503-0.html?tag=dir"},
        {"Screensavers", "Cartoon & Anime", "/downloads/3-2015,11504-0.html?tag=dir"},
        {"Screensavers", "Video games", "/downloads/3-2015,11505-0.html?tag=dir"},
        {"Screensavers", "Holiday & Seasonal", "/downloads/3-2015,11506-0.html?tag=dir"},
        {"Screensavers", "Miscellaneous", "/downloads/3-2015,11507-0.html?tag=dir"},
        {"Screensavers", "Movies, TV, Celebrities", "/downloads/3-2015,11508-0.html?tag=dir"},
        {"Screensavers", "Places", "/downloads/3-2015,11509-0.html?tag=dir"},
        {"Screensavers", "Science & Space", "/downloads/3-2015,11510-0.html?tag=dir"},
        {"Screensavers", "Editors & Tools", "/downloads/3-2015,11511-0.html?tag=dir"},
        {"Screensavers", "Sports", "/downloads/3-2015,11512-0.html?tag=dir"},
        {"Wallpaper", "Most popular", "/downloads/3-2016,11600-0.html?tag=mp"},
        {"Wallpaper", "New releases", "/downloads/3-2016,11601-0.html?tag=dir"},
        {"Wallpaper", "Animals & Nature", "/downloads/3-2016,11602-0.html?tag=dir"},
        {"Wallpaper", "Art & Graphics", "/downloads/3-2016,11603-0.html?tag=dir"},
        {"Wallpaper", "Cartoon & Anime", "/downloads/3-2016,11604-0.html?tag=dir"},
        {"Wallpaper", "Video games", "/downloads/3-2016,11605-0.html?tag=dir"},
        {"Wallpaper", "Holiday & Seasonal", "/downloads/3-2016,11606-0.html?tag=dir"},
        {"Wallpaper", "Miscellaneous", "/downloads/3-2016,11607-0.html?tag=dir"},
        {"Wallpaper", "Movies, TV, Celebrities", "/downloads/3-2016,11608-0.html?tag=dir"},
        {"Wallpaper", "Places", "/downloads/3-2016,11609-0.html?tag=dir"},
        {"Wallpaper", "Science & Space", "/downloads/3-2016,11610-0.html?tag=dir"},
        {"Wallpaper", "Sports", "/downloads/3-2016,11611-0.html?tag=dir"},
        {"Wallpaper", "Editors & Tools", "/downloads/3-2016,11612-0.html?tag=dir"},
    };
    return table;
}

std::string CatalogueHost() { return ServiceRoot("software-catalogue"); }

std::string CatalogueAddress(const CatalogueEntry &e) { return CatalogueHost() + e.path; }

std::vector<std::string> CatalogueCategories() {
    std::vector<std::string> out;
    for (const auto &e : CatalogueTable())
        if (out.empty() || out.back() != e.category) out.push_back(e.category);
    return out;
}

std::vector<int> CatalogueSubcategories(const std::string &category) {
    std::vector<int> out;
    const auto &t = CatalogueTable();
    for (size_t i = 0; i < t.size(); ++i)
        if (category == t[i].category) out.push_back(int(i));
    return out;
}

int FindCatalogueEntry(const std::string &category, const std::string &subcategory) {
    for (int i : CatalogueSubcategories(category))
        if (subcategory == CatalogueTable()[size_t(i)].subcategory) return i;
    return -1;
}

bool IsMostPopular(const std::string &subcategory) { return SameTextNoCase(subcategory, "most popular"); }

ResultListModel *CreateCatalogueList(QObject *parent) {
    auto *m = new ResultListModel({"Name", "Type", "Size", "Rated", "#Downloads", "Date", "Description", "URL"},
                                  kCatName, kCatName, parent);
    m->SetCountWords("Found", "Found");
    return m;
}

ResultRow CatalogueNothingFoundRow(const std::string &text) {
    ResultRow r;
    r.subItems.assign(kCatColumns, std::string());
    r.subItems[0] = text.empty() ? kNothingFound : text;
    return r;
}

bool IsCatalogueNotice(const ResultRow &row) {
    if (!row.caption.empty()) return false;
    for (size_t i = 1; i < row.subItems.size(); ++i)
        if (!row.subItems[i].empty()) return false;
    return true;
}

std::string CatalogueCacheFile(const std::string &dataRoot, const std::string &category,
                               const std::string &subcategory) {
    return ListFilePath(CategoryFolder(dataRoot, category), subcategory + kCacheExtension);
}

bool IsCatalogueCached(const std::string &dataRoot, const std::string &category, const std::string &subcategory) {
    return TMisc::FileExists(CatalogueCacheFile(dataRoot, category, subcategory));
}

bool LoadCatalogueCache(const std::string &dataRoot, const std::string &category, const std::string &subcategory,
                        std::vector<ResultRow> &rows) {
    std::vector<ResultRow> loaded;
    if (!LoadListRows(CategoryFolder(dataRoot, category), subcategory + kCacheExtension, RecordKind::Catalogue,
                      loaded) ||
        loaded.empty())
        return false;
    rows = std::move(loaded);
    return true;
}

bool WriteCatalogueCache(const std::string &dataRoot, const std::string &category, const std::string &subcategory,
                         const std::vector<ResultRow> &rows) {
    const std::string folder = CategoryFolder(dataRoot, category);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::vector<ResultRow> titles;
    for (const auto &r : rows)
        if (!IsCatalogueNotice(r)) titles.push_back(r);
    return SaveListRows(folder, subcategory + kCacheExtension, RecordKind::Catalogue, titles);
}

bool RemoveCatalogueCache(const std::string &dataRoot, const std::string &category, const std::string &subcategory) {
    std::error_code ec;
    return std::filesystem::remove(CatalogueCacheFile(dataRoot, category, subcategory), ec);
}

ResultRow CatalogueToFavorite(const ResultRow &row, const std::string &ratedDownloads) {
    auto sub = [&](size_t i) { return i < row.subItems.size() ? row.subItems[i] : std::string(); };
    ResultRow f;
    f.caption = row.caption;
    f.image = row.image;
    f.subItems = {sub(kCatName),
                  sub(kCatType),
                  sub(kCatSize),
                  sub(kCatRated) + " / " + sub(kCatDownloads) + "  " + ratedDownloads,
                  "C|NET",
                  sub(kCatDescription),
                  sub(kCatUrl),
                  ""};
    return f;
}

}  // namespace qm
