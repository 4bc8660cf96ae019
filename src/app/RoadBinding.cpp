// The road planner in the main window: its page, its client's proxy set-up, its activity
// flag, its messages and the planner the language chooses.
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "app/RoadPage.h"
#include "net/Proxy.h"

#include <QApplication>
#include <QVBoxLayout>

namespace qm {

void BindRoadPlanner(TMain &window) {
    FeaturePage *page = window.Page(PageId::Road);
    if (!page) return;
    TMain *w = &window;
    auto *planner = new RoadPlanner(page);
    planner->configureClient = [w](THttpCli &c) { ApplyProxySettings(c, w->OptionsModel().get().proxy); };
    planner->pump = [] { QApplication::processEvents(); };
    planner->closing = [w] { return w->Model().closing != 0; };
    QObject::connect(planner, &RoadPlanner::busyChanged, page,
                     [w](bool busy) { w->Model().Flag(Activity::RoadPlanner) = busy ? 1 : 0; });

    RoadPageHost host;
    host.alert = [w](const std::string &text, AlertKind kind) { w->ShowAlert(text, kind); };
    host.openInBrowser = [w](const std::string &address) { w->OpenInBrowser(address); };
    host.fileSavedText = [w] { return w->Model().messages.Text(Msg::FileSaved); };
    page->BodyLayout()->addWidget(new RoadPage(*planner, page->HelpPanel(), std::move(host), page->Body()));

    // The language loader's first step: "French" chooses the European planner, any other
    // language the US one.
    ShellHooks &h = window.Hooks();
    h.applyLanguage = [before = h.applyLanguage, planner](const std::string &language) {
        RunHook(before, language);
        planner->SelectPlanner(RoadPlannerForLanguage(language));
    };
}

}  // namespace qm
