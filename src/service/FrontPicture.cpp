#include "service/FrontPicture.h"

#include "toolkit/AtomicFile.h"

#include <cstdio>

namespace qm {

namespace {
constexpr uint32_t kKeepAbove = 1999;  // bytes; a smaller file is taken as a failed download
}

FrontPicturePlan PlanFrontPicture(const std::string &dataRoot, const RemoteConfig &config) {
    FrontPicturePlan plan;
    if (config.frontGif.empty()) return plan;
    plan.path = dataRoot;
    if (!TMisc::EndsWithBackslash(plan.path)) plan.path += '/';
    plan.path += config.frontGif;
    if (TMisc::FileExists(plan.path) && TMisc::FileSize(plan.path) > kKeepAbove) {
        plan.action = FrontPicturePlan::Action::Show;
        return plan;
    }
    if (TMisc::FileExists(plan.path)) std::remove(plan.path.c_str());
    if (!config.frontUrl.empty()) {
        plan.action = FrontPicturePlan::Action::Download;
        plan.url = config.frontUrl;
    }
    return plan;
}

bool StoreFrontPicture(const std::string &path, const ConfigFetchResult &result) {
    if (!result.ok || result.status != 200 || !result.complete) return false;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && !TMisc::CreatePath(path.substr(0, slash))) return false;
    return WriteFileAtomic(path, result.body);
}

}  // namespace qm
