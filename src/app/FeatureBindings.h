#pragma once
// Where the features of the other layers are wired into the window program: the start-up
// steps of main() and the hooks of the main window's sequences.
#include <string>

namespace qm {

class TMain;

// Fills the hooks of the main window's sequences (ShellHooks) with the features that are
// built in. Called once at the end of TMain's construction.
void BindFeatures(TMain &window);

// The splash window (created hidden after the main window).
void CreateSplashWindow(TMain &window);
// The options window: its creation loads the options file (placing the window by the
// saved geometry) and applies the language.
void CreateOptionsWindow(TMain &window);

// --demo: starts the fake web in this process and routes every service host to it.
// False with a reason in `error` when it cannot listen.
bool StartDemoWeb(std::string &error);
void StopDemoWeb();

}  // namespace qm
