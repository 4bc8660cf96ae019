#pragma once
// The banner bar's widgets (PNL_FRIC, FRIC, LBL_PUB of the main window) bound to its model:
// the timer's banner step, the picture and its label, the click and the end of the run.
namespace qm {

class BannerBar;
class TMain;

// Creates the window's banner bar model and fills the hooks bannerStep and abortBanner.
void BindBannerBar(TMain &window);

// The model BindBannerBar made for the window (null before): the remote configuration's
// values (Configure, ShowFrontPicture, the step that applying makes) go to it.
BannerBar *BannerBarOf(TMain &window);

}  // namespace qm
