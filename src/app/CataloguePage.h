#pragma once
// The software catalogue page (TS_CNET): categories, sub-categories with the cache mark,
// Update/Stop, the list of titles with its hint memo and popups, bound to CatalogueBrowser.
#include "engines/vertical/CatalogueBrowser.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

namespace qm {

class TMain;

class CataloguePage : public QWidget {
    Q_OBJECT
public:
    CataloguePage(TMain &w, CatalogueBrowser &browser, QWidget *parent = nullptr);

    QListWidget *Categories() const { return categories_; }     // LV_CNETC
    QListWidget *Subcategories() const { return subs_; }        // LV_CNETSC
    QPushButton *UpdateButton() const { return update_; }       // BT_CNET
    QTreeView *Titles() const { return titles_; }               // LV_CNET
    QMenu *Popup() const { return popup_; }                     // POP_CNET
    QMenu *SubPopup() const { return subPopup_; }               // POP_SUBCAT

    void FillCategories();
    void FillSubcategories();
    void SubcategoryClicked();
    void UpdateClicked();
    void Refresh();
    void SetDetailItems(bool on);
    void ShowDetails(const std::string &text);

private:
    std::string Category() const;
    std::string Subcategory() const;
    void Detail(int action);

    TMain &w_;
    CatalogueBrowser &b_;
    QListWidget *categories_, *subs_;
    QPushButton *update_;
    QTreeView *titles_;
    QPlainTextEdit *hint_;
    QMenu *popup_, *subPopup_;
    QAction *details_ = nullptr, *download_ = nullptr, *visit_ = nullptr, *opinions_ = nullptr;
};

// Builds the page into the catalogue page of the window and fills fillCatalogueCategories
// and endCatalogueUpdate.
void BindCatalogue(TMain &window);

}  // namespace qm
