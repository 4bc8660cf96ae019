// The product's home site: its pages, the configuration file the program fetches at start
// ("/ini/qm_config.ini") and the front picture it names. Variants of both for tests live
// under "/ini/test/<name>/qm_config.ini" and "/gfx/test/<name>.gif".
#include "fakeweb/Gif.h"
#include "fakeweb/Service.h"
#include "net/ServiceHosts.h"

#include <map>
#include <vector>

namespace qm::fakeweb::services {

namespace {

const std::string kCrLf = "\r\n";

// The result page template the configuration gives: the export's placeholders, a plainer
// layout than the built-in one.
const char *const kWebHeader[] = {
    "<HTML><HEAD><TITLE>Quillmar results</TITLE></HEAD><BODY bgcolor=\"#FFFFFF\">",
    "<p align=\"center\"><a href=\"<$HOMESITE>\"><img border=\"0\" src=\"<$RESULTLOGO>\"></a>",
    "<img border=\"0\" src=\"<$GIF>\"></p>",
    "<table border=\"0\" width=\"100%\" cellspacing=\"0\" cellpadding=\"2\">",
};
const char *const kWebLine[] = {
    "  <tr><td><a href=\"<$URL>\" target=\"_blank\"><$SITENAME></a></td></tr>",
    "  <tr><td><font size=\"2\"><$DESCRIPTION></font></td></tr>",
    "  <tr><td align=\"right\"><a href=\"<$ENGINE_URL>\"><$ENGINE_NAME></a></td></tr>",
};
const char *const kWebEnd[] = {"</table><p>Found with Quillmar</p></BODY></HTML>"};

template <size_t N>
void Block(std::string &out, const char *key, const char *const (&lines)[N]) {
    out += std::string("<@") + key + ">" + kCrLf;
    for (const char *l : lines) out += l + kCrLf;
    out += std::string("</@") + key + ">" + kCrLf;
}

// The demo configuration; `extra` lines go before "$MSG_TEXT" (a later line wins).
std::string Configuration(const std::string &home, const std::string &extra = {}, const std::string &after = {}) {
    const std::string site = "http://" + home;
    const std::string ads = "http://" + ServiceHostFor("banners");
    std::string c;
    for (const std::string &line : {
             std::string("; Quillmar: settings from the home site"),
             std::string("$APP_NAME = Quillmar"),
             std::string("$VERSUB = 1170"),
             "$HOMESITE = " + site + "/",
             "$INDEXPAGE = " + site + "/index.html",
             std::string("$BANNER_HINT = Our sponsors keep Quillmar free"),
             "$UPDATE_URL = " + site + "/download.html",
             "$FRONT_URL = " + site + "/gfx/front.gif",
             std::string("$FRONT_GIF = GFX\\qm_front.gif"),
             std::string("$PUB_SET_CFG = 1"),
             "$PUB[1].SET = Y x 10 x x " + ads + "/ad?ord=<pif8> " + ads + "/click?ord=<pif8>&bnum=12345678 x 0",
             std::string("$MSG_SUBJECT = Quillmar"),
         })
        c += line + kCrLf;
    c += extra;
    c += "$MSG_TEXT" + kCrLf;
    c += after;
    Block(c, "WEB_HEADER", kWebHeader);
    Block(c, "WEB_LINE", kWebLine);
    Block(c, "WEB_END", kWebEnd);
    return c;
}

std::string Lines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string &l : lines) out += l + kCrLf;
    return out;
}

// A 468 x 60 picture of well over 2000 bytes (a smaller file counts as a failed download):
// a speckled background, which does not compress away, under the name.
std::string FrontPicture() {
    std::vector<uint32_t> palette = {0xFFFFFF, 0xF0C020, 0x3060C0};
    for (uint32_t i = 0; i < 13; ++i) palette.push_back(0x102040 + i * 0x030306);
    GifCanvas g(468, 60, palette);
    uint32_t seed = 1170;
    for (int y = 0; y < 60; y += 2)
        for (int x = 0; x < 468; x += 2) {
            seed = seed * 1103515245u + 12345u;
            g.Rect(x, y, 2, 2, uint8_t(3 + (seed >> 16) % 13));
        }
    g.Rect(0, 0, 468, 4, 2);
    g.Rect(0, 56, 468, 4, 2);
    g.Text(16, 14, "QUILLMAR", 1, 3);
    g.Text(200, 22, "SEARCH THE WHOLE WEB AT ONCE", 0, 1);
    g.Text(200, 36, "FREE - FAST - SIMPLE", 0, 1);
    return g.Encode();
}

