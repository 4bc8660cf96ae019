#include "search/ResultListModel.h"
#include "search/SiteMerge.h"

#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "toolkit/DisplayText.h"
#include "toolkit/Misc.h"

namespace qm {

namespace {

QString Shown(std::string_view bytes) { return DisplayText(bytes); }

// C-style decimal conversion: leading blanks, optional sign, leading digits; 0 when none.
unsigned long LeadingNumber(const std::string &text) {
    long v = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<unsigned long>(v);
}

}  // namespace

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return out;
}

ResultListModel::ResultListModel(std::vector<QString> headers, size_t urlColumn, size_t locationColumn,
                                 QObject *parent)
    : QAbstractTableModel(parent),
      headers_(std::move(headers)),
      urlColumn_(urlColumn),
      locationColumn_(locationColumn),
      selection_(this) {
    if (!headers_.empty()) singular_ = headers_[0];
}

ResultListModel *ResultListModel::CreateWebList(QObject *parent) {
    return new ResultListModel({QStringLiteral("Site"), QStringLiteral("Location"), QStringLiteral("Source"),
                                QStringLiteral("Description"), QStringLiteral("URL")},
                               kUrl, kLocation, parent);
}

int ResultListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : Count();
}

int ResultListModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(headers_.size()) + 1;
}

QVariant ResultListModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    const ResultRow &r = rows_[size_t(index.row())];
    const int col = index.column();
    auto text = [&]() -> const std::string & {
        static const std::string empty;
        if (col == 0) return r.caption;
        size_t sub = size_t(col - 1);
        return sub < r.subItems.size() ? r.subItems[sub] : empty;
    };
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return Shown(text());
    case RawTextRole:
        return QByteArray(text().data(), qsizetype(text().size()));
    case ImageRole:
        return r.image;
    case AddressRole: {
        const auto &a = AddressOf(index.row());
        return QByteArray(a.data(), qsizetype(a.size()));
    }
    case Qt::CheckStateRole:
        if (col == 0 && checkBoxes_) return r.checked ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::DecorationRole:
        if (col == 0 && r.image >= 0 && Decorator()) return Decorator()(r.image);
        return {};
    case Qt::TextAlignmentRole:
        if (col == int(kSource) + 1 && headers_.size() == 5) return int(Qt::AlignCenter);
        return {};
    default:
        return {};
    }
}

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QString();
    if (section == 1) return CountHeaderText();
    if (section - 1 < int(headers_.size())) return headers_[size_t(section - 1)];
    return {};
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    if (index.column() == 0 && checkBoxes_)
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;  // cells are not editable by the user
}

bool ResultListModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || index.row() >= Count()) return false;
    if (role == ImageRole) {
        SetImage(index.row(), value.toInt());
        return true;
    }
    if (role == Qt::CheckStateRole && index.column() == 0 && checkBoxes_) {
        SetChecked(index.row(), value.toInt() == Qt::Checked);
        return true;
    }
    if (role != RawTextRole && role != Qt::EditRole) return false;
    QByteArray bytes = role == RawTextRole ? value.toByteArray() : value.toString().toUtf8();
    std::string s(bytes.constData(), size_t(bytes.size()));
    if (index.column() == 0)
        SetCaption(index.row(), std::move(s));
    else
        SetSubItem(index.row(), size_t(index.column() - 1), std::move(s));
    return true;
}

// ---- address index ----

