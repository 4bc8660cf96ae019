#include "app/FeatureBindings.h"

#include "app/MainWindow.h"

namespace qm {

void BindFeatures(TMain &window) {
    (void)window;
    // Features register their steps here as they are built in, for example
    //   window.Hooks().pressWebSearch = [&] { ... };
}

void CreateSplashWindow(TMain &window) {
    (void)window;  // The splash window and language choice are not built in yet.
}

void CreateOptionsWindow(TMain &window) {
    (void)window;  // Waits for the options model: load the options file, bind ShellOptions.
}

void PrepareDataRoot(const std::string &root) {
    (void)root;  // Waits for the settings layer's data root (bundled data copy).
}

std::string StartDemoWeb(std::string &error) {
    error = "the fake web is not built into this program yet";
    return {};
}

void StopDemoWeb() {}

void ApplyConnectTo(const std::string &spec) {
    (void)spec;  // Waits for the network layer's host routing.
}

}  // namespace qm
