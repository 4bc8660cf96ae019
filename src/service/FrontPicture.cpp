#include "service/FrontPicture.h"

#include "toolkit/AtomicFile.h"

#include <cstdio>

namespace qm {

namespace {
constexpr uint32_t kKeepAbove = 1999;  // bytes; a smaller file is taken as a failed download
}

namespace {

std::string FrontPicturePath(const std::string &dataRoot, const RemoteConfig &config) {
    if (config.frontGif.empty()) return {};
    std::string path = dataRoot;
    if (!TMisc::EndsWithBackslash(path)) path += '/';
    return path + config.frontGif;
}

}  // namespace

std::string KeptFrontPicture(const std::string &dataRoot, const RemoteConfig &config) {
    std::string path = FrontPicturePath(dataRoot, config);
    return !path.empty() && TMisc::FileExists(path) && TMisc::FileSize(path) > kKeepAbove ? path : std::string();
}

FrontPicturePlan PlanFrontPicture(const std::string &dataRoot, const RemoteConfig &config) {
    FrontPicturePlan plan;
    plan.path = FrontPicturePath(dataRoot, config);
    if (plan.path.empty()) return plan;
    if (!KeptFrontPicture(dataRoot, config).empty()) {
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
