#include "app/RoadPage.h"

#include "app/Pages.h"
#include "toolkit/DisplayText.h"
#include "tools/RoadPrint.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qm {

namespace {

QString FileDialog(QWidget *page, const QString &proposed, const QString &filter) {
    return QFileDialog::getSaveFileName(page, QString(), proposed, filter);
}

struct FieldSpec {
    const char *name, *caption;
};

// A group of labelled fields ("FROM", "DEPART", ...); the line edits are named.
QGroupBox *FieldGroup(const char *title, std::initializer_list<FieldSpec> fields, QWidget *parent,
                      QComboBox *country = nullptr, const char *countryCaption = nullptr) {
    auto *box = new QGroupBox(title, parent);
    auto *form = new QFormLayout(box);
    form->setContentsMargins(8, 6, 8, 6);
    for (const auto &f : fields) {
        auto *edit = new QLineEdit(box);
        edit->setObjectName(f.name);
        form->addRow(Shown(f.caption), edit);
    }
    if (country) {
        country->setParent(box);
        form->addRow(Shown(countryCaption), country);
    }
    return box;
}

QComboBox *CountryBox(const char *name) {
    auto *box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(false);
    for (const auto &c : RoadCountries()) box->addItem(Shown(c.name));
    box->setCurrentIndex(kRoadDefaultCountry);
    return box;
}

}  // namespace

RoadFileDialog &RoadSaveDialogSlot() {
    static RoadFileDialog slot;
    return slot;
}

RoadFileDialog &RoadPdfDialogSlot() {
    static RoadFileDialog slot;
    return slot;
}