namespace {

// Lower-cases the ASCII letters among 8 bytes at once; other bytes (UTF-8 included) stay.
inline uint64_t LowerWord(uint64_t x) {
    constexpr uint64_t kOnes = 0x0101010101010101ULL, kHigh = 0x8080808080808080ULL;
    const uint64_t low7 = x & ~kHigh;
    const uint64_t atLeastA = low7 + kOnes * (0x80 - 'A');
    const uint64_t aboveZ = low7 + kOnes * (0x80 - 'Z' - 1);
    const uint64_t upper = atLeastA & ~aboveZ & ~x & kHigh;
    return x | (upper >> 2);
}

inline uint64_t Combine(uint64_t h, uint64_t word) {
    h = (h ^ word) * 0x9FB21C651E98DF25ULL;
    return h ^ (h >> 29);
}

inline uint64_t Finish(uint64_t h) {
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 33;
    h *= 0xc4ceb9fe1a85ec53ULL;
    return h ^ (h >> 33);
}

// `lowerKey` is lower-cased already.
bool EqualsIgnoringCase(std::string_view lowerKey, std::string_view text) {
    if (lowerKey.size() != text.size()) return false;
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t k, t;
        std::memcpy(&k, lowerKey.data() + i, 8);
        std::memcpy(&t, text.data() + i, 8);
        if (k != LowerWord(t)) return false;
    }
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
        if (c != lowerKey[i]) return false;
    }
    return true;
}

}  // namespace

uint64_t AddressIndex::Hash(std::string_view address) {
    uint64_t h = 0x9E3779B97F4A7C15ULL ^ address.size();
    size_t i = 0;
    for (; i + 8 <= address.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, address.data() + i, 8);
        h = Combine(h, LowerWord(w));
    }
    if (i < address.size()) {
        uint64_t w = 0;
        std::memcpy(&w, address.data() + i, address.size() - i);
        h = Combine(h, LowerWord(w));
    }
    return Finish(h);
}

uint32_t AddressIndex::Find(std::string_view address, uint64_t hash) const {
    if (slots_.empty()) return kNone;
    const size_t mask = slots_.size() - 1;
    const uint32_t tag = Tag(hash);
    for (size_t i = Home(hash);; i = (i + 1) & mask) {
        const Slot &s = slots_[i];
        if (s.tag == 0) return kNone;
        if (s.tag == tag) {
            const Entry &e = entries_[s.entry];
            if (e.hash == hash && EqualsIgnoringCase(e.key, address)) return uint32_t(i);
        }
    }
}

void AddressIndex::Grow(size_t slotCount) {
    std::vector<Slot> old(slotCount);
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot &s : old) {
        if (s.tag == 0) continue;
        size_t i = Home(entries_[s.entry].hash);
        while (slots_[i].tag != 0) i = (i + 1) & mask;
        slots_[i] = s;
    }
}

void AddressIndex::Reserve(size_t count) {
    size_t n = slots_.empty() ? 16 : slots_.size();
    while (n < 2 * count) n *= 2;
    if (n != slots_.size()) Grow(n);
    entries_.reserve(count);
}

void AddressIndex::Add(std::string_view address) {
    const uint64_t hash = Hash(address);
    if (const uint32_t found = Find(address, hash); found != kNone) {
        ++entries_[slots_[found].entry].count;
        return;
    }
    if (2 * (used_ + 1) > slots_.size()) Grow(slots_.empty() ? 16 : 2 * slots_.size());
    uint32_t entry;
    if (!freeEntries_.empty()) {
        entry = freeEntries_.back();
        freeEntries_.pop_back();
    } else {
        entry = uint32_t(entries_.size());
        entries_.emplace_back();
    }
    Entry &e = entries_[entry];
    e.key = AsciiLower(address);
    e.hash = hash;
    e.count = 1;
    const size_t mask = slots_.size() - 1;
    size_t i = Home(hash);
    while (slots_[i].tag != 0) i = (i + 1) & mask;
    slots_[i] = Slot{Tag(hash), entry};
    ++used_;
}

void AddressIndex::Remove(std::string_view address) {
    const uint32_t found = Find(address, Hash(address));
    if (found == kNone) return;
    Entry &e = entries_[slots_[found].entry];
    if (--e.count > 0) return;
    std::string().swap(e.key);
    freeEntries_.push_back(slots_[found].entry);
    // Backward-shift deletion: pull later slots of the probe run into the hole, so that no
    // tombstones are left behind.
    const size_t mask = slots_.size() - 1;
    size_t hole = found;
    for (size_t j = (hole + 1) & mask; slots_[j].tag != 0; j = (j + 1) & mask) {
        const size_t home = Home(entries_[slots_[j].entry].hash);
        if (((j - home) & mask) >= ((j - hole) & mask)) {
            slots_[hole] = slots_[j];
            hole = j;
        }
    }
    slots_[hole] = Slot{};
    --used_;
}

