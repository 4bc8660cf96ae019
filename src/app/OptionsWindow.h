#pragma once
// TMainOPT: the options window. Every control edits the one `Options` of the OptionsHolder
// at once; the rules (visibility, cache listing, colour models, pages) are the display-free
// ones of settings/OptionsEdit.h. Closing (OK, Escape, close box) calls `closed`.
#include "settings/Language.h"
#include "settings/OptionsEdit.h"

#include <QColor>
#include <QDialog>

#include <array>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabWidget;
class QTreeWidget;
class QWidget;

namespace qm {

class ClickLabel;

// What the options window needs from the program.
struct OptionsWindowHost {
    DataFolders folders;
    std::string languageFolder;
    std::function<HistoryBox &(HistoryId)> history;     // a query box's history, current
    std::function<void(HistoryId)> historyChanged;      // after words were removed
    std::function<bool()> confirm;                      // "Are you sure?"
    std::function<void(const std::string &)> chooseLanguage;  // applies both passes
    std::function<void(QColor, QColor, QColor)> previewColors;  // side bar, before "Save"
    std::function<void()> closed;                       // writes the options file
};

// Replaceable dialogs (tests never block): a file to run, and a colour. Empty result or
// nullopt: cancelled.
using ProgramDialogFn = std::function<QString(QWidget *parent, const QString &folder)>;
using ColorDialogFn = std::function<std::optional<QColor>(QWidget *parent, QColor initial)>;
ProgramDialogFn &ProgramDialogSlot();
ColorDialogFn &ColorDialogSlot();

class TMainOPT : public QDialog {
    Q_OBJECT
public:
    TMainOPT(OptionsHolder &options, MessageTable &messages, OptionsWindowHost host, QWidget *parent = nullptr);

    // Opens modally on the page the opener asks for (exec); `modal` false only shows it.
    void Open(OptionsOpener by, bool modal = true);
    // Captions from the language texts (key pass and derived captions).
    void ApplyTexts(const LanguageTexts &texts);
    // Controls from the options (at creation and when opened).
    void LoadControls();
    // Another window picked a language: it becomes the current language name and the
    // language list selects its entry (no pass is applied here).
    void SelectLanguage(const std::string &name);

    void ShowPage(OptionsPage p);
    OptionsPage CurrentPage() const;
    // The cache page: type click (0-6) and the cache-size links (0 web, 1 news).
    void ChooseCacheType(int type);
    void OpenCacheSizeLink(int type);
    void RemoveSelectedWords();
    void RemoveSelectedFiles();

    // Controls, for the tests and the language pass.
    QListWidget *PageList() const { return pageList_; }
    QLabel *TitlePanel() const { return title_; }
    QStackedWidget *Pages() const { return pages_; }
    QTabWidget *SearchTabs() const { return findTabs_; }
    QTabWidget *CacheTabs() const { return cacheTabs_; }
    struct SearchControls {
        QListWidget *engines = nullptr;
        QComboBox *history = nullptr;
        QLineEdit *max = nullptr;
        QRadioButton *total = nullptr, *perEngine = nullptr;
        QCheckBox *diskCache = nullptr;
        ClickLabel *cacheSize = nullptr;
        QGroupBox *historyGroup = nullptr, *amountGroup = nullptr, *modeGroup = nullptr;
        QLabel *maxLabel = nullptr;
    };
    const SearchControls &WebControls() const { return web_; }
    const SearchControls &NewsControls() const { return news_; }
    QCheckBox *MergeSameSite() const { return merge_; }
    QCheckBox *EngineStatus() const { return engineStatus_; }
    QComboBox *ProxyType() const { return proxyType_; }
    QLineEdit *ProxyAddress() const { return proxyAddr_; }
    QLineEdit *ProxyPort() const { return proxyPort_; }
    QCheckBox *ProxyAuth() const { return proxyAuth_; }
    QLineEdit *ProxyUser() const { return proxyUser_; }
    QLineEdit *ProxyPassword() const { return proxyPass_; }
    QGroupBox *SocksGroup() const { return socksGroup_; }
    QLineEdit *IdleTimeout() const { return idle_; }
    QButtonGroup *CacheTypes() const { return cacheTypes_; }
    QTreeWidget *Words() const { return words_; }
    QTreeWidget *Files() const { return files_; }
    QPushButton *WordsAll() const { return wordsAll_; }
    QPushButton *WordsRemove() const { return wordsDel_; }
    QPushButton *FilesAll() const { return filesAll_; }
    QPushButton *FilesRemove() const { return filesDel_; }
    QLabel *CacheTotal() const { return cacheTotal_; }
    QLineEdit *PingAmount() const { return pingAmount_; }
    QLineEdit *PingDelay() const { return pingDelay_; }
    QCheckBox *MuteWav() const { return mute_; }
    QCheckBox *NoAutoHelp() const { return noHelp_; }
    QCheckBox *NoWhoQuestion() const { return noWho_; }
    QCheckBox *NoLogo() const { return noLogo_; }
    QRadioButton *NavDefault() const { return navDefault_; }
    QRadioButton *NavOther() const { return navOther_; }
    QLineEdit *NavPath() const { return navPath_; }
    QPushButton *NavBrowse() const { return navBrowse_; }
    QRadioButton *SurfNew() const { return surfNew_; }
    QRadioButton *SurfSame() const { return surfSame_; }
    QGroupBox *DownloadGroup() const { return dlGroup_; }
    QRadioButton *Download(int i) const { return dl_[size_t(i)]; }
    QLineEdit *DownloadPath() const { return dlPath_; }
    QPushButton *DownloadBrowse() const { return dlBrowse_; }
    QComboBox *ColorModels() const { return colorBox_; }
    QPushButton *Swatch(int i) const { return swatches_[size_t(i)]; }
    QPushButton *ColorSave() const { return colorSave_; }
    QComboBox *StartupTab() const { return startTab_; }
    QComboBox *Languages() const { return langBox_; }
    QGroupBox *LanguageFrame() const { return langFrame_; }
    QPushButton *OkButton() const { return ok_; }
    QColor SwatchColor(int i) const { return swatchColors_[size_t(i)]; }

