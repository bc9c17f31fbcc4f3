// The question dialogue.
#include "dialogue/dialogue.h"

#include <cstdio>

#include "catalog.h"
#include "console/fold.h"
#include "console/io.h"
#include "console/parse.h"
#include "console/print.h"
#include "console/prompt.h"
#include "dialogue/modes.h"

namespace {

constexpr uint32_t single_computer = 0xFFFFFFFFu;

}  // namespace

void ask(options *o) {
    print_text(io.out, msg.inside_heading);
    prompt_string(msg.ask_device, msg.type_device, o->config_iface, sizeof o->config_iface);
    prompt_ul(msg.ask_ip, msg.bad_ip, format_ip, parse_ip, &o->ip);
    prompt_ul(msg.ask_netmask, msg.bad_netmask, format_ip, parse_mask, &o->netmask);
    prompt_bool(msg.ask_kill, &o->kill_other_ifaces);

    print_text(io.out, "\n");
    print_text(io.out, msg.allowed_heading);
    int8_t bool_tmp = o->config_netmask == single_computer;
    prompt_bool(msg.ask_single, &bool_tmp);
    if (bool_tmp) {
        o->config_netmask = single_computer;
        prompt_ul(msg.ask_ip, msg.bad_ip, format_ip, parse_ip, &o->config_ip);
    } else {
        prompt_ul(msg.ask_network, msg.bad_network, format_ip, parse_ip, &o->config_ip);
        prompt_ul(msg.ask_netmask, msg.bad_netmask, format_ip, parse_mask, &o->config_netmask);
    }
    ask_route(o);

    print_text(io.out, "\n");
    // Failover is set up on the appliance itself, never from a floppy: a
    // loaded file's flag is dropped, and with it the failover checks.
    o->set_failover = 0;
    prompt_string(msg.ask_password, msg.type_password, o->password, sizeof o->password);
    ask_mode(o);
}

void ask_route(options *o) {
    int8_t setup_route = 0;
    const uint32_t mask = o->netmask & o->config_netmask;
    const bool overlap = (o->ip & mask) == (o->config_ip & mask);

    if (!overlap || mask != o->netmask) {
        print_text(io.out, "\n");
        print_text(io.out, msg.route_heading);
        if (overlap) {
            // Partly local: the allowed network is wider than the inside one.
            print_text(io.out, msg.route_partly_text);
            print_text(io.out, msg.route_behind_text);
            setup_route = o->nw_gw_ip != 0;
            prompt_bool(msg.ask_route, &setup_route);
        } else {
            print_text(io.out, o->config_netmask == single_computer ? msg.route_computer_text
                                                                    : msg.route_network_text);
            setup_route = 1;
        }
    }

    if (!setup_route) {
        o->nw_ip = 0;
        o->nw_netmask = 0;
        o->nw_gw_ip = 0;
        return;
    }
    if (o->nw_ip == 0 && o->nw_netmask == 0) {
        // Proposed: the route to the source's network, at most 24 bits wide,
        // so that a single computer is reached through a route to its whole
        // network, as routers are usually set up.
        o->nw_netmask = o->config_netmask & 0xFFFFFF00u;
        o->nw_ip = o->nw_netmask & o->config_ip;
    }
    prompt_ul(msg.ask_router, msg.bad_ip, format_ip, parse_ip, &o->nw_gw_ip);
    prompt_ul(msg.ask_network, msg.bad_network, format_ip, parse_ip, &o->nw_ip);
    prompt_ul(msg.ask_route_netmask, msg.bad_netmask, format_ip, parse_mask, &o->nw_netmask);
}

void ask_mode(options *o) {
    print_text(io.out, "\n");
    print_text(io.out, msg.other_heading);
    int8_t keep_asking = o->update_mode != 1;
    prompt_bool(msg.ask_reset, &keep_asking);
    if (!keep_asking) {
        o->update_mode = 1;
        return;
    }
    while (keep_asking) {
        print_text(io.out, "\n");
        print_text(io.out, msg.select_mode);
        for (const update_mode &up : update_table) {
            print_escaped(io.out, "%4lu. ", {up.mode});
            print_folded(up.explanation, 6, 6, 70);
        }
        prompt_ul(msg.ask_mode, msg.bad_mode, format_ul, parse_ul, &o->update_mode);
        for (const update_mode &up : update_table)
            if (up.mode == o->update_mode) keep_asking = 0;
    }
}
