#include "search/EngineStatusModel.h"

#include "net/HttpCli.h"

#include <QElapsedTimer>
#include <cstdio>

namespace qm {

std::string FailureReason(int error, int status) {
    switch (error) {
    case HttpOk: return status == 200 ? std::string() : "HTTP " + std::to_string(status);
    case HttpTimedOut: return "time-out";
    case HttpConnectionRefused: return "refused";
    case HttpNameNotResolved: return "name not resolved";
    case HttpProxyFailed: return "proxy failed";
    case HttpTlsFailed: return "TLS";
    case HttpConnectionLost: return "connection lost";
    case HttpBadUrl: return "bad address";
    case HttpAborted: return "aborted";
    case HttpTooLarge: return "answer too large";
    case HttpIdleTimeout: return "time-out (no data)";
    default: return HttpErrorText(error);
    }
}

EngineStatusModel::EngineStatusModel(QObject *parent) : QAbstractTableModel(parent) {}

int EngineStatusModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : Count(); }

int EngineStatusModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ColumnCount; }

QString EngineStatusModel::StateText(const EngineStatus &s) {
    switch (s.state) {
    case EngineState::Waiting: return QStringLiteral("waiting");
    case EngineState::Fetching: return QStringLiteral("page %1").arg(s.page);
    case EngineState::Done: return QStringLiteral("done");
    case EngineState::Failed: return QStringLiteral("failed");
    case EngineState::Stopped: return QStringLiteral("stopped");
    case EngineState::Off: return QStringLiteral("off");
    }
    return {};
}

QString EngineStatusModel::TimeText(int64_t ms) {
    if (ms < 0) return {};
    return QString::number(double(ms) / 1000.0, 'f', 1) + QStringLiteral(" s");
}

QVariant EngineStatusModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return {};
    const EngineStatus &s = rows_[size_t(index.row())];
    if (role == StateRole) return int(s.state);
    if (role == Qt::DecorationRole && index.column() == ColName) {
        const QIcon &icon = icons_[size_t(s.state)];
        return icon.isNull() ? QVariant() : QVariant(icon);
    }
    if (role == Qt::TextAlignmentRole && (index.column() == ColRows || index.column() == ColPages ||
                                          index.column() == ColTime))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == ColRows && (s.duplicates || s.merged))
        return QStringLiteral("%1 added, %2 already listed, %3 counted on a listed site")
            .arg(s.rows)
            .arg(s.duplicates)
            .arg(s.merged);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case ColName: return QString::fromStdString(s.name);
    case ColState: return StateText(s);
    case ColRows: return s.state == EngineState::Off ? QVariant() : QVariant(s.rows);
    case ColPages: return s.state == EngineState::Off ? QVariant() : QVariant(s.pages);
    case ColTime:
        if (s.state == EngineState::Off || s.state == EngineState::Waiting) return {};
        return TimeText(s.ms >= 0 ? s.ms : Now() - s.startMs);
    case ColReason: return QString::fromStdString(s.reason.empty() ? s.note : s.reason);
    default: return {};
    }
}

QVariant EngineStatusModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char *const kTitles[] = {"Engine", "State", "Sites", "Pages", "Time", "Reason"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section]) : QVariant();
}

int64_t EngineStatusModel::Now() {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

void EngineStatusModel::Reset(const std::vector<std::pair<std::string, bool>> &engines) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(engines.size());
    for (const auto &[name, takesPart] : engines) {
        EngineStatus s;
        s.name = name;
        s.state = takesPart ? EngineState::Waiting : EngineState::Off;
        rows_.push_back(std::move(s));
    }
    startMs_ = Now();
    endMs_ = -1;
    ended_ = false;
    end_ = SearchEnd::AllDone;
    endResetModel();
    emit statusChanged();
}

void EngineStatusModel::Clear() { Reset({}); }

EngineStatus *EngineStatusModel::RowAt(int row) {
    return row >= 0 && row < Count() ? &rows_[size_t(row)] : nullptr;
}

void EngineStatusModel::Changed(int row, int firstColumn, int lastColumn) {
    emit dataChanged(index(row, firstColumn), index(row, lastColumn));
    emit statusChanged();
}

void EngineStatusModel::Started(int row) {
    EngineStatus *s = RowAt(row);
    if (!s) return;
    s->state = EngineState::Fetching;
    s->page = 1;
    s->startMs = Now();
    s->ms = -1;
    Changed(row);
}

void EngineStatusModel::Fetching(int row, int page) {
    EngineStatus *s = RowAt(row);
    if (!s || s->state != EngineState::Fetching) return;
    s->page = page;
    Changed(row, ColState, ColState);
}

