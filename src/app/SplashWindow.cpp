#include "app/SplashWindow.h"

#include "app/MainWindow.h"
#include "app/OptionsWindow.h"
#include "toolkit/DisplayText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

namespace qm {

namespace {

constexpr int kMargin = 8;
constexpr int kListWidth = 170;
const char *const kPublisherNotice = "\u00a9 Quillmar team";

// Focus the user moved: a click, Tab or a shortcut. Not the focus a window gets back when
// it is activated, nor the round trip through the list's own popup.
bool UserMovedFocus(Qt::FocusReason reason) {
    switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

}  // namespace

TMainGFX::TMainGFX(SplashHost host, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), host_(std::move(host)) {
    setObjectName("TMainGFX");
    setModal(true);
    // The window itself takes the keyboard when shown: a dialog would otherwise hand it to
    // its first control, the language list, as if the user had entered it.
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet("QDialog#TMainGFX { background: black; }"
                  "QLabel#LBL_LANG, QCheckBox#CHK_OFF { color: white; }"
                  "QLabel#LBL_CPY { color: #e02020; }");

    picture_ = new QLabel(this);
    picture_->setObjectName("GFX");
    picture_->move(0, 0);
    langLabel_ = new QLabel("Language", this);
    langLabel_->setObjectName("LBL_LANG");
    langBox_ = new QComboBox(this);
    langBox_->setObjectName("CB_LANG");
    notice_ = new QLabel(QString::fromUtf8(kPublisherNotice), this);
    notice_->setObjectName("LBL_CPY");
    QFont small = notice_->font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 2));
    notice_->setFont(small);
    dontShow_ = new QCheckBox("Don't show this window anymore", this);
    dontShow_->setObjectName("CHK_OFF");
    dontShow_->setFocusPolicy(Qt::ClickFocus);
    picture_->installEventFilter(this);
    langBox_->installEventFilter(this);
    connect(langBox_, &QComboBox::currentIndexChanged, this, &TMainGFX::OnLanguageChanged);

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer1");
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, &TMainGFX::Tick);
    timer_->start();
}

TMainGFX::~TMainGFX() {
    if (filtering_ && qApp) qApp->removeEventFilter(this);
}

void TMainGFX::ShowModal(int displayLimit) {
    model_.SetLimit(displayLimit);
    if (!LoadPicture()) {
        done(Rejected);  // closed at once: only the close steps run
        return;
    }
    setFocus(Qt::OtherFocusReason);  // hidden: this only makes the window its own focus widget
    exec();
}

bool TMainGFX::LoadPicture() {
    pixmap_ = QPixmap();
    QImageReader reader(QString::fromStdString(host_.picture), "gif");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull()) return false;
    pixmap_ = QPixmap::fromImage(image);
    return !pixmap_.isNull();
}

void TMainGFX::Tick() {
    if (!isVisible()) return;
    if (model_.Tick()) reject();
}

void TMainGFX::ApplyTexts(const LanguageTexts &texts) {
    dontShow_->setText(DisplayText(texts.Text("$CHK_GFX_OFF")));
    CaptionLanguageLabel();
    if (isVisible()) LayOut();
}

void TMainGFX::CaptionLanguageLabel() {
    TMainOPT *opt = host_.optionsWindow ? host_.optionsWindow() : nullptr;
    langLabel_->setText(opt ? opt->LanguageFrame()->title() : QStringLiteral("Language"));
}

void TMainGFX::FillLanguages() {
    const QSignalBlocker quiet(langBox_);
    langBox_->clear();
    if (TMainOPT *opt = host_.optionsWindow ? host_.optionsWindow() : nullptr) {
        QComboBox *list = opt->Languages();
        for (int i = 0; i < list->count(); ++i) langBox_->addItem(list->itemText(i));
        langBox_->setCurrentIndex(list->currentIndex());
    }
    CaptionLanguageLabel();
}

