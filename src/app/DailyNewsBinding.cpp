#include "app/DailyNewsBinding.h"

#include "app/DailyNewsPage.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "engines/web/HttpClientAdapter.h"
#include "news/DailyNews.h"
#include "settings/DataRoot.h"
#include "toolkit/DisplayText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>

namespace qm {

namespace {

std::vector<int> SelectedRows(QTreeWidget *list) {
    std::vector<int> rows;
    for (QTreeWidgetItem *item : list->selectedItems()) rows.push_back(list->indexOfTopLevelItem(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

// The URL of the first selected row that has one.
std::string SelectedUrl(const DailyNews &news, QTreeWidget *list) {
    for (int r : SelectedRows(list))
        if (r >= 0 && r < int(news.Shown().size()) && !news.Shown()[size_t(r)].url.empty())
            return news.Shown()[size_t(r)].url;
    return {};
}

}  // namespace

void BindDailyNews(TMain &window) {
    TMain *w = &window;
    FeaturePage *page = window.Page(PageId::DailyNews);
    auto *panel = new DailyNewsPanel(page->Body());
    page->BodyLayout()->addWidget(panel, 1);
    page->SetFocusTarget(panel->Tree());

    DailyNewsEnvironment env;
    env.makeClient = MakeHttpClientFactory([w] { return ProxyFrom(w->OptionsModel().get()); },
                                           [w] { return LimitsFrom(w->OptionsModel().get()); });
    env.cacheFolder = [w] { return DataRoot(w->Model().dirs.ProgramDir).cacheFolder(kDailyNewsCacheFolder); };
    env.alert = [w](const std::string &text) { w->ShowAlert(text, AlertKind::Error); };
    env.message = [w](const std::string &english) { return w->Model().messages.TextOf(english); };
    env.closing = [w] { return w->Model().closing != 0; };
    env.addFavorite = [w](const NewsFavorite &f) {
        const auto &hook = w->Hooks().addDailyNewsFavorite;
        return hook && hook(f.title, f.tag, f.channel, f.date, f.url);
    };
    auto *news = new DailyNews(std::move(env), w);
    news->setObjectName("DailyNews");

    QTreeWidget *tree = panel->Tree();
    QTreeWidget *list = panel->Headlines();
    auto filling = std::make_shared<bool>(false);

    auto nodeItem = [tree](int node) -> QTreeWidgetItem * {
        QTreeWidgetItem *root = tree->topLevelItemCount() ? tree->topLevelItem(0) : nullptr;
        if (!root) return nullptr;
        return node == 0 ? root : node <= root->childCount() ? root->child(node - 1) : nullptr;
    };
    auto nodeOf = [tree](QTreeWidgetItem *item) {
        if (!item || !item->parent()) return 0;
        return item->parent()->indexOfChild(item) + 1;
    };
    auto buttons = [panel, news, list] {
        panel->UpdateOne()->setText(DisplayText(news->UpOneCaption()));
        panel->UpdateAll()->setText(DisplayText(news->UpAllCaption()));
        panel->UpdateOne()->setEnabled(news->UpOneEnabled());
        panel->UpdateAll()->setEnabled(news->UpAllEnabled());
        panel->Favorite()->setEnabled(news->FavoriteEnabled(SelectedRows(list)));
    };

    QObject::connect(news, &DailyNews::treeRebuilt, tree, [tree, news] {
        tree->setUpdatesEnabled(false);
        tree->clear();
        auto *root = new QTreeWidgetItem(tree, {QString::fromUtf8(news->Tree().root)});
        for (int n = 1; n <= news->ChildCount(); ++n) {
            auto *child = new QTreeWidgetItem(root, {QString::fromUtf8(news->Tree().children[size_t(n - 1)].caption)});
            child->setData(0, Qt::UserRole, news->Tree().children[size_t(n - 1)].sections.front());
        }
        tree->expandAll();
        tree->setUpdatesEnabled(true);
    });
    QObject::connect(news, &DailyNews::treeRebuilt, panel->DateBar(), [panel, news] {
        panel->DateBar()->setText(DisplayText(news->DateBar()));
    });
    QObject::connect(news, &DailyNews::nodeImageChanged, tree, [news, nodeItem](int node) {
        if (QTreeWidgetItem *item = nodeItem(node)) item->setIcon(0, DailyNewsPanel::StateIcon(int(news->Image(node))));
    });
    QObject::connect(news, &DailyNews::selectionChanged, tree, [tree, nodeItem](int node) {
        const QSignalBlocker quiet(tree);
        QTreeWidgetItem *item = node > 0 ? nodeItem(node) : nullptr;
        if (item)
            tree->setCurrentItem(item);
        else
            tree->clearSelection();
    });
    QObject::connect(news, &DailyNews::headlinesChanged, list, [list, news, filling, buttons] {
        *filling = true;
        {
            const QSignalBlocker quiet(list);
            list->setUpdatesEnabled(false);
            list->clear();
            QList<QTreeWidgetItem *> items;
            for (const HeadlineRow &r : news->Shown()) {
                auto *item = new QTreeWidgetItem({QString(), DisplayText(r.title), DisplayText(r.url),
                                                  DisplayText(r.channel), DisplayText(r.tag)});
                if (!r.url.empty()) item->setIcon(DailyNewsPanel::ColIcon, DailyNewsPanel::HeadlineIcon());
                if (r.url.empty() && !r.title.empty()) {
                    QFont f = item->font(DailyNewsPanel::ColInformation);
                    f.setBold(true);
                    item->setFont(DailyNewsPanel::ColInformation, f);
                }
                items.push_back(item);
            }
            list->addTopLevelItems(items);
            list->setUpdatesEnabled(true);
        }
        *filling = false;
        buttons();
    });
    QObject::connect(news, &DailyNews::buttonsChanged, panel, buttons);
    QObject::connect(news, &DailyNews::sourceChanged, panel, [w, panel, news] {
        panel->Source()->setText(DisplayText(news->SourceLabel()));
        panel->Source()->setToolTip(DisplayText(w->Model().messages.Text(Msg::NewsHint)));
    });
    QObject::connect(news, &DailyNews::updatingChanged, w, [w](bool on) {
        w->Model().Flag(Activity::DailyNewsUpdate) = on ? 1 : 0;
    });

    // Controls.
    for (int g = 0; g < kNewsGroupCount; ++g)
        QObject::connect(panel->GroupButton(g), &QToolButton::clicked, news, [news, g] { news->SelectNewsGroup(g); });
    QObject::connect(tree, &QTreeWidget::itemClicked, news, [news, nodeOf](QTreeWidgetItem *item) { news->ClickNode(nodeOf(item)); });
    QObject::connect(tree, &QTreeWidget::currentItemChanged, news, [news, nodeOf](QTreeWidgetItem *item) {
        if (nodeOf(item) != news->Selected()) news->ClickNode(nodeOf(item));
    });
    QObject::connect(tree, &QTreeWidget::itemDoubleClicked, news, [news, nodeOf](QTreeWidgetItem *item) {
        if (news->Updating()) return;
        news->ClickNode(nodeOf(item));
        news->PressUpdateOne();
    });
    QObject::connect(panel->UpdateOne(), &QPushButton::clicked, news, [news] { news->PressUpdateOne(); });
    QObject::connect(panel->UpdateAll(), &QPushButton::clicked, news, [news] { news->PressUpdateAll(); });
    QObject::connect(list, &QTreeWidget::itemSelectionChanged, panel, [filling, buttons] {
        if (!*filling) buttons();
    });
    auto open = [w, news, list] {
        const std::string url = SelectedUrl(*news, list);
        if (!url.empty()) w->OpenInBrowser(url);
    };
    auto addFavorites = [w, news, list] {
        if (news->AddToFavorites(SelectedRows(list)) > 0) {
            if (w->Hooks().showDailyNewsFavorites)
                w->Hooks().showDailyNewsFavorites();
            else
                w->ShowPage(PageId::Favorites);
        }
    };
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, news, open);
    QObject::connect(panel, &DailyNewsPanel::enterInHeadlines, news, open);
    QObject::connect(panel->ReadAction(), &QAction::triggered, news, open);
    QObject::connect(panel->CutAction(), &QAction::triggered, news, [news, list] {
        const std::string url = SelectedUrl(*news, list);
        if (!url.empty()) QGuiApplication::clipboard()->setText(DisplayText(url));
    });
    QObject::connect(panel->AddAction(), &QAction::triggered, news, addFavorites);
    QObject::connect(panel->Favorite(), &QPushButton::clicked, news, addFavorites);
    QObject::connect(panel->Popup(), &QMenu::aboutToShow, news, [panel, news, list] {
        const bool on = news->MenuEnabled(SelectedRows(list));
        for (QAction *a : {panel->ReadAction(), panel->CutAction(), panel->AddAction()}) a->setEnabled(on);
    });
    QObject::connect(list, &QWidget::customContextMenuRequested, panel, [panel, list](const QPoint &pos) {
        panel->Popup()->popup(list->viewport()->mapToGlobal(pos));
    });
    QObject::connect(panel, &DailyNewsPanel::sourceClicked, news, [w, news] {
        if (!news->HomePage().empty()) w->OpenInBrowser(news->HomePage());
    });

    // Captions in the language of the message table.
    auto captions = [w, panel, news] {
        const auto text = [w](const char *english) { return DisplayText(w->Model().messages.TextOf(english)); };
        panel->Favorite()->setText(text("Add to my favorites"));
        panel->ReadAction()->setText(text("Read this information"));
        panel->CutAction()->setText(text("Cut (Send to clipboard)"));
        panel->AddAction()->setText(text("Add to my favorites"));
        news->RefreshCaptions();
    };
    captions();
    buttons();

    ShellHooks &h = window.Hooks();
    h.buildNewsTree = [news] { news->SelectNewsGroup(news->Group()); };
    h.endDailyNewsUpdate = [news] { news->Close(); };
    h.releaseFeatures = [before = h.releaseFeatures, news] {
        news->Close();
        RunHook(before);
    };
    h.applyLanguage = [before = h.applyLanguage, panel, news, captions](const std::string &language) {
        RunHook(before, language);
        captions();
        const int group = NewsGroupOfLanguage(language);
        if (group >= 0) {
            panel->GroupButton(group)->setChecked(true);
            news->SelectNewsGroup(group);
        }
    };
    news->SelectNewsGroup(kEnglish);
}

}  // namespace qm