    // Colour model rules.
    void ApplyColorModel();
    void ChangeSwatch(int i);
    void SaveColorModelClicked();
    // Download choice rule (third option: probe the agents when the box names no file).
    void ChooseDownload(int i);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Edit(const std::function<void(Options &)> &change);
    QWidget *BuildSearchTab(SearchControls &c, bool web);
    QWidget *BuildProxyPage();
    QWidget *BuildCachePage();
    QWidget *BuildMiscPage();
    QWidget *BuildNavPage();
    void ApplyHistoryRule();
    void ApplyProxyRules();
    void ListCacheTypeNow(int type);
    void ToggleAll(QTreeWidget *list, QPushButton *remove);
    void PaintColors(QColor begin, QColor end, QColor text);

    OptionsHolder &options_;
    MessageTable &messages_;
    OptionsWindowHost host_;
    OptionsPageState pageState_;
    bool loading_ = false;
    int cacheType_ = 0;
    std::vector<CacheFileRow> fileRows_;
    std::array<QColor, 3> swatchColors_;

    QListWidget *pageList_ = nullptr;
    QLabel *title_ = nullptr;
    QStackedWidget *pages_ = nullptr;
    QTabWidget *findTabs_ = nullptr, *cacheTabs_ = nullptr;
    SearchControls web_, news_;
    QCheckBox *merge_ = nullptr, *engineStatus_ = nullptr;
    QComboBox *proxyType_ = nullptr;
    QLabel *proxyAddrLabel_ = nullptr, *proxyPortLabel_ = nullptr, *proxyTypeLabel_ = nullptr;
    QLabel *proxyUserLabel_ = nullptr, *proxyPassLabel_ = nullptr, *idleLabel_ = nullptr;
    QLineEdit *proxyAddr_ = nullptr, *proxyPort_ = nullptr, *proxyUser_ = nullptr, *proxyPass_ = nullptr;
    QCheckBox *proxyAuth_ = nullptr;
    QWidget *authFrame_ = nullptr;
    QGroupBox *socksGroup_ = nullptr;
    std::array<QRadioButton *, 3> socks_{};
    QLineEdit *idle_ = nullptr;
    QLabel *cacheInfo1_ = nullptr, *cacheInfo2_ = nullptr;
    QGroupBox *cacheTypeGroup_ = nullptr;
    QButtonGroup *cacheTypes_ = nullptr;
    QTreeWidget *words_ = nullptr, *files_ = nullptr;
    QPushButton *wordsAll_ = nullptr, *wordsDel_ = nullptr, *filesAll_ = nullptr, *filesDel_ = nullptr;
    QLabel *cacheTotal_ = nullptr;
    QGroupBox *pingGroup_ = nullptr;
    QLabel *pingLabel1_ = nullptr, *pingLabel2_ = nullptr;
    QLineEdit *pingAmount_ = nullptr, *pingDelay_ = nullptr;
    QCheckBox *mute_ = nullptr, *noHelp_ = nullptr, *noWho_ = nullptr, *noLogo_ = nullptr;
    QLabel *ah1_ = nullptr, *ah2_ = nullptr, *dnq1_ = nullptr, *dnq2_ = nullptr;
    QGroupBox *browseGroup_ = nullptr, *surfGroup_ = nullptr, *dlGroup_ = nullptr, *colGroup_ = nullptr,
              *tabGroup_ = nullptr;
    QRadioButton *navDefault_ = nullptr, *navOther_ = nullptr, *surfNew_ = nullptr, *surfSame_ = nullptr;
    QLineEdit *navPath_ = nullptr, *dlPath_ = nullptr;
    QPushButton *navBrowse_ = nullptr, *dlBrowse_ = nullptr;
    std::array<QRadioButton *, 3> dl_{};
    QComboBox *colorBox_ = nullptr;
    std::array<QPushButton *, 3> swatches_{};
    QPushButton *colorSave_ = nullptr;
    QComboBox *startTab_ = nullptr;
    QGroupBox *langFrame_ = nullptr;
    QComboBox *langBox_ = nullptr;
    QPushButton *ok_ = nullptr;
};

}  // namespace qm