void TMainGFX::LayOut() {
    picture_->setPixmap(pixmap_);
    picture_->resize(pixmap_.size());
    notice_->adjustSize();
    langLabel_->adjustSize();
    dontShow_->adjustSize();
    const int listHeight = langBox_->sizeHint().height();
    const SplashLayout l = LayOutSplash(pixmap_.width(), pixmap_.height(), notice_->height(), listHeight,
                                        dontShow_->height());
    notice_->move(l.width - notice_->width() - kMargin, pixmap_.height() + 1);
    langLabel_->move(kMargin, l.languageLabelTop);
    langBox_->setGeometry(langLabel_->x() + langLabel_->width() + kMargin, l.languageListTop,
                          std::max(kListWidth, langBox_->sizeHint().width()), listHeight);
    dontShow_->move(kMargin, l.checkBoxTop);
    setFixedSize(l.width, l.height);
    QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());
}

void TMainGFX::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    model_.Shown();
    if (!LoadPicture()) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    FillLanguages();
    LayOut();
    // Key preview: the window sees every key release of its controls.
    if (!filtering_) {
        qApp->installEventFilter(this);
        filtering_ = true;
    }
}

void TMainGFX::hideEvent(QHideEvent *event) {
    if (filtering_) {
        qApp->removeEventFilter(this);
        filtering_ = false;
    }
    QDialog::hideEvent(event);
}

void TMainGFX::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        model_.Activated();
        if (!focusWidget()) setFocus(Qt::ActiveWindowFocusReason);
    }
}

bool TMainGFX::eventFilter(QObject *watched, QEvent *event) {
    if (const QKeyEvent *k = keys_.Take(watched, event, this); k && SplashModel::KeyCloses(k->key())) {
        reject();
        return true;
    }
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        if (watched == picture_ && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
            picture_->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            reject();
            return true;
        }
        break;
    case QEvent::FocusIn:
        if (watched == langBox_ && UserMovedFocus(static_cast<QFocusEvent *>(event)->reason()))
            model_.ListEntered();
        break;
    case QEvent::FocusOut:
        if (watched == langBox_ && UserMovedFocus(static_cast<QFocusEvent *>(event)->reason()))
            model_.ListLeft();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TMainGFX::OnLanguageChanged(int index) {
    if (index < 0) return;
    model_.LanguagePicked();
    if (host_.chooseLanguage) host_.chooseLanguage(TypedText(langBox_->itemText(index)));
    CaptionLanguageLabel();
    if (isVisible()) LayOut();
}

void TMainGFX::done(int result) {
    model_.dontShowAgain = dontShow_->isChecked();
    if (model_.SetsNoStartupLogo() && host_.dontShowAgain) host_.dontShowAgain();
    QDialog::done(result);
}

// --- In the main window -------------------------------------------------------------------

namespace {

TMainGFX *FindSplash(TMain &w) { return w.findChild<TMainGFX *>("TMainGFX", Qt::FindDirectChildrenOnly); }
TMainOPT *FindOptions(TMain &w) { return w.findChild<TMainOPT *>("TMainOPT", Qt::FindDirectChildrenOnly); }

}  // namespace

TMainGFX *CreateSplashDialog(TMain &window) {
    TMain *w = &window;
    SplashHost host;
    host.picture = w->Model().dirs.FrontPagePicture;
    host.optionsWindow = [w] { return FindOptions(*w); };
    host.chooseLanguage = [w](const std::string &name) {
        if (TMainOPT *opt = FindOptions(*w)) {
            opt->SelectLanguage(name);
        } else {
            Options o = w->OptionsModel().get();
            o.language = name;
            w->OptionsModel().set(o);
        }
        RunHook(w->Hooks().applyLanguage, name);
        RunHook(w->Hooks().applyLanguageBlocks, name);
    };
    host.dontShowAgain = [w] {
        Options o = w->OptionsModel().get();
        o.noStartupLogo = true;
        w->OptionsModel().set(o);
    };
    auto *splash = new TMainGFX(std::move(host), w);
    splash->ApplyTexts(w->Model().language);
    return splash;
}

void BindSplash(TMain &window) {
    ShellHooks &h = window.Hooks();
    TMain *w = &window;
    h.showSplash = [w](int displayLimit) {
        if (TMainGFX *splash = FindSplash(*w)) splash->ShowModal(displayLimit);
    };
    h.applyLanguage = [w, previous = h.applyLanguage](const std::string &language) {
        RunHook(previous, language);
        if (TMainGFX *splash = FindSplash(*w)) splash->ApplyTexts(w->Model().language);
    };
}

}  // namespace qm