std::optional<Response> Variant(const std::string &name, const std::string &home) {
    const std::string site = "http://" + home;
    const std::string notice = Lines({"<@UPDATE_MSG>", "Quillmar 1.23 is out.", "Get it now?", "</@UPDATE_MSG>"});
    auto text = [](std::string body, int status = 200) { return Response::Text(std::move(body), status); };
    if (name == "404") return Response::NotFound();
    if (name == "500") return text(Configuration(home), 500);
    if (name == "cut") {
        Response r = text(Configuration(home));
        r.dropAfter = r.body.size() / 2;  // Content-Length announces the whole
        return r;
    }
    if (name == "garbage") {
        std::string body;
        for (int i = 0; i < 40; ++i) body += "\x01\xFE<<garbage " + std::to_string(i * 7919) + " ]]= $$\r\n";
        return text(body);
    }
    if (name == "short") return text(Lines({"$APP_NAME = Shorty", "$PUB_SET_CFG = 1"}));
    if (name == "silent") {
        Response r;
        r.silent = true;
        return r;
    }
    if (name == "notice-update") return text(Configuration(home, Lines({"$VERSUB = 1171", "$NOTIFICATION = nmUpdate"}), notice));
    if (name == "notice-current") return text(Configuration(home, Lines({"$NOTIFICATION = nmUpdate"}), notice));
    if (name == "notice-info") return text(Configuration(home, Lines({"$NOTIFICATION = nmMessageOnly"}), notice));
    if (name == "notice-web") return text(Configuration(home, Lines({"$NOTIFICATION = nmMessageGotoWEB"}), notice));
    if (name == "renamed") return text(Configuration(home, Lines({"$APP_NAME = Quillmar Plus"})));
    if (name == "engines")
        return text(Configuration(home, Lines({
            "$BFGU_GOTO = " + site + "/goto/serve?id=7",
            "$BFCU_GOTO = " + site + "/goto/click?id=7&Keywords=<$QRY>",
            "$FINDWHAT_SRCH_ALL = " + site + "/fw?all=<$QRY>",
            "$FINDWHAT_SRCH_ANY = " + site + "/fw?any=<$QRY>",
            "$FINDWHAT_SRCH_BOOL = " + site + "/fw?bool=<$QRY>",
            "$FINDWHAT_SRCH_EXACT = " + site + "/fw?exact=<$QRY>",
            "$WHOIS_URL = " + site + "/whois?q=",
            "$WHOIS_SPONSOR = " + site + "/register?domain=<$DOMAIN>",
        })));
    if (name == "hostile")  // every address and the picture path unsafe, nothing safe before them
        return text(Lines({"$APP_NAME = Quillmar", "$HOMESITE = javascript:alert(1)", "$UPDATE_URL = file:///etc/passwd",
                           "$WHOIS_URL = javascript:void(0)", "$FRONT_URL = file:///etc/passwd",
                           "$FRONT_GIF = ..\\Options\\Configuration.ini", "$BFGU_GOTO = file:///etc/hosts",
                           "$PUB_SET_CFG = 1", "$PUB[1].SET = Y x 10 x x javascript:alert(2) file:///etc/passwd x 0",
                           "$NOTIFICATION = nmMessageGotoWEB", "$MSG_SUBJECT = Hostile"}) +
                    notice);
    if (name == "front-cut" || name == "front-missing")
        return text(Configuration(home, Lines({"$FRONT_URL = " + site + "/gfx/test/" + name.substr(6) + ".gif",
                                               "$FRONT_GIF = GFX\\" + name + ".gif"})));
    return std::nullopt;
}

}  // namespace

void RegisterHome(Registry &registry) {
    registry.add("home", [](const Request &request) -> std::optional<Response> {
        const std::string &p = request.path;
        if (p == "/" || p == "/index.html")
            return Response::Html("<html><head><title>Quillmar</title></head>"
                                  "<body><h1>Quillmar home</h1></body></html>");
        if (p == "/download.html")
            return Response::Html("<html><body><h1>Download Quillmar</h1></body></html>");
        if (p == "/ini/qm_config.ini") return Response::Text(Configuration(request.host));
        const std::string testPrefix = "/ini/test/", testFile = "/qm_config.ini";
        if (p.rfind(testPrefix, 0) == 0 && p.size() > testPrefix.size() + testFile.size() &&
            p.compare(p.size() - testFile.size(), testFile.size(), testFile) == 0)
            return Variant(p.substr(testPrefix.size(), p.size() - testPrefix.size() - testFile.size()), request.host);
        if (p == "/gfx/front.gif" || p == "/gfx/test/cut.gif") {
            Response r;
            r.contentType = "image/gif";
            r.body = FrontPicture();
            if (p == "/gfx/test/cut.gif") r.dropAfter = r.body.size() - 100;
            return r;
        }
        return std::nullopt;  // everything else (the missing picture too): generic behaviours, then 404
    });
}

}  // namespace qm::fakeweb::services
