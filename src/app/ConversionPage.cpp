#include "app/ConversionPage.h"

#include "app/Pages.h"
#include "settings/KeyValue.h"
#include "toolkit/DisplayText.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm {

// The grid's cell editor: Enter released in it or in the grid converts; the open editor's
// text is committed first.
class GridEditDelegate : public QStyledItemDelegate {
public:
    GridEditDelegate(QObject *parent, std::function<void()> enter)
        : QStyledItemDelegate(parent), enter_(std::move(enter)) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        open_ = editor;  // the view makes this delegate the editor's event filter
        return editor;
    }
    void CommitOpenEditor() {
        if (open_) emit commitData(open_);
    }
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyRelease) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (!key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                enter_();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(watched, event);
    }

private:
    std::function<void()> enter_;
    mutable QPointer<QWidget> open_;
};

namespace {

// Enter released in the grid itself (no editor open).
class EnterKeyUp : public QObject {
public:
    EnterKeyUp(QObject *parent, std::function<void()> enter) : QObject(parent), enter_(std::move(enter)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyRelease) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (!key->isAutoRepeat() && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                enter_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> enter_;
};

QLineEdit *Edit(QWidget *parent, const char *name, const char *text, int width = 80) {
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setFixedWidth(width);
    return e;
}

QLabel *Label(QWidget *parent, const char *name, const char *text) {
    auto *l = new QLabel(text, parent);
    if (name) l->setObjectName(name);
    return l;
}

}  // namespace

ConversionPage::ConversionPage(QWidget *parent) : QWidget(parent) {
    setObjectName("PNL_CONV");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName("SPLIT_CONV");
    layout->addWidget(split);

    list_ = new QListWidget(split);
    list_->setObjectName("LBCV");
    for (const auto &c : UnitCategories()) list_->addItem(c.caption);
    list_->setMinimumWidth(150);

    auto *right = new QWidget(split);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(6, 0, 0, 0);
    table_ = new QTableWidget(0, 2, right);
    table_->setObjectName("SGCV");
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->setColumnWidth(0, 180);
    table_->setColumnWidth(1, 180);
    table_->verticalHeader()->setDefaultSectionSize(18);
    table_->verticalHeader()->setMinimumSectionSize(18);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    table_->setTabKeyNavigation(true);
    delegate_ = new GridEditDelegate(table_, [this] { ConvertFromCurrentCell(); });
    table_->setItemDelegate(delegate_);
    table_->installEventFilter(new EnterKeyUp(table_, [this] { ConvertFromCurrentCell(); }));
    rightLayout->addWidget(table_, 1);

    settings_ = new QStackedWidget(right);
    settings_->setObjectName("PC_CONV");
    BuildAudioPage();
    BuildVideoPage();
    settings_->hide();
    rightLayout->addWidget(settings_);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({170, 400});

    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { ChooseCategory(row); });
}

QGroupBox *ConversionPage::RadioGroup(QWidget *parent, const char *name, const char *caption, QButtonGroup *&group,
                                      const std::vector<std::string> &items, int columns, int checked) {
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    group = new QButtonGroup(box);
    const int rows = (int(items.size()) + columns - 1) / columns;
    for (int i = 0; i < int(items.size()); ++i) {
        auto *b = new QRadioButton(QString::fromStdString(items[size_t(i)]), box);
        b->setObjectName(QString("%1_%2").arg(name).arg(i));
        group->addButton(b, i);
        grid->addWidget(b, i % rows, i / rows);
        if (i == checked) b->setChecked(true);
    }
    return box;
}

