#pragma once
// The smart finder's page: the breadcrumb bar, the category list on the left, and on the
// right the caption bar, the result list, the filter bar with the hint memo, and the search
// button at the bottom. The binding (SmartBinding.cpp) connects them to the display-free
// category model and search controller of src/smart.
#include "app/Pages.h"

#include <array>

class QAction;
class QListView;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QTreeView;

namespace qm {

class SmartPage : public QWidget {
    Q_OBJECT
public:
    explicit SmartPage(QWidget *parent = nullptr);

    enum Column { ColNumber, ColSite, ColLocation, ColCost, ColDescription, ColUrl, ColumnCount };

    ClickLabel *Crumb(int i) const { return crumbs_.at(size_t(i)); }  // LBL_SMR_1..3
    QListView *CategoryList() const { return categories_; }           // LVBSMR
    QLabel *Caption() const { return caption_; }                        // PNL_SMR_TXT
    QTreeView *ResultList() const { return results_; }                  // LV_SMR
    QWidget *FilterBar() const { return filterBar_; }                   // PNL_SMRIN_BAR
    QPlainTextEdit *HintMemo() const { return hint_; }                  // MMSMRHINT
    ClickLabel *FilterModeLabel() const { return filterLabel_; }        // LBL_SMRIN_0
    QMenu *FilterModeMenu() const { return filterMenu_; }               // POP_SMRIN
    QAction *FilterModeAction(int i) const { return filterModes_.at(size_t(i)); }
    QLineEdit *FilterBox() const { return filterBox_; }                 // ED_SMRIN
    ClickLabel *FilterCount() const { return filterCount_; }            // LBL_SMRIN
    QPushButton *SearchButton() const { return button_; }               // BT_SMR
    QMenu *Popup() const { return popup_; }                             // POP_MSR
    QSplitter *Splitter() const { return splitter_; }

    // Column widths and alignment of the result list (run after it receives its model).
    void ApplyColumnLayout();
    // LBL_SMR_3 stands 20 pixels right of LBL_SMR_2 at leaf level.
    void PlaceCrumbs();

private:
    std::array<ClickLabel *, 3> crumbs_{};
    QListView *categories_;
    QLabel *caption_;
    QTreeView *results_;
    QWidget *filterBar_;
    QPlainTextEdit *hint_;
    ClickLabel *filterLabel_;
    QMenu *filterMenu_;
    std::array<QAction *, 3> filterModes_{};
    QLineEdit *filterBox_;
    ClickLabel *filterCount_;
    QPushButton *button_;
    QMenu *popup_;
    QSplitter *splitter_;
};

}  // namespace qm
