#pragma once
// The unit-conversion page: the category list (LBCV), the grid (SGCV) and, for the two
// recording calculators, their settings below the grid (PC_CONV). The rows, factors, values
// and the conversion live in UnitGrid (src/tools); this widget shows them and reports
// clicks, Enter and setting changes.
#include "tools/UnitGrid.h"

#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QStackedWidget;
class QTableWidget;

namespace qm {

class GridEditDelegate;

class ConversionPage : public QWidget {
    Q_OBJECT
public:
    explicit ConversionPage(QWidget *parent = nullptr);

    UnitGrid &Grid() { return grid_; }
    QListWidget *CategoryList() const { return list_; }   // LBCV
    QTableWidget *Table() const { return table_; }        // SGCV
    QStackedWidget *Settings() const { return settings_; }  // PC_CONV
    QWidget *AudioPage() const { return audioPage_; }     // TS_CONV_WAV
    QWidget *VideoPage() const { return videoPage_; }     // TS_CONV_VID

    // LBCVClick: picks a category as a click would.
    void ChooseCategory(int index);
    // SGCVKeyUp with Enter: converts from the grid's current cell.
    void ConvertFromCurrentCell();

    // Captions replaced by a language file: the list items by their keys, the settings'
    // group titles and labels by theirs. Lines are tried as the key-and-value rule says.
    void ApplyLanguageLines(const std::vector<std::string> &lines);

private:
    void BuildAudioPage();
    void BuildVideoPage();
    QGroupBox *RadioGroup(QWidget *parent, const char *name, const char *caption, QButtonGroup *&group,
                          const std::vector<std::string> &items, int columns, int checked);
    void AudioChanged();
    void VideoChanged();
    void ShowRows(bool values);

    UnitGrid grid_;
    QListWidget *list_ = nullptr;
    QTableWidget *table_ = nullptr;
    GridEditDelegate *delegate_ = nullptr;
    QStackedWidget *settings_ = nullptr;
    QWidget *audioPage_ = nullptr, *videoPage_ = nullptr;
    QLineEdit *wavRate_ = nullptr;
    QButtonGroup *wavBits_ = nullptr, *wavChannels_ = nullptr, *wavMp3_ = nullptr, *vidColor_ = nullptr;
    QGroupBox *wavBitsBox_ = nullptr, *wavChannelsBox_ = nullptr, *wavMp3Box_ = nullptr, *vidColorBox_ = nullptr;
    QGroupBox *vidFrame_ = nullptr, *vidPak_ = nullptr;
    QLineEdit *vidWidth_ = nullptr, *vidHeight_ = nullptr, *vidFps_ = nullptr, *vidVbps_ = nullptr, *vidAbps_ = nullptr;
    QLabel *vidVbpsLabel_ = nullptr, *vidAbpsLabel_ = nullptr;
    QCheckBox *vidAudio_ = nullptr;
};

}  // namespace qm
