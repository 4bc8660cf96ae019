// quillmar-cli catalogue: the software catalogue's tree, its sub-category caches and adding
// cached titles to the software favorites, through the pieces the catalogue page uses.
#include "cli/VerticalCli.h"
#include "toolkit/AtomicFile.h"
#include "engines/vertical/Catalogue.h"
#include "engines/vertical/CatalogueBrowser.h"
#include "engines/vertical/Favorites.h"
#include "engines/vertical/VerticalReaders.h"

#include <iterator>

namespace {

constexpr const char *kUsage =
    "tree [--format tsv|json]\n"
    "       catalogue parse [--popular] [--host PREFIX] [--format tsv|json] FILE\n"
    "       catalogue update --category C --sub S [--format tsv|json]\n"
    "       catalogue show --category C --sub S [--sort name|type|size|rated|downloads|date] [--format tsv|json]\n"
    "       catalogue remove --category C --sub S\n"
    "       catalogue favorite --category C --sub S --rows N[,N...]";

const std::vector<const char *> kKeys = {"name", "type", "size", "rated", "downloads", "date", "description", "url"};

int Fail(const std::string &message) {
    std::fprintf(stderr, "quillmar-cli catalogue: %s\nusage: quillmar-cli catalogue %s\n", message.c_str(), kUsage);
    return 2;
}

std::string Rows(const std::vector<qm::ResultRow> &rows, bool json) {
    std::string out = json ? "{\"rows\": [" : "";
    bool first = true;
    for (const auto &r : rows) {
        if (qm::IsCatalogueNotice(r)) continue;
        if (json) out += first ? "\n  {" : ",\n  {";
        for (size_t i = 0; i < kKeys.size(); ++i) {
            const std::string v = i < r.subItems.size() ? r.subItems[i] : std::string();
            out += json ? std::string(i ? ", " : "") + "\"" + kKeys[i] + "\": " + qm::cli::JsonString(v)
                        : (i ? "\t" : "") + qm::cli::TsvField(v);
        }
        out += json ? "}" : "\n";
        first = false;
    }
    if (json) out += first ? "]}\n" : "\n ]}\n";
    return out;
}

int RunCatalogue(const qm::cli::GlobalOptions &g, std::vector<std::string> args) {
    if (args.empty()) return Fail("a subcommand is needed");
    const std::string sub = args[0];
    args.erase(args.begin());
    if (sub != "tree" && sub != "show" && sub != "remove" && sub != "favorite" && sub != "parse" &&
        sub != "update")
        return Fail("unknown subcommand " + sub);
    std::string format = "json", category, subcategory, sort, rowsText, host;
    bool popular = false;
    std::vector<std::string> words;
    const std::string error = qm::cli::SplitArguments(
        args, {"--format", "--category", "--sub", "--sort", "--rows", "--host"}, {"--popular"},
        [&](const std::string &a, const std::string &v) -> std::string {
            if (a == "--popular") popular = true;
            if (a == "--host") host = v;
            if (a == "--format") format = v;
            if (a == "--category") category = v;
            if (a == "--sub") subcategory = v;
            if (a == "--sort") sort = v;
            if (a == "--rows") rowsText = v;
            return "";
        },
        words);
    if (!error.empty()) return Fail(error);
    if (format != "tsv" && format != "json") return Fail("unknown format " + format);
    if (sub == "parse") {
        if (words.size() != 1) return Fail(words.empty() ? "a file is needed" : "more than one file");
        std::string page;
        if (!qm::ReadWholeFile(words[0], page)) return Fail("cannot read " + words[0]);
        const qm::VerticalParsed parsed =
            qm::ParseCataloguePage(popular, host.empty() ? qm::CatalogueHost() : host, page);
        std::string out = Rows(parsed.rows, format == "json");
        if (format == "json") {
            out.resize(out.size() - 2);  // the closing "}\n"
            out += ",\n \"pages\": [";
            for (size_t i = 0; i < parsed.pages.size(); ++i)
                out += (i ? ",\n  " : "\n  ") + qm::cli::JsonString(parsed.pages[i]);
            out += parsed.pages.empty() ? "]}\n" : "\n ]}\n";
        } else {
            for (const auto &p : parsed.pages) out += qm::cli::TsvField(p) + "\n";
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }
    if (!words.empty()) return Fail("unexpected " + words[0]);

    qm::cli::WebCliSession session;
    if (!session.Open(g, "catalogue")) return 1;
    const std::string root = session.Root();
    const bool json = format == "json";

    if (sub == "tree") {
        std::string out = json ? "[" : "";
        bool firstCat = true;
        for (const auto &c : qm::CatalogueCategories()) {
            if (json) out += std::string(firstCat ? "\n" : ",\n") + " {\"category\": " + qm::cli::JsonString(c) +
                             ", \"subcategories\": [";
            bool first = true;
            for (int i : qm::CatalogueSubcategories(c)) {
                const auto &e = qm::CatalogueTable()[size_t(i)];
                const bool cached = qm::IsCatalogueCached(root, c, e.subcategory);
                if (json)
                    out += std::string(first ? "\n" : ",\n") + "  {\"name\": " + qm::cli::JsonString(e.subcategory) +
                           ", \"url\": " + qm::cli::JsonString(qm::CatalogueAddress(e)) +
                           ", \"cached\": " + (cached ? "true" : "false") + "}";
                else
                    out += qm::cli::TsvField(c) + "\t" + qm::cli::TsvField(e.subcategory) + "\t" +
                           qm::cli::TsvField(qm::CatalogueAddress(e)) + "\t" + (cached ? "true" : "false") + "\n";
                first = false;
            }
            if (json) out += "]}";
            firstCat = false;
        }
        if (json) out += "\n]\n";
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }

    if (qm::FindCatalogueEntry(category, subcategory) < 0)
        return Fail("unknown category or sub-category: " + category + " / " + subcategory);

    if (sub == "update") {
        qm::CatalogueBrowser browser(qm::cli::CliVerticalHost(session, "catalogue"));
        browser.Update(category, subcategory);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto &rows = browser.List().Rows();
        const auto &report = browser.Controller().Report();
        const std::string status = report.empty() ? std::string() : report[0].status;
        std::string out = Rows(rows, json);
        if (json) {
            out.resize(out.size() - 2);
            out += ",\n \"pages\": " + std::to_string(browser.PagesFetched()) +
                   ", \"status\": " + qm::cli::JsonString(status) + "}\n";
        }
        std::fwrite(out.data(), 1, out.size(), stdout);
        if (rows.size() == 1 && qm::IsCatalogueNotice(rows[0]))
            std::fprintf(stderr, "%s\n", qm::cli::Shown(rows[0].subItems[0]).c_str());
        return 0;
    }

    if (sub == "remove") {
        if (!qm::RemoveCatalogueCache(root, category, subcategory)) return 0;  // nothing cached
        std::fprintf(stderr, "Subcategory removed from cache\n");
        return 0;
    }

    std::vector<qm::ResultRow> rows;
    const bool loaded = qm::LoadCatalogueCache(root, category, subcategory, rows);

    if (sub == "show") {
        static const std::vector<std::string> columns = {"name", "type", "size", "rated", "downloads", "date"};
        size_t column = columns.size();
        if (!sort.empty()) {
            column = size_t(std::find(columns.begin(), columns.end(), sort) - columns.begin());
            if (column == columns.size()) return Fail("unknown sort column " + sort);
        }
        if (!loaded) {
            std::fprintf(stderr, "quillmar-cli catalogue: no cached list for %s / %s\n", category.c_str(),
                         subcategory.c_str());
            return 1;
        }
        if (column < columns.size()) {
            // As a column click: numeric columns largest first, the others as text; then the
            // cache holds the new order.
            qm::ResultListModel list({}, 0, 0);
            list.ResetRows(std::move(rows));
            if (column == qm::kCatRated || column == qm::kCatDownloads) {
                list.SortByColumn(int(column) + 1, qm::ResultListModel::SortMode::Numeric);
                list.ReverseItems();
                list.RenumberItems();
            } else {
                list.SortByColumn(int(column) + 1, qm::ResultListModel::SortMode::Text);
            }
            rows = list.Rows();
            if (!qm::WriteCatalogueCache(root, category, subcategory, rows)) return 1;
        }
        const std::string out = Rows(rows, json);
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0;
    }

    // favorite
    if (!loaded) return Fail("no cached list for " + category + " / " + subcategory);
    std::vector<qm::ResultRow> chosen;
    size_t start = 0;
    while (start <= rowsText.size()) {
        const size_t comma = rowsText.find(',', start);
        const std::string part = rowsText.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const long n = part.find_first_not_of("0123456789") == std::string::npos && !part.empty() && part.size() < 9
                           ? std::stol(part) : 0;
        if (n < 1 || size_t(n) > rows.size()) return Fail("no row " + part);
        chosen.push_back(qm::CatalogueToFavorite(rows[size_t(n - 1)]));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    qm::Favorites::Host fav;
    const std::string cache = qm::DataRoot(root).cacheDir();
    fav.cacheFolder = [cache] { return cache; };
    fav.alert = [](const std::string &m) { std::fprintf(stderr, "quillmar-cli catalogue: %s\n", m.c_str()); };
    qm::Favorites favorites(fav);
    favorites.Load();
    if (favorites.Locked(qm::FavoritesList::Software)) return 1;
    favorites.AddRows(qm::FavoritesList::Software, chosen);
    return favorites.Save(qm::FavoritesList::Software) ? 0 : 1;
}

const qm::cli::CommandRegistration kRegistration("catalogue", kUsage, RunCatalogue);

}  // namespace
