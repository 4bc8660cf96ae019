#include "app/BannerBinding.h"

#include "app/MainWindow.h"
#include "app/Pages.h"
#include "net/Proxy.h"
#include "service/BannerBar.h"
#include "settings/MessageTable.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

#include <memory>

namespace qm {

namespace {

constexpr const char *kName = "BannerBinding";

class BannerBinding : public QObject {
public:
    explicit BannerBinding(TMain &w) : QObject(&w), w_(w), bar_(w.Model().dirs.ProgramDir) {
        setObjectName(kName);
        QLabel *picture = w.BannerImage();
        picture->setAlignment(Qt::AlignCenter);
        picture->installEventFilter(this);

        bar_.configureClient = [this](THttpCli &c) { ApplyProxySettings(c, w_.OptionsModel().get().proxy); };
        bar_.showPicture = [picture](const QImage &image) { picture->setPixmap(QPixmap::fromImage(image)); };
        bar_.showSupport = [this] { ShowSupport(); };
        bar_.hintChanged = [this, picture] { picture->setToolTip(Shown(bar_.Hint())); };
        bar_.alert = [this](const std::string &text) { w_.ShowAlert(text, AlertKind::Error); };
        bar_.openBrowser = [this](const std::string &url) { w_.OpenInBrowser(url); };
        bar_.hideBar = [this] { w_.Banner()->hide(); };

        ShellHooks &h = w.Hooks();
        h.bannerStep = [this] { bar_.Step(); };
        h.abortBanner = [this] {
            bar_.SetClosing();
            bar_.Abort();
        };
        // A language chosen later keeps the label the bar shows.
        h.applyLanguage = [this, previous = h.applyLanguage](const std::string &language) {
            RunHook(previous, language);
            if (bar_.SupportShown()) ShowSupport();
        };
    }

    BannerBar &Bar() { return bar_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            bar_.Click();
        return QObject::eventFilter(watched, event);
    }

private:
    void ShowSupport() { w_.Slogan()->setText(Shown(w_.Model().messages.Text(Msg::Support))); }

    TMain &w_;
    BannerBar bar_;
};

}  // namespace

void BindBannerBar(TMain &window) {
    if (!BannerBarOf(window)) new BannerBinding(window);
}

BannerBar *BannerBarOf(TMain &window) {
    auto *b = dynamic_cast<BannerBinding *>(window.findChild<QObject *>(kName, Qt::FindDirectChildrenOnly));
    return b ? &b->Bar() : nullptr;
}

}  // namespace qm
