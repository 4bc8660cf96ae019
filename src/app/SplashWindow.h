#pragma once
// TMainGFX: the splash window. It shows the front-page picture for a few seconds at start
// (and as the help menu's "About"), offers the options window's language list, and can be
// told not to come back. Its rules are SplashModel's; this class binds the widgets.
#include "app/KeyPreview.h"
#include "app/SplashModel.h"
#include "settings/Language.h"

#include <QDialog>
#include <QPixmap>
#include <QPointer>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QTimer;

namespace qm {

class TMain;
class TMainOPT;

// What the splash window needs from the program.
struct SplashHost {
    std::string picture;                                      // the front-page picture file
    std::function<TMainOPT *()> optionsWindow;                // its language list and frame caption
    std::function<void(const std::string &)> chooseLanguage;  // current language, then both passes
    std::function<void()> dontShowAgain;                      // ticks $NoStartupLogo
};

class TMainGFX : public QDialog {
    Q_OBJECT
public:
    explicit TMainGFX(SplashHost host, QWidget *parent = nullptr);
    ~TMainGFX() override;

    // Shows the window modally with a display limit (10 at start, 15 for "About"); returns
    // when it closes. A missing or undecodable picture closes it at once: nothing shows.
    void ShowModal(int displayLimit);
    // One tick of Timer1 (the timer calls it every second while the window exists).
    void Tick();
    // Captions from the language texts.
    void ApplyTexts(const LanguageTexts &texts);

    SplashModel &Model() { return model_; }
    QLabel *Picture() const { return picture_; }        // GFX
    QLabel *LanguageLabel() const { return langLabel_; } // LBL_LANG
    QComboBox *Languages() const { return langBox_; }   // CB_LANG
    QLabel *Notice() const { return notice_; }          // LBL_CPY
    QCheckBox *DontShow() const { return dontShow_; }   // CHK_OFF
    QTimer *Timer() const { return timer_; }            // Timer1

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    bool LoadPicture();
    void FillLanguages();
    void CaptionLanguageLabel();
    void LayOut();
    void OnLanguageChanged(int index);

    SplashHost host_;
    SplashModel model_;
    QPixmap pixmap_;
    KeyPreview keys_;
    bool filtering_ = false;

    QLabel *picture_ = nullptr;
    QLabel *langLabel_ = nullptr;
    QComboBox *langBox_ = nullptr;
    QLabel *notice_ = nullptr;
    QCheckBox *dontShow_ = nullptr;
    QTimer *timer_ = nullptr;
};

// Creates the hidden splash window as a child of the main window ("TMainGFX").
TMainGFX *CreateSplashDialog(TMain &window);
// Fills showSplash and gives the splash its captions after each key pass.
void BindSplash(TMain &window);

}  // namespace qm
