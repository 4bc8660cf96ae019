#pragma once
// The favorites page ("BOOK"): the four favorites lists, chosen with CB_BOOK, bound to the
// display-free Favorites model.
#include "engines/vertical/Favorites.h"

#include <QWidget>
#include <array>

class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTreeView;

namespace qm {

class TMain;

class FavoritesPage : public QWidget {
    Q_OBJECT
public:
    FavoritesPage(TMain &window, Favorites &favorites, QLabel *help, QWidget *parent = nullptr);

    QComboBox *Book() const { return book_; }          // CB_BOOK
    QPushButton *SelectAll() const { return all_; }    // BTB_ALL
    QPushButton *Remove() const { return del_; }       // BTB_DEL
    QPushButton *View() const { return view_; }        // BTB_VIEW
    QTreeView *ListView(FavoritesList l) const { return views_[size_t(l)]; }
    QMenu *Popup(FavoritesList l) const { return popups_[size_t(l)]; }  // POPF_WEB, POPF_NEWS, POPF_PRG
    FavoritesList Shown() const;
    // CB_BOOKChange: shows entry k, its title and refreshes its list.
    void ShowEntry(int k);
    // The list's click handler: header, hint memo, buttons.
    void Refresh(FavoritesList l);
    // The software items while a C|NET detail page is pending.
    void SetDetailItemsEnabled(bool on);

private:
    void Act(FavoritesList l, FavoriteAction a);

    TMain &w_;
    Favorites &f_;
    QLabel *help_;
    QComboBox *book_;
    QPushButton *all_, *del_, *view_;
    QStackedWidget *pages_;
    std::array<QTreeView *, kFavoritesLists> views_{};
    std::array<QPlainTextEdit *, kFavoritesLists> hints_{};
    std::array<QMenu *, kFavoritesLists> popups_{};
    QAction *dl_ = nullptr, *visit_ = nullptr;
};

// Builds the page into the Favorites page of the window and fills the hooks: load and save
// of the lists, every "Add selection to my favorites".
void BindFavorites(TMain &window);

}  // namespace qm
