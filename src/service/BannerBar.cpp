#include "service/BannerBar.h"

#include "net/CookieStore.h"

#include <QByteArray>

#include <algorithm>
#include <memory>

#include <chrono>
#include <cstdio>
#include <random>

namespace qm {

namespace {

constexpr const char *kAgent = "Quillmar Agent";
constexpr int kMinBannerSide = 32;
constexpr uint32_t kPeriodAfterClickDefault = 86400;

}  // namespace

std::array<std::string, 10> BannerNumbers(const std::function<uint32_t()> &draw) {
    std::array<std::string, 10> numbers;
    uint64_t modulus = 1;
    for (int k = 1; k <= 10; ++k) {
        modulus *= 10;
        // The modulus of the last one is 10^10 cut to 32 bits.
        const uint64_t m = k == 10 ? uint64_t(1410065408) : modulus;
        char text[16];
        std::snprintf(text, sizeof text, "%0*llu", k, static_cast<unsigned long long>(uint64_t(draw()) % m));
        numbers[size_t(k - 1)] = text;
    }
    return numbers;
}

std::string CutBannerCookie(const std::string &setCookie) {
    std::string copy = setCookie;
    for (const char *attribute : {"expires=", "domain="}) {
        size_t at = TMisc::FindNoCasePos(copy, attribute);
        if (at != std::string::npos) copy.resize(at == 0 ? 0 : at - 1);
    }
    return copy;
}

BannerBar::BannerBar(std::string dataRoot, Random random)
    : cookieStore_(CookieFileIn(dataRoot)), random_(std::move(random)) {
    if (!random_) {
        auto engine = std::make_shared<std::mt19937>(
            uint32_t(std::chrono::system_clock::now().time_since_epoch().count()));
        random_ = [engine] { return uint32_t((*engine)() & 0x7fffffffu); };
    }
    client_.Agent = kAgent;
    QObject::connect(&client_, &THttpCli::OnDocData, [this](THttpCli *, const char *data, qsizetype n) {
        slots_[0].data.append(data, size_t(n));
    });
    QObject::connect(&client_, &THttpCli::OnCookie,
                     [this](THttpCli *, const std::string &text, bool &accept) {
                         Cookie(text);
                         // The slot's own cookies travel with the next hop, not the client's jar.
                         accept = false;
                     });
    QObject::connect(&client_, &THttpCli::OnLocationChange, [this](THttpCli *c) {
        hopUrl_ = c->ResponseLocation();
        c->Cookie = slots_[0].cookies;
    });
    QObject::connect(&client_, &THttpCli::OnRequestDone,
                     [this](THttpCli *c, HttpRequest, int error) {
                         if (c->Busy()) return;  // the end of a request a newer one replaced
                         Done(error);
                     });
}

BannerBar::~BannerBar() = default;

void BannerBar::Configure(const RemoteConfig &config) {
    slotCount_ = std::clamp(config.slotCount, 0, kMaxBannerSlots);
    for (size_t i = 0; i < slots_.size(); ++i) {
        Slot &s = slots_[i];
        s = Slot{};
        if (const BannerSlotConfig *line = BannerSlotOf(config, int(i) + 1)) {
            s.config = *line;
            s.period = s.config.period;
        }
        s.config.referrer = config.indexPage;
    }
    if (!config.bannerHint.empty()) {
        hint_ = config.bannerHint;
        if (hintChanged) hintChanged();
    }
}

void BannerBar::ShowFrontPicture(const std::string &path) {
    if (!TMisc::FileExists(path)) return;
    QImage picture;
    if (!picture.load(QString::fromStdString(path), "GIF")) return;  // not a picture: ignored
    slots_[0].ticks = 0;
    Show(picture);
    clickable_ = false;  // the front picture opens nothing
}

void BannerBar::Step() {
    if (closing_ || slotCount_ == 0) return;
    Slot &s = slots_[0];
    if (!s.config.enabled) return;
    if (++s.ticks < s.period) return;
    s.ticks = 0;

    const std::array<std::string, 10> numbers = BannerNumbers(random_);
    std::string url = s.config.banner;
    for (int k = 1; k <= 10; ++k) {
        const std::string placeholder = "<pif" + std::to_string(k) + ">";
        if (TMisc::FindNoCasePos(url, placeholder) == std::string::npos) continue;
        url = TMisc::ReplaceFirst(url, placeholder, numbers[size_t(k - 1)]);
        s.number = numbers[size_t(k - 1)];
        s.placeholder = placeholder;
    }
    if (url.empty()) return;

    if (client_.Busy()) client_.Abort();
    s.cookies.clear();
    s.data.clear();
    client_.URL = url;
    client_.Reference = s.config.referrer;
    client_.Cookie.clear();
    if (configureClient) configureClient(client_);
    ApplyHttpLimits(client_, limits_);
    hopUrl_ = url;
    if (client_.GetASync() && requested) requested(url);
}

void BannerBar::Cookie(const std::string &text) {
    Slot &s = slots_[0];
    const std::string copy = CutBannerCookie(text);
    s.cookies += copy;
    if (copy.empty() || copy.back() != ';') s.cookies += ';';
    s.cookies += ' ';
    // The whole text goes to the program's cookie store (shared with the other users of
    // its file).
    cookieStore_.Store(hopUrl_, text);
}

void BannerBar::Done(int error) {
    Slot &s = slots_[0];
    const int status = client_.ResponseStatus();
    if ((status == 200 || status == 0) && !closing_) {
        if (error != HttpOk) {
            s.data.clear();
        } else {
            s.ticks = 0;
            supportShown_ = true;
            if (showSupport) showSupport();
            QImage picture;
            const QByteArray bytes = QByteArray::fromRawData(s.data.data(), qsizetype(s.data.size()));
            if (picture.loadFromData(bytes, "GIF")) {
                if (picture.width() >= kMinBannerSide && picture.height() >= kMinBannerSide) {
                    Show(picture);
                    s.invalid = false;
                    clickable_ = true;
                } else {
                    s.invalid = true;
                }
            }
        }
    }
    if (requestFinished) requestFinished();
}

void BannerBar::Show(const QImage &picture) {
    picture_ = picture;
    if (showPicture) showPicture(picture_);
}

void BannerBar::Click() {
    Slot &s = slots_[0];
    if (slotCount_ == 0 || s.invalid || !clickable_ || s.config.click.find(':') == std::string::npos) return;
    const std::string url =
        s.placeholder.empty() ? s.config.click : TMisc::ReplaceFirst(s.config.click, s.placeholder, s.number);
    auto refuse = [this](const char *text) {
        if (alert) alert(text);
    };
    if (url.find('<') != std::string::npos) return refuse(kWrongBannerFormat);
    const size_t bnum = TMisc::FindNoCasePos(url, "bnum");
    if (bnum != std::string::npos) {
        const size_t eq = url.find('=', bnum + 4);
        if (eq != std::string::npos && Trim(std::string_view(url).substr(eq + 1)).size() != 8)
            return refuse(kWrongBannerId);
    }
    // Only a web address goes to the browser: the configuration comes from the network.
    if (!IsWebAddress(url)) return refuse(kWrongBannerFormat);

    if (openBrowser) openBrowser(url);
    hidden_ = true;
    if (hideBar) hideBar();
    // Compared as signed numbers: a negative period after a click leaves the period alone.
    if (s.config.clickPeriod == 0)
        s.period = kPeriodAfterClickDefault;
    else if (int64_t(s.config.clickPeriod) >= int64_t(s.period))
        s.period = uint32_t(s.config.clickPeriod);
}

void BannerBar::Abort() {
    if (client_.Busy()) client_.Abort();
}

}  // namespace qm
