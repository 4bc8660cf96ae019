#pragma once
// The widgets of the Daily News tab. They only show; DailyNewsBinding ties them to the
// DailyNews controller (src/news).
#include <QWidget>

#include <array>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;
class QTreeWidget;

namespace qm {

class DailyNewsPanel : public QWidget {
    Q_OBJECT
public:
    explicit DailyNewsPanel(QWidget *parent = nullptr);

    // Columns of LV_CNN: icon, "Information", and the hidden "URL", "Source" and tag.
    enum Column { ColIcon, ColInformation, ColUrl, ColSource, ColTag, ColumnCount };

    QLabel *DateBar() const { return date_; }                         // PNL_CNN_DATE
    // BT_DNC_US, BT_DNC_FR, BT_DNC_DE, BT_DNC_ES, BT_DNC_NL, indexed by group.
    QToolButton *GroupButton(int group) const { return groups_[size_t(group)]; }
    QTreeWidget *Tree() const { return tree_; }                        // TV
    QPushButton *UpdateOne() const { return upOne_; }                  // BT_DNC_UPONE
    QPushButton *UpdateAll() const { return upAll_; }                  // BT_DNC_UPALL
    QTreeWidget *Headlines() const { return list_; }                   // LV_CNN
    QPushButton *Favorite() const { return fav_; }                     // BT_DNC_FAV
    QLabel *Source() const { return source_; }                         // LBL_DNC
    QSplitter *Splitter() const { return splitter_; }
    QMenu *Popup() const { return popup_; }                            // POP_DNC
    QAction *ReadAction() const { return read_; }
    QAction *CutAction() const { return cut_; }
    QAction *AddAction() const { return add_; }

    // State images of the tree: none, fetching, cached today; and the headline icon.
    static QIcon StateIcon(int image);
    static QIcon HeadlineIcon();

signals:
    void sourceClicked();
    void enterInHeadlines();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *date_;
    std::array<QToolButton *, 5> groups_{};
    QTreeWidget *tree_;
    QPushButton *upOne_, *upAll_, *fav_;
    QTreeWidget *list_;
    QLabel *source_;
    QSplitter *splitter_;
    QMenu *popup_;
    QAction *read_, *cut_, *add_;
};

}  // namespace qm
