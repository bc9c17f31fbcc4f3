// The consistency rules, each on both sides of its boundary, and the two
// name validators.
#include "validate/check.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "catalog.h"
#include "config/options.h"
#include "test_support.h"

using namespace std::literals;

namespace {

// 192.168.1.1/24, configured from the single computer 192.168.1.10, no route.
options good() {
    options o;
    set_defaults(&o);
    o.ip = 0xC0A80101;
    o.netmask = 0xFFFFFF00;
    o.config_ip = 0xC0A8010A;
    o.config_netmask = 0xFFFFFFFF;
    return o;
}

// With a static route to 10.0.0.0/8 through 192.168.1.254, from 10.0.0.5.
options routed() {
    options o = good();
    o.config_ip = 0x0A000005;
    o.nw_ip = 0x0A000000;
    o.nw_netmask = 0xFF000000;
    o.nw_gw_ip = 0xC0A801FE;
    return o;
}

struct rule_case {
    const char *what;
    std::function<void(options &)> change;
    std::string report;  // empty: all rules pass
};

void expect_reports(options base, const rule_case &c) {
    c.change(base);
    console_capture con;
    int result = check(&base);
    EXPECT_EQ(result, c.report.empty() ? 0 : 1) << c.what;
    EXPECT_EQ(con.out(), c.report.empty() ? "" : ERROR_FOUND + "\n"s + c.report) << c.what;
}

}  // namespace

// One case a line: the tables read best unwrapped.
// clang-format off
TEST(Check, TheApplianceMustBeAHostOfItsNetwork) {
    for (const rule_case &c : {
             rule_case{"network number", [](options &o) { o.ip = 0xC0A80100; }, msg.check_ip_is_network},
             {"broadcast", [](options &o) { o.ip = 0xC0A801FF; }, msg.check_ip_is_broadcast},
             {"first host", [](options &o) { o.ip = 0xC0A80101; }, ""},
             {"last host", [](options &o) { o.ip = 0xC0A801FE; }, ""},
             {"mask /32 has no hosts", [](options &o) { o.netmask = 0xFFFFFFFF; }, msg.check_ip_is_network},
             {"mask /31, low", [](options &o) { o.ip = 0xC0A80100; o.netmask = 0xFFFFFFFE; }, msg.check_ip_is_network},
             {"mask /31, high", [](options &o) { o.netmask = 0xFFFFFFFE; }, msg.check_ip_is_broadcast},
             {"mask 0, address 0", [](options &o) { o.ip = 0; o.netmask = 0; }, msg.check_ip_is_network},
             {"mask 0, all ones", [](options &o) { o.ip = 0xFFFFFFFF; o.netmask = 0; }, msg.check_ip_is_broadcast},
             {"mask 0, any other", [](options &o) { o.netmask = 0; }, ""},
         })
        expect_reports(good(), c);
}

TEST(Check, ConfigurationSourceAndInterface) {
    for (const rule_case &c : {
             rule_case{"own address", [](options &o) { o.config_ip = o.ip; }, msg.check_ip_is_config_ip},
             {"only the first problem",
              [](options &o) { o.config_ip = o.ip; std::strcpy(o.config_iface, "lo"); },
              msg.check_ip_is_config_ip},
             {"bad interface", [](options &o) { std::strcpy(o.config_iface, "ETH0"); },
              expand(msg.check_bad_config_iface, {"ETH0"})},
             {"token ring", [](options &o) { std::strcpy(o.config_iface, "tr1"); }, ""},
             {"wider network", [](options &o) { o.config_ip = 0xC0A80000; o.config_netmask = 0xFFFF0000; }, ""},
             {"narrower network", [](options &o) { o.config_ip = 0xC0A80180; o.config_netmask = 0xFFFFFF80; }, ""},
             {"elsewhere, no route", [](options &o) { o.config_ip = 0x0A000005; }, msg.check_unreachable},
         })
        expect_reports(good(), c);
}

TEST(Check, TheRouterMustBeAHostOnTheInsideNetwork) {
    for (const rule_case &c : {
             rule_case{"valid route", [](options &) {}, ""},
             {"off the network", [](options &o) { o.nw_gw_ip = 0xC0A80201; },
              msg.check_router_not_local + "192.168.1.1-192.168.1.254.\n"s},
             {"the appliance", [](options &o) { o.nw_gw_ip = o.ip; }, msg.check_router_is_ip},
             {"network number", [](options &o) { o.nw_gw_ip = 0xC0A80100; }, msg.check_router_is_network},
             {"broadcast", [](options &o) { o.nw_gw_ip = 0xC0A801FF; }, msg.check_router_is_broadcast},
         })
        expect_reports(routed(), c);
}

TEST(Check, TheRoutedNetworkMustReachTheSource) {
    for (const rule_case &c : {
             rule_case{"host bits in the network",
                       [](options &o) { o.nw_ip = 0x0A010203; o.nw_netmask = 0xFFFF0000; },
                       expand(msg.check_route_network, {"10.1.0.0"})},
             {"route elsewhere", [](options &o) { o.nw_ip = 0x0B000000; }, msg.check_unreachable_route},
             {"source local anyway", [](options &o) { o.config_ip = 0xC0A8010A; o.nw_ip = 0x0B000000; }, ""},
             {"no router: no route", [](options &o) { o.nw_gw_ip = 0; }, msg.check_unreachable},
         })
        expect_reports(routed(), c);
}

TEST(Check, FailoverRulesApplyOnlyWhileFailoverIsSet) {
    for (const rule_case &c : {
             rule_case{"not set", [](options &o) { std::strcpy(o.failover_type, "x"); }, ""},
             {"type", [](options &o) { o.set_failover = 1; std::strcpy(o.failover_type, "Master"); },
              expand(msg.check_bad_failover_type, {"Master"})},
             {"interface", [](options &o) { o.set_failover = 1; std::strcpy(o.failover_ded_iface, "eth"); },
              expand(msg.check_bad_ded_iface, {"eth"})},
             {"not ethernet", [](options &o) { o.set_failover = 1; std::strcpy(o.failover_ded_iface, "tr0"); },
              msg.check_ded_not_ethernet},
             {"same interface", [](options &o) { o.set_failover = 1; std::strcpy(o.failover_ded_iface, "eth0"); },
              msg.check_ded_is_config_iface},
             {"all well", [](options &o) { o.set_failover = -1; std::strcpy(o.failover_type, "master"); }, ""},
         })
        expect_reports(good(), c);
}
// clang-format on

TEST(CheckIfacename, AcceptsEthOrTrAndDigitsUpToFifteenCharacters) {
    for (std::string_view name : {"eth0"sv, "eth12"sv, "tr0"sv, "eth007"sv, "eth123456789012"sv})
        EXPECT_EQ(check_ifacename(name), 0) << name;
    for (std::string_view name : {"eth1234567890123"sv, "eth"sv, "tr"sv, "eth0:1"sv, "ETH0"sv,
                                  "eth0 "sv, "lo"sv, ""sv, "eth0\0"sv, "tre0"sv})
        EXPECT_EQ(check_ifacename(name), 1) << name;
}

TEST(CheckFailoverType, AcceptsTheThreeWordsExactly) {
    for (std::string_view word : {"master"sv, "slave"sv, "standalone"sv})
        EXPECT_EQ(check_failover_type(word), 0);
    for (std::string_view word : {"Master"sv, "slave "sv, ""sv, "standalone\0"sv})
        EXPECT_EQ(check_failover_type(word), 1);
}
