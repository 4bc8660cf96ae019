#pragma once
// The banner bar under the pages: the model behind the window's advertising picture.
// It counts the housekeeping timer's ticks, requests a banner of slot 1 when its period
// is over, keeps the banner's cookies, decodes the picture and decides what a click on it
// opens. It shows nothing itself: the window (or quillmar-cli) listens to its events.
#include "net/CookieStore.h"
#include "net/HttpCli.h"
#include "service/RemoteConfig.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace qm {

// The two alerts of a click, as the user reads them.
inline constexpr const char *kWrongBannerFormat = "Wrong banner format. You can't access this site. Sorry!!!";
inline constexpr const char *kWrongBannerId = "Wrong banner ID. This site can't be accessed. Sorry!!!";

// The ten random numbers of one banner request: the k-th (k = 1..10) is a draw modulo
// 10^k (1410065408 for k = 10) written with k digits, leading zeros kept.
std::array<std::string, 10> BannerNumbers(const std::function<uint32_t()> &draw);

// The copy of a Set-Cookie text a slot keeps: cut before the character that precedes
// "expires=", then likewise before "domain=" (ignoring case; a match at the very start
// leaves nothing).
std::string CutBannerCookie(const std::string &setCookie);

class BannerBar {
public:
    struct Slot {
        BannerSlotConfig config;
        uint32_t period = 30;      // ticks between two requests
        uint32_t ticks = 0;        // since the last request started or completed
        std::string number;        // put into the banner address last
        std::string placeholder;   // the "<pifN>" that received it
        std::string cookies;       // "a=1; b=2; " received with the current banner
        std::string data;          // body of the current banner answer
        bool invalid = false;      // the last banner picture was under 32 x 32
    };

    // Numbers from 0 to 2^31 - 1.
    using Random = std::function<uint32_t()>;

    // `dataRoot` holds the cookie store; an empty `random` draws from a generator seeded
    // with the time.
    explicit BannerBar(std::string dataRoot, Random random = {});
    ~BannerBar();
    BannerBar(const BannerBar &) = delete;
    BannerBar &operator=(const BannerBar &) = delete;

    // ---- Events ----
    std::function<void(THttpCli &)> configureClient;         // proxy settings, before each request
    std::function<void(const std::string &url)> requested;  // a banner request started
    std::function<void(const QImage &)> showPicture;        // a banner or the front picture
    std::function<void()> showSupport;                      // the label says $LANG_SUPPORT
    std::function<void(const std::string &text)> alert;     // an error box
    std::function<void(const std::string &url)> openBrowser;
    std::function<void()> hideBar;                          // for the rest of the run
    std::function<void()> hintChanged;                      // Configure gave a hint
    std::function<void()> requestFinished;                  // every end of a banner request

    // ---- Operations ----
    void Configure(const RemoteConfig &config);  // slot count, slots, hint, referrer
    void ShowFrontPicture(const std::string &path);
    void Step();   // one tick of the housekeeping timer
    void Click();  // the picture was clicked
    void Abort();  // the banner request, if one runs
    void SetClosing() { closing_ = true; }
    void SetLimits(const HttpLimits &limits) { limits_ = limits; }

    // ---- State ----
    int SlotCount() const { return slotCount_; }
    const Slot &SlotAt(int n) const { return slots_.at(size_t(n - 1)); }  // n from 1
    bool Clickable() const { return clickable_; }
    bool Closing() const { return closing_; }
    bool Hidden() const { return hidden_; }
    bool Busy() const { return client_.Busy(); }
    const std::string &Hint() const { return hint_; }
    const QImage &Picture() const { return picture_; }  // what the bar shows (null: built-in)
    bool SupportShown() const { return supportShown_; }

    // The hint before a configuration gives one.
    static constexpr const char *kDefaultHint = "Welcome to Quillmar - This is the advertising bar";

private:
    void Done(int error);
    void Cookie(const std::string &text);
    void Show(const QImage &picture);

    CookieStore cookieStore_;  // the whole texts, shared with the program's other cookie users
    Random random_;
    std::array<Slot, kMaxBannerSlots> slots_{};
    int slotCount_ = 0;
    bool clickable_ = false;
    bool closing_ = false;
    bool hidden_ = false;
    bool supportShown_ = false;
    std::string hint_ = kDefaultHint;
    QImage picture_;
    HttpLimits limits_{1LL << 20, 20, 60000};
    THttpCli client_;       // HPUB
    std::string hopUrl_;    // the address the answer being read came from
};

}  // namespace qm