void AddressIndex::Clear() {
    slots_ = {};
    entries_ = {};
    freeEntries_ = {};
    used_ = 0;
}

const std::string &ResultListModel::AddressOf(int row) const {
    return rows_[size_t(row)].Address(urlColumn_, locationColumn_);
}

void ResultListModel::IndexAdd(const ResultRow &row) { addressIndex_.Add(row.Address(urlColumn_, locationColumn_)); }

void ResultListModel::IndexRemove(const ResultRow &row) {
    addressIndex_.Remove(row.Address(urlColumn_, locationColumn_));
}

bool ResultListModel::IsDuplicateUrl(std::string_view address) const { return addressIndex_.Contains(address); }

// ---- rows ----

void ResultListModel::NormaliseSubItems(ResultRow &row) const {
    if (row.subItems.size() < headers_.size()) row.subItems.resize(headers_.size());
}

void ResultListModel::HeaderMayHaveChanged(int oldCount) {
    auto bucket = [](int n) { return n >= 2 ? 2 : n; };
    if (bucket(oldCount) != bucket(Count()) || Count() >= 2) emit headerDataChanged(Qt::Horizontal, 1, 1);
    if (!updating_) emit listChanged();
}

void ResultListModel::AppendRow(ResultRow row) {
    row.caption = std::to_string(rows_.size() + 1);
    AppendRowAsIs(std::move(row));
}

void ResultListModel::AppendRowAsIs(ResultRow row) {
    NormaliseSubItems(row);
    const int old = Count();
    beginInsertRows({}, old, old);
    IndexAdd(row);
    rows_.push_back(std::move(row));
    endInsertRows();
    HeaderMayHaveChanged(old);
}

void ResultListModel::InsertRowAt(int pos, ResultRow row) {
    pos = std::clamp(pos, 0, Count());
    NormaliseSubItems(row);
    const int old = Count();
    beginInsertRows({}, pos, pos);
    IndexAdd(row);
    rows_.insert(rows_.begin() + pos, std::move(row));
    endInsertRows();
    HeaderMayHaveChanged(old);
}

void ResultListModel::RemoveRowAt(int row) {
    if (row < 0 || row >= Count()) return;
    const int old = Count();
    beginRemoveRows({}, row, row);
    IndexRemove(rows_[size_t(row)]);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    HeaderMayHaveChanged(old);
}

void ResultListModel::RemoveRowList(std::vector<int> rowList) {
    // Rows out of range are ignored; they must not keep their valid neighbours in a run.
    const int old = Count();
    std::erase_if(rowList, [old](int r) { return r < 0 || r >= old; });
    std::sort(rowList.begin(), rowList.end());
    rowList.erase(std::unique(rowList.begin(), rowList.end()), rowList.end());
    // Remove runs of consecutive rows from the bottom up.
    for (size_t end = rowList.size(); end > 0;) {
        size_t begin = end - 1;
        while (begin > 0 && rowList[begin - 1] == rowList[begin] - 1) --begin;
        const int first = rowList[begin], last = rowList[end - 1];
        beginRemoveRows({}, first, last);
        for (int r = first; r <= last; ++r) IndexRemove(rows_[size_t(r)]);
        rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
        endRemoveRows();
        end = begin;
    }
    if (old != Count()) HeaderMayHaveChanged(old);
}

void ResultListModel::Clear() {
    const int old = Count();
    beginResetModel();
    rows_.clear();
    addressIndex_.Clear();
    endResetModel();
    HeaderMayHaveChanged(old);
}

void ResultListModel::ResetRows(std::vector<ResultRow> rows) {
    const int old = Count();
    beginResetModel();
    rows_ = std::move(rows);
    addressIndex_.Clear();
    addressIndex_.Reserve(rows_.size());
    for (auto &r : rows_) {
        NormaliseSubItems(r);
        IndexAdd(r);
    }
    endResetModel();
    HeaderMayHaveChanged(old);
}

