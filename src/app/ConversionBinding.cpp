#include "app/ConversionBinding.h"

#include "app/ConversionPage.h"
#include "app/CurrencyPage.h"
#include "app/MainWindow.h"
#include "app/Pages.h"
#include "net/Proxy.h"
#include "settings/DataRoot.h"
#include "settings/KeyValue.h"
#include "toolkit/AtomicFile.h"
#include "tools/CurrencyConverter.h"

#include <QApplication>
#include <QLineEdit>
#include <QLabel>
#include <QVBoxLayout>

#include <memory>

namespace qm {

namespace {

// The converter's state follows the options ($CurrencyFrom, $CurrencyTo, $CurrencyAmount,
// $CurrencyValue) in both directions: loaded options restore it, every change is written
// back so that the options file saves it with the other settings.
void SyncCurrencyOptions(TMain &w, CurrencyConverter &conv, CurrencyPage &page) {
    OptionsHolder &holder = w.OptionsModel();
    auto restoring = std::make_shared<bool>(false);
    auto store = [&holder, &conv, restoring] {
        if (*restoring) return;
        Options o = holder.get();
        o.currencyFrom = conv.From();
        o.currencyTo = conv.To();
        o.currencyAmount = conv.Amount();
        o.currencyValue = conv.Shown();
        holder.set(o);  // emits only when something changed
    };
    QObject::connect(&holder, &OptionsHolder::changed, &conv, [&holder, &conv, &page, restoring] {
        const Options &o = holder.get();
        if (*restoring || (o.currencyFrom == conv.From() && o.currencyTo == conv.To() &&
                           o.currencyAmount == conv.Amount() && o.currencyValue == conv.Shown()))
            return;
        const Options loaded = o;
        *restoring = true;
        conv.Cancel();
        conv.SetFrom(loaded.currencyFrom);
        conv.SetTo(loaded.currencyTo);
        conv.SetAmount(loaded.currencyAmount);
        conv.SetShown(loaded.currencyValue);
        page.ShowConverter();
        *restoring = false;
    });
    QObject::connect(&conv, &CurrencyConverter::selectionChanged, &conv, store);
    QObject::connect(&conv, &CurrencyConverter::shownChanged, &conv, store);
    QObject::connect(page.AmountBox(), &QLineEdit::textChanged, &conv, store);
}

}  // namespace

void BindConversionTools(TMain &window) {
    TMain *w = &window;

    FeaturePage *units = w->Page(PageId::Units);
    auto *conversion = new ConversionPage(units->Body());
    units->BodyLayout()->addWidget(conversion, 1);
    conversion->ChooseCategory(0);  // "Area"

    CurrencyEnvironment env;
    env.configureClient = [w](THttpCli &c) { ApplyProxySettings(c, w->OptionsModel().get().proxy); };
    env.startSound = [w] {
        if (!w->OptionsModel().get().muteWav) w->Misc().PlaySoundFile("/Sounds/Start.wav", w->Model().dirs.ProgramDir);
    };
    env.message = [w](const std::string &text) { w->ShowAlert(text, AlertKind::Error); };
    env.pump = [] { QApplication::processEvents(); };
    env.closing = [w] { return w->Model().closing != 0; };
    auto *conv = new CurrencyConverter(std::move(env), w);
    QObject::connect(conv, &CurrencyConverter::busyChanged, w,
                     [w](bool busy) { w->Model().Flag(Activity::CurrencyUpdate) = busy ? 1 : 0; });

    FeaturePage *money = w->Page(PageId::Currency);
    money->HelpPanel()->setText("Convertion tools");  // PNL_HELP_MONEY
    auto *currency = new CurrencyPage(*conv, money->Body());
    money->BodyLayout()->addWidget(currency, 1);
    SyncCurrencyOptions(*w, *conv, *currency);

    // Language: the pages' own captions, then the captions taken from the message table.
    ShellHooks &h = w->Hooks();
    h.applyLanguage = [w, conversion, currency, money, previous = h.applyLanguage](const std::string &language) {
        RunHook(previous, language);
        // The texts of the language pass (English where the file has no line), as key lines.
        if (w->Model().language.fileRead) {
            std::vector<std::string> lines;
            for (const auto &k : LanguageKeyList()) lines.push_back(std::string(k.key) + " = " + w->Model().language.Text(k.key));
            conversion->ApplyLanguageLines(lines);
            currency->ApplyLanguageLines(lines);
            std::string value;
            for (const auto &line : lines)
                if (KeyValue(line, "$PNL_CONV_MONEY", value)) money->HelpPanel()->setText(Shown(value));
        }
        const MessageTable &m = w->Model().messages;
        currency->SetCaptions(m.Text(Msg::From), m.Text(Msg::To), m.Text(Msg::Amount), m.Text(Msg::ConvertCurrency));
    };
    h.releaseFeatures = [conv, previous = h.releaseFeatures] {
        conv->Cancel();
        RunHook(previous);
    };
}

}  // namespace qm
