// The summary shown before the check and the confirmation.
#include <cstdio>

#include "catalog.h"
#include "console/io.h"
#include "console/parse.h"
#include "console/print.h"
#include "dialogue/dialogue.h"

void show(const options *o) {
    FILE *out = io.out;
    print_text(out, "\n");
    print_text(out, msg.show_heading);
    print_text(out, msg.inside_heading);
    print_escaped(out, msg.show_device, {o->config_iface});
    // format_ip reuses one buffer: each address is printed before the next is made.
    print_escaped(out, msg.show_ip, {format_ip(o->ip)});
    print_escaped(out, msg.show_netmask, {format_ip(o->netmask)});
    print_escaped(out, msg.show_kill, {o->kill_other_ifaces ? msg.yes_word : msg.no_word});
    print_text(out, "\n");

    if (o->config_netmask == 0xFFFFFFFFu) {
        print_text(out, msg.show_computer);
        print_escaped(out, msg.show_ip, {format_ip(o->config_ip)});
    } else {
        print_text(out, msg.show_network_heading);
        print_escaped(out, msg.show_network, {format_ip(o->config_ip)});
        print_escaped(out, msg.show_netmask, {format_ip(o->config_netmask)});
    }
    print_text(out, "\n");
    print_escaped(out, msg.show_password, {o->password});

    if (o->nw_gw_ip != 0) {
        print_text(out, "\n");
        print_text(out, msg.route_heading);
        print_escaped(out, msg.show_network, {format_ip(o->nw_ip)});
        print_escaped(out, msg.show_netmask, {format_ip(o->nw_netmask)});
        print_escaped(out, msg.show_router, {format_ip(o->nw_gw_ip)});
    }
    print_text(out, "\n");

    switch (o->update_mode) {
    case 1:
        print_text(out, msg.show_mode_kept);
        break;
    case 2:
        print_text(out, msg.show_mode_permanent);
        break;
    case 3:
        print_text(out, msg.show_mode_all);
        break;
    default:
        print_text(out, msg.show_mode_unknown);
        break;
    }
}
