#pragma once
// The pages of the main window. Every page has a one-line help panel at its top and a
// body below it that its feature fills.
#include "app/ShellModel.h"

#include <QLabel>
#include <QWidget>

class QPlainTextEdit;
class QVBoxLayout;

namespace qm {

// Program text (UTF-8) to display text.
QString Shown(const std::string &text);

// A label that reports a left click (filter-bar mode label, count label).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();
protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

class FeaturePage : public QWidget {
    Q_OBJECT
public:
    FeaturePage(PageId id, QWidget *parent = nullptr);

    PageId Id() const { return id_; }
    // PNL_HELP_...: the page's auto-help line.
    QLabel *HelpPanel() const { return help_; }
    // The area under the help panel, for the page's feature.
    QWidget *Body() const { return body_; }
    QVBoxLayout *BodyLayout() const { return bodyLayout_; }
    // Control that takes the keyboard focus when the page is chosen (none by default).
    virtual QWidget *FocusTarget() const { return focusTarget_; }
    void SetFocusTarget(QWidget *w) { focusTarget_ = w; }

private:
    PageId id_;
    QLabel *help_;
    QWidget *body_;
    QVBoxLayout *bodyLayout_;
    QWidget *focusTarget_ = nullptr;
};

// The hidden "DBG" page: one empty read-only memo that nothing writes to.
class DebugPage : public FeaturePage {
    Q_OBJECT
public:
    explicit DebugPage(QWidget *parent = nullptr);
    QPlainTextEdit *Memo() const { return memo_; }

private:
    QPlainTextEdit *memo_;
};

}  // namespace qm
