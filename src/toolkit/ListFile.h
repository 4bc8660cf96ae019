#pragma once
// List files: favorites and result caches stored as records of text lines.
//
// A record is a fixed number of lines, each ended by CR LF: the row's texts (the
// columns after the first) in column order, then the row's image index in decimal
// (-1 for none). No header, no separators. The row number of the first column is not
// stored; it is rebuilt on loading (left empty for daily-news rows).
//
// Callers decide when a list is written: the web and newsgroup result lists only when
// "backup results on disk" is set for them ($WEB_UseDiskCache, $NEWS_UseDiskCache);
// favorites and the other lists always. The web list is not loaded while its
// addresses are being verified.
#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum class RecordKind {
    Web,        // Site, Location, Source, Description, URL
    Newsgroup,  // Title, Newsgroups, Source, Description, Address
    Software,   // Name, Type, Size, Comments, Source, Description, URL, HomePage
    DailyNews,  // Information, (untitled), Source, Date, URL
    Catalogue,  // Name, Type, Size, Rated, #Downloads, Date, Description, URL; no image line
};

// Number of texts of a record (5 or 8); the record has one line more (the image),
// except a catalogue record.
int RecordTexts(RecordKind kind);

// Favorites file of a kind, in the cache folder: "Favorites_WEB.INI",
// "Favorites_NEWS.INI", "Favorites_PRG.INI", "Favorites_DAILY.INI".
const char *FavoritesFileName(RecordKind kind);

struct ListRecord {
    std::vector<std::string> texts;
    int image = -1;
};

// A file name made from a query or an address, made safe to use in its folder: the
// first "://" becomes "..."; each / " : * ? \ < > | and NUL byte becomes "."; a name
// that would be empty, "." or ".." becomes "_", "_." or "_..". Fixed names such as
// "Favorites_WEB.INI" are unchanged.
std::string NormaliseListFileName(std::string_view name);
// folder + "/" + the normalised name.
std::string ListFilePath(std::string_view folder, std::string_view name);

// Records of the bytes of a list file. An incomplete last record and a last line
// without a line break are dropped. CR bytes are ignored.
std::vector<ListRecord> ParseListFile(std::string_view bytes, RecordKind kind);
// Bytes of a list file. Records without exactly the kind's number of texts are
// skipped; line breaks inside a text are written as blanks.
std::string FormatListFile(const std::vector<ListRecord> &records, RecordKind kind);

// Load and save by folder and name (the name is normalised). Load returns false,
// leaving `records` untouched, when the file is missing or unreadable. Save replaces
// the file atomically, readable by its owner only (0600: result lists and favorites
// tell what the user searched), and returns false when it cannot be written.
bool LoadListFile(std::string_view folder, std::string_view name, RecordKind kind,
                  std::vector<ListRecord> &records);
bool SaveListFile(std::string_view folder, std::string_view name, RecordKind kind,
                  const std::vector<ListRecord> &records);

// The same for list models whose rows have `caption`, `image` and `subItems` (such as
// qm::ResultRow). Loaded rows are numbered 1..n in their caption (daily news: empty).
template <class Row>
bool LoadListRows(std::string_view folder, std::string_view name, RecordKind kind,
                  std::vector<Row> &rows) {
    std::vector<ListRecord> records;
    if (!LoadListFile(folder, name, kind, records)) return false;
    rows.clear();
    rows.reserve(records.size());
    for (auto &r : records) {
        Row row;
        if (kind != RecordKind::DailyNews) row.caption = std::to_string(rows.size() + 1);
        row.image = r.image;
        row.subItems = std::move(r.texts);
        rows.push_back(std::move(row));
    }
    return true;
}

template <class Row>
bool SaveListRows(std::string_view folder, std::string_view name, RecordKind kind,
                  const std::vector<Row> &rows) {
    std::vector<ListRecord> records;
    records.reserve(rows.size());
    for (const auto &row : rows) records.push_back({row.subItems, row.image});
    return SaveListFile(folder, name, kind, records);
}

// The favorites list of a kind, in the cache folder.
template <class Row>
bool LoadFavorites(std::string_view cacheFolder, RecordKind kind, std::vector<Row> &rows) {
    return LoadListRows(cacheFolder, FavoritesFileName(kind), kind, rows);
}
template <class Row>
bool SaveFavorites(std::string_view cacheFolder, RecordKind kind, const std::vector<Row> &rows) {
    return SaveListRows(cacheFolder, FavoritesFileName(kind), kind, rows);
}

}  // namespace qm
