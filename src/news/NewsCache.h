#pragma once
// The node cache files of the daily news: "Cache/DailyNews/<YYYYMMDD>_<lead name>.DailyNews",
// a node's headline list one text per line (CR LF), four lines per row. Only today's file of
// a node is ever read.
#include "news/HeadlineParsers.h"

#include <string>

namespace qm {

inline constexpr const char *kDailyNewsCacheFolder = "DailyNews";

struct NewsDay {
    int year = 0, month = 0, day = 0;
};

// The file of the node led by the channel named `leadName` on `day`.
std::string NewsCacheFile(const std::string &folder, const std::string &leadName, NewsDay day);

// Replaces the file atomically with the list (control bytes in any text become blanks, so a
// text never spills into the next line). False, and nothing written, for an empty list.
bool WriteNewsCache(const std::string &path, const HeadlineList &list);
// Reads a file back; a last incomplete row is dropped. False when the file is missing.
bool ReadNewsCache(const std::string &path, HeadlineList &list);

}  // namespace qm