void ResultListModel::ShowRows(std::vector<ResultRow> rows) {
    SetUpdating(true);
    ResetRows(std::move(rows));
    SetUpdating(false);
    emit listChanged();
}

void ResultListModel::SetSubItem(int row, size_t subItem, std::string value) {
    if (row < 0 || row >= Count() || subItem >= headers_.size()) return;
    ResultRow &r = rows_[size_t(row)];
    const bool affectsAddress = subItem == urlColumn_ || subItem == locationColumn_;
    if (affectsAddress) IndexRemove(r);
    r.subItems[subItem] = std::move(value);
    if (affectsAddress) IndexAdd(r);
    auto i = index(row, int(subItem) + 1);
    emit dataChanged(i, i);
    if (!updating_) emit listChanged();
}

void ResultListModel::SetImage(int row, int image) {
    if (row < 0 || row >= Count()) return;
    rows_[size_t(row)].image = image;
    auto i = index(row, 0);
    emit dataChanged(i, i, {Qt::DecorationRole, ImageRole});
}

void ResultListModel::SetCaption(int row, std::string caption) {
    if (row < 0 || row >= Count()) return;
    rows_[size_t(row)].caption = std::move(caption);
    auto i = index(row, 0);
    emit dataChanged(i, i);
}

// ---- verification marks ----

ResultListModel::ImageDecorator &ResultListModel::Decorator() {
    static ImageDecorator decorator;
    return decorator;
}

void ResultListModel::SetImageDecorator(ImageDecorator decorator) { Decorator() = std::move(decorator); }

void ResultListModel::SetCheckBoxesShown(bool shown) {
    if (checkBoxes_ == shown) return;
    checkBoxes_ = shown;
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(Count() - 1, 0), {Qt::CheckStateRole});
}

void ResultListModel::SetChecked(int row, bool checked) {
    if (row < 0 || row >= Count() || rows_[size_t(row)].checked == checked) return;
    rows_[size_t(row)].checked = checked;
    auto i = index(row, 0);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

// ---- list operations ----

void ResultListModel::RenumberItems() {
    for (size_t i = 0; i < rows_.size(); ++i) rows_[i].caption = std::to_string(i + 1);
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(Count() - 1, 0));
}

void ResultListModel::Reorder(const std::vector<int> &order) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newPos(order.size());
    std::vector<ResultRow> sorted;
    sorted.reserve(rows_.size());
    for (size_t n = 0; n < order.size(); ++n) {
        newPos[size_t(order[n])] = int(n);
        sorted.push_back(std::move(rows_[size_t(order[n])]));
    }
    rows_ = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const auto &i : from) to.append(index(newPos[size_t(i.row())], i.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ResultListModel::SortByColumn(int column, SortMode mode) {
    if (rows_.empty()) return;
    // The sort key goes into the caption, as the list view sorts by its captions.
    for (auto &r : rows_) {
        std::string key;
        if (column <= 0)
            key = mode == SortMode::Text ? std::to_string(r.image) : r.caption;
        else if (size_t(column - 1) < r.subItems.size())
            key = r.subItems[size_t(column - 1)];
        if (mode == SortMode::Numeric) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%016lu", LeadingNumber(key) & 0xffffffffUL);
            key = buf;
        }
        r.caption = std::move(key);
    }
    std::vector<QString> keys;
    keys.reserve(rows_.size());
    for (const auto &r : rows_) keys.push_back(Shown(r.caption));
    std::vector<int> order(rows_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return QString::localeAwareCompare(keys[size_t(a)], keys[size_t(b)]) < 0;
    });
    Reorder(order);
    RenumberItems();
}

