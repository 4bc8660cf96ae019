#include "service/ConfigDownload.h"

#include "service/RemoteConfig.h"
#include "toolkit/AtomicFile.h"

#include <utility>

namespace qm {

namespace {
constexpr size_t kMinLines = 11;  // a file of 10 lines or fewer is never applied
}

ConfigDownload::ConfigDownload(std::string localCopy, FetchFn fetch, ApplyFn apply)
    : localCopy_(std::move(localCopy)), fetch_(std::move(fetch)), apply_(std::move(apply)) {}

void ConfigDownload::Start() {
    if (phase_ != Phase::NotStarted) return;
    phase_ = Phase::Downloading;
    Request();
}

void ConfigDownload::Request() {
    ++requests_;
    fetch_([this](ConfigFetchResult result) { Done(result); });
}

StringList ConfigDownload::BodyLines(const std::string &body) {
    StringList lines;
    TMisc::SplitTextLines(body, lines);
    lines.emplace_back();
    return lines;
}

bool ConfigDownload::Acceptable(const ConfigFetchResult &result, const StringList &lines) {
    return result.ok && result.status == 200 && result.complete && lines.size() >= kMinLines &&
           HoldsSettingKey(lines);
}

void ConfigDownload::Done(const ConfigFetchResult &result) {
    if (phase_ != Phase::Downloading && phase_ != Phase::Retrying) return;
    StringList lines = BodyLines(result.body);
    if (Acceptable(result, lines)) {
        std::string bytes;
        // Lines joined by CR LF: the last (empty) line makes the file end with CR LF, and
        // reading the file back gives the same lines.
        for (size_t i = 0; i < lines.size(); ++i) bytes += (i ? "\r\n" : "") + lines[i];
        size_t slash = localCopy_.rfind('/');
        if (slash != std::string::npos) TMisc::CreatePath(localCopy_.substr(0, slash));
        // A copy that cannot be written still leaves this run's configuration in force.
        WriteFileAtomic(localCopy_, bytes);
        phase_ = Phase::Applied;
        source_ = Source::Remote;
        apply_(lines);
        return;
    }
    if (phase_ == Phase::Downloading) {
        phase_ = Phase::Retrying;
        Request();
        return;
    }
    UseLocalCopy();
}

void ConfigDownload::UseLocalCopy() {
    StringList lines;
    // A short local copy is kept as it is: it may be all the user has.
    if (!TMisc::LoadTextLines(localCopy_, lines) || lines.size() < kMinLines) {
        phase_ = Phase::Nothing;
        return;
    }
    phase_ = Phase::FellBack;
    source_ = Source::Local;
    apply_(lines);
}

}  // namespace qm
