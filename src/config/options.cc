// Defaults of the configuration record.
#include "config/options.h"

#include <cstring>

void set_defaults(options *o) {
    std::memset(o, 0, sizeof *o);
    o->file_version = 1;
    o->ip = 0;
    o->netmask = 0xFFFFFF00u;
    o->config_ip = 0;
    o->config_netmask = 0xFFFFFFFFu;
    std::strcpy(o->config_iface, "eth0");
    o->nw_ip = 0;
    o->nw_netmask = 0;
    o->nw_gw_ip = 0;
    o->set_failover = 0;
    std::strcpy(o->failover_type, "standalone");
    std::strcpy(o->failover_ded_iface, "eth1");
    o->kill_other_ifaces = 0;
    o->clear_log = -1;
    o->clear_edit = -1;
    o->clear_production = -1;
    o->set_edit = -1;
    o->set_production = -1;
    o->update_mode = 0xFFFFFFFFu;
    o->password[0] = '\0';
}
