#pragma once
// The fake web of a test binary: started at the first use on any free loopback port, and
// stopped at exit (after the HTTP client closed its connections).
#include "fakeweb/Server.h"

#include <gtest/gtest.h>

namespace qm::test {

inline fakeweb::Server &SharedFakeWeb() {
    static fakeweb::Server server;
    if (!server.running()) EXPECT_TRUE(server.start(0));
    return server;
}

}  // namespace qm::test
