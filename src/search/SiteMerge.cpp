#include "search/SiteMerge.h"

#include <cstdlib>

namespace qm {

namespace {
bool StartsNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
        if (c != prefix[i]) return false;
    }
    return true;
}
// The position of " +N" ending a Source text, or npos.
size_t CountSuffix(std::string_view source) {
    size_t plus = source.rfind(" +");
    if (plus == std::string_view::npos || plus + 2 >= source.size()) return std::string_view::npos;
    for (size_t i = plus + 2; i < source.size(); ++i)
        if (source[i] < '0' || source[i] > '9') return std::string_view::npos;
    return plus;
}
}  // namespace

std::string SiteKey(std::string_view location) {
    std::string_view s = location;
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
    size_t scheme = s.find("://");
    if (scheme != std::string_view::npos && s.find_first_of("/?#") > scheme) s.remove_prefix(scheme + 3);
    size_t hostEnd = s.find_first_of("/?#");
    if (hostEnd == std::string_view::npos) hostEnd = s.size();
    std::string key;
    key.reserve(s.size());
    std::string_view host = s.substr(0, hostEnd);
    if (StartsNoCase(host, "www.")) host.remove_prefix(4);
    for (char c : host) key += (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
    key.append(s.substr(hostEnd));
    while (!key.empty() && key.back() == '/') key.pop_back();
    return key;
}

int SourceEngineCount(std::string_view source) {
    size_t plus = CountSuffix(source);
    if (plus == std::string_view::npos) return 1;
    long extra = std::strtol(std::string(source.substr(plus + 2)).c_str(), nullptr, 10);
    return extra > 0 && extra < 100000 ? int(extra) + 1 : 1;
}

std::string SourceEngineName(std::string_view source) {
    size_t plus = CountSuffix(source);
    return std::string(plus == std::string_view::npos ? source : source.substr(0, plus));
}

bool SiteMerger::MergeInto(const ResultRow &row) {
    if (location_ >= row.subItems.size()) return false;
    const std::string key = SiteKey(row.subItems[location_]);
    if (key.empty()) return false;
    auto it = sites_.find(key);
    if (it == sites_.end()) return false;
    if (!it->second.isValid()) {  // the listed row was deleted meanwhile
        sites_.erase(it);
        return false;
    }
    const int at = it->second.row();
    const std::string &source = list_.Row(at).subItems[source_];
    const int engines = SourceEngineCount(source) + 1;
    list_.SetSubItem(at, source_, SourceEngineName(source) + " +" + std::to_string(engines - 1));
    return true;
}

void SiteMerger::Rebuild() {
    sites_.clear();
    for (int i = 0; i < list_.Count(); ++i) Listed(i);
}

void SiteMerger::Listed(int index) {
    if (index < 0 || index >= list_.Count()) return;
    const ResultRow &row = list_.Row(index);
    if (location_ >= row.subItems.size()) return;
    std::string key = SiteKey(row.subItems[location_]);
    if (!key.empty()) sites_.emplace(std::move(key), QPersistentModelIndex(list_.index(index, 0)));
}

}  // namespace qm
