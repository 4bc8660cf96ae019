#include "news/DailyNews.h"

#include "news/CNNEngine.h"
#include "search/EngineRegistry.h"
#include "toolkit/Misc.h"

#include <QDate>
#include <QPointer>

namespace qm {

DailyNews::DailyNews(DailyNewsEnvironment env, QObject *parent)
    : QObject(parent), env_(std::move(env)), channels_(BuildNewsChannelTable()), run_([this] { return AllIdle(); }) {
    upOneCaption_ = Text("Update a section");
    upAllCaption_ = Text("Update all");
    images_.assign(Tree().children.size() + 1, NodeImage::None);
}

DailyNews::~DailyNews() {
    run_.Shutdown();
    DisposeEngines();
}

std::string DailyNews::Text(const char *english) const { return env_.message ? env_.message(english) : english; }

NewsDay DailyNews::Today() const {
    if (env_.today) return env_.today();
    const QDate d = QDate::currentDate();
    return {d.year(), d.month(), d.day()};
}

NodeImage DailyNews::Image(int node) const {
    return node > 0 && node < int(images_.size()) ? images_[size_t(node)] : NodeImage::None;
}

int DailyNews::LeadOf(int node) const {
    if (node <= 0 || node > ChildCount()) return -1;
    return LeadChannelOf(channels_, Tree().children[size_t(node - 1)].sections.front());
}

std::string DailyNews::CacheFileOf(int node) const {
    const int lead = LeadOf(node);
    if (lead < 0 || !env_.cacheFolder) return {};
    return NewsCacheFile(env_.cacheFolder(), channels_[size_t(lead)].name, Today());
}

void DailyNews::SetImage(int node, NodeImage image) {
    if (node <= 0 || node >= int(images_.size())) return;
    images_[size_t(node)] = image;
    emit nodeImageChanged(node);
}

// ---- Groups and the tree --------------------------------------------------------------------

void DailyNews::SelectNewsGroup(int group) {
    if (group < 0 || group >= kNewsGroupCount) return;
    group_ = group;
    BuildSectionTree();
}

void DailyNews::BuildSectionTree() {
    if (Updating()) return;
    treeGroup_ = group_;
    images_.assign(Tree().children.size() + 1, NodeImage::None);
    selected_ = 0;
    remembered_ = 0;
    upOneEnabled_ = false;
    shown_.clear();
    const NewsDay d = Today();
    dateBar_ = "   " + TMisc::FormatDate(treeGroup_ == kFrench ? 3 : 2, d.year, d.month, d.day);
    emit treeRebuilt();
    emit headlinesChanged();
    emit buttonsChanged();
    RefreshSectionIcons();
}

void DailyNews::RefreshSectionIcons() {
    for (int node = 1; node <= ChildCount(); ++node)
        SetImage(node, TMisc::FileExists(CacheFileOf(node)) ? NodeImage::Cached : NodeImage::None);
}

bool DailyNews::ShowSection(int node) {
    const int lead = LeadOf(node);
    if (lead < 0) return false;
    const NewsChannel &c = channels_[size_t(lead)];
    sourceLabel_ = Text("News brought to you by") + " : " + c.source;
    homePage_ = c.homeUrl;
    emit sourceChanged();
    const std::string file = CacheFileOf(node);
    if (!TMisc::FileExists(file)) return false;
    // A node that is being fetched shows nothing of its file: its list is being filled.
    if (Image(node) == NodeImage::Fetching) return false;
    HeadlineList rows;
    if (!ReadNewsCache(file, rows) || rows.empty()) return false;
    lists_[size_t(node - 1)].Assign(rows);
    shown_ = std::move(rows);
    emit headlinesChanged();
    return true;
}

bool DailyNews::SaveSectionFile(const HeadlineList &list, const std::string &leadName) {
    if (list.empty() || !env_.cacheFolder) return false;
    return WriteNewsCache(NewsCacheFile(env_.cacheFolder(), leadName, Today()), list);
}

void DailyNews::Complete(int group, int node) {
    if (node <= 0 || node > kNewsNodeLists) return;
    const int counter = CompletionCounterOf(group, node);
    if (counter >= 0 && ++counters_[size_t(counter)] < CompletionTotal(counter)) return;
    if (group == treeGroup_) SetImage(node, NodeImage::Cached);
    const NewsTree &tree = SectionTree(group);
    if (node > int(tree.children.size())) return;
    const int lead = LeadChannelOf(channels_, tree.children[size_t(node - 1)].sections.front());
    SaveSectionFile(lists_[size_t(node - 1)].Rows(), channels_[size_t(lead)].name);
}

// ---- Updates --------------------------------------------------------------------------------

bool DailyNews::AllIdle() const {
    for (TCNNEngine *e : engines_)
        if (e && !e->Finished()) return false;
    return true;
}

void DailyNews::DisposeEngines() { engines_.DisposeAll(); }

void DailyNews::UpdateNews(const std::string &mode) {
    counters_ = {};
    DisposeEngines();
    const unsigned id = run_.NextId();
    std::vector<std::pair<std::string, bool>> rows;
    for (int i = 0; i < kNewsChannelCount; ++i) {
        const NewsChannel &c = channels_[size_t(i)];
        std::unique_ptr<HttpClientPort> client;
        if (c.enabled) {
            client = env_.makeClient ? env_.makeClient() : nullptr;
            if (!client) {
                DisposeEngines();
                if (env_.alert) env_.alert(Text("Unable to start due to memory allocation problems"));
                return;
            }
        }
        auto *e = new TCNNEngine(*this, id, i, c, std::move(client), &status_);
        engines_.Put(i, e);
        EngineRegistry::Instance().Set(SearchKind::DailyNews, i, e);
        if (e->Node() && treeGroup_ == e->Group()) SetImage(e->Node(), NodeImage::Fetching);
        rows.emplace_back(c.name, c.enabled && c.group == group_);
    }
    shown_.clear();
    emit headlinesChanged();
    mode_ = mode;
    const bool one = SameTextNoCase(mode, "UPONE");
    if (one) {
        upOneCaption_ = Text("Stop");
        upAllEnabled_ = false;
    } else {
        upAllCaption_ = Text("Stop");
        upOneEnabled_ = false;
    }
    emit buttonsChanged();
    status_.Reset(rows);
    run_.Prepare(0, 0, true);
    run_.Go();
    emit updatingChanged(true);
    started_.clear();
    for (int i = 0; i < kNewsChannelCount; ++i) {
        TCNNEngine *e = engines_.At(i);
        if (!e || e->Group() != group_ || !e->Enabled() || !e->Client() || e->Busy()) continue;
        started_.push_back(i);
        e->QueueFirstPage(e->Url());
        e->MarkStarted();
        e->StartFirstPage();
    }
    QPointer<DailyNews> self(this);
    const bool over = run_.Wait(id, this);
    if (!self) return;
    if (over) FinishNewsUpdate(mode);
}

void DailyNews::FinishNewsUpdate(const std::string &mode) {
    if (!run_.Finish()) return;
    status_.SetEnd(run_.EndReason());
    if (SameTextNoCase(mode, "UPONE"))
        upOneCaption_ = Text("Update a section");
    else
        upAllCaption_ = Text("Update all");
    upAllEnabled_ = true;
    outcomes_.clear();
    for (int i : started_) {
        TCNNEngine *e = engines_.At(i);
        if (!e) continue;
        const EngineStatus &s = status_.At(i);
        outcomes_.push_back({i, e->LastStatus(), e->LastError(), s.bytes, s.ms, s.reason});
    }
    DisposeEngines();
    for (NewsChannel &c : channels_) c.enabled = true;
    run_.Ended();
    emit buttonsChanged();
    emit updatingChanged(false);
    if (run_.Closing()) return;
    ClickNode(remembered_ ? remembered_ : selected_, true);
}

void DailyNews::PressUpdateOne() {
    if (Updating()) {
        FinishNewsUpdate("UPONE");
        return;
    }
    remembered_ = selected_;
    if (selected_ <= 0 || selected_ > ChildCount()) return;
    const std::vector<int> &feeding = Tree().children[size_t(selected_ - 1)].sections;
    for (NewsChannel &c : channels_)
        c.enabled = std::find(feeding.begin(), feeding.end(), c.section) != feeding.end();
    for (HeadlineNodeList &l : lists_) l.Clear();
    QPointer<DailyNews> self(this);
    UpdateNews("UPONE");
    if (!self || run_.Closing()) return;
    shown_.clear();
    emit headlinesChanged();
    ClickNode(remembered_, true);
}

void DailyNews::PressUpdateAll() {
    if (Updating()) {
        FinishNewsUpdate("UPALL");
        return;
    }
    for (HeadlineNodeList &l : lists_) l.Clear();
    for (NewsChannel &c : channels_) c.enabled = true;
    BuildSectionTree();
    QPointer<DailyNews> self(this);
    UpdateNews("UPALL");
    if (!self || run_.Closing()) return;
    shown_.clear();
    emit headlinesChanged();
    ClickNode(remembered_ ? remembered_ : selected_, true);
}

void DailyNews::Close() {
    run_.Close();
    if (Updating() || run_.Running()) FinishNewsUpdate(mode_);
    run_.QuitWait();
}

// ---- Tree click and headline list -----------------------------------------------------------

void DailyNews::ClickNode(int node, bool fromCode) {
    if (node < 0 || node > ChildCount()) node = 0;
    selected_ = node;
    emit selectionChanged(node);
    if (!Updating() || fromCode) {
        upOneEnabled_ = node > 0;
        emit buttonsChanged();
    }
    ShowSection(node);
}

bool DailyNews::FavoriteEnabled(const std::vector<int> &rows) const {
    for (int r : rows)
        if (r >= 0 && r < int(shown_.size()) && !shown_[size_t(r)].url.empty()) return true;
    return false;
}

bool DailyNews::MenuEnabled(const std::vector<int> &rows) const {
    for (int r : rows)
        if (r >= 0 && r < int(shown_.size())) {
            const std::string &t = shown_[size_t(r)].title;
            if (!t.empty() && TMisc::FindNoCasePos(t, "-------") == std::string::npos) return true;
        }
    return false;
}

int DailyNews::AddToFavorites(const std::vector<int> &rows) {
    if (!env_.addFavorite) return 0;
    const NewsDay d = Today();
    int added = 0;
    for (int r : rows) {
        if (r < 0 || r >= int(shown_.size())) continue;
        const HeadlineRow &h = shown_[size_t(r)];
        if (h.url.empty()) continue;
        if (env_.addFavorite({h.title, h.tag, h.channel, TMisc::FormatDate(4, d.year, d.month, d.day), h.url})) ++added;
    }
    return added;
}

void DailyNews::RefreshCaptions() {
    const bool one = Updating() && SameTextNoCase(mode_, "UPONE"), all = Updating() && !one;
    upOneCaption_ = Text(one ? "Stop" : "Update a section");
    upAllCaption_ = Text(all ? "Stop" : "Update all");
    emit buttonsChanged();
    if (selected_ > 0) {
        const int lead = LeadOf(selected_);
        sourceLabel_ = Text("News brought to you by") + " : " + channels_[size_t(lead)].source;
        emit sourceChanged();
    }
}

}  // namespace qm
