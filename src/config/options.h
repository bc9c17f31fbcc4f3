// The configuration record: every setting the program asks for, shows,
// checks, reads and writes. One instance lives in main for the whole run.
#pragma once

#include <cstdint>

struct options {
    uint32_t file_version;    // stated by the loaded file; the writer always writes 6
    uint32_t ip;              // the appliance's inside IP number
    uint32_t netmask;         // netmask of the inside network
    uint32_t config_ip;       // the computer, or network number, allowed to configure
    uint32_t config_netmask;  // 255.255.255.255 means a single computer
    char config_iface[16];    // inside (configuration) interface, e.g. "eth0"
    uint32_t nw_ip;           // network reached through the static route
    uint32_t nw_netmask;
    uint32_t nw_gw_ip;  // router of the static route; 0 means no route
    int8_t set_failover;
    char failover_type[16];  // "master", "slave" or "standalone"
    char failover_ded_iface[16];
    int8_t kill_other_ifaces;
    // Boot actions, -1 until save copies them from the update-mode row.
    int8_t clear_log;
    int8_t clear_edit;
    int8_t clear_production;
    int8_t set_edit;
    int8_t set_production;
    uint32_t update_mode;  // row of update_table; never stored in the file
    char password[64];     // letters and digits, kept and written in clear
};

// Fills every field with the value a run starts from, before any file is read.
void set_defaults(options *o);
