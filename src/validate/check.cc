// The consistency check.
//
// The rules are bit operations on 32-bit values and hold for any netmask,
// contiguous or not: a netmask loaded from the data file can be anything.
#include "validate/check.h"

#include <cstdio>

#include "catalog.h"
#include "console/ascii.h"
#include "console/io.h"
#include "console/parse.h"
#include "console/print.h"

namespace {

void banner() {
    print_text(io.out, ERROR_FOUND);
    print_text(io.out, "\n");
}

// The banner, then the rule's message; always returns 1.
int report(const char *message) {
    banner();
    print_text(io.out, message);
    return 1;
}

int report_name(const char *message, const char *name) {
    banner();
    print_escaped(io.out, message, {name});
    return 1;
}

int check_failover(const options *o) {
    if (check_failover_type(o->failover_type))
        return report_name(msg.check_bad_failover_type, o->failover_type);
    if (check_ifacename(o->failover_ded_iface))
        return report_name(msg.check_bad_ded_iface, o->failover_ded_iface);
    const char *ded = o->failover_ded_iface;
    // A valid name holds at least three characters.
    if (!same_folded(std::string_view(ded, 3), "eth")) return report(msg.check_ded_not_ethernet);
    if (std::string_view(o->config_iface) == std::string_view(ded))
        return report(msg.check_ded_is_config_iface);
    return 0;
}

}  // namespace

int check(const options *o) {
    const uint32_t host = ~o->netmask;

    if ((o->ip & host) == 0) return report(msg.check_ip_is_network);
    if ((o->ip & host) == host) return report(msg.check_ip_is_broadcast);
    if (o->ip == o->config_ip) return report(msg.check_ip_is_config_ip);
    if (check_ifacename(o->config_iface))
        return report_name(msg.check_bad_config_iface, o->config_iface);

    // The two networks compared on the bits that both masks keep.
    unsigned maybe_reachable =
        (o->ip & o->netmask & o->config_netmask) == (o->config_ip & o->netmask & o->config_netmask);

    if (o->nw_gw_ip == 0) {
        if (!maybe_reachable) return report(msg.check_unreachable);
    } else {
        if ((o->nw_gw_ip & o->netmask) != (o->ip & o->netmask)) {
            report(msg.check_router_not_local);
            print_escaped(io.out, "%s-", {format_ip((o->ip & o->netmask) + 1)});
            print_escaped(io.out, "%s.\n", {format_ip((o->ip | host) - 1)});
            return 1;
        }
        if (o->nw_gw_ip == o->ip) return report(msg.check_router_is_ip);
        if ((o->nw_gw_ip & host) == 0) return report(msg.check_router_is_network);
        if ((o->nw_ip & ~o->nw_netmask) != 0) {
            banner();
            print_escaped(io.out, msg.check_route_network, {format_ip(o->nw_ip & o->nw_netmask)});
            return 1;
        }
        if ((o->nw_gw_ip & host) == host) return report(msg.check_router_is_broadcast);
        // The route only adds a way through; a direct path still counts.
        if ((o->nw_ip & o->nw_netmask & o->config_netmask) ==
            (o->config_ip & o->nw_netmask & o->config_netmask))
            maybe_reachable = 1;
        if (!maybe_reachable) return report(msg.check_unreachable_route);
    }

    if (o->set_failover != 0) return check_failover(o);
    return 0;
}

int check_ifacename(std::string_view iname) {
    if (iname.size() > 15) return 1;
    // Not substr or starts_with: their out-of-range case would bring the
    // run-time's exceptions into the program where the optimiser is off.
    auto begins = [iname](std::string_view prefix) { return head(iname, prefix.size()) == prefix; };
    std::string_view rest = iname;
    if (begins("eth"))
        rest.remove_prefix(3);
    else if (begins("tr"))
        rest.remove_prefix(2);
    else
        return 1;
    if (rest.empty()) return 1;
    for (char c : rest)
        if (!is_digit(c)) return 1;
    return 0;
}

int check_failover_type(std::string_view ftype) {
    return ftype == "master" || ftype == "slave" || ftype == "standalone" ? 0 : 1;
}
