// The message catalog: every text of human language that the program prints,
// and the words it accepts as answers. The body names entries; each language
// unit in lang/ defines the one catalog its executable carries.
#pragma once

#include <cstddef>

#include "config/file.h"
#include "console/print.h"

struct catalog {
    // Words the logic depends on.
    const char *yes_letter;
    const char *no_letter;
    const char *yn_suffix;
    const char *yes_word;
    const char *no_word;
    const char *abort_word;
    const char *type_device;
    const char *type_password;
    const char *lang_code;
    const char *program_name;

    // The arguments: --help's text, and the refusal of any other argument;
    // help or version that cannot be written.
    const char *help;
    const char *usage_error;
    const char *write_error;

    // Main flow.
    const char *banner;
    const char *press_return;
    const char *please_correct;
    const char *confirm_question;
    const char *saved;
    const char *password_note;
    const char *erase_warning;
    const char *eject_warning;

    // Reading and writing fconfig.dat; the reader's messages go to standard error.
    const char *file_bad_config_iface;
    const char *file_bad_ip;
    const char *file_bad_netmask;
    const char *file_bad_kill_other_ifaces;
    const char *file_bad_config_ip;
    const char *file_bad_config_netmask;
    const char *file_bad_nw_ip;
    const char *file_bad_nw_netmask;
    const char *file_bad_nw_gw_ip;
    const char *file_bad_set_failover;
    const char *file_bad_failover_type;
    const char *file_bad_failover_ded_iface;
    const char *file_bad_clear_log;
    const char *file_bad_clear_edit;
    const char *file_bad_clear_production;
    const char *file_bad_set_edit;
    const char *file_bad_set_production;
    const char *file_bad_version;
    const char *file_unknown_version;
    const char *file_long_password;
    const char *file_bad_password_char;
    const char *file_unknown_parameter;
    const char *cannot_create;
    // The cause of a refused save, on the line after cannot_create.
    const char *cause_read_only;
    const char *cause_full;
    const char *cause_permission;
    const char *cause_not_regular;
    const char *cause_io;
    const char *cause_other;  // any other error, by its number
    const char *cause_folder_full;
    const char *cause_file_read_only;
    const char *cause_attributes;
    const char *cause_others_file;
    const char *cause_gone;
    const char *cause_missing_folder;
    const char *cause_loop;
    // A temporary file that stays: one this run emptied but could not
    // remove, and one that may still hold the password (a power cut's).
    const char *temp_left;
    const char *temp_unsafe;
    // At a terminal, before the first question, where the file goes is no diskette.
    const char *not_on_diskette;
    const char *cannot_read;
    const char *internal_error;
    const char *file_too_long_line;

    // Line input and prompts.
    const char *end_of_file;
    const char *too_long_line;
    const char *bad_input;
    const char *invalid_char;
    const char *too_long;
    const char *must_give;

    // Explanations of the update modes, one paragraph each, printed folded.
    const char *mode_normal_str;
    const char *mode_panic_str;
    const char *mode_factory_str;

    // Question dialogue.
    const char *inside_heading;
    const char *ask_device;
    const char *bad_ip;
    const char *ask_ip;
    const char *bad_netmask;
    const char *ask_netmask;
    const char *ask_kill;
    const char *allowed_heading;
    const char *ask_single;
    const char *bad_network;
    const char *ask_network;
    const char *ask_password;
    const char *route_heading;
    const char *route_computer_text;
    const char *route_network_text;
    const char *route_partly_text;
    const char *route_behind_text;
    const char *ask_route;
    const char *ask_router;
    const char *ask_route_netmask;
    const char *other_heading;
    const char *ask_reset;
    const char *select_mode;
    const char *bad_mode;
    const char *ask_mode;

    // Configuration summary.
    const char *show_heading;
    const char *show_device;
    const char *show_ip;
    const char *show_netmask;
    const char *show_kill;
    const char *show_computer;
    const char *show_network_heading;
    const char *show_network;
    const char *show_password;
    const char *show_router;
    const char *show_mode_kept;
    const char *show_mode_permanent;
    const char *show_mode_all;
    const char *show_mode_unknown;

    // Consistency check.
    const char *check_ip_is_network;
    const char *check_ip_is_broadcast;
    const char *check_ip_is_config_ip;
    const char *check_bad_config_iface;
    const char *check_router_not_local;
    const char *check_router_is_ip;
    const char *check_router_is_network;
    const char *check_route_network;
    const char *check_router_is_broadcast;
    const char *check_unreachable_route;
    const char *check_unreachable;
    const char *check_bad_failover_type;
    const char *check_bad_ded_iface;
    const char *check_ded_not_ethernet;
    const char *check_ded_is_config_iface;
    const char *error_found;
};

// The build's catalog, defined by its language unit.
extern const catalog msg;

// The consistency check's error banner.
extern const char *const ERROR_FOUND;

// The messages into which the file reader puts a line of fconfig.dat, or a
// part of one: with every byte of the longest line escaped, the longest
// texts the program prints on standard error.
inline constexpr const char *catalog::*line_messages[] = {
    &catalog::file_bad_config_iface,
    &catalog::file_bad_ip,
    &catalog::file_bad_netmask,
    &catalog::file_bad_kill_other_ifaces,
    &catalog::file_bad_config_ip,
    &catalog::file_bad_config_netmask,
    &catalog::file_bad_nw_ip,
    &catalog::file_bad_nw_netmask,
    &catalog::file_bad_nw_gw_ip,
    &catalog::file_bad_set_failover,
    &catalog::file_bad_failover_type,
    &catalog::file_bad_failover_ded_iface,
    &catalog::file_bad_clear_log,
    &catalog::file_bad_clear_edit,
    &catalog::file_bad_clear_production,
    &catalog::file_bad_set_edit,
    &catalog::file_bad_set_production,
    &catalog::file_bad_version,
    &catalog::file_bad_password_char,
    &catalog::file_unknown_parameter,
};

// Each language unit checks its catalog with this when it is compiled: every
// message reaches the unbuffered standard error in one write, never split
// where the output layer's buffer would be full.
constexpr bool messages_fit(const catalog &c) {
    for (const char *catalog::*m : line_messages)
        if (message_size(c.*m, max_line) > print_capacity) return false;
    return true;
}
