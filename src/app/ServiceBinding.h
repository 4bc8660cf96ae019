#pragma once
// Binds the run's link to the home site (src/service/ServiceLink.h) to the main window: the
// download on the third tick, the applied flag, the title, the notice, the first banner step.
namespace qm {

class TMain;
class ServiceLink;

// Makes the window's ServiceLink (a child named "ServiceLink") and fills startConfigDownload
// and configApplied; chains its Abort into abortBanner (the close sequence). Its events
// configure the banner bar (BannerBarOf, bound before), give it the front picture, retitle
// the window, show the notice and make the bar's first step.
void BindServiceLink(TMain &window);

// The window's link, for whoever connects its banner events; nullptr before BindServiceLink.
ServiceLink *ServiceLinkOf(TMain &window);

}  // namespace qm
