#include "news/NewsCache.h"

#include "toolkit/AtomicFile.h"
#include "toolkit/Misc.h"

namespace qm {

std::string NewsCacheFile(const std::string &folder, const std::string &leadName, NewsDay day) {
    return folder + "/" + TMisc::FormatDate(1, day.year, day.month, day.day) + "_" + leadName + ".DailyNews";
}

bool WriteNewsCache(const std::string &path, const HeadlineList &list) {
    if (list.empty()) return false;
    std::string bytes;
    for (const HeadlineRow &r : list)
        for (const std::string *text : {&r.title, &r.url, &r.channel, &r.tag}) {
            bytes += WithoutControlBytes(*text);
            bytes += "\r\n";
        }
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) TMisc::CreatePath(path.substr(0, slash));
    return WriteFileAtomic(path, bytes);
}

bool ReadNewsCache(const std::string &path, HeadlineList &list) {
    StringList lines;
    if (!TMisc::LoadTextLines(path, lines)) return false;
    list.clear();
    for (size_t i = 0; i + 4 <= lines.size(); i += 4)
        list.push_back({lines[i], lines[i + 1], lines[i + 2], lines[i + 3]});
    return true;
}

}  // namespace qm
