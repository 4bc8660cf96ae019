#include "toolkit/ListFile.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"

#include <climits>

namespace qm {

int RecordTexts(RecordKind kind) {
    return kind == RecordKind::Software || kind == RecordKind::Catalogue ? 8 : 5;
}

const char *FavoritesFileName(RecordKind kind) {
    switch (kind) {
    case RecordKind::Web: return "Favorites_WEB.INI";
    case RecordKind::Newsgroup: return "Favorites_NEWS.INI";
    case RecordKind::Software: return "Favorites_PRG.INI";
    case RecordKind::DailyNews: return "Favorites_DAILY.INI";
    case RecordKind::Catalogue: return "";
    }
    return "";
}

std::string NormaliseListFileName(std::string_view name) {
    std::string out(name);
    size_t scheme = out.find("://");
    if (scheme != std::string::npos) out.replace(scheme, 3, "...");
    for (char &c : out) {
        switch (c) {
        case '/': case '"': case ':': case '*': case '?': case '\\': case '<': case '>': case '|':
        case '\0':
            c = '.';
            break;
        default: break;
        }
    }
    if (out.empty() || out == "." || out == "..") out.insert(0, "_");
    return out;
}

std::string ListFilePath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (path.empty() || path.back() != '/') path += '/';
    path += NormaliseListFileName(name);
    return path;
}

std::vector<ListRecord> ParseListFile(std::string_view bytes, RecordKind kind) {
    const size_t texts = static_cast<size_t>(RecordTexts(kind));
    std::vector<ListRecord> records;
    ListRecord current;
    size_t pos = 0;
    std::string line;
    // Lines are read whole: a long text cut in two would shift every later record.
    while (TMisc::ReadLine(bytes, pos, line, SIZE_MAX)) {
        if (current.texts.size() < texts) {
            current.texts.push_back(line);
            if (current.texts.size() < texts || kind != RecordKind::Catalogue) continue;
            records.push_back(std::move(current));  // no image line
            current = ListRecord{};
            continue;
        }
        long long image = Atol(line);
        current.image = image < INT_MIN ? INT_MIN : image > INT_MAX ? INT_MAX : static_cast<int>(image);
        records.push_back(std::move(current));
        current = ListRecord{};
    }
    return records;
}

std::string FormatListFile(const std::vector<ListRecord> &records, RecordKind kind) {
    const size_t texts = static_cast<size_t>(RecordTexts(kind));
    std::string out;
    for (const auto &r : records) {
        if (r.texts.size() != texts) continue;
        for (const auto &t : r.texts) {
            size_t at = out.size();
            out += t;
            for (size_t i = at; i < out.size(); ++i)
                if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
            out += "\r\n";
        }
        if (kind == RecordKind::Catalogue) continue;
        out += std::to_string(r.image);
        out += "\r\n";
    }
    return out;
}

bool LoadListFile(std::string_view folder, std::string_view name, RecordKind kind,
                  std::vector<ListRecord> &records) {
    const std::string path = ListFilePath(folder, name);
    if (!TMisc::FileExists(path)) return false;
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return false;
    records = ParseListFile(bytes, kind);
    return true;
}

bool SaveListFile(std::string_view folder, std::string_view name, RecordKind kind,
                  const std::vector<ListRecord> &records) {
    return WriteFileAtomic(ListFilePath(folder, name), FormatListFile(records, kind), /*ownerOnly=*/true);
}

}  // namespace qm
