#include "app/SplashModel.h"

#include <Qt>

namespace qm {

bool SplashModel::KeyCloses(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:  // Tab with Shift
    case Qt::Key_Clear:
    case Qt::Key_Enter:
    case Qt::Key_Return:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Pause:
    case Qt::Key_CapsLock:
    case Qt::Key_Escape:
    case Qt::Key_Space:
        return true;
    default:
        return false;
    }
}

SplashLayout LayOutSplash(int pictureWidth, int pictureHeight, int noticeHeight, int listHeight,
                          int checkBoxHeight) {
    SplashLayout l;
    l.width = pictureWidth;
    l.languageLabelTop = pictureHeight + noticeHeight + 6;
    l.languageListTop = l.languageLabelTop - 3;
    l.height = pictureHeight + listHeight + checkBoxHeight + 27;
    // The box right under the list, kept inside the window when the notice is tall.
    l.checkBoxTop = l.languageListTop + listHeight + 2;
    if (l.checkBoxTop + checkBoxHeight > l.height) l.checkBoxTop = l.height - checkBoxHeight;
    return l;
}

}  // namespace qm
