#include "app/ServiceBinding.h"

#include "app/BannerBinding.h"
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "service/BannerBar.h"
#include "service/ServiceLink.h"
#include "toolkit/DisplayText.h"

#include <QApplication>
#include <QLabel>

namespace qm {

namespace {

std::string Shown(const std::string &bytes) { return DisplayText(bytes).toStdString(); }

}  // namespace

ServiceLink *ServiceLinkOf(TMain &window) {
    return window.findChild<ServiceLink *>("ServiceLink", Qt::FindDirectChildrenOnly);
}

void BindServiceLink(TMain &window) {
    TMain *w = &window;
    auto *link = new ServiceLink({}, w);
    link->setObjectName("ServiceLink");
    ShellHooks &h = window.Hooks();

    h.startConfigDownload = [w, link] {
        // The options of the moment; the address stays (empty: the home site's).
        ServiceLinkSettings s = ServiceLinkSettingsFrom(w->OptionsModel().get(), w->Model().dirs.ProgramDir);
        s.address = link->Settings().address;
        link->Settings() = s;
        link->Start();
    };
    h.configApplied = [link] { return link->Applied(); };
    h.abortBanner = [link, previous = h.abortBanner] {
        RunHook(previous);
        link->Abort();
    };

    // "Name v1.22 ": the model's title, the window caption and the status text.
    BannerBar *bar = BannerBarOf(window);  // bound before
    link->configured = [w, bar](const RemoteConfig &config) {
        if (bar) bar->Configure(config);
        w->Model().title = config.title;
        const QString title = DisplayText(config.title);
        QApplication::setApplicationDisplayName(title);
        w->setWindowTitle(title);
        w->StatusText()->setText(title);
    };
    link->showFrontPicture = [bar](const std::string &path) {
        if (bar) bar->ShowFrontPicture(path);
    };
    link->notice = [w](const ConfigNotice &n) {
        if (w->Model().closing) return;
        if (n.kind == ConfigNotice::Kind::Info) {
            ShowAlert(w, Shown(n.text), AlertKind::Information, Shown(n.caption));
        } else if (AskConfirm(w, Shown(n.text), Shown(n.caption)) && IsWebAddress(n.url)) {
            w->OpenInBrowser(n.url);
        }
    };
    // The first step of the banner bar (its hook).
    link->bannerStep = [w] { RunHook(w->Hooks().bannerStep); };
}

}  // namespace qm
