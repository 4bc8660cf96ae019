#include "tools/Currency.h"

#include "tools/NumberText.h"

#include <cmath>
#include <cstdlib>

namespace qm {

namespace {

constexpr std::array<CurrencyRow, kCurrencyCount> kCurrencies = {{
    {"Afghanistan Afghani", "AFA"},  // 0
    {"Albanian Lek", "ALL"},  // 1
    {"Algerian Dinar", "DZD"},  // 2
    {"Andorran Franc", "ADF"},  // 3
    {"Andorran Peseta", "ADP"},  // 4
    {"Argentine Peso", "ARS"},  // 5
    {"Aruba Florin", "AWG"},  // 6
    {"Australian Dollar", "AUD"},  // 7
    {"Austrian Schilling", "ATS"},  // 8
    {"Bahamian Dollar", "BSD"},  // 9
    {"Bahraini Dollar", "BHD"},  // 10
    {"Bangladesh Taka", "DBT"},  // 11
    {"Barbados Dollar", "BBD"},  // 12
    {"Belgian Franc", "BEF"},  // 13
    {"Belize Dollar", "BZD"},  // 14
    {"Bermuda Dollar", "BMD"},  // 15
    {"Bhutan Ngultrum", "BTN"},  // 16
    {"Bolivian Boliviano", "BOB"},  // 17
    {"Botswana Pula", "BWP"},  // 18
    {"Brazilian Real", "BRL"},  // 19
    {"British Pound", "GBP"},  // 20
    {"Brunei Dollar", "BND"},  // 21
    {"Burundi Franc", "BIF"},  // 22
    {"CFA Franc (BCEAO)", "XOF"},  // 23
    {"CFA Franc (BEAC)", "XAF"},  // 24
    {"Combodia Riel", "KHR"},  // 25
    {"Canadian Dollar", "CAD"},  // 26
    {"Cape Verde Escudo", "CVE"},  // 27
    {"Cayman Islands Dollar", "KYD"},  // 28
    {"Chilean Peso", "CLP"},  // 29
    {"Chinese Yuan", "CNY"},  // 30
    {"Colombian Peso", "COP"},  // 31
    {"Comoros Franc", "KMF"},  // 32
    {"Costa Rica Colon", "CRC"},  // 33
    {"Croatian Kuna", "HRK"},  // 34
    {"Cuban Peso", "CUP"},  // 35
    {"Cyprus Pound", "CYP"},  // 36
    {"Czech Koruna", "CZK"},  // 37
    {"Danish Krone", "DKK"},  // 38
    {"Djibouti Franc", "DJF"},  // 39
    {"Dominican Peso", "DOP"},  // 40
    {"Dutch Guilder", "NLG"},  // 41
    {"East Caribbean Dollar", "XCD"},  // 42
    {"Ecuadorian Sucre", "ECS"},  // 43
    {"Egyptian Pound", "EGP"},  // 44
    {"El Salvador Colon", "SVC"},  // 45
    {"Estonian Kroon", "EEK"},  // 46
    {"Ethiopian Birr", "ETB"},  // 47
    {"Euro", "EUR"},  // 48
    {"Falkland Islands Pound", "FKP"},  // 49
    {"Fiji Dollar", "FJD"},  // 50
    {"Finnish Mark", "FIM"},  // 51
    {"French Franc", "FRF"},  // 52
    {"Gambian Dalasi", "GMD"},  // 53
    {"German Mark", "DEM"},  // 54
    {"Ghanian Pound", "GHC"},  // 55
    {"Gibraltar Pound", "GIP"},  // 56
    {"Gold Ounces", "XAU"},  // 57
    {"Greek Drachma", "GRD"},  // 58
    {"Guatemala Quetzal", "GTQ"},  // 59
    {"Guinea Franc", "GNF"},  // 60
    {"Guyana Dollar", "GYD"},  // 61
    {"Haiti Gourde", "HTG"},  // 62
    {"Honduras Lempira", "HNL"},  // 63
    {"Hong Kong Dollar", "HKD"},  // 64
    {"Hungarian Forint", "HUF"},  // 65
    {"Iceland Krona", "ISK"},  // 66
    {"Indian Rupee", "INR"},  // 67
    {"Indonesian Rupiah", "IDR"},  // 68
    {"Iraqi Dinar", "IQD"},  // 69
    {"Irish Punt", "IEP"},  // 70
    {"Israeli Shekel", "ILS"},  // 71
    {"Italian Lira .L", "ITL"},  // 72
    {"Jamaican Dollar", "JMD"},  // 73
    {"Japanese Yen", "JPY"},  // 74
    {"Jordanian Dinar", "JOD"},  // 75
    {"Kazakhstan Tenge", "KZT"},  // 76
    {"Kenya Shilling", "KES"},  // 77
    {"Korean Won", "KRW"},  // 78
    {"Kuwati Dinar", "KWD"},  // 79
    {"Lao Kip", "LAK"},  // 80
    {"Latvian Lat", "LVL"},  // 81
    {"Lebanese Pound", "LBP"},  // 82
    {"Lesotho Loti", "LSL"},  // 83
    {"Liberian Dollar", "LRD"},  // 84
    {"Lybian Dinar", "LYD"},  // 85
    {"Lithuanian Lita", "LTL"},  // 86
    {"Luxembourg Franc", "LUF"},  // 87
    {"Macau Pataca", "MOP"},  // 88
    {"Macedonian Denar", "MKD"},  // 89
    {"Malagasy Franc", "MGF"},  // 90
    {"Malawi Kwacha", "MWK"},  // 91
    {"Malaysian Ringgit", "MYR"},  // 92
    {"Maldives Rufiyaa", "MVR"},  // 93
    {"Matese Lira", "MTL"},  // 94
    {"Mauritania Ougulya", "MRO"},  // 95
    {"Mauritius Rupee", "MUR"},  // 96
    {"Mexican Peso", "MXN"},  // 97
    {"Moldovan Leu", "MDL"},  // 98
    {"Mongolian Tugrik", "MNT"},  // 99
    {"Moroccan Dihram", "MAD"},  // 100
    {"Mozambique Metical", "MZM"},  // 101
    {"Myanmar Kyat", "MMK"},  // 102
    {"Namibian Dollar", "NAD"},  // 103
    {"Nepalese Rupee", "NPR"},  // 104
    {"Neth Antilles Guilder", "ANG"},  // 105
    {"New Zealand Dollar", "NZD"},  // 106
    {"Nicaragua Cordoba", "NIO"},  // 107
    {"Nigerian Naira", "NGN"},  // 108
    {"North Korean Won", "KPW"},  // 109
    {"Norvegian Krone", "NOK"},  // 110
    {"Omani Rial", "OMR"},  // 111
    {"Pacific Franc", "XPF"},  // 112
    {"Pakistani Rupee", "PKR"},  // 113
    {"Palladium Ounces", "XPD"},  // 114
    {"Panama Balboa", "PAB"},  // 115
    {"Papua New Guinea Kina", "PGK"},  // 116
    {"Paraguyan Guarani", "PYG"},  // 117
    {"Peruvian Buevo Sol", "PEN"},  // 118
    {"Philippine Peso", "PHP"},  // 119
    {"Platinum Ounces", "XPT"},  // 120
    {"Polish Zloty", "PLN"},  // 121
    {"Portugese Escudo", "PTE"},  // 122
    {"Qatar Rial", "QAR"},  // 123
    {"Romanian Leu", "ROL"},  // 124
    {"Russian Rouble", "RUB"},  // 125
    {"Samoa Tala", "WST"},  // 126
    {"Sao Tome Dobra", "STD"},  // 127
    {"Saudi Arabian Riyal", "SAR"},  // 128
    {"Seychelles Rupee", "SCR"},  // 129
    {"Sierra Leone Leone", "SLL"},  // 130
    {"Silver Ounces", "XAG"},  // 131
    {"Singapore Dollar", "SGD"},  // 132
    {"Slovak Koruna", "SKK"},  // 133
    {"Slovenian Tolar", "SIT"},  // 134
    {"Solomon Islands Dollar", "SBD"},  // 135
    {"Somali Shilling", "SOS"},  // 136
    {"Sounth African Rand", "ZAR"},  // 137
    {"Spanish Peseta", "ESP"},  // 138
    {"Sri Lanka Rupee", "LKR"},  // 139
    {"St Helena Pound", "SHP"},  // 140
    {"Sudanese Dinar", "SDD"},  // 141
    {"Surinam Guilder", "SRG"},  // 142
    {"Swaziland Lilageni", "SZL"},  // 143
    {"Swedish Krona", "SEK"},  // 144
    {"Swiss Franc", "CHF"},  // 145
    {"Syrian Pound", "SYP"},  // 146
    {"Taiwan Dollar", "TWD"},  // 147
    {"Tanzanian Shilling", "TZS"},  // 148
    {"Thai Baht", "THB"},  // 149
    {"Tonga Pa'anga", "TOP"},  // 150
    {"Trinidad&Tobago Dollar", "TTD"},  // 151
    {"Tunisian Dinar", "TND"},  // 152
    {"Turkish Lira", "TRL"},  // 153
    {"U.S Dollar", "USD"},  // 154
    {"UAE Dirham", "AED"},  // 155
    {"Ugandan Shilling", "UGX"},  // 156
    {"Ukraine Hrynvia", "UAH"},  // 157
    {"Uruguayan New Peso", "UYU"},  // 158
    {"Uzbekistan Sum", "UZS"},  // 159
    {"Vanuatu Vatu", "VUV"},  // 160
    {"Venezuelan Bolivar", "VEB"},  // 161
    {"Vietnam Dong", "VND"},  // 162
    {"Yemen Riyal", "YER"},  // 163
    {"Yugoslav Dinar", "YUM"},  // 164
    {"Zambian Kwacha", "ZMK"},  // 165
    {"Zimbabwe Dollar", "ZWD"},  // 166
}};

bool SameCode(std::string_view a, const char *b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i];
        if (x >= 'a' && x <= 'z') x = char(x - 32);
        if (x != b[i]) return false;
    }
    return i == a.size() && !b[i];
}

