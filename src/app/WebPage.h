#pragma once
// The web search page: query box with history, search button, search-mode button and
// menu, result list, in-list filter bar, hint memo and the help panel. The web-search
// controller binds to these widgets through the accessors.
#include "app/Pages.h"

#include <array>

class QActionGroup;
class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QToolButton;
class QTreeView;

namespace qm {

class WebPage : public FeaturePage {
    Q_OBJECT
public:
    explicit WebPage(const MessageTable &messages, QWidget *parent = nullptr);

    // Result-list columns, in order.
    enum Column { ColNumber, ColSite, ColLocation, ColSource, ColDescription, ColUrl, ColumnCount };

    QComboBox *QueryBox() const { return queryBox_; }          // CB_WEB
    QPushButton *SearchButton() const { return searchButton_; }  // BT_WEB
    QToolButton *ModeButton() const { return modeButton_; }      // opens the search-mode menu
    QPushButton *TemplateButton() const { return templateButton_; }  // BT_WEBG: template engines
    QMenu *ModeMenu() const { return modeMenu_; }
    // "All Keywords", "Any word", "Exact phrase", "Boolean search" (SearchMode 0..3).
    QAction *ModeAction(int mode) const { return modeActions_.at(static_cast<size_t>(mode)); }
    QTreeView *ResultList() const { return resultList_; }       // LV_WEB
    QStandardItemModel *DefaultModel() const { return defaultModel_; }
    QWidget *SearchBar() const { return searchBar_; }
    QWidget *FilterBar() const { return filterBar_; }           // PNL_WEBIN
    ClickLabel *FilterModeLabel() const { return filterModeLabel_; }  // LBL_WEBIN_0
    QMenu *FilterModeMenu() const { return filterModeMenu_; }
    // "Search ALL matches in the list", "... ANY ...", "... EXACT ..." (0..2).
    QAction *FilterModeAction(int mode) const { return filterActions_.at(static_cast<size_t>(mode)); }
    QLineEdit *FilterBox() const { return filterBox_; }         // ED_WEBIN
    ClickLabel *FilterCount() const { return filterCount_; }    // LBL_WEBIN_COUNT
    QPlainTextEdit *HintMemo() const { return hintMemo_; }      // MM_WEB
    // The engine status panel under the list: a header line that shows or hides the table
    // of engines (one line per engine: state icon, name, state, sites, pages, time, reason).
    QToolButton *EngineToggle() const { return engineToggle_; }  // PNL_WEBENGINES
    QTreeView *EngineStatusView() const { return engineView_; }  // LV_WEBENGINES
    // Shows or hides the table and turns the header's arrow.
    void SetEngineStatusShown(bool shown);

    // Column widths, alignment and hidden columns of the result list; run again after the
    // list receives another model.
    void ApplyColumnLayout();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A wide list gives its "Location" column a third of the room the text columns share, so
    // addresses are not cut short beside a very wide "Site" column; never below its normal width.
    void FitLocationColumn();

public:

signals:
    // Search button pressed, or Enter in the query box.
    void searchRequested();
    void enterInQueryBox();
    // The template-engine button pressed.
    void templateSearchRequested();
    // The engine status header was clicked: the table is now shown or hidden.
    void engineStatusToggled(bool shown);

private:
    QComboBox *queryBox_;
    QPushButton *searchButton_;
    QToolButton *modeButton_;
    QPushButton *templateButton_;
    QMenu *modeMenu_;
    std::array<QAction *, 4> modeActions_{};
    QTreeView *resultList_;
    QStandardItemModel *defaultModel_;
    QWidget *searchBar_;
    QWidget *filterBar_;
    ClickLabel *filterModeLabel_;
    QMenu *filterModeMenu_;
    std::array<QAction *, 3> filterActions_{};
    QLineEdit *filterBox_;
    ClickLabel *filterCount_;
    QPlainTextEdit *hintMemo_;
    QToolButton *engineToggle_;
    QTreeView *engineView_;
};

}  // namespace qm