void ResultListModel::SortByEngineCount(size_t sourceSubItem) {
    if (rows_.empty()) return;
    std::vector<int> counts;
    std::vector<QString> names;
    counts.reserve(rows_.size());
    names.reserve(rows_.size());
    for (const auto &r : rows_) {
        const std::string source = sourceSubItem < r.subItems.size() ? r.subItems[sourceSubItem] : std::string();
        counts.push_back(SourceEngineCount(source));
        names.push_back(Shown(SourceEngineName(source)));
    }
    std::vector<int> order(rows_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (counts[size_t(a)] != counts[size_t(b)]) return counts[size_t(a)] > counts[size_t(b)];
        return QString::localeAwareCompare(names[size_t(a)], names[size_t(b)]) < 0;
    });
    Reorder(order);
    RenumberItems();
}

void ResultListModel::ReverseItems() {
    std::vector<int> order(rows_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(order.size() - 1 - i);
    Reorder(order);
}

int ResultListModel::FindItem(std::string_view text, size_t subItem, bool byCaption) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        const auto &r = rows_[i];
        if (byCaption) {
            if (r.caption == text) return int(i);
        } else if (subItem < r.subItems.size() && r.subItems[subItem] == text) {
            return int(i);
        }
    }
    return -1;
}

void ResultListModel::ToggleSelectAll() {
    const bool wasUpdating = updating_;
    updating_ = true;
    const int selected = int(SelectedRows().size());
    if (!ToggleSelectsAll(selected, Count())) {
        selection_.clearSelection();
        selection_.clearCurrentIndex();
    } else if (Count() > 0) {
        QItemSelection all(index(0, 0), index(Count() - 1, columnCount() - 1));
        selection_.select(all, QItemSelectionModel::Select);
    }
    updating_ = wasUpdating;
}

bool ResultListModel::DeleteSelectedItems(const std::function<bool()> &confirm) {
    auto rows = SelectedRows();
    if (rows.empty()) return false;
    if (confirm && !confirm()) return false;
    RemoveRowList(rows);
    RenumberItems();
    return true;
}

// ---- selection ----

std::vector<int> ResultListModel::SelectedRows() const {
    std::vector<int> out;
    for (const auto &range : selection_.selection())
        for (int r = range.top(); r <= range.bottom(); ++r) out.push_back(r);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

int ResultListModel::FirstSelectedRow() const {
    int first = -1;
    for (const auto &range : selection_.selection())
        if (first < 0 || range.top() < first) first = range.top();
    return first;
}

void ResultListModel::SelectRow(int row, bool selected) {
    if (row < 0 || row >= Count()) return;
    selection_.select(index(row, 0), (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                         QItemSelectionModel::Rows);
}

void ResultListModel::ClearSelection() { selection_.clearSelection(); }

// ---- page texts ----

QString ResultListModel::CountHeaderText() const {
    int n = Count();
    // The "Nothing found for" notice (no number, no address) is not a site.
    if (n == 1 && rows_[0].caption.empty() && AddressOf(0).empty()) n = 0;
    if (n >= 2) return QString::number(n) + QLatin1Char(' ') + plural_;
    if (n == 1) return QStringLiteral("1 ") + singular_;
    return emptyWord_.isEmpty() ? singular_ : emptyWord_;
}

void ResultListModel::SetCountWords(QString singular, QString plural) {
    singular_ = std::move(singular);
    plural_ = std::move(plural);
    emit headerDataChanged(Qt::Horizontal, 1, 1);
}

void ResultListModel::SetEmptyCountWord(QString word) {
    emptyWord_ = std::move(word);
    emit headerDataChanged(Qt::Horizontal, 1, 1);
}

std::string ResultListModel::HintText(size_t descriptionColumn) const {
    int r = FirstSelectedRow();
    if (r < 0 || descriptionColumn >= rows_[size_t(r)].subItems.size()) return {};
    return rows_[size_t(r)].subItems[descriptionColumn];
}

std::string ResultListModel::SelectedAddress() const {
    int r = FirstSelectedRow();
    return r < 0 ? std::string() : AddressOf(r);
}

bool ResultListModel::CutSelectedToClipboard() const {
    int r = FirstSelectedRow();
    if (r < 0) return false;
    if (auto *cb = QGuiApplication::clipboard()) cb->setText(Shown(AddressOf(r)));
    return true;
}

}  // namespace qm
