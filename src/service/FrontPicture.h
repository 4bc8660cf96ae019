#pragma once
// The front banner picture named by the configuration: whether to show the file already in
// the data root or to download it, and storing a download only when it arrived whole.
#include "service/ConfigDownload.h"
#include "service/RemoteConfig.h"

#include <string>

namespace qm {

struct FrontPicturePlan {
    enum class Action { None, Show, Download };
    Action action = Action::None;
    std::string path;  // absolute, under the data root
    std::string url;   // for Download
};

// The front picture already in the data root (a file of more than 1999 bytes: a smaller one
// is taken as a failed download): its absolute path, or "" when there is none.
std::string KeptFrontPicture(const std::string &dataRoot, const RemoteConfig &config);

// A file of more than 1999 bytes is shown as it is. Otherwise a smaller leftover is
// deleted and the picture is to be downloaded (when there is an address). Nothing when the
// configuration names no picture.
FrontPicturePlan PlanFrontPicture(const std::string &dataRoot, const RemoteConfig &config);

// Replaces the file with the answer's body when the answer is complete with status 200;
// otherwise the file stays as it was. True when the file was written.
bool StoreFrontPicture(const std::string &path, const ConfigFetchResult &result);

}  // namespace qm
