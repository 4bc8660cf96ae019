#pragma once
// The Road Planner page: the US and European field pages behind two flag buttons, the plan
// list and the bottom bar. It binds its controls to a RoadPlanner (src/tools) and keeps no
// logic of its own.
#include "app/Dialogs.h"
#include "tools/RoadPlanner.h"

#include <QWidget>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QTreeWidget;

namespace qm {

class ClickLabel;
class TMain;

// The file dialogs of the page, replaceable so that tests never block. Each gets the page and
// the proposed path and returns the chosen path ("" when cancelled).
using RoadFileDialog = std::function<QString(QWidget *page, const QString &proposed)>;
RoadFileDialog &RoadSaveDialogSlot();  // Save: a text file
RoadFileDialog &RoadPdfDialogSlot();   // Print without any printer installed: a PDF file

struct RoadPageHost {
    std::function<void(const std::string &text, AlertKind kind)> alert;
    std::function<void(const std::string &address)> openInBrowser;
    std::function<std::string()> fileSavedText;  // "File saved successfully!!!" of the message table
};

class RoadPage : public QWidget {
    Q_OBJECT
public:
    RoadPage(RoadPlanner &planner, QLabel *helpPanel, RoadPageHost host, QWidget *parent = nullptr);

    RoadPlanner &Planner() { return planner_; }

    // Field values into the planner, and back (after a flip).
    void ReadFields();
    void WriteFields();

    // The controls, by their names.
    QToolButton *UsButton() const { return usButton_; }
    QToolButton *FrButton() const { return frButton_; }
    QStackedWidget *Pages() const { return pages_; }
    QLineEdit *Field(const char *name) const;  // "ED_ROAD_ADDR1" ... "ED_ROAD_CODE2"
    QComboBox *Country(int which) const { return which == 1 ? country1_ : country2_; }
    ClickLabel *Credit() const { return credit_; }
    QTreeWidget *List() const { return list_; }
    QPushButton *RequestButton() const { return request_; }
    QPushButton *FlipButton() const { return flip_; }
    QPushButton *PrintButton() const { return print_; }
    QPushButton *SaveButton() const { return save_; }
    QCheckBox *KmBox() const { return km_; }
    QCheckBox *FastBox() const { return fast_; }

public slots:
    void Request();  // BT_ROADClick (and Enter in a field, when BT_ROAD is enabled)
    void Flip();
    void Print();
    void Save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyMode(RoadMode mode);
    void ShowRows();

    RoadPlanner &planner_;
    QLabel *help_;
    RoadPageHost host_;
    QString saveName_;    // the save dialog's file name, once it has one
    QString saveFolder_;  // the folder chosen last

    QToolButton *usButton_, *frButton_;
    QStackedWidget *pages_;
    QComboBox *country1_, *country2_;
    ClickLabel *credit_;
    QTreeWidget *list_;
    QPushButton *request_, *flip_, *print_, *save_;
    QCheckBox *km_, *fast_;
};

// Builds the page into the main window's Road Planner page and wires it: the planner's
// client set up by the proxy options, its busy flag as the window's road-planner activity,
// and the language loader choosing the planner.
void BindRoadPlanner(TMain &window);

}  // namespace qm
