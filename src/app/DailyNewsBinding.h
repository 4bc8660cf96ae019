#pragma once
namespace qm {
class TMain;
// Puts the Daily News tab into its page and binds it to a DailyNews controller (object name
// "DailyNews", a child of the window); fills the buildNewsTree and endDailyNewsUpdate hooks
// and chains the group choice of the language into applyLanguage.
void BindDailyNews(TMain &window);
}  // namespace qm
