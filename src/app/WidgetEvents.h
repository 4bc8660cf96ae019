#pragma once
// Small event watchers the pages share: the keys of one control, acted on when they are
// released (the pages' key-up handlers: "A" and Enter of a result list, Escape and Enter of a
// filter box, Enter of a query box), and the window closing.
#include <QKeyEvent>
#include <QObject>
#include <QWidget>

#include <functional>

namespace qm {

inline bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

class KeyActions : public QObject {
public:
    // `act` receives the key of a plain release (no modifier but the keypad's) and returns
    // true when it used it; a used key goes no further. A release whose press went to another
    // control (Enter that chose a popup item or closed a dialog over this one) does nothing.
    static void Install(QWidget *target, std::function<bool(int key)> act) {
        target->installEventFilter(new KeyActions(target, std::move(act)));
    }

    // A result list: "A" toggles the selection of every row, Enter opens.
    static void InstallListKeys(QWidget *list, std::function<void()> toggleAll, std::function<void()> open) {
        Install(list, [toggleAll = std::move(toggleAll), open = std::move(open)](int key) {
            if (key == Qt::Key_A) toggleAll();
            else if (IsEnterKey(key)) open();
            else return false;
            return true;
        });
    }
    // An in-list filter box: Escape empties it, Enter brings the matching rows to the top.
    static void InstallFilterKeys(QWidget *box, std::function<void()> empty, std::function<void()> toTop) {
        Install(box, [empty = std::move(empty), toTop = std::move(toTop)](int key) {
            if (key == Qt::Key_Escape) empty();
            else if (IsEnterKey(key)) toTop();
            else return false;
            return true;
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(event);
            if (!k->isAutoRepeat()) pressed_ = k->key();
        } else if (event->type() == QEvent::KeyRelease) {
            auto *k = static_cast<QKeyEvent *>(event);
            if (k->isAutoRepeat()) return QObject::eventFilter(watched, event);
            const bool ours = pressed_ == k->key();
            pressed_ = 0;
            const bool plain = (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (ours && plain && act_(k->key())) return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    KeyActions(QObject *parent, std::function<bool(int)> act) : QObject(parent), act_(std::move(act)) {}

    std::function<bool(int)> act_;
    int pressed_ = 0;
};

// Calls `closing` when `window` receives its close event (before it closes); the watcher
// belongs to `owner`.
class CloseWatcher : public QObject {
public:
    static void Install(QWidget *window, QObject *owner, std::function<void()> closing) {
        window->installEventFilter(new CloseWatcher(owner, std::move(closing)));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Close) closing_();
        return QObject::eventFilter(watched, event);
    }

private:
    CloseWatcher(QObject *owner, std::function<void()> closing) : QObject(owner), closing_(std::move(closing)) {}

    std::function<void()> closing_;
};

}  // namespace qm
