// The product's home site. Later features add their paths here (configuration, banners);
// for now it only says where it is, which also shows how a service is written.
#include "fakeweb/Service.h"

namespace qm::fakeweb::services {

void RegisterHome(Registry &registry) {
    registry.add("home", [](const Request &request) -> std::optional<Response> {
        if (request.path == "/" || request.path == "/index.html")
            return Response::Html("<html><head><title>Quillmar</title></head>"
                                  "<body><h1>Quillmar home</h1></body></html>");
        return std::nullopt;  // everything else: generic behaviours, then 404
    });
}

}  // namespace qm::fakeweb::services
