#include "app/Dialogs.h"

#include "app/ShellModel.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

namespace qm {

AlertHandler &AlertHandlerSlot() {
    static AlertHandler handler;
    return handler;
}

ConfirmHandler &ConfirmHandlerSlot() {
    static ConfirmHandler handler;
    return handler;
}

namespace {
QString CaptionOr(const std::string &caption) { return QString::fromStdString(caption.empty() ? AppTitle() : caption); }
}  // namespace

void ShowAlert(QWidget *window, const std::string &text, AlertKind kind, const std::string &caption) {
    if (window) BringToFront(window);
    if (auto &h = AlertHandlerSlot()) return h(window, text, kind);
    QMessageBox::Icon icon = kind == AlertKind::Error         ? QMessageBox::Critical
                             : kind == AlertKind::Information ? QMessageBox::Information
                                                              : QMessageBox::Question;
    QMessageBox box(icon, CaptionOr(caption), QString::fromStdString(text), QMessageBox::Ok, window);
    box.exec();
}

bool AskConfirm(QWidget *window, const std::string &text, const std::string &caption) {
    bool yes;
    if (auto &h = ConfirmHandlerSlot()) {
        yes = h(window, text);
    } else {
        QMessageBox box(QMessageBox::Question, CaptionOr(caption), QString::fromStdString(text),
                        QMessageBox::Yes | QMessageBox::No, window);
        yes = box.exec() == QMessageBox::Yes;
    }
    if (yes && window) BringToFront(window);
    return yes;
}

bool ConfirmAction() {
    QWidget *window = QApplication::activeWindow();
    if (auto &h = ConfirmHandlerSlot()) return h(window, "Are you sure?");
    QMessageBox box(QMessageBox::Question, QString::fromStdString(AppTitle()), "Are you sure?",
                    QMessageBox::Yes | QMessageBox::No, window);
    return box.exec() != QMessageBox::No;
}

bool BringToFront(QWidget *window) {
    if (!window) return false;
    window = window->window();
    if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    if (QApplication::activeWindow() == window) return true;
    if (!window->isVisible()) window->show();
    window->raise();
    window->activateWindow();
    return QApplication::activeWindow() == window;
}

void PopupAtCursor(QMenu *menu) {
    if (menu) menu->popup(QCursor::pos());
}

}  // namespace qm