RoadPage::RoadPage(RoadPlanner &planner, QLabel *helpPanel, RoadPageHost host, QWidget *parent)
    : QWidget(parent), planner_(planner), help_(helpPanel), host_(std::move(host)) {
    setObjectName("PNL_ROAD");
    saveFolder_ = QDir::homePath();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    // The two planner buttons and the field pages.
    auto *top = new QHBoxLayout;
    auto *flags = new QVBoxLayout;
    auto flagButton = [this](const char *name, const char *text) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setMinimumSize(64, 40);
        return b;
    };
    usButton_ = flagButton("BT_ROAD_US", "USA");
    usButton_->setToolTip("USA Road planner");
    frButton_ = flagButton("BT_ROAD_FR", "Europe");
    frButton_->setToolTip(Shown("Itinéraire routier européen"));
    flags->addWidget(usButton_);
    flags->addWidget(frButton_);
    flags->addStretch(1);
    top->addLayout(flags);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("PC_ROAD");
    auto *us = new QWidget(pages_);
    us->setObjectName("TS_ROAD_US");
    auto *usRow = new QHBoxLayout(us);
    usRow->setContentsMargins(0, 0, 0, 0);
    usRow->addWidget(FieldGroup("FROM", {{"ED_ROAD_ADDR1", "Address"}, {"ED_ROAD_CITY1", "City"},
                                         {"ED_ROAD_STATE1", "State"}, {"ED_ROAD_ZIP1", "or Zip"}}, us));
    usRow->addWidget(FieldGroup("TO", {{"ED_ROAD_ADDR2", "Address"}, {"ED_ROAD_CITY2", "City"},
                                       {"ED_ROAD_STATE2", "State"}, {"ED_ROAD_ZIP2", "or Zip"}}, us));
    auto *fr = new QWidget(pages_);
    fr->setObjectName("TS_ROAD_FR");
    auto *frRow = new QHBoxLayout(fr);
    frRow->setContentsMargins(0, 0, 0, 0);
    country1_ = CountryBox("CB_ROAD_PAYS1");
    country2_ = CountryBox("CB_ROAD_PAYS2");
    frRow->addWidget(FieldGroup("DEPART", {{"ED_ROAD_VILLE1", "Ville"}, {"ED_ROAD_CODE1", "Code postal"}}, fr,
                                country1_, "Pays"));
    frRow->addWidget(FieldGroup("ARRIVEE", {{"ED_ROAD_VILLE2", "Ville"}, {"ED_ROAD_CODE2", "Code postal"}}, fr,
                                country2_, "Pays"));
    pages_->addWidget(us);
    pages_->addWidget(fr);
    top->addWidget(pages_, 1);
    layout->addLayout(top);

    // The credit label above the list, at the right.
    credit_ = new ClickLabel(this);
    credit_->setObjectName("LBL_ROAD_CPY");
    credit_->setTextFormat(Qt::PlainText);
    credit_->setCursor(Qt::PointingHandCursor);
    credit_->setStyleSheet("color: #1d4f91; text-decoration: underline;");
    credit_->setContentsMargins(0, 0, 7, 0);
    layout->addWidget(credit_, 0, Qt::AlignRight);

    list_ = new QTreeWidget(this);
    list_->setObjectName("LV_ROAD");
    list_->setColumnCount(2);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHeaderLabels({"Steps", "Total distance"});
    list_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, 400);
    list_->setColumnWidth(1, 100);
    layout->addWidget(list_, 1);

    // The bottom bar.
    auto *bar = new QHBoxLayout;
    auto button = [this, bar](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        bar->addWidget(b);
        return b;
    };
    request_ = button("BT_ROAD", "Create Road plan");
    flip_ = button("BT_ROAD_FLIP", "Flip");
    print_ = button("BT_ROAD_PRT", "Print");
    save_ = button("BT_ROAD_SAVE", "Save");
    bar->addSpacing(12);
    km_ = new QCheckBox(this);
    km_->setObjectName("CHK_ROAD_KM");
    fast_ = new QCheckBox("Fastest route", this);
    fast_->setObjectName("CHK_ROAD_FAST");
    bar->addWidget(km_);
    bar->addWidget(fast_);
    bar->addStretch(1);
    layout->addLayout(bar);

    // Enter in any field asks for a plan.
    for (QLineEdit *e : findChildren<QLineEdit *>()) connect(e, &QLineEdit::returnPressed, this, &RoadPage::Request);
    country1_->installEventFilter(this);
    country2_->installEventFilter(this);

    connect(usButton_, &QToolButton::clicked, this, [this] { planner_.SelectPlanner(RoadMode::US); });
    connect(frButton_, &QToolButton::clicked, this, [this] { planner_.SelectPlanner(RoadMode::Europe); });
    connect(request_, &QPushButton::clicked, this, &RoadPage::Request);
    connect(flip_, &QPushButton::clicked, this, &RoadPage::Flip);
    connect(print_, &QPushButton::clicked, this, &RoadPage::Print);
    connect(save_, &QPushButton::clicked, this, &RoadPage::Save);
    connect(km_, &QCheckBox::clicked, this, [this](bool on) { planner_.SetKm(on); });
    connect(fast_, &QCheckBox::toggled, this, [this](bool on) { planner_.fastest = on; });
    connect(credit_, &ClickLabel::clicked, this, [this] {
        if (host_.openInBrowser) host_.openInBrowser(RoadHomePage(planner_.Mode()));
    });

    connect(&planner_, &RoadPlanner::modeChanged, this, &RoadPage::ApplyMode);
    connect(&planner_, &RoadPlanner::kmChanged, this, [this](bool on) {
        const QSignalBlocker quiet(km_);
        km_->setChecked(on);
    });
    connect(&planner_, &RoadPlanner::busyChanged, this, [this](bool busy) { request_->setEnabled(!busy); });
    connect(&planner_, &RoadPlanner::rowsChanged, this, &RoadPage::ShowRows);
    connect(&planner_, &RoadPlanner::notice, this, [this](const std::string &text) {
        if (host_.alert) host_.alert(text, AlertKind::Information);
    });

    ApplyMode(planner_.Mode());
    km_->setChecked(planner_.Km());
    fast_->setChecked(planner_.fastest);
    ShowRows();
}

QLineEdit *RoadPage::Field(const char *name) const { return findChild<QLineEdit *>(name); }

void RoadPage::ApplyMode(RoadMode mode) {
    const RoadTexts &t = RoadPlannerTexts(mode);
    if (help_) help_->setText(Shown(t.help));
    request_->setText(Shown(t.button));
    flip_->setToolTip(Shown(t.flipHint));
    print_->setToolTip(Shown(t.printHint));
    save_->setToolTip(Shown(t.saveHint));
    km_->setText(Shown(t.kmCaption));
    credit_->setText(Shown(t.creditCaption));
    credit_->setToolTip(Shown(t.creditHint));
    list_->headerItem()->setText(1, Shown(t.column2));
    fast_->setVisible(t.fastestVisible);
    pages_->setCurrentIndex(mode == RoadMode::Europe ? 1 : 0);
    (mode == RoadMode::Europe ? frButton_ : usButton_)->setChecked(true);
    if (layout()) layout()->activate();
}

