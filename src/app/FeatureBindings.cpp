#include "app/FeatureBindings.h"

#include "app/BannerBinding.h"
#include "app/Browser.h"
#include "app/CataloguePage.h"
#include "app/ConversionBinding.h"
#include "app/DailyNewsBinding.h"
#include "app/FavoritesPage.h"
#include "app/MainWindow.h"
#include "app/RoadPage.h"
#include "app/ServiceBinding.h"
#include "app/SplashWindow.h"
#include "app/SmartBinding.h"
#include "app/NetToolsBinding.h"
#include "app/VerticalPages.h"
#include "app/OptionsBinding.h"
#include "app/WebSearchBinding.h"
#include "fakeweb/Server.h"
#include "net/NetConfig.h"
#include "settings/DataRoot.h"

#include <QGuiApplication>
#include <QScreen>

#include <memory>

namespace qm {

namespace {

std::unique_ptr<fakeweb::Server> &DemoServer() {
    static std::unique_ptr<fakeweb::Server> server;
    return server;
}

}  // namespace

void BindFeatures(TMain &window) {
    ShellHooks &h = window.Hooks();
    TMain *w = &window;

    // Query histories (toolkit): loaded at show, saved at close, deleted by the cache modes.
    h.loadHistoriesAndFavorites = [w] {
        LoadHistoriesAtStart(w->Folders(), w->QueryHistories());
        w->HistoryToWebBox();
    };
    h.saveHistories = [w] {
        w->WebBoxToHistory();
        SaveHistoriesAtEnd(w->Folders(), w->QueryHistories());
        w->HistoryToWebBox();
    };
    h.purgeHistoriesAndCaches = [w] {
        const Options &o = w->OptionsModel().get();
        DeleteSessionFiles(w->Folders(), o.web.cacheMode, o.news.cacheMode);
    };

    // Options file (settings): written when the run ends, with the window's placement.
    h.saveOptions = [w] {
        Options o = w->OptionsModel().get();
        QRect g = w->normalGeometry().isValid() ? w->normalGeometry() : w->geometry();
        o.window = {g.x(), g.y(), g.width(), g.height()};
        w->OptionsModel().set(o);
        SaveOptions(o, DataRoot(w->Model().dirs.ProgramDir).optionsFile());
    };

    // The options window and the language passes (first: later language steps read the
    // message table they fill).
    BindOptionsWindow(window);

    // The web search: page, result list, controller, list tools; pressWebSearch, endWebSearch.
    BindWebSearch(window);

    // Units and currencies: both pages, the converter, its options and captions.
    BindConversionTools(window);
    // The road planner: its page; it chains its planner choice into applyLanguage.
    BindRoadPlanner(window);
    // The network kit and the domain name search ("DNS" and "WHO" tabs).
    BindNetTools(window);
    // The smart finder: categories, leaf search and caches; fills showSmartCategories.
    BindSmartFinder(window);
    // Newsgroup articles and software (NEWS and PRG pages); endNewsSearch.
    BindVerticalSearches(window);
    // The favorites page: the four lists, loaded at show and saved at close, and every
    // "Add selection to my favorites"; fills saveFavorites and addSmartFavorites.
    BindFavorites(window);
    // The software catalogue: fills fillCatalogueCategories and endCatalogueUpdate.
    BindCatalogue(window);

    // The daily news: its tab, its controller, the news tree at show, its end at close.
    BindDailyNews(window);
    // The splash window: showSplash, and its captions after each key pass.
    BindSplash(window);

    // The banner bar: its model, picture, label and click; fills bannerStep and abortBanner.
    BindBannerBar(window);
    // The home site's configuration (after the bar: it chains its abort into abortBanner):
    // startConfigDownload, configApplied, the notice and title.
    BindServiceLink(window);
}

void CreateSplashWindow(TMain &window) {
    if (!window.findChild<TMainGFX *>("TMainGFX", Qt::FindDirectChildrenOnly)) CreateSplashDialog(window);
}

void CreateOptionsWindow(TMain &window) {
    DataRoot root(window.Model().dirs.ProgramDir);
    Options opt = window.OptionsModel().get();
    if (LoadOptions(opt, root.optionsFile(), root.languageDir())) {
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect s = screen->availableGeometry();
            if (auto g = FitWindowGeometry(opt.window, s.width(), s.height()))
                window.setGeometry(g->x, g->y, g->width, g->height);
        }
    }
    window.OptionsModel().set(opt);
    window.ApplyOptions(opt);
    if (!window.findChild<TMainOPT *>("TMainOPT", Qt::FindDirectChildrenOnly)) CreateOptionsDialog(window);
    RunHook(window.Hooks().applyLanguage, opt.language);
}

bool StartDemoWeb(std::string &error) {
    auto &server = DemoServer();
    server = std::make_unique<fakeweb::Server>();
    if (!server->start(0)) {
        error = "the fake web cannot listen on the loopback interface";
        server.reset();
        return false;
    }
    RouteServiceHostsTo(server->port(), "127.0.0.1", /*everyHost=*/true);
    // The desktop's browser is not routed: it sees the fake sites through the browser view.
    BrowserAddressMapSlot() = [port = server->port()](const std::string &a) { return fakeweb::BrowserViewAddress(a, port); };
    return true;
}

void StopDemoWeb() {
    if (auto &server = DemoServer()) {
        BrowserAddressMapSlot() = nullptr;
        RouteServiceHostsTo(0);
        server->stop();
        server.reset();
    }
}

}  // namespace qm
