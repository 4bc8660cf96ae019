// Registers every service named in services/services.list.
#include "fakeweb/Service.h"

namespace qm::fakeweb {

namespace services {
#define QM_FAKEWEB_SERVICE(name) void Register##name(Registry &registry);
#include "fakeweb/services/services.list"
#undef QM_FAKEWEB_SERVICE
}  // namespace services

void RegisterAllServices(Registry &registry) {
#define QM_FAKEWEB_SERVICE(name) services::Register##name(registry);
#include "fakeweb/services/services.list"
#undef QM_FAKEWEB_SERVICE
}

}  // namespace qm::fakeweb
