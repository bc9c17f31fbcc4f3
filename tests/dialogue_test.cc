// The static-route decision, the update-mode menu and the summary.
#include "dialogue/dialogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "config/options.h"
#include "test_support.h"

namespace {

// The inside network 192.168.1.1/24 with the given allowed source.
options inside(uint32_t config_ip, uint32_t config_netmask) {
    options o;
    set_defaults(&o);
    o.ip = 0xC0A80101;
    o.netmask = 0xFFFFFF00;
    o.config_ip = config_ip;
    o.config_netmask = config_netmask;
    return o;
}

const char *const heading = "\nStatic routing:\n";
const char *const computer_text =
    "  The computer allowed to configure from is not on a network local\n"
    "  to the firewall/Veloxor.  You must configure a static route to it.\n"
    "  Give the IP number of the router on the network the\n"
    "  firewall/Veloxor is on.\n";
const char *const network_text =
    "  The network allowed to configure from is not on a network local to the\n"
    "  firewall/Veloxor.  You must configure a static route for it.\n"
    "  Give the IP number of the router on the network the\n"
    "  firewall/Veloxor is on.\n";
const char *const partly_text =
    "  Part of the network you allow configuration from is not local to\n"
    "  the firewall/Veloxor.\n"
    "  If you want to configure from a computer\n"
    "  behind a router you have to tell me here.  Give the IP number of\n"
    "  the router on the network the firewall/Veloxor is on.\n";

std::string route_prompts(const char *router, const char *network, const char *mask) {
    return std::string("  The IP number of the router [") + router + "]: " + "  Network number [" +
           network + "]: " + "  Netmask [" + mask + "]: ";
}

struct route {
    uint32_t nw_ip, nw_netmask, nw_gw_ip;
};

void expect_route(const options &o, route r) {
    EXPECT_EQ(o.nw_ip, r.nw_ip);
    EXPECT_EQ(o.nw_netmask, r.nw_netmask);
    EXPECT_EQ(o.nw_gw_ip, r.nw_gw_ip);
}

}  // namespace

TEST(AskRoute, WhollyLocalAsksNothingAndClearsAStoredRoute) {
    for (auto [ip, mask] : {std::pair{0xC0A80114u, 0xFFFFFFFFu},     // 192.168.1.20
                            std::pair{0xC0A80180u, 0xFFFFFF80u}}) {  // 192.168.1.128/25
        options o = inside(ip, mask);
        o.nw_ip = 0x0A000000;
        o.nw_netmask = 0xFF000000;
        o.nw_gw_ip = 0xC0A801FE;
        console_capture con;
        ask_route(&o);
        EXPECT_EQ(con.out(), "");
        expect_route(o, {0, 0, 0});
    }
    options any = inside(0x0A010203, 0xFFFFFFFF);
    any.netmask = 0;  // an inside network of 0 bits holds every source
    console_capture con;
    ask_route(&any);
    EXPECT_EQ(con.out(), "");
}

TEST(AskRoute, NotLocalInsistsOnARouteAndProposesTheSourcesNetwork) {
    options o = inside(0x0A010203, 0xFFFFFFFF);  // the computer 10.1.2.3
    console_capture con("192.168.1.254\n\n\n");
    ask_route(&o);
    EXPECT_EQ(con.out(), heading + std::string(computer_text) +
                             route_prompts("0.0.0.0", "10.1.2.0", "255.255.255.0"));
    expect_route(o, {0x0A010200, 0xFFFFFF00, 0xC0A801FE});

    options n = inside(0x0A000080, 0xFFFFFF80);  // the network 10.0.0.128/25
    console_capture con2("192.168.1.254\n\n\n");
    ask_route(&n);
    EXPECT_EQ(con2.out(), heading + std::string(network_text) +
                              route_prompts("0.0.0.0", "10.0.0.0", "255.255.255.0"));
}

TEST(AskRoute, PartlyLocalAsksWhetherToRoute) {
    options o = inside(0xC0A80000, 0xFFFF0000);  // 192.168.0.0/16
    console_capture con("\n");
    ask_route(&o);
    EXPECT_EQ(con.out(),
              heading + std::string(partly_text) + "Configure a static route? (y/n) [n] ");
    expect_route(o, {0, 0, 0});

    console_capture con2("y\n192.168.1.254\n\n\n");
    ask_route(&o);
    EXPECT_EQ(con2.out(), heading + std::string(partly_text) +
                              "Configure a static route? (y/n) [n] " +
                              route_prompts("0.0.0.0", "192.168.0.0", "255.255.0.0"));
    expect_route(o, {0xC0A80000, 0xFFFF0000, 0xC0A801FE});

    options all = inside(0, 0);  // every address, 0 bits
    console_capture con3("y\n192.168.1.254\n\n\n");
    ask_route(&all);
    EXPECT_NE(con3.out().find(route_prompts("0.0.0.0", "0.0.0.0", "0.0.0.0")), std::string::npos);
}

