#pragma once
// A result list as an item model: rows of ResultRow (caption, icon index, sub-items),
// the list's selection, and the list operations every search page uses (sort by column,
// select-all toggle, renumber, reverse, delete selected, find).
//
// Column 0 shows the caption (the row number); column c > 0 shows sub-item c - 1.
// The model keeps a hash index of the rows' addresses (ASCII case ignored), so the duplicate
// test takes the same time however long the list is.
#include "search/ResultRow.h"

#include <QAbstractTableModel>
#include <QItemSelectionModel>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Counts of addresses, ASCII letter case ignored: a flat open-addressing table of 8-byte
// slots (32 bits of the hash and an entry number) with linear probing, so that a test for an
// address that is not there reads one cache line of slots and allocates nothing. Entries keep
// the lower-cased address (compared only when 32 bits of the hash match) and the full hash.
class AddressIndex {
public:
    void Add(std::string_view address);
    void Remove(std::string_view address);
    bool Contains(std::string_view address) const { return Find(address, Hash(address)) != kNone; }
    void Clear();
    void Reserve(size_t count);
    size_t Size() const { return used_; }

    // Hash of the lower-cased bytes, computed without making a lower-cased copy.
    static uint64_t Hash(std::string_view address);

private:
    static constexpr uint32_t kNone = ~0u;
    struct Slot {
        uint32_t tag = 0;      // high 32 bits of the hash, 0 = empty (hashes never give 0 here)
        uint32_t entry = 0;
    };
    struct Entry {
        std::string key;  // lower-cased
        uint64_t hash = 0;
        uint32_t count = 0;  // 0 = free
    };
    static uint32_t Tag(uint64_t hash) { return uint32_t(hash >> 32) | 1u; }
    size_t Home(uint64_t hash) const { return size_t(hash) & (slots_.size() - 1); }
    uint32_t Find(std::string_view address, uint64_t hash) const;  // slot number or kNone
    void Grow(size_t slotCount);

    std::vector<Slot> slots_;  // power of two in size, at most 1/2 full
    std::vector<Entry> entries_;
    std::vector<uint32_t> freeEntries_;
    size_t used_ = 0;
};

class ResultListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Roles beyond the display text.
    enum Role { RawTextRole = Qt::UserRole + 1, ImageRole, AddressRole };
    enum class SortMode { Numeric = 1, Text = 2 };

    // `headers` are the sub-item headers in column order. The address of a row is its
    // sub-item `urlColumn` when not empty, else its sub-item `locationColumn`.
    ResultListModel(std::vector<QString> headers, size_t urlColumn, size_t locationColumn,
                    QObject *parent = nullptr);

    // The web list: "Site", "Location", "Source" (centred), "Description" and "URL".
    static ResultListModel *CreateWebList(QObject *parent = nullptr);

    // QAbstractItemModel
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    // Rows.
    int Count() const { return int(rows_.size()); }
    const ResultRow &Row(int i) const { return rows_[size_t(i)]; }
    const std::vector<ResultRow> &Rows() const { return rows_; }
    // Appends a row; its caption becomes the new number of rows and missing sub-items
    // are added empty. The row's image is kept as given.
    void AppendRow(ResultRow row);
    // Appends a row as given (caption included), e.g. the "Nothing found for" row.
    void AppendRowAsIs(ResultRow row);
    // Inserts a copy of a row at `pos` (0 <= pos <= Count), caption unchanged.
    void InsertRowAt(int pos, ResultRow row);
    void RemoveRowAt(int row);
    // Removes the given rows (any order, duplicates ignored).
    void RemoveRowList(std::vector<int> rowList);
    void Clear();
    // Replaces every row (a cache being loaded); captions are kept as given.
    void ResetRows(std::vector<ResultRow> rows);
    // A cache shown in the list: the rows replaced while the page's change handler waits,
    // then one listChanged (the count header, the filter bar and the hint follow).
    void ShowRows(std::vector<ResultRow> rows);
    void SetSubItem(int row, size_t subItem, std::string value);
    void SetImage(int row, int image);
    void SetCaption(int row, std::string caption);

    // Address of a row: its URL sub-item when not empty, else its Location.
    const std::string &AddressOf(int row) const;
    // The identity of a row not yet listed, as the duplicate test reads it.
    const std::string &IdentityOf(const ResultRow &row) const { return row.Address(urlColumn_, locationColumn_); }
    // True when some row has this address, ignoring ASCII case.
    bool IsDuplicateUrl(std::string_view address) const;

    // List operations.
    void RenumberItems();
    void SortByColumn(int column, SortMode mode = SortMode::Text);
    void ReverseItems();
    // Orders by the engines counted in the Source sub-item `sourceSubItem` ("Altavista +3"
    // counts 4), most engines first, then by the Source text; renumbers.
    void SortByEngineCount(size_t sourceSubItem);
    // Puts the rows in a new order (order[new] = old), captions unchanged.
    void ApplyOrder(const std::vector<int> &order) { Reorder(order); }
    // Index of the first row whose caption (byCaption) or sub-item `subItem` equals `text`
    // exactly; -1 when none.
    int FindItem(std::string_view text, size_t subItem, bool byCaption = false) const;
    // Deselects all when more than half of the rows are selected, else selects all.
    // The updating flag is raised meanwhile.
    void ToggleSelectAll();
    // Deletes the selected rows and renumbers; nothing when none is selected or when
    // `confirm` is given and answers false. Returns true when rows were deleted.
    bool DeleteSelectedItems(const std::function<bool()> &confirm = {});

    // Selection.
    QItemSelectionModel *Selection() { return &selection_; }
    const QItemSelectionModel *Selection() const { return &selection_; }
    std::vector<int> SelectedRows() const;  // ascending
    int FirstSelectedRow() const;           // -1 when none
    void SelectRow(int row, bool selected = true);
    void ClearSelection();

    // The count header of column 1: "N Sites" with 2 or more rows, "1 Site" with one,
    // "Site" with none or only the "Nothing found for" notice (no number, no address).
    // The two words come from the message table.
    QString CountHeaderText() const;
    void SetCountWords(QString singular, QString plural);
    // The header of an empty list when it is not the singular word (the newsgroup favorites
    // say "Articles").
    void SetEmptyCountWord(QString word);
    // The hint box: the first selected row's description (sub-item `descriptionColumn`).
    std::string HintText(size_t descriptionColumn = kDescription) const;
    // The address of the first selected row; empty when none is selected.
    std::string SelectedAddress() const;
    // Puts the first selected row's address on the clipboard; false when none is selected.
    bool CutSelectedToClipboard() const;

    // Check boxes in column 0 (a verification shows them) and the icons of the rows' image
    // indexes (set once by the feature that draws them).
    void SetCheckBoxesShown(bool shown);
    bool CheckBoxesShown() const { return checkBoxes_; }
    bool IsChecked(int row) const { return row >= 0 && row < Count() && rows_[size_t(row)].checked; }
    void SetChecked(int row, bool checked);
    using ImageDecorator = std::function<QVariant(int image)>;
    static void SetImageDecorator(ImageDecorator decorator);

    // The sub-items the in-list filter compares (all when empty): a list whose rows match on
    // some columns only names them.
    void SetFilterColumns(std::vector<size_t> columns) { filterColumns_ = std::move(columns); }
    const std::vector<size_t> &FilterColumns() const { return filterColumns_; }

    // While set, the page's change handler does nothing (loading a cache, select all).
    bool Updating() const { return updating_; }
    void SetUpdating(bool on) { updating_ = on; }

signals:
    // Rows were added, removed or changed (not emitted while Updating()).
    void listChanged();

private:
    void IndexAdd(const ResultRow &row);
    void IndexRemove(const ResultRow &row);
    void HeaderMayHaveChanged(int oldCount);
    void NormaliseSubItems(ResultRow &row) const;
    void Reorder(const std::vector<int> &order);  // order[new] = old
    static ImageDecorator &Decorator();

    std::vector<QString> headers_;
    size_t urlColumn_, locationColumn_;
    std::vector<ResultRow> rows_;
    AddressIndex addressIndex_;  // the rows' addresses
    QItemSelectionModel selection_;
    QString singular_ = QStringLiteral("Site"), plural_ = QStringLiteral("Sites");
    QString emptyWord_;  // empty: the singular word
    bool updating_ = false;
    bool checkBoxes_ = false;
    std::vector<size_t> filterColumns_;
};

// Lower-cases ASCII letters only.
std::string AsciiLower(std::string_view text);

}  // namespace qm
