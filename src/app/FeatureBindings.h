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
// The options window: its creation loads the options file and applies the language.
void CreateOptionsWindow(TMain &window);

// Copies the bundled data (Language, Engines, Sounds, GFX) into a data root without
// overwriting what the user changed.
void PrepareDataRoot(const std::string &root);

// --demo: starts the fake web in this process. Returns the --connect-to routes that send
// every service host to it, or an empty text with a reason in `error`.
std::string StartDemoWeb(std::string &error);
void StopDemoWeb();

// Routes service hosts elsewhere (--connect-to, $QUILLMAR_CONNECT_TO).
void ApplyConnectTo(const std::string &spec);

}  // namespace qm
