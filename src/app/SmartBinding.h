#pragma once
// Puts the smart finder into the Smart page and binds it to its model and controller.
namespace qm {
class TMain;
void BindSmartFinder(TMain &window);
}  // namespace qm
