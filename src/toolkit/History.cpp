#include "toolkit/History.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm {

namespace {

// Removes entries matching `pred`, scanning again from the start after each removal.
template <class Pred>
void RemoveRescanning(StringList &list, Pred pred) {
    for (;;) {
        auto it = std::find_if(list.begin(), list.end(), pred);
        if (it == list.end()) return;
        list.erase(it);
    }
}

// A line break inside an entry would turn it into two entries at the next load.
std::string OneLine(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

// ---------------------------------------------------------------------------------
// One box

void TMisc::ParseHistory(std::string_view bytes, HistoryBox &box) {
    // Lines end at CR, LF or CR LF; a break at the very end starts no further line.
    StringList lines;
    size_t i = 0, start = 0;
    while (i < bytes.size()) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            ++i;
            if (c == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size()) lines.emplace_back(bytes.substr(start));

    if (lines.empty()) {
        box.editText.clear();
    } else {
        box.editText = lines.front();
        lines.erase(lines.begin());
    }
    RemoveRescanning(lines, [](const std::string &e) { return Trim(e).empty(); });
    box.entries = std::move(lines);
}

bool TMisc::LoadHistory(const std::string &name, HistoryBox &box) {
    if (!FileExists(name)) return false;
    std::string bytes;
    if (!ReadWholeFile(name, bytes)) return false;
    ParseHistory(bytes, box);
    return true;
}

std::string TMisc::FormatHistory(const HistoryBox &box) {
    std::string first = OneLine(Trim(box.editText));
    if (first.empty()) first = " ";
    std::string out = first + "\r\n";
    for (const auto &e : box.entries) {
        out += OneLine(e);
        out += "\r\n";
    }
    return out;
}

bool TMisc::SaveHistory(const std::string &name, const HistoryBox &box) {
    // What the user searched for is private, like the caches and favorites.
    return WriteFileAtomic(name, FormatHistory(box), /*ownerOnly=*/true);
}

void TMisc::RemoveFromHistory(HistoryBox &box) {
    const std::string text = Trim(box.editText);
    RemoveRescanning(box.entries, [&](const std::string &e) { return SameTextNoCase(e, text); });
}

void TMisc::PushHistory(HistoryBox &box) {
    std::string text = Trim(box.editText);
    RemoveFromHistory(box);
    box.entries.insert(box.entries.begin(), text);
    box.editText = text;
}

// ---------------------------------------------------------------------------------
// The boxes of the main window

const char *HistoryFileName(HistoryId id) {
    switch (id) {
    case HistoryId::Web: return "ComboBox_WEB.INI";
    case HistoryId::News: return "ComboBox_NEWS.INI";
    case HistoryId::NewsGroup: return "ComboBox_NEWSGRP.INI";
    case HistoryId::Software: return "ComboBox_FINDPRG.INI";
    case HistoryId::Forum: return "ComboBox_FINDFORUM.INI";
    case HistoryId::Mp3: return "ComboBox_MP3.INI";
    case HistoryId::Whois: return "ComboBox_WHOIS.INI";
    case HistoryId::Dns: return "ComboBox_DNS.INI";
    }
    return "";
}

HistoryBox &Histories::Box(HistoryId id) {
    switch (id) {
    case HistoryId::Web: return web;
    case HistoryId::News: return news;
    case HistoryId::NewsGroup: return newsGroup;
    case HistoryId::Software: return software;
    case HistoryId::Forum: return forum;
    case HistoryId::Mp3: return mp3;
    case HistoryId::Whois: return whois;
    case HistoryId::Dns: return dns;
    }
    return web;
}

std::string DataFolders::Options() const { return root + "/Options"; }
std::string DataFolders::Cache() const { return root + "/Cache"; }
std::string DataFolders::CacheSub(const char *sub) const { return Cache() + "/" + sub; }
std::string DataFolders::HistoryFile(HistoryId id) const {
    return Options() + "/" + HistoryFileName(id);
}

const char *const kCacheSubfolders[8] = {"WEBSearch", "NEWSSearch", "WHOSearch",   "Software",
                                         "SoftSearch", "DailyNews", "ForumSearch", "MP3Search"};

bool CreateDataFolders(const DataFolders &folders) {
    bool ok = TMisc::CreatePath(folders.Options());
    ok = TMisc::CreatePath(folders.Cache()) && ok;
    for (const char *sub : kCacheSubfolders) ok = TMisc::CreatePath(folders.CacheSub(sub)) && ok;
    return ok;
}

void LoadHistoriesAtStart(const DataFolders &folders, Histories &h) {
    static const HistoryId kOrder[] = {HistoryId::Whois,     HistoryId::Web,      HistoryId::Dns,
                                       HistoryId::News,      HistoryId::NewsGroup, HistoryId::Software,
                                       HistoryId::Forum,     HistoryId::Mp3};
    for (HistoryId id : kOrder) TMisc::LoadHistory(folders.HistoryFile(id), h.Box(id));
}

bool SaveHistoriesAtEnd(const DataFolders &folders, Histories &h) {
    // The host box keeps its text; the others start the next run showing a blank.
    for (HistoryId id : {HistoryId::Web, HistoryId::News, HistoryId::Whois, HistoryId::NewsGroup,
                         HistoryId::Software, HistoryId::Forum, HistoryId::Mp3})
        h.Box(id).editText.clear();
    for (HistoryId id : {HistoryId::Whois, HistoryId::Web, HistoryId::Dns, HistoryId::Software})
        TMisc::PushHistory(h.Box(id));
    bool ok = true;
    for (HistoryId id : {HistoryId::Web, HistoryId::News, HistoryId::NewsGroup, HistoryId::Software,
                         HistoryId::Forum, HistoryId::Mp3, HistoryId::Whois, HistoryId::Dns})
        ok = TMisc::SaveHistory(folders.HistoryFile(id), h.Box(id)) && ok;
    return ok;
}

int DeleteFilesWithExtension(const std::string &folder, std::string_view extension) {
    DIR *dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    std::vector<std::string> doomed;
    while (dirent *e = ::readdir(dir)) {
        std::string_view name = e->d_name;
        if (name.size() < extension.size() ||
            !SameTextNoCase(name.substr(name.size() - extension.size()), extension))
            continue;
        std::string path = folder + "/" + std::string(name);
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) doomed.push_back(path);
    }
    ::closedir(dir);
    int deleted = 0;
    for (const auto &path : doomed)
        if (::unlink(path.c_str()) == 0) ++deleted;
    return deleted;
}

void DeleteSessionFiles(const DataFolders &folders, int webCacheMode, int newsCacheMode) {
    auto removePlain = [](const std::string &path) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
    };
    if (webCacheMode == 1 || webCacheMode == 2) {
        removePlain(folders.HistoryFile(HistoryId::Web));
        DeleteFilesWithExtension(folders.CacheSub("WEBSearch"), ".webcache");
    }
    if (newsCacheMode == 1 || newsCacheMode == 2) {
        removePlain(folders.HistoryFile(HistoryId::News));
        DeleteFilesWithExtension(folders.CacheSub("NEWSSearch"), ".newssearch");
    }
}

}  // namespace qm
