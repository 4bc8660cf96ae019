// The options window and the language passes in the main window: the window is created by
// CreateOptionsWindow, opened through the showOptionsWindow hook, and writes the options
// file when it closes; applyLanguage and applyLanguageBlocks fill the shell's language texts
// and give every window its captions.
#include "app/OptionsBinding.h"

#include "app/MainWindow.h"
#include "app/Pages.h"
#include "app/SideBar.h"
#include "app/WebPage.h"
#include "settings/DataRoot.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace qm {

namespace {

TMainOPT *FindOptionsWindow(TMain &w) { return w.findChild<TMainOPT *>("TMainOPT", Qt::FindDirectChildrenOnly); }

// The main window's own captions from the language texts.
void CaptionMainWindow(TMain &w, const LanguageTexts &t) {
    for (int i = 0; i < kSideBarCount; ++i)
        if (!SideBarEntries()[size_t(i)].IsSeparator()) w.SideBarList()->SetCaption(i, Shown(t.SideBarCaption(i)));
    if (!t.searchBar.name.empty() || t.searchBar.size > 0) {
        QFont f = w.SideBarList()->font();
        if (!t.searchBar.name.empty()) f.setFamily(Shown(t.searchBar.name));
        if (t.searchBar.size > 0) f.setPointSize(t.searchBar.size);
        w.SideBarList()->setFont(f);
    }
    w.SettingsButton()->setText(Shown(t.Text("$BT_MNU_OPT")));
    w.FavoritesButton()->setText(Shown(t.Text("$LVBBOOK")));
    w.HelpButton()->setToolTip(Shown(t.Text("$BT_MNU_HELP")));
    static const std::pair<const char *, const char *> kHelpItems[] = {
        {"POP_HLP_ABOUT", "$BT_HELP_ABOUT"}, {"POP_HLP_HOME", "$BT_HELP_HOME"}, {"POP_HLP_TOPIC", "$BT_HELP_TOPIC"},
        {"POP_HLP_TIPS", "$BT_HELP_TIPS"},   {"POP_HLP_TELL", "$BT_HELP_TELL"}, {"POP_HLP_PRO", "$BT_HELP_PRO"}};
    for (QAction *a : w.HelpMenu()->actions())
        for (const auto &[name, key] : kHelpItems)
            if (a->objectName() == name) a->setText(Shown(t.Text(key)));
    w.Slogan()->setText(Shown(t.messages.Text(Msg::Slogan)));
    if (WebPage *web = w.Web()) {
        if (!w.Model().searching()) web->SearchButton()->setText(Shown(t.Text("$BT_WEB")));
        const char *modes[4] = {"$MNU_MAIN_ALL", "$MNU_MAIN_ANY", "$MNU_MAIN_EXACT", "$MNU_MAIN_BOOL"};
        for (int i = 0; i < 4; ++i) {
            web->ModeAction(i)->setText(Shown(t.Text(modes[i])));
            if (web->ModeAction(i)->isChecked()) web->ModeButton()->setText(web->ModeAction(i)->text());
        }
        const char *filters[3] = {"$MNU_IN_ALL", "$MNU_IN_ANY", "$MNU_IN_EXACT"};
        for (int i = 0; i < 3; ++i) web->FilterModeAction(i)->setText(Shown(t.Text(filters[i])));
    }
}

}  // namespace

void BindOptionsWindow(TMain &window) {
    ShellHooks &h = window.Hooks();
    TMain *w = &window;
    const std::string languageDir = DataRoot(w->Model().dirs.ProgramDir).languageDir();

    // The key pass: from the built-in texts, then the file; every window takes its captions.
    h.applyLanguage = [w, languageDir, previous = h.applyLanguage](const std::string &language) {
        LanguageTexts &t = w->Model().language;
        if (ApplyLanguage(t, languageDir, language)) {
            w->Model().messages = t.messages;
            CaptionMainWindow(*w, t);
            if (TMainOPT *opt = FindOptionsWindow(*w)) opt->ApplyTexts(t);
        }
        RunHook(previous, language);
    };
    // The block pass: alerts (a missing block empties its alert) and help lists.
    h.applyLanguageBlocks = [w, languageDir, previous = h.applyLanguageBlocks](const std::string &language) {
        LanguageTexts &t = w->Model().language;
        if (ApplyLanguageBlocks(t, languageDir, language)) {
            w->Model().messages = t.messages;
            for (int p = 0; p < kHelpPanelCount; ++p) {
                const auto panel = static_cast<HelpPanel>(p);
                for (int i = 0; i < kHelpListCount; ++i)
                    if (std::string_view(HelpListKeys()[size_t(i)]) == HelpListKey(panel))
                        w->Model().autoHelp.SetList(panel, t.help[size_t(i)]);
            }
            w->Model().autoHelp.RefreshAll();
        }
        RunHook(previous, language);
    };
    h.showOptionsWindow = [w](int page) {
        TMainOPT *opt = FindOptionsWindow(*w);
        if (!opt) return;
        opt->Open(page == int(OptionsPage::Misc)     ? OptionsOpener::Ping
                  : page == int(OptionsPage::Browse) ? OptionsOpener::Browser
                                                     : OptionsOpener::Button);
    };
}

TMainOPT *CreateOptionsDialog(TMain &window) {
    TMain *w = &window;
    OptionsWindowHost host;
    host.folders = w->Folders();
    host.languageFolder = DataRoot(w->Model().dirs.ProgramDir).languageDir();
    host.history = [w](HistoryId id) -> HistoryBox & {
        if (id == HistoryId::Web) w->WebBoxToHistory();
        return w->QueryHistories().Box(id);
    };
    host.historyChanged = [w](HistoryId id) {
        if (id == HistoryId::Web) w->HistoryToWebBox();
    };
    host.confirm = [w] { return w->AskConfirm(); };
    host.chooseLanguage = [w](const std::string &name) {
        RunHook(w->Hooks().applyLanguage, name);
        RunHook(w->Hooks().applyLanguageBlocks, name);
    };
    host.previewColors = [w](QColor b, QColor e, QColor t) { w->SideBarList()->SetColors(b, e, t); };
    host.closed = [w] { RunHook(w->Hooks().saveOptions); };
    auto *dialog = new TMainOPT(w->OptionsModel(), w->Model().messages, std::move(host), w);
    dialog->ApplyTexts(w->Model().language);
    return dialog;
}

}  // namespace qm
