#pragma once
// Sites for the verification of result addresses. On the host of "verify-sites":
//   /ok            200
//   /missing       404
//   /bad-request   400
//   /server-error  500
//   /moved         301 to /ok
//   /slow          200 after 3 seconds (a client with a shorter time-out times out)
//   /never         never answers
// The host of "verify-refuse" refuses connections: route it to a closed port with
// VerifyRefuseRoute(). Every answer is the same for GET and HEAD.
#include <string>

namespace qm::fakeweb {

// Requests each path of the verification sites has received (all threads).
int VerifySiteHits(const std::string &path);
void ResetVerifySiteHits();

// A --connect-to entry that sends the refusing host to `closedPort` on the loopback address.
std::string VerifyRefuseRoute(int closedPort);

}  // namespace qm::fakeweb
