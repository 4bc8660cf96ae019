// The remote configuration on arbitrary bytes: whatever the file says, only web addresses
// and relative ".gif" paths are taken, and at most three banner slots. The same bytes as a
// banner's Set-Cookie text: the slot keeps a leading part of it.
#include "service/BannerBar.h"
#include "service/ConfigDownload.h"
#include "service/RemoteConfig.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string body(reinterpret_cast<const char *>(data), size);
    qm::RemoteConfig c = qm::ApplyConfig(qm::ConfigDownload::BodyLines(body));
    if (c.slotCount < 0 || c.slotCount > qm::kMaxBannerSlots || c.bannerSlots.size() > 3) std::abort();
    for (const std::string *a : {&c.homeSite, &c.indexPage, &c.updateUrl, &c.whoisUrl, &c.whoisSponsor,
                                 &c.frontUrl, &c.gotoServe, &c.gotoClick, &c.findWhatAll, &c.findWhatAny,
                                 &c.findWhatBool, &c.findWhatExact})
        if (!a->empty() && !qm::IsWebAddress(*a)) std::abort();
    for (const qm::BannerSlotConfig &s : c.bannerSlots)
        if ((!s.banner.empty() && !qm::IsWebAddress(s.banner)) || (!s.click.empty() && !qm::IsWebAddress(s.click)))
            std::abort();
    if (!c.frontGif.empty() && (c.frontGif[0] == '/' || qm::SafeFrontGifPath(c.frontGif) != c.frontGif)) std::abort();
    if (c.notice.kind != qm::ConfigNotice::Kind::None && c.notice.text != c.updateMessage) std::abort();
    const std::string cut = qm::CutBannerCookie(body);
    if (cut.size() > body.size() || body.compare(0, cut.size(), cut) != 0) std::abort();
    return 0;
}
