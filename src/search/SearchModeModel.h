#pragma once
// The search-mode menu of a search page as a model: four radio items, "All Keywords"
// ticked at start. Choosing an item ticks it alone and reports the new mode, which the
// page stores in the modes of its engine descriptors. Not saved between runs.
#include "search/SearchMode.h"

#include <QAbstractListModel>
#include <functional>

namespace qm {

class SearchModeModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit SearchModeModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Setting Qt::CheckStateRole to Checked on a row chooses it.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    SearchMode Current() const { return current_; }
    void Choose(SearchMode mode);

    // Called with the chosen mode after every choice (also when choosing the ticked item).
    std::function<void(SearchMode)> onChosen;

signals:
    void modeChosen(qm::SearchMode mode);

private:
    SearchMode current_ = SearchMode::All;
};

}  // namespace qm
