// quillmar-cli favorites: the four favorites lists through the model the favorites page
// drives (list, add, remove, open). The browser is never started: addresses are printed.
#include "cli/VerticalCli.h"
#include "toolkit/AtomicFile.h"
#include "engines/vertical/Favorites.h"

#include <QEventLoop>
#include <iterator>

namespace {

constexpr const char *kUsage =
    "list --list web|news|software|daily [--format tsv|json]\n"
    "       favorites add --list L (--from FILE --rows N[,N...] | --field KEY=VALUE... [--image N])\n"
    "       favorites remove --list L --rows N[,N...]\n"
    "       favorites open --list L --row N [--action view|open|cut|download|visit]";

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli favorites: %s\nusage: quillmar-cli favorites %s\n", message.c_str(), kUsage);
    return 2;
}

const std::vector<const char *> &Keys(qm::FavoritesList list) {
    static const std::vector<const char *> web = {"site", "location", "source", "description", "url"};
    static const std::vector<const char *> daily = {"information", "country", "source", "date", "url"};
    switch (list) {
    case qm::FavoritesList::Web: return web;
    case qm::FavoritesList::News: return qm::cli::VerticalKeys(true);
    case qm::FavoritesList::Software: return qm::cli::VerticalKeys(false);
    case qm::FavoritesList::Daily: return daily;
    }
    return web;
}

// "2,3" -> {2, 3}; false for anything but positive numbers.
bool ParseRows(const std::string &text, std::vector<int> &rows) {
    size_t start = 0;
    while (start <= text.size()) {
        const size_t comma = text.find(',', start);
        const std::string part = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos || part.size() > 9) return false;
        const int n = std::stoi(part);
        if (n < 1) return false;
        rows.push_back(n);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return !rows.empty();
}

std::string FormatList(const qm::Favorites &f, qm::FavoritesList list, bool json) {
    const auto &keys = Keys(list);
    const auto &rows = f.List(list).Rows();
    std::string out;
    if (!json) {
        for (const auto &r : rows) {
            out += qm::cli::TsvField(r.caption) + "\t" + std::to_string(r.image);
            for (size_t i = 0; i < keys.size(); ++i)
                out += "\t" + qm::cli::TsvField(i < r.subItems.size() ? r.subItems[i] : std::string());
            out += "\n";
        }
        return out;
    }
    out = "{\"list\": " + qm::cli::JsonString(qm::FavoritesListName(list)) +
          ", \"title\": " + qm::cli::JsonString(f.Title(list)) + ", \"header\": " + qm::cli::JsonString(f.Header(list)) +
          ",\n \"rows\": [";
    bool first = true;
    for (const auto &r : rows) {
        out += first ? "\n  {" : ",\n  {";
        out += "\"number\": " + qm::cli::JsonString(r.caption) + ", \"image\": " + std::to_string(r.image);
        for (size_t i = 0; i < keys.size(); ++i)
            out += std::string(", \"") + keys[i] + "\": " +
                   qm::cli::JsonString(i < r.subItems.size() ? r.subItems[i] : std::string());
        out += "}";
        first = false;
    }
    out += first ? "]}\n" : "\n ]}\n";
    return out;
}

