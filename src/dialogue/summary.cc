// The summary shown before the check and the confirmation.
#include <cstdio>

#include "catalog.h"
#include "console/io.h"
#include "console/parse.h"
#include "dialogue/dialogue.h"

void show(const options *o) {
    FILE *out = io.out;
    std::fputs("\n", out);
    std::fputs(msg.show_heading, out);
    std::fputs(msg.inside_heading, out);
    std::fprintf(out, msg.show_device, o->config_iface);
    // format_ip reuses one buffer: each address is printed before the next is made.
    std::fprintf(out, msg.show_ip, format_ip(o->ip));
    std::fprintf(out, msg.show_netmask, format_ip(o->netmask));
    std::fprintf(out, msg.show_kill, o->kill_other_ifaces ? msg.yes_word : msg.no_word);
    std::fputs("\n", out);

    if (o->config_netmask == 0xFFFFFFFFu) {
        std::fputs(msg.show_computer, out);
        std::fprintf(out, msg.show_ip, format_ip(o->config_ip));
    } else {
        std::fputs(msg.show_network_heading, out);
        std::fprintf(out, msg.show_network, format_ip(o->config_ip));
        std::fprintf(out, msg.show_netmask, format_ip(o->config_netmask));
    }
    std::fputs("\n", out);
    std::fprintf(out, msg.show_password, o->password);

    if (o->nw_gw_ip != 0) {
        std::fputs("\n", out);
        std::fputs(msg.route_heading, out);
        std::fprintf(out, msg.show_network, format_ip(o->nw_ip));
        std::fprintf(out, msg.show_netmask, format_ip(o->nw_netmask));
        std::fprintf(out, msg.show_router, format_ip(o->nw_gw_ip));
    }
    std::fputs("\n", out);

    switch (o->update_mode) {
    case 1:
        std::fputs(msg.show_mode_kept, out);
        break;
    case 2:
        std::fputs(msg.show_mode_permanent, out);
        break;
    case 3:
        std::fputs(msg.show_mode_all, out);
        break;
    default:
        std::fputs(msg.show_mode_unknown, out);
        break;
    }
}
