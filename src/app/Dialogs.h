#pragma once
// Message boxes, confirmation, foreground and popup helpers shared by every page.
// The message box and the confirmation are replaceable so that tests never block on a
// modal dialog.
#include <functional>
#include <string>

class QMenu;
class QWidget;

namespace qm {

enum class AlertKind : int { Error = 0, Information = 1, Question = 2 };

using AlertHandler = std::function<void(QWidget *window, const std::string &text, AlertKind kind)>;
using ConfirmHandler = std::function<bool(QWidget *window, const std::string &text)>;

// The handlers in use; assign to replace them (an empty handler restores the dialog).
AlertHandler &AlertHandlerSlot();
ConfirmHandler &ConfirmHandlerSlot();

// Brings the window to the foreground, then shows a modal box with the application title
// (or `caption` when given) as caption, one OK button and the icon of the kind.
void ShowAlert(QWidget *window, const std::string &text, AlertKind kind, const std::string &caption = {});
// Yes/No question with the question icon; true for Yes (the window is brought to the
// foreground first).
bool AskConfirm(QWidget *window, const std::string &text, const std::string &caption = {});
// The toolkit's fixed "Are you sure?"; false only for No.
bool ConfirmAction();
// Restores a minimized window and raises and activates it; true when it is the active
// window afterwards (a window manager may refuse to hand over the focus).
bool BringToFront(QWidget *window);
// Opens a popup menu at the mouse position.
void PopupAtCursor(QMenu *menu);

}  // namespace qm
