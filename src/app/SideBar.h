#pragma once
// The vertical side bar of 16 entries that chooses the pages; separators cannot be chosen.
#include <QColor>
#include <QListWidget>

namespace qm {

class SideBar : public QListWidget {
    Q_OBJECT
public:
    explicit SideBar(QWidget *parent = nullptr);

    // Gradient and text colours of the colour model in use.
    void SetColors(QColor begin, QColor end, QColor text);
    // Highlights an entry without activating it; -1 clears the highlight.
    void Highlight(int position);
    // Caption of an entry (language files).
    void SetCaption(int position, const QString &caption);
    // Width that shows the longest caption.
    int PreferredWidth() const;

signals:
    // A selectable entry was clicked or activated with the keyboard.
    void entryChosen(int position);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor begin_, end_, text_;
};

}  // namespace qm
