#include "news/CNNEngine.h"

#include "news/DailyNews.h"
#include "toolkit/Misc.h"

#include <QCoreApplication>

namespace qm {

TCNNEngine::TCNNEngine(DailyNews &owner, unsigned updateId, int index, const NewsChannel &channel,
                       std::unique_ptr<HttpClientPort> client, EngineStatusModel *status)
    : PagedRequest(SearchKind::DailyNews, index, std::move(client), status),
      owner_(&owner),
      id_(updateId),
      url_(channel.pageUrl),
      name_(channel.name),
      home_(channel.homeUrl),
      group_(channel.group),
      node_(channel.enabled && channel.group == owner.Group() ? NodeOfSection(channel.group, channel.section) : 0),
      section_(channel.section),
      enabled_(channel.enabled) {}

bool TCNNEngine::SearchRuns() const { return owner_ && owner_->run_.Reads(id_); }

bool TCNNEngine::KeepReading() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return SearchRuns() && !owner_->run_.Closing() && !(owner_->env_.closing && owner_->env_.closing());
}

HeadlineNodeList *TCNNEngine::List() const {
    if (!owner_ || node_ <= 0 || node_ > kNewsNodeLists) return nullptr;
    return &owner_->lists_[size_t(node_ - 1)];
}

void TCNNEngine::ClearList() {
    if (HeadlineNodeList *list = List()) list->Clear();
}

void TCNNEngine::AddRow(HeadlineRow row) {
    HeadlineNodeList *list = List();
    if (!list) return;
    if (!row.url.empty()) CountAdded();
    list->Add(std::move(row));
}

bool TCNNEngine::HasUrl(std::string_view url) const {
    const HeadlineNodeList *list = List();
    if (!list || !list->HasUrl(url)) return false;
    const_cast<TCNNEngine *>(this)->CountDuplicate();
    return true;
}

void TCNNEngine::Complete() {
    if (owner_) owner_->Complete(group_, node_);
}

bool TCNNEngine::ReadPage(const std::string &page, const std::string &) {
    HeadlineInput in;
    in.channel = name_;
    in.pageRoot = PageRoot(url_);
    in.year = owner_ ? owner_->Today().year : 0;
    ParseHeadlines(section_, page, in, *this);
    return true;
}

void TCNNEngine::WentIdle() {
    if (owner_) owner_->run_.EngineWentIdle();
}

}  // namespace qm