void EngineStatusModel::Received(int row, int64_t bytes) {
    if (EngineStatus *s = RowAt(row)) s->bytes += bytes;  // not shown: no signal for every piece
}

void EngineStatusModel::PageRead(int row) {
    EngineStatus *s = RowAt(row);
    if (!s) return;
    ++s->pages;
    s->answered = true;
    Changed(row, ColPages, ColPages);
}

void EngineStatusModel::RowAdded(int row) {
    EngineStatus *s = RowAt(row);
    if (!s) return;
    ++s->rows;
    Changed(row, ColRows, ColRows);
}

void EngineStatusModel::DuplicateRefused(int row) {
    if (EngineStatus *s = RowAt(row)) ++s->duplicates;
}

void EngineStatusModel::MergedIntoListed(int row) {
    if (EngineStatus *s = RowAt(row)) ++s->merged;
}

void EngineStatusModel::Done(int row, const std::string &note) {
    EngineStatus *s = RowAt(row);
    if (!s || s->state == EngineState::Off) return;
    s->state = EngineState::Done;
    if (!note.empty()) s->note = note;
    if (s->ms < 0) s->ms = Now() - s->startMs;
    Changed(row);
}

void EngineStatusModel::Failed(int row, const std::string &reason) {
    EngineStatus *s = RowAt(row);
    if (!s || s->state == EngineState::Off) return;
    s->state = EngineState::Failed;
    s->reason = reason;
    if (s->ms < 0) s->ms = Now() - s->startMs;
    Changed(row);
}

void EngineStatusModel::Stopped(int row, const std::string &note) {
    EngineStatus *s = RowAt(row);
    if (!s || s->state == EngineState::Off) return;
    s->state = EngineState::Stopped;
    if (!note.empty()) s->note = note;
    if (s->ms < 0) s->ms = Now() - s->startMs;
    Changed(row);
}

void EngineStatusModel::SetNote(int row, const std::string &note) {
    EngineStatus *s = RowAt(row);
    if (!s) return;
    s->note = note;
    Changed(row, ColReason, ColReason);
}

int EngineStatusModel::Taking() const {
    int n = 0;
    for (const auto &s : rows_) n += s.state != EngineState::Off;
    return n;
}

int EngineStatusModel::Finished() const {
    int n = 0;
    for (const auto &s : rows_)
        n += s.state == EngineState::Done || s.state == EngineState::Failed || s.state == EngineState::Stopped;
    return n;
}

int EngineStatusModel::Answered() const {
    int n = 0;
    for (const auto &s : rows_) n += s.answered;
    return n;
}

int EngineStatusModel::TotalRows() const {
    int n = 0;
    for (const auto &s : rows_) n += s.rows;
    return n;
}

bool EngineStatusModel::NoneReached() const { return Taking() > 0 && Answered() == 0; }

void EngineStatusModel::SetEnd(SearchEnd end) {
    end_ = end;
    ended_ = true;
    endMs_ = Now();
    emit statusChanged();
}

int64_t EngineStatusModel::ElapsedMs() const { return (ended_ && endMs_ >= 0 ? endMs_ : Now()) - startMs_; }

void EngineStatusModel::SetStateIcons(std::array<QIcon, kEngineStateCount> icons) {
    icons_ = std::move(icons);
    if (Count() > 0) emit dataChanged(index(0, ColName), index(Count() - 1, ColName));
}

std::string SearchStatusText(const EngineStatusModel &m, bool running, int sites) {
    auto plural = [](int n, const char *one, const char *many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    if (running)
        return "Searching: " + std::to_string(m.Finished()) + " of " + plural(m.Taking(), "engine", "engines") +
               " done, " + plural(sites, "site", "sites");
    if (m.Taking() == 0) return "No engine takes part: switch engines on in the options";
    if (m.NoneReached()) return "No engine could be reached: check the connection or the proxy settings";
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f s", double(m.ElapsedMs()) / 1000.0);
    std::string text = plural(sites, "site", "sites") + " from " + plural(m.Answered(), "engine", "engines") +
                       " in " + seconds;
    if (m.Ended()) {
        switch (m.End()) {
        case SearchEnd::Limit: text += ": result limit reached"; break;
        case SearchEnd::Stopped: text = "Stopped: " + text; break;
        case SearchEnd::Closed:
        case SearchEnd::AllDone: break;
        }
    }
    int failed = 0;
    for (const auto &s : m.Rows()) failed += s.state == EngineState::Failed;
    if (failed > 0) text += ", " + plural(failed, "engine", "engines") + " failed";
    return text;
}

}  // namespace qm
