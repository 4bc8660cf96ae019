// The advertising network whose banners the home site's configuration names:
//   /ad?ord=N        302 to /gif?ord=N, setting the cookie "adref=N"
//   /gif?ord=N       a 468 x 60 banner showing N (colours change with N), setting "adview=N";
//                    when the request carried "adref=N" it also sets "adchain=N", so a
//                    client can tell that the redirection's cookie came back
//   /cookie.gif?set=TEXT   a banner whose answer sets exactly the cookie TEXT
//   /small.gif (20 x 20), /bad.gif (not a picture), /fail (500)
//   /click?ord=N&bnum=ID   the advertiser's page, naming N and ID
#include "fakeweb/Gif.h"
#include "fakeweb/Service.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm::fakeweb::services {

namespace {

constexpr const char *kExpires = "expires=Fri, 01-Jan-2038 00:00:00 GMT";

Response Gif(const std::string &bytes) {
    Response r;
    r.contentType = "image/gif";
    r.body = bytes;
    return r;
}

std::string BannerPicture(const std::string &number) {
    static const std::vector<uint32_t> kColours = {0x1d4f91, 0xc0392b, 0x27ae60, 0x8e44ad, 0xd35400, 0x16a085};
    uint64_t n = 0;
    for (char c : number)
        if (c >= '0' && c <= '9') n = n * 10 + uint64_t(c - '0');
    const size_t back = size_t(n % kColours.size());
    const size_t band = (back + 1 + size_t(n / kColours.size()) % (kColours.size() - 1)) % kColours.size();
    std::vector<uint32_t> palette = {kColours[back], kColours[band], 0xffffff};
    GifCanvas canvas(468, 60, palette);
    canvas.Rect(0, 0, 468, 6, 1);
    canvas.Rect(0, 54, 468, 6, 1);
    const std::string text = "QUILLMAR ADS " + number;
    canvas.Text((468 - GifCanvas::TextWidth(text, 3)) / 2, 20, text, 2, 3);
    return canvas.Encode();
}

// True when the Cookie header holds exactly the pair name=value.
bool CarriesCookie(const Request &request, const std::string &pair) {
    const std::string header = "; " + request.header("Cookie") + ";";
    return header.find(" " + pair + ";") != std::string::npos;
}

// Letters and digits only, so that the page never echoes markup.
std::string Alnum(const std::string &text) {
    std::string out;
    for (char c : text)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) out += c;
    return out;
}

}  // namespace

void RegisterBanners(Registry &registry) {
    registry.add("banners", [](const Request &request) -> std::optional<Response> {
        const std::string &path = request.path;
        const std::string ord = request.param("ord");
        const std::string domain = "domain=" + request.host;
        if (path == "/ad") {
            return Response::Redirect("/gif?ord=" + FormEncode(ord))
                .with("Set-Cookie", "adref=" + ord + "; " + kExpires + "; " + domain + "; path=/");
        }
        if (path == "/gif") {
            Response r = Gif(BannerPicture(ord));
            r.with("Set-Cookie", "adview=" + ord + "; " + kExpires + "; " + domain + "; path=/");
            if (CarriesCookie(request, "adref=" + ord)) r.with("Set-Cookie", "adchain=" + ord + "; path=/");
            return r;
        }
        if (path == "/cookie.gif")
            return Gif(BannerPicture("0")).with("Set-Cookie", request.param("set"));
        if (path == "/small.gif") {
            GifCanvas canvas(20, 20, {0xc0392b, 0xffffff});
            canvas.Rect(5, 5, 10, 10, 1);
            return Gif(canvas.Encode());
        }
        if (path == "/bad.gif") return Gif("GIF89a this is not a picture");
        if (path == "/fail") return Response::Html("<html><body>Server error</body></html>", 500);
        if (path == "/click")
            return Response::Html("<html><head><title>Quillmar Ads</title></head><body><h1>Advertiser page</h1>"
                                  "<p>Banner number " + Alnum(ord) + "</p><p>Banner ID " + Alnum(request.param("bnum")) +
                                  "</p></body></html>");
        return std::nullopt;
    });
}

}  // namespace qm::fakeweb::services