void ConversionPage::BuildAudioPage() {
    audioPage_ = new QWidget(settings_);
    audioPage_->setObjectName("TS_CONV_WAV");
    auto *row = new QHBoxLayout(audioPage_);
    row->setContentsMargins(0, 4, 0, 0);

    auto *rateBox = new QVBoxLayout;
    auto *rateLine = new QHBoxLayout;
    wavRate_ = Edit(audioPage_, "ED_CVWAV", "44100");
    rateLine->addWidget(wavRate_);
    rateLine->addWidget(Label(audioPage_, "LBL_CVWAV", "Hz"));
    rateBox->addLayout(rateLine);
    std::vector<std::string> bits = {"8-BIT", "12-BIT", "16-BIT", "20-BIT", "24-BIT", "32-BIT"};
    wavBitsBox_ = RadioGroup(audioPage_, "RG_CVWAV_BIT", "Precision", wavBits_, bits, 2, 2);
    rateBox->addWidget(wavBitsBox_);
    row->addLayout(rateBox);
    wavChannelsBox_ = RadioGroup(audioPage_, "RG_CVWAV_CHAN", "Channels", wavChannels_, {"Mono", "Stereo"}, 1, 1);
    row->addWidget(wavChannelsBox_, 0, Qt::AlignTop);
    std::vector<std::string> rates;
    for (long long r : kMp3Bitrates) rates.push_back(std::to_string(r));
    wavMp3Box_ = RadioGroup(audioPage_, "RG_CVWAV_MP3", "To MP3 Compress", wavMp3_, rates, 4, 3);
    row->addWidget(wavMp3Box_);
    row->addStretch(1);
    settings_->addWidget(audioPage_);

    connect(wavRate_, &QLineEdit::textChanged, this, [this] { AudioChanged(); });
    for (QButtonGroup *g : {wavBits_, wavChannels_, wavMp3_})
        connect(g, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on) AudioChanged();
        });
}

void ConversionPage::BuildVideoPage() {
    videoPage_ = new QWidget(settings_);
    videoPage_->setObjectName("TS_CONV_VID");
    auto *row = new QHBoxLayout(videoPage_);
    row->setContentsMargins(0, 4, 0, 0);

    vidFrame_ = new QGroupBox("Video Frames", videoPage_);
    vidFrame_->setObjectName("GB_CVID_FRAME");
    auto *frame = new QGridLayout(vidFrame_);
    vidWidth_ = Edit(vidFrame_, "ED_CVID_TX", "320", 60);
    vidHeight_ = Edit(vidFrame_, "ED_CVID_TY", "240", 60);
    vidFps_ = Edit(vidFrame_, "ED_CVID_FPS", "25", 60);
    frame->addWidget(vidWidth_, 0, 0);
    frame->addWidget(Label(vidFrame_, nullptr, "x"), 0, 1);
    frame->addWidget(vidHeight_, 0, 2);
    frame->addWidget(vidFps_, 1, 0);
    frame->addWidget(Label(vidFrame_, "LBL_CVID_FPS", "fps"), 1, 1, 1, 2);
    row->addWidget(vidFrame_, 0, Qt::AlignTop);

    std::vector<std::string> colors;
    for (const auto &c : kColorDepths) colors.push_back(c.caption);
    vidColorBox_ = RadioGroup(videoPage_, "RG_CVID_COL", "Color depth", vidColor_, colors, 1, 0);
    row->addWidget(vidColorBox_, 0, Qt::AlignTop);

    vidPak_ = new QGroupBox("Compression BitRate", videoPage_);
    vidPak_->setObjectName("GB_CVID_PAK");
    auto *pak = new QGridLayout(vidPak_);
    vidVbpsLabel_ = Label(vidPak_, "LBL_CVID_VBPS", "Video Bitrate");
    vidVbps_ = Edit(vidPak_, "ED_CVID_VBPS", "700000");
    vidAudio_ = new QCheckBox("Audio Bitrate", vidPak_);
    vidAudio_->setObjectName("CHK_CVID_ABPS");
    vidAbps_ = Edit(vidPak_, "ED_CVID_ABPS", "64000");
    vidAbpsLabel_ = Label(vidPak_, "LBL_CVID_ABPS", "bits/s");
    pak->addWidget(vidVbpsLabel_, 0, 0);
    pak->addWidget(vidVbps_, 0, 1);
    pak->addWidget(Label(vidPak_, nullptr, "bits/s"), 0, 2);
    pak->addWidget(vidAudio_, 1, 0);
    pak->addWidget(vidAbps_, 1, 1);
    pak->addWidget(vidAbpsLabel_, 1, 2);
    vidAbps_->hide();
    vidAbpsLabel_->hide();
    row->addWidget(vidPak_, 0, Qt::AlignTop);
    row->addStretch(1);
    settings_->addWidget(videoPage_);

    for (QLineEdit *e : {vidWidth_, vidHeight_, vidFps_, vidVbps_, vidAbps_})
        connect(e, &QLineEdit::textChanged, this, [this] { VideoChanged(); });
    connect(vidColor_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) VideoChanged();
    });
    connect(vidAudio_, &QCheckBox::toggled, this, [this](bool on) {
        vidAbps_->setVisible(on);
        vidAbpsLabel_->setVisible(on);
        VideoChanged();
    });
}

