#pragma once
// The NEWS and PRG pages: the layout every vertical search page shares (mode button, query
// box with history, search button, result list, filter bar with hint memo, popup) and the
// newsgroup row of the NEWS page. BindVerticalSearches puts them into their feature pages
// and binds them to NewsSearch and SoftwareSearch (engines/vertical/VerticalFeatures.h).
#include <QWidget>

class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class QTreeView;
class QActionGroup;

namespace qm {

class ClickLabel;
class TMain;

class VerticalPage : public QWidget {
    Q_OBJECT
public:
    // `newsRow` adds the "+"/"-" button and the newsgroup row (collapsed at start).
    VerticalPage(bool newsRow, QWidget *parent = nullptr);

    QToolButton *ModeButton() const { return mode_; }
    QMenu *ModeMenu() const { return modeMenu_; }
    QActionGroup *ModeGroup() const { return modeGroup_; }
    QComboBox *QueryBox() const { return query_; }
    QPushButton *SearchButton() const { return search_; }
    QTreeView *ResultList() const { return list_; }
    QMenu *Popup() const { return popup_; }
    QWidget *FilterBar() const { return filterBar_; }
    QPlainTextEdit *HintMemo() const { return hint_; }
    QLineEdit *FilterBox() const { return filter_; }
    ClickLabel *FilterModeLabel() const { return filterMode_; }
    ClickLabel *CountLabel() const { return count_; }
    QMenu *FilterMenu() const { return filterMenu_; }
    // Newsgroup row (NEWS page only; null on the PRG page).
    QToolButton *GroupButton() const { return groupButton_; }
    QComboBox *GroupBox() const { return group_; }
    QComboBox *LanguageBox() const { return lang_; }
    bool GroupRowOpen() const;
    void ToggleGroupRow();

private:
    QToolButton *mode_ = nullptr, *groupButton_ = nullptr;
    QMenu *modeMenu_ = nullptr, *popup_ = nullptr, *filterMenu_ = nullptr;
    QActionGroup *modeGroup_ = nullptr;
    QComboBox *query_ = nullptr, *group_ = nullptr, *lang_ = nullptr;
    QPushButton *search_ = nullptr;
    QTreeView *list_ = nullptr;
    QWidget *filterBar_ = nullptr, *groupRow_ = nullptr;
    QPlainTextEdit *hint_ = nullptr;
    QLineEdit *filter_ = nullptr;
    ClickLabel *filterMode_ = nullptr, *count_ = nullptr;
};

// Fills the NEWS and PRG pages and the endNewsSearch hook (the software search ends with
// the window's close too).
void BindVerticalSearches(TMain &window);

}  // namespace qm
