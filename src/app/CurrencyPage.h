#pragma once
// The currency page: PNL_DOL, kept centred, with the two currency lists, the flip button,
// the amount, the convert button and the result panel. The converter (src/tools) does the
// work; this widget shows its state and hands it the user's input.
#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace qm {

class CurrencyConverter;

class CurrencyPage : public QWidget {
    Q_OBJECT
public:
    CurrencyPage(CurrencyConverter &converter, QWidget *parent = nullptr);

    QWidget *Panel() const { return panel_; }         // PNL_DOL
    QComboBox *FromList() const { return from_; }     // CB_DOL_1
    QComboBox *ToList() const { return to_; }         // CB_DOL_2
    QToolButton *FlipButton() const { return flip_; } // BT_DOL_FLIP
    QLineEdit *AmountBox() const { return amount_; }  // ED_DOL
    QPushButton *ConvertButton() const { return convert_; }  // BT_DOL
    QLabel *Result() const { return result_; }        // PNL_DOL_TXT
    QLabel *Info() const { return info_; }            // LBL_DOL_INFO

    // The converter's state into the controls (after it was restored from the options).
    void ShowConverter();
    // Captions of a language file; the message-table texts come as arguments.
    void ApplyLanguageLines(const std::vector<std::string> &lines);
    void SetCaptions(const std::string &from, const std::string &to, const std::string &amount,
                     const std::string &convert);

protected:
    void resizeEvent(QResizeEvent *event) override;  // TS_CONV_MONEYResize
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Centre();

    CurrencyConverter &conv_;
    QWidget *panel_;
    QLabel *fromLabel_, *toLabel_, *amountLabel_, *info_, *result_;
    QComboBox *from_, *to_;
    QToolButton *flip_;
    QLineEdit *amount_;
    QPushButton *convert_;
};

}  // namespace qm
