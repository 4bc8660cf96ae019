#pragma once
// The request object of one news channel for one update: its page, fetched once, goes to the
// parser of the channel's section, which writes into the list of the node the channel feeds.
#include "news/HeadlineParsers.h"
#include "news/NewsChannels.h"
#include "search/PagedRequest.h"

#include <QPointer>

namespace qm {

class DailyNews;

class TCNNEngine : public PagedRequest, public HeadlineSink {
public:
    // A channel without a client (disabled) counts as finished at once.
    TCNNEngine(DailyNews &owner, unsigned updateId, int index, const NewsChannel &channel,
               std::unique_ptr<HttpClientPort> client, EngineStatusModel *status);

    int Index() const { return Slot(); }
    int Node() const { return node_; }
    int Group() const { return group_; }
    int Section() const { return section_; }
    bool Enabled() const { return enabled_; }
    const std::string &Url() const { return url_; }
    const std::string &Name() const { return name_; }
    // Finished: disabled, or has a client and is not busy.
    bool Finished() { return !Client() || !Busy(); }

    // HeadlineSink
    bool KeepReading() override;
    void ClearList() override;
    void AddRow(HeadlineRow row) override;
    bool HasUrl(std::string_view url) const override;
    void Complete() override;

protected:
    bool SearchRuns() const override;
    bool ReadPage(const std::string &page, const std::string &address) override;
    void WentIdle() override;

private:
    HeadlineNodeList *List() const;

    QPointer<DailyNews> owner_;
    unsigned id_;
    std::string url_, name_, home_;
    int group_, node_, section_;
    bool enabled_;
};

}  // namespace qm
