#include "search/SearchSteps.h"

#include "search/ExpandQuery.h"
#include "search/SiteMerge.h"

#include <climits>
#include <cstdlib>

namespace qm {

std::string SearchText(const SearchHooks &hooks, const char *english) {
    return hooks.message ? hooks.message(english) : std::string(english);
}

std::string NothingFoundText(const SearchHooks &hooks, const std::string &query) {
    return SearchText(hooks, "Nothing found for") + " < " + query + " >...";
}

long CStyleNumber(const std::string &text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
    const std::string t = text.substr(b, e - b);
    return std::strtol(t.c_str(), nullptr, 10);
}

void CannotStartAlert(const SearchHooks &hooks) {
    if (hooks.alert) hooks.alert(SearchText(hooks, "Unable to start due to memory allocation problems"));
}

void ReadySearchRun(const SearchHooks &hooks, const SearchRun &run, ResultListModel *list) {
    if (!run.Muted() && hooks.playSound) hooks.playSound("/Sounds/Start.wav");
    if (list) list->Clear();
}

bool BeginSearchRun(const SearchHooks &hooks, SearchRun &run, const std::string &typed, const RunOptions &o) {
    // No limit: the total can never reach the maximum.
    run.Prepare(o.noLimit ? LONG_MAX : o.maximum, o.noLimit ? 0 : o.resultMode, o.mute);
    run.SetQuery(PrepareQuery(typed));
    if (run.Query().empty()) {
        if (hooks.alert) hooks.alert(SearchText(hooks, "You have not typed a search string yet\n\nSearch not started"));
        return false;
    }
    if (o.pushHistory && hooks.pushHistory) hooks.pushHistory(typed);
    return true;
}

void EndSearchRun(const SearchHooks &hooks, SearchRun &run, ResultListModel *list, EngineStatusModel *status) {
    run.Ended();
    const bool failed = status && status->Taking() > 0 && status->Answered() == 0;
    if (hooks.saveCache && !failed) hooks.saveCache(run.Query());
    if (!run.Muted() && !run.Closing() && hooks.playSound) hooks.playSound("/Sounds/Stop.wav");
    if (list && list->Count() == 0) {
        ResultRow row;
        row.image = -1;
        row.subItems.assign(size_t(std::max(1, list->columnCount() - 1)), std::string());
        row.subItems[0] = NothingFoundText(hooks, run.Query());
        list->AppendRowAsIs(std::move(row));
    }
}

bool AddListedResult(PagedRequest &engine, SearchRun &run, ResultListModel &list, SiteMerger *merger, ResultRow row) {
    row.image = -1;
    // A reader tests the identity before it has read the whole record, and it pumps events
    // while it reads on: another engine may have listed the same row meanwhile.
    const int probe = list.columnCount() - 1;
    if (int(row.subItems.size()) < probe) row.subItems.resize(size_t(probe));
    if (list.IsDuplicateUrl(list.IdentityOf(row))) {
        engine.CountDuplicate();
        return true;
    }
    if (merger && merger->MergeInto(row)) {
        engine.CountMerged();
        return true;
    }
    list.AppendRow(std::move(row));
    if (merger) merger->Listed(list.Count() - 1);
    engine.CountAdded();
    return run.CountResult(engine.Count(), engine.StoppedFlag());
}

}  // namespace qm
