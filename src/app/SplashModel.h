#pragma once
// The splash window's rules without a window: how long it stays up (a display limit in
// one-second ticks and a tick counter), what resets the counter, which keys close it, and
// where its controls go below the picture. TMainGFX (SplashWindow.h) binds to it.

namespace qm {

class SplashModel {
public:
    static constexpr int kLimitAtCreation = 9;
    static constexpr int kLimitAtStart = 10;   // first activation of the main window
    static constexpr int kLimitAbout = 15;     // the help menu's "About"
    static constexpr int kLimitInList = 7;     // while the language list has the focus
    static constexpr int kLimitAfterList = 3;  // once it lost it

    // Set by the caller before each showing.
    void SetLimit(int limit) { limit_ = limit; }
    int Limit() const { return limit_; }
    int Counter() const { return counter_; }

    // Showing and activation restart the count.
    void Shown() { counter_ = 0; }
    void Activated() { counter_ = 0; }
    // One timer tick; true when the window closes now (the counter passed the limit), so a
    // limit L closes it on the (L + 1)-th tick after the last reset.
    bool Tick() { return ++counter_ > limit_; }

    // The language list: the user entering it, leaving it, picking a language.
    void ListEntered() { Restart(kLimitInList); }
    void ListLeft() { Restart(kLimitAfterList); }
    void LanguagePicked() { counter_ = 0; }

    // "Don't show this window anymore": whether closing sets $NoStartupLogo.
    bool dontShowAgain = false;
    bool SetsNoStartupLogo() const { return dontShowAgain; }

    // A released key closes the window when its code is 32 or less: Backspace, Tab,
    // Clear, Enter and Return, Shift, Control, Alt, Pause, Caps Lock, Escape and Space
    // (Qt::Key values). Arrows, letters and the rest do not.
    static bool KeyCloses(int qtKey);

private:
    void Restart(int limit) {
        limit_ = limit;
        counter_ = 0;
    }
    int limit_ = kLimitAtCreation;
    int counter_ = 0;
};

// Where the controls go under the picture, from the heights of the picture and the
// controls: the language label below the publisher's notice, the list 3 pixels higher than
// the label, the window as wide as the picture and tall enough for the list and the box.
struct SplashLayout {
    int width = 0, height = 0;
    int languageLabelTop = 0;
    int languageListTop = 0;
    int checkBoxTop = 0;
};
SplashLayout LayOutSplash(int pictureWidth, int pictureHeight, int noticeHeight, int listHeight,
                          int checkBoxHeight);

}  // namespace qm