TEST(AskRoute, AStoredRouteIsOfferedUnchangedUnlessItIsAllZero) {
    options o = inside(0x0A010203, 0xFFFFFFFF);
    o.nw_ip = 0x0B000000;
    o.nw_netmask = 0;
    o.nw_gw_ip = 0xC0A80102;
    console_capture con("\n\n\n");
    ask_route(&o);
    EXPECT_NE(con.out().find(route_prompts("192.168.1.2", "11.0.0.0", "0.0.0.0")),
              std::string::npos);
    o.nw_ip = 0;
    o.nw_netmask = 0xFFFF0000;
    console_capture con1("\n\n\n");
    ask_route(&o);
    EXPECT_NE(con1.out().find(route_prompts("192.168.1.2", "0.0.0.0", "255.255.0.0")),
              std::string::npos);

    // A stored router alone: the network and netmask come from the source.
    options p = inside(0xC0A80000, 0xFFFF0000);
    p.nw_gw_ip = 0xC0A801FE;
    console_capture con2("\n\n\n\n");
    ask_route(&p);
    EXPECT_NE(con2.out().find("Configure a static route? (y/n) [y] " +
                              route_prompts("192.168.1.254", "192.168.0.0", "255.255.0.0")),
              std::string::npos);
}

TEST(AskMode, NoKeepsModeOneWithoutTheMenu) {
    options o;
    set_defaults(&o);
    o.update_mode = 3;
    console_capture con("n\n");
    ask_mode(&o);
    EXPECT_EQ(o.update_mode, 1u);
    EXPECT_EQ(con.out(),
              "\nOther configuration\n  Do you want to reset the rest of the configuration? "
              "(y/n) [y] ");
}

TEST(AskMode, TheMenuComesBackForAModeThatIsNotInTheTable) {
    const std::string menu =
        "\n  Select one of the following alternatives for the rest\n  of the configuration:\n\n"
        "   1. Clear as little as possible. This is the alternative that is\n"
        "      used if you answer 'n' to the question above. Both the\n"
        "      preliminary and the permanent configurations will be updated\n"
        "      with the configuration on the floppy disk.\n"
        "   2. Revert to the factory configuration and then apply the\n"
        "      configuration from the floppy disk. This will affect the\n"
        "      permanent but not the preliminary configation.\n"
        "   3. Revert to the factory configuration and empty all logs and then\n"
        "      apply the configuration from the floppy disk. Both the\n"
        "      preliminary and the permanent configurations will be affected.\n";
    options o;
    set_defaults(&o);
    o.update_mode = 1;
    console_capture con("y\n4\nabc\n\n3\n");
    ask_mode(&o);
    EXPECT_EQ(o.update_mode, 3u);
    EXPECT_EQ(con.out(),
              "\nOther configuration\n  Do you want to reset the rest of the configuration? "
              "(y/n) [n] " +
                  menu + "  Update mode (1-3) [1]: " + menu + "  Update mode (1-3) [4]: " +
                  "* Bad mode *\n  Update mode (1-3) [0]: " + menu + "  Update mode (1-3) [0]: ");
}

TEST(Show, PrintsTheRecordWithRouteLastAndTheModeLine) {
    options o = inside(0x0A010203, 0xFFFFFFFF);
    std::strcpy(o.password, "secret1");
    o.nw_ip = 0x0A010200;
    o.nw_netmask = 0xFFFFFF00;
    o.nw_gw_ip = 0xC0A801FE;
    o.update_mode = 1;
    console_capture con;
    show(&o);
    EXPECT_EQ(con.out(),
              "\nSelected configuration:\n\n"
              "Network configuration inside:\n"
              "  Physical device name: eth0\n"
              "  IP number: 192.168.1.1\n"
              "  Netmask: 255.255.255.0\n"
              "  Deactivate other interfaces: no\n\n"
              "Computer allowed to configure from:\n"
              "  IP number: 10.1.2.3\n\n"
              "Password: secret1\n\n"
              "Static routing:\n"
              "  Network number: 10.1.2.0\n"
              "  Netmask: 255.255.255.0\n"
              "  Router: 192.168.1.254\n\n"
              "The rest of the configuration is kept.\n");
}

TEST(Show, NetworkSourceNoRouterAndEveryModeLine) {
    options o = inside(0xC0A80000, 0xFFFF0000);
    o.kill_other_ifaces = -1;
    o.nw_ip = 0x0A000000;  // a route without a router is not shown
    o.nw_netmask = 0xFF000000;
    const char *mode_lines[] = {
        "* Unknown update mode. *\n", "The rest of the configuration is kept.\n",
        "The permanent configuration is reset.\n", "** All earlier configuration is reset. **\n",
        "* Unknown update mode. *\n"};
    for (uint32_t mode = 0; mode <= 4; ++mode) {
        o.update_mode = mode;
        console_capture con;
        show(&o);
        std::string out = con.out();
        EXPECT_NE(out.find("  Deactivate other interfaces: yes\n\n"
                           "Network allowed to configure from:\n"
                           "  Network number: 192.168.0.0\n"
                           "  Netmask: 255.255.0.0\n\n"
                           "Password: \n\n" +
                           std::string(mode_lines[mode])),
                  std::string::npos)
            << out;
        EXPECT_EQ(out.find("Static routing"), std::string::npos);
    }
}