constexpr std::string_view kStages[] = {"currency exchange<", "td nowrap>", "<td>"};
constexpr char kWaitFor[] = {'>', '<', '>'};

}  // namespace

const std::array<CurrencyRow, kCurrencyCount> &CurrencyTable() { return kCurrencies; }

int FindCurrency(std::string_view s) {
    for (int i = 0; i < kCurrencyCount; ++i)
        if (SameCode(s, kCurrencies[size_t(i)].code)) return i;
    if (!s.empty() && s.size() < 4 && s.find_first_not_of("0123456789") == std::string_view::npos) {
        int i = std::atoi(std::string(s).c_str());
        if (i < kCurrencyCount) return i;
    }
    return -1;
}

std::string QuoteRequestPath(int from, int to) {
    if (from < 0 || from >= kCurrencyCount || to < 0 || to >= kCurrencyCount) return {};
    std::string path = kQuoteRequestTemplate;
    path.replace(path.find("[FROM]"), 6, kCurrencies[size_t(from)].code);
    path.replace(path.find("[TO]"), 4, kCurrencies[size_t(to)].code);
    return path;
}

bool QuoteMatcher::Feed(char c) {
    if (stage_ == 5) return true;
    if (stage_ == 4) {
        if (c == '<') {
            stage_ = 5;
            return true;
        }
        if (value_.size() < kMaxValue) value_ += c;
        return false;
    }
    const size_t s = size_t(stage_ - 1);
    if (!expecting_) {
        if (c == kWaitFor[s]) expecting_ = true, matched_ = 0;
        return false;
    }
    if (c != kStages[s][matched_]) {
        expecting_ = false;  // the mismatching byte is not looked at again
        return false;
    }
    if (++matched_ == kStages[s].size()) {
        ++stage_;
        expecting_ = false;
    }
    return false;
}

std::optional<std::string> ScanQuoteAnswer(std::string &body, const std::function<bool(size_t)> &keepGoing) {
    QuoteMatcher m;
    for (size_t p = 0; p < body.size(); ++p) {
        char &c = body[p];
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
        if (keepGoing && !keepGoing(p)) return std::nullopt;
        if (c == '\t' || c == '\r' || c == '\n') {
            c = ' ';
            continue;
        }
        if (m.Feed(c)) return m.Value();
    }
    return std::nullopt;
}

std::optional<double> RateFromValue(std::string_view value) {
    const double rate = ReadDecimal(value);
    if (!std::isfinite(rate) || rate <= 0) return std::nullopt;
    return rate;
}

std::string FormatFlipped(double v) { return FormatC("%.6f", v); }

}  // namespace qm
