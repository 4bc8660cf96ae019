#pragma once
// The run's download of the remote configuration: one GET, one retry after a failure,
// then the local copy. The transfer itself is injected, so the rules run without a
// network; the program passes a function that starts a request on its HTTP client.
#include "toolkit/Misc.h"

#include <functional>
#include <string>

namespace qm {

// What a finished request reports.
struct ConfigFetchResult {
    bool ok = false;        // ended without a transfer error
    int status = 0;         // HTTP status, 0 when none
    bool complete = false;  // as many body bytes as announced (or no length announced)
    std::string body;
};

class ConfigDownload {
public:
    // Starts a request; `done` must be called exactly once, now or later.
    using FetchFn = std::function<void(std::function<void(ConfigFetchResult)> done)>;
    // Receives the lines to apply (at most once per run).
    using ApplyFn = std::function<void(const StringList &lines)>;

    enum class Phase { NotStarted, Downloading, Retrying, Applied, FellBack, Nothing };
    enum class Source { None, Remote, Local };

    // `localCopy` is the path of "Options/qm_config.ini" in the data root.
    ConfigDownload(std::string localCopy, FetchFn fetch, ApplyFn apply);

    // StartConfigDownload: the first call starts the GET, later calls do nothing.
    void Start();

    Phase phase() const { return phase_; }
    Source source() const { return source_; }
    int requests() const { return requests_; }

    // The lines an answer body gives (its lines and one empty line after them), and
    // whether they may replace the local copy: a complete status-200 answer of more than
    // 10 lines that sets at least one key.
    static StringList BodyLines(const std::string &body);
    static bool Acceptable(const ConfigFetchResult &result, const StringList &lines);

private:
    void Request();
    void Done(const ConfigFetchResult &result);  // ConfigDownloadDone
    void UseLocalCopy();

    std::string localCopy_;
    FetchFn fetch_;
    ApplyFn apply_;
    Phase phase_ = Phase::NotStarted;
    Source source_ = Source::None;
    int requests_ = 0;
};

}  // namespace qm
