#pragma once
// A window that sees its controls' key releases before they do (an application-wide event
// filter). A release travels up the parents of the focus widget, so the filter meets it
// several times: `Take` hands each release over once.
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace qm {

class KeyPreview {
public:
    // The key release `watched` receives, when it belongs to `window`, is no auto-repeat and
    // was not handed over already on its way up; null for every other event.
    const QKeyEvent *Take(QObject *watched, QEvent *event, const QWidget *window) {
        if (event->type() == QEvent::KeyPress) last_ = nullptr;
        if (event->type() != QEvent::KeyRelease) return nullptr;
        auto *w = qobject_cast<QWidget *>(watched);
        auto *k = static_cast<QKeyEvent *>(event);
        const bool passedUp = event == last_ && receiver_ && w && w != receiver_ && w->isAncestorOf(receiver_);
        if (!w || w->window() != window || k->isAutoRepeat() || passedUp) return nullptr;
        last_ = event;
        receiver_ = w;
        return k;
    }

private:
    const QEvent *last_ = nullptr;
    QPointer<QWidget> receiver_;
};

}  // namespace qm