int RunFavorites(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    if (args.empty()) return Fail("a subcommand is needed");
    const std::string sub = args[0];
    args.erase(args.begin());
    if (sub != "list" && sub != "add" && sub != "remove" && sub != "open") return Fail("unknown subcommand " + sub);

    std::string listName, format = "json", from, rowsText, rowText, actionName = "view", imageText;
    std::vector<std::string> fields, words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--list", "--format", "--from", "--rows", "--row", "--action", "--field", "--image"}, {},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--list") listName = v;
            if (a == "--format") format = v;
            if (a == "--from") from = v;
            if (a == "--rows") rowsText = v;
            if (a == "--row") rowText = v;
            if (a == "--action") actionName = v;
            if (a == "--field") fields.push_back(v);
            if (a == "--image") imageText = v;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (!words.empty()) return Fail("unexpected " + words[0]);
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    qm::FavoritesList list;
    if (!qm::FavoritesListByName(listName, list)) return Fail(listName.empty() ? "--list is needed" : "unknown list " + listName);

    qm::cli::WebCliSession session;
    if (!session.Open(g, "favorites")) return 1;
    const std::string cache = qm::DataRoot(session.Root()).cacheDir();
    qm::Favorites::Host host;
    host.cacheFolder = [cache] { return cache; };
    host.confirm = [] { return true; };
    host.alert = [](const std::string &m) { std::fprintf(stderr, "quillmar-cli favorites: %s\n", m.c_str()); };
    qm::Favorites favorites(host);
    favorites.Load();
    if (favorites.Locked(list) && sub != "list" && sub != "open") return 1;
    qm::ResultListModel &shown = favorites.List(list);

    if (sub == "list") {
        const std::string out = FormatList(favorites, list, format == "json");
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }

    if (sub == "add") {
        const qm::RecordKind kind = qm::FavoritesRecordKind(list);
        if (!from.empty()) {
            std::vector<int> wanted;
            if (!fields.empty()) return Fail("--from and --field exclude each other");
            if (!ParseRows(rowsText, wanted)) return Fail("--rows needs row numbers");
            std::string bytes;
            if (!qm::ReadWholeFile(from, bytes)) return Fail("cannot read " + from);
            // The file as a result list of that kind, the rows selected, then "Add selection".
            qm::ResultListModel source({}, 0, 0);
            std::vector<qm::ResultRow> rows;
            for (auto &rec : qm::ParseListFile(bytes, kind)) {
                qm::ResultRow r;
                if (kind != qm::RecordKind::DailyNews) r.caption = std::to_string(rows.size() + 1);
                r.image = rec.image;
                r.subItems = std::move(rec.texts);
                rows.push_back(std::move(r));
            }
            source.ResetRows(std::move(rows));
            for (int n : wanted)
                if (n > source.Count()) return Fail("no row " + std::to_string(n) + " in " + from);
            for (int n : wanted) source.SelectRow(n - 1);
            favorites.AddSelection(list, source);
        } else {
            if (fields.empty()) return Fail("--from FILE --rows N or --field KEY=VALUE is needed");
            const auto &keys = Keys(list);
            qm::ResultRow r;
            r.subItems.assign(keys.size(), std::string());
            r.caption = "0";
            for (const auto &f : fields) {
                const size_t eq = f.find('=');
                const std::string key = f.substr(0, eq);
                size_t i = 0;
                while (i < keys.size() && key != keys[i]) ++i;
                if (eq == std::string::npos || i == keys.size()) return Fail("unknown field " + f);
                r.subItems[i] = f.substr(eq + 1);
            }
            if (!imageText.empty()) r.image = int(qm::CStyleNumber(imageText));
            favorites.AddRows(list, {r});
        }
        return favorites.Save(list) ? 0 : 1;
    }

    if (sub == "remove") {
        std::vector<int> wanted;
        if (!ParseRows(rowsText, wanted)) return Fail("--rows needs row numbers");
        for (int n : wanted)
            if (n > shown.Count()) return Fail("no row " + std::to_string(n));
        for (int n : wanted) shown.SelectRow(n - 1);
        favorites.RemoveSelected(list);
        return favorites.Save(list) ? 0 : 1;
    }

    // open
    std::vector<int> wanted;
    if (!ParseRows(rowText, wanted) || wanted.size() != 1) return Fail("--row needs one row number");
    if (wanted[0] > shown.Count()) return Fail("no row " + rowText);
    qm::FavoriteAction action;
    if (actionName == "view") action = qm::FavoriteAction::View;
    else if (actionName == "open") action = qm::FavoriteAction::Open;
    else if (actionName == "cut") action = qm::FavoriteAction::Cut;
    else if (actionName == "download") action = qm::FavoriteAction::Download;
    else if (actionName == "visit") action = qm::FavoriteAction::Visit;
    else return Fail("unknown action " + actionName);

    const qm::FavoriteTarget t = qm::FavoriteAddress(list, shown.Row(wanted[0] - 1), action);
    std::string address = t.address;
    if (t.viaDetail) {
        // The software search's detail-page client reads the catalogue page first.
        qm::SoftwareSearch software(qm::cli::CliVerticalHost(session, "favorites"));
        QEventLoop loop;
        bool done = false;
        address.clear();
        software.Act().open = [&](const std::string &a) { address = a; };
        software.Act().itemsEnabled = [&](bool enabled) {
            if (!enabled) return;
            done = true;
            loop.quit();
        };
        software.RequestDetail(t.address, t.detail);
        if (!done) loop.exec();
    }
    if (address.empty()) {
        if (!t.viaDetail) std::fprintf(stderr, "quillmar-cli favorites: there is no address to open in this row\n");
        return 1;
    }
    std::printf("%s\n", address.c_str());
    return 0;
}

const qm::cli::CommandRegistration kRegistration("favorites", kUsage, RunFavorites);

}  // namespace
