#pragma once
// The daily news's built-in tables: the 42 channels (news pages) and the five section trees
// (one per language group) they feed.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr int kNewsChannelCount = 42;
inline constexpr int kNewsGroupCount = 5;
inline constexpr int kNewsNodeLists = 15;

// Language groups.
enum NewsGroup : int { kEnglish = 0, kFrench = 1, kGerman = 2, kSpanish = 3, kDutch = 4 };

struct NewsChannel {
    int section = 0;       // 0 to 44: selects the parser and the tree node
    bool enabled = true;   // only enabled channels are fetched by an update
    std::string name;      // display name, "Source" of its headlines, base of cache-file names
    std::string pageUrl;   // the page fetched
    std::string homeUrl;   // opened from the source label
    std::string source;    // shown after "brought to you by"
    int group = kEnglish;
};

// The table, hosts taken from the service-host table as it stands now.
std::vector<NewsChannel> BuildNewsChannelTable();

// One child of a section tree: its caption and the sections that feed it, lead first.
struct NewsNode {
    const char *caption;
    std::vector<int> sections;
};

struct NewsTree {
    const char *root;
    std::vector<NewsNode> children;  // child node n is children[n - 1]
};

const NewsTree &SectionTree(int group);
// The child node (1-based) a section feeds in `group`'s tree; 0 when none.
int NodeOfSection(int group, int section);
// The group whose tree holds the section (-1 for an unused section).
int GroupOfSection(int section);
// The first table row with that section (-1 when none).
int LeadChannelOf(const std::vector<NewsChannel> &channels, int section);

// Nodes that wait for several channels: the index of their completion counter (0 to 3) and
// the number of channels that complete them. -1 / 0 for every other node.
int CompletionCounterOf(int group, int node);
int CompletionTotal(int counter);

// "english" ... "dutch" (case ignored) or "0" to "4"; -1 otherwise.
int ParseNewsGroup(std::string_view text);
const char *NewsGroupName(int group);  // "english" ...
// The language names of language files that choose a group ("English" ... "Dutch"); -1 else.
int NewsGroupOfLanguage(std::string_view language);

// The scheme and host of an address ("http://host"), the page root of a channel.
std::string PageRoot(std::string_view url);

}  // namespace qm
