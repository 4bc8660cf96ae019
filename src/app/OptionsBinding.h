#pragma once
// The options window and the language passes wired into the main window.
#include "app/OptionsWindow.h"

namespace qm {

class TMain;

// Fills applyLanguage, applyLanguageBlocks and showOptionsWindow. Bound before the other
// features, so their language steps find the message table already replaced.
void BindOptionsWindow(TMain &window);
// Creates the (hidden) options window over the main window's options model.
TMainOPT *CreateOptionsDialog(TMain &window);

}  // namespace qm