void RoadPage::ShowRows() {
    list_->clear();
    QList<QTreeWidgetItem *> items;
    for (const auto &r : planner_.Rows()) {
        auto *item = new QTreeWidgetItem({Shown(r.step), Shown(r.distance)});
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items.append(item);
    }
    list_->addTopLevelItems(items);
}

void RoadPage::ReadFields() {
    auto text = [this](const char *name) { return TypedText(Field(name)->text()); };
    planner_.usFrom = {text("ED_ROAD_ADDR1"), text("ED_ROAD_CITY1"), text("ED_ROAD_STATE1"), text("ED_ROAD_ZIP1")};
    planner_.usTo = {text("ED_ROAD_ADDR2"), text("ED_ROAD_CITY2"), text("ED_ROAD_STATE2"), text("ED_ROAD_ZIP2")};
    planner_.euFrom = {text("ED_ROAD_VILLE1"), text("ED_ROAD_CODE1"), country1_->currentIndex()};
    planner_.euTo = {text("ED_ROAD_VILLE2"), text("ED_ROAD_CODE2"), country2_->currentIndex()};
    planner_.fastest = fast_->isChecked();
}

void RoadPage::WriteFields() {
    auto set = [this](const char *name, const std::string &v) { Field(name)->setText(DisplayText(v)); };
    set("ED_ROAD_ADDR1", planner_.usFrom.address), set("ED_ROAD_CITY1", planner_.usFrom.city);
    set("ED_ROAD_STATE1", planner_.usFrom.state), set("ED_ROAD_ZIP1", planner_.usFrom.zip);
    set("ED_ROAD_ADDR2", planner_.usTo.address), set("ED_ROAD_CITY2", planner_.usTo.city);
    set("ED_ROAD_STATE2", planner_.usTo.state), set("ED_ROAD_ZIP2", planner_.usTo.zip);
    set("ED_ROAD_VILLE1", planner_.euFrom.town), set("ED_ROAD_CODE1", planner_.euFrom.code);
    set("ED_ROAD_VILLE2", planner_.euTo.town), set("ED_ROAD_CODE2", planner_.euTo.code);
    country1_->setCurrentIndex(planner_.euFrom.country);
    country2_->setCurrentIndex(planner_.euTo.country);
}

void RoadPage::Request() {
    if (!request_->isEnabled() || planner_.Busy()) return;
    ReadFields();
    planner_.Request();
}

void RoadPage::Flip() {
    ReadFields();
    planner_.Flip();
    WriteFields();
}

void RoadPage::Print() {
    if (planner_.Rows().empty()) return;
    ReadFields();
    const auto headings = planner_.PrintHeadings();
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        QPrinter printer;  // the default printer
        if (!PrintRoadPlan(printer, headings, planner_.Rows(), list_->font()) && host_.alert)
            host_.alert("The road plan could not be printed.", AlertKind::Error);
        return;
    }
    // No printer is installed: the plan goes into a PDF file.
    const QString proposed = QDir(saveFolder_).filePath(
        QFileInfo(DisplayText(planner_.SuggestedFileName())).completeBaseName() + ".pdf");
    const QString path = RoadPdfDialogSlot() ? RoadPdfDialogSlot()(this, proposed)
                                             : FileDialog(this, proposed, "PDF files (*.pdf)");
    if (path.isEmpty()) return;
    if (!PrintRoadPlanToPdf(path.toStdString(), headings, planner_.Rows(), list_->font()) && host_.alert)
        host_.alert(FileNotWrittenMessage(TypedText(path)), AlertKind::Error);
}

void RoadPage::Save() {
    ReadFields();
    if (saveName_.isEmpty()) saveName_ = DisplayText(planner_.SuggestedFileName());
    const QString proposed = QDir(saveFolder_).filePath(saveName_);
    const QString path = RoadSaveDialogSlot() ? RoadSaveDialogSlot()(this, proposed)
                                              : FileDialog(this, proposed, "Text files (*.txt);;All files (*)");
    if (path.isEmpty()) return;
    saveFolder_ = QFileInfo(path).absolutePath();
    saveName_ = QFileInfo(path).fileName();
    if (planner_.SaveTo(path.toStdString())) {
        if (host_.alert) host_.alert(host_.fileSavedText ? host_.fileSavedText() : "File saved successfully!!!",
                                     AlertKind::Information);
    } else if (host_.alert) {
        host_.alert(FileNotWrittenMessage(TypedText(path)), AlertKind::Error);
    }
}

bool RoadPage::eventFilter(QObject *watched, QEvent *event) {
    if ((watched == country1_ || watched == country2_) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Request();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qm
