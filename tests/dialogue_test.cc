// The static-route decision, the update-mode menu and the summary.
#include "dialogue/dialogue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalog.h"
#include "config/options.h"
#include "test_support.h"

using namespace std::literals;

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

// What ask_route prints before its questions when the source is not wholly
// local: the heading and the explanation.
std::string not_local(const char *text, const char *more = "") {
    // Appended piece by piece: GCC 12 takes "\n" + std::string for an
    // overlapping copy (-Wrestrict) when optimising.
    std::string s = "\n";
    s += msg.route_heading;
    s += text;
    s += more;
    return s;
}

std::string route_prompts(const char *router, const char *network, const char *mask) {
    return expand(msg.ask_router, {router}) + expand(msg.ask_network, {network}) +
           expand(msg.ask_route_netmask, {mask});
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

TEST(Ask, ASingleComputerChosenAfterANetworkIsOneComputer) {
    options o = inside(0xC0A80000, 0xFFFF0000);  // the network 192.168.0.0/16 allowed
    std::strcpy(o.password, "abc1");
    o.update_mode = 1;
    // All kept but the source, now the computer 192.168.1.20, which is on
    // the inside network. Lines to spare: a wrong path must not run out.
    console_capture con("\n\n\n\ny\n192.168.1.20\n" + std::string(8, '\n'));
    ask(&o);
    EXPECT_EQ(o.config_ip, 0xC0A80114u);
    EXPECT_EQ(o.config_netmask, 0xFFFFFFFFu);
    EXPECT_EQ(con.out().find(msg.route_heading), std::string::npos);
}

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
    EXPECT_EQ(con.out(), not_local(msg.route_computer_text) +
                             route_prompts("0.0.0.0", "10.1.2.0", "255.255.255.0"));
    expect_route(o, {0x0A010200, 0xFFFFFF00, 0xC0A801FE});

    options n = inside(0x0A000080, 0xFFFFFF80);  // the network 10.0.0.128/25
    console_capture con2("192.168.1.254\n\n\n");
    ask_route(&n);
    EXPECT_EQ(con2.out(), not_local(msg.route_network_text) +
                              route_prompts("0.0.0.0", "10.0.0.0", "255.255.255.0"));
}

TEST(AskRoute, PartlyLocalAsksWhetherToRoute) {
    options o = inside(0xC0A80000, 0xFFFF0000);  // 192.168.0.0/16
    console_capture con("\n");
    ask_route(&o);
    const std::string partly = not_local(msg.route_partly_text, msg.route_behind_text);
    EXPECT_EQ(con.out(), partly + asked(msg.ask_route, false));
    expect_route(o, {0, 0, 0});

    console_capture con2("y\n192.168.1.254\n\n\n");
    ask_route(&o);
    EXPECT_EQ(con2.out(), partly + asked(msg.ask_route, false) +
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
    EXPECT_NE(con2.out().find(asked(msg.ask_route, true) +
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
    EXPECT_EQ(con.out(), "\n"s + msg.other_heading + asked(msg.ask_reset, true));
}

TEST(AskMode, TheMenuComesBackForAModeThatIsNotInTheTable) {
    // The menu as the case mode-2-warnings shows it, up to its prompt.
    const std::string screen = case_file("mode-2-warnings/stdout");
    const std::size_t from = screen.find("\n"s + msg.select_mode);
    const std::size_t to = screen.find(expand(msg.ask_mode, {"1"}), from);
    ASSERT_NE(to, std::string::npos) << "no menu in the case";
    const std::string menu = screen.substr(from, to - from);
    options o;
    set_defaults(&o);
    o.update_mode = 1;
    console_capture con("y\n4\nabc\n\n3\n");
    ask_mode(&o);
    EXPECT_EQ(o.update_mode, 3u);
    EXPECT_EQ(con.out(), "\n"s + msg.other_heading + asked(msg.ask_reset, false) + menu +
                             expand(msg.ask_mode, {"1"}) + menu + expand(msg.ask_mode, {"4"}) +
                             msg.bad_mode + "\n" + expand(msg.ask_mode, {"0"}) + menu +
                             expand(msg.ask_mode, {"0"}));
}

TEST(Show, NetworkSourceNoRouterAndEveryModeLine) {
    options o = inside(0xC0A80000, 0xFFFF0000);
    o.kill_other_ifaces = -1;
    o.nw_ip = 0x0A000000;  // a route without a router is not shown
    o.nw_netmask = 0xFF000000;
    const char *mode_lines[] = {msg.show_mode_unknown, msg.show_mode_kept, msg.show_mode_permanent,
                                msg.show_mode_all, msg.show_mode_unknown};
    for (uint32_t mode = 0; mode <= 4; ++mode) {
        o.update_mode = mode;
        console_capture con;
        show(&o);
        std::string out = con.out();
        EXPECT_NE(out.find(expand(msg.show_kill, {msg.yes_word}) + "\n" + msg.show_network_heading +
                           expand(msg.show_network, {"192.168.0.0"}) +
                           expand(msg.show_netmask, {"255.255.0.0"}) + "\n" +
                           expand(msg.show_password, {""}) + "\n" + mode_lines[mode]),
                  std::string::npos)
            << out;
        EXPECT_EQ(out.find(msg.route_heading), std::string::npos);
    }
}