void ConversionPage::AudioChanged() {
    AudioSettings &a = grid_.audio;
    a.rate = TypedText(wavRate_->text());
    a.bitsPerSample = kAudioPrecisions[size_t(std::max(0, wavBits_->checkedId()))];
    a.channels = wavChannels_->checkedId() == 0 ? 1 : 2;
    a.mp3Bitrate = kMp3Bitrates[size_t(std::max(0, wavMp3_->checkedId()))];
    if (grid_.Kind() != CategoryKind::Audio) return;
    grid_.RebuildCalculator();
    ShowRows(false);
}

void ConversionPage::VideoChanged() {
    VideoSettings &v = grid_.video;
    v.width = TypedText(vidWidth_->text());
    v.height = TypedText(vidHeight_->text());
    v.fps = TypedText(vidFps_->text());
    v.bytesPerPixel = kColorDepths[size_t(std::max(0, vidColor_->checkedId()))].bytesPerPixel;
    v.videoBitrate = TypedText(vidVbps_->text());
    v.withAudio = vidAudio_->isChecked();
    v.audioBitrate = TypedText(vidAbps_->text());
    if (grid_.Kind() != CategoryKind::Video) return;
    grid_.RebuildCalculator();
    ShowRows(false);
}

void ConversionPage::ShowRows(bool values) {
    const auto &rows = grid_.Rows();
    if (table_->rowCount() != int(rows.size())) table_->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        auto *name = table_->item(i, 0);
        if (!name) {
            name = new QTableWidgetItem;
            name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            table_->setItem(i, 0, name);
        }
        name->setText(DisplayText(rows[size_t(i)].name));
        if (values || !table_->item(i, 1)) table_->setItem(i, 1, new QTableWidgetItem(DisplayText(rows[size_t(i)].value)));
    }
    // 180 pixels, or wider where a calculator's row names need it.
    table_->resizeColumnToContents(0);
    table_->setColumnWidth(0, std::max(180, table_->columnWidth(0)));
}

void ConversionPage::ChooseCategory(int index) {
    if (!grid_.SelectCategory(index)) return;
    if (list_->currentRow() != index) {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(index);
    }
    switch (grid_.Kind()) {
    case CategoryKind::Audio:
        settings_->setCurrentWidget(audioPage_);
        settings_->show();
        break;
    case CategoryKind::Video:
        settings_->setCurrentWidget(videoPage_);
        settings_->show();
        break;
    case CategoryKind::Table: settings_->hide(); break;
    }
    ShowRows(true);
}

void ConversionPage::ConvertFromCurrentCell() {
    delegate_->CommitOpenEditor();
    const int row = table_->currentRow(), column = table_->currentColumn();
    if (row < 0 || column < 0) return;
    if (auto *cell = table_->item(row, 1)) grid_.SetValue(row, TypedText(cell->text()));
    if (!grid_.ConvertFrom(row, column)) return;
    const auto &rows = grid_.Rows();
    for (int i = 0; i < int(rows.size()); ++i)
        if (i != row) table_->setItem(i, 1, new QTableWidgetItem(DisplayText(rows[size_t(i)].value)));
}

void ConversionPage::ApplyLanguageLines(const std::vector<std::string> &lines) {
    struct Target {
        const char *key;
        std::function<void(const QString &)> set;
    };
    std::vector<Target> targets;
    const auto &categories = UnitCategories();
    for (int i = 0; i < int(categories.size()); ++i)
        targets.push_back({categories[size_t(i)].langKey, [this, i](const QString &t) { list_->item(i)->setText(t); }});
    auto title = [](QGroupBox *b) { return [b](const QString &t) { b->setTitle(t); }; };
    targets.push_back({"$GB_CVID_FRAME", title(vidFrame_)});
    targets.push_back({"$RG_CVID_COL", title(vidColorBox_)});
    targets.push_back({"$GB_CVID_PAK", title(vidPak_)});
    targets.push_back({"$LBL_CVID_VBPS", [this](const QString &t) { vidVbpsLabel_->setText(t); }});
    targets.push_back({"$CHK_CVID_ABPS", [this](const QString &t) { vidAudio_->setText(t); }});
    targets.push_back({"$RG_CVWAV_CHAN", title(wavChannelsBox_)});
    targets.push_back({"$RG_CVWAV_BIT", title(wavBitsBox_)});
    targets.push_back({"$RG_CVWAV_MP3", title(wavMp3Box_)});
    std::string value;
    for (const auto &line : lines)
        for (const auto &t : targets)
            if (KeyValue(line, t.key, value)) t.set(DisplayText(value));
}

}  // namespace qm
