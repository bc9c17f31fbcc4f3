// The English build's catalog.
#include "catalog.h"

constexpr catalog msg = {
    .yes_letter = "y",
    .no_letter = "n",
    .yn_suffix = " (y/n) [%s] ",
    .yes_word = "yes",
    .no_word = "no",
    .abort_word = "abort",
    .type_device = "device name",
    .type_password = "password",
    .lang_code = "en",
    .program_name = "dprep-en",
    .help =
        "Usage: dprep-en [--help | --version]\n"
        "\n"
        "Prepares the start-up configuration of the Norvane Firewall/Veloxor on a\n"
        "floppy disk.  It asks its questions at the terminal and, once you have\n"
        "confirmed the answers, writes them to fconfig.dat in the current\n"
        "directory, which must be the floppy: mount it, change to it with cd, and\n"
        "check with findmnt -T . that it is the floppy before you run dprep-en.\n"
        "An fconfig.dat already there supplies the defaults.\n"
        "\n"
        "  --help     print this text and exit\n"
        "  --version  print the version and exit\n"
        "\n"
        "The manual page: man dprep-en\n",
    .usage_error = "dprep-en: this program takes no arguments (see dprep-en --help)\n",
    .write_error = "dprep-en: write error on standard output\n",
    .banner = "Norvane Systems installation program version %d.%d\n",
    .press_return =
        "Press return to keep the default value\n"
        "\n",
    .please_correct = "Please correct the errors above.\n",
    .confirm_question = "Is this configuration correct (yes/no/abort)? ",
    .saved =
        "The configuration has been saved to the floppy disk.  Now put it in "
        "your\n"
        "Norvane Firewall/Veloxor and turn it on to use this configuration.\n"
        "\n",
    .password_note =
        "NB! Since the password is stored in cleartext on the floppy disk\n"
        "it's advisable to select a new password immediately.\n"
        "\n",
    .erase_warning =
        "NB! The floppy disk contains a command to erase certain parts of the\n"
        "configuration during boot with the floppy inserted.\n",
    .eject_warning =
        "Make sure to eject it once the firewall/Veloxor has been restarted\n"
        "to avoid future loss of data.\n"
        "\n",
    .file_bad_config_iface = "Bad configuration interface '%s' in data file\n",
    .file_bad_ip = "Bad IP number '%s' in data file\n",
    .file_bad_netmask = "Bad netmask '%s' in data file\n",
    .file_bad_kill_other_ifaces = "Bad kill_other_ifaces-flag '%s' in data file\n",
    .file_bad_config_ip = "Bad IP number to configure from '%s' in data file\n",
    .file_bad_config_netmask = "Bad netmask for allowed configuration '%s' in data file\n",
    .file_bad_nw_ip = "Bad network number on inner network '%s' in data file\n",
    .file_bad_nw_netmask = "Bad netmask on inner network '%s' in data file\n",
    .file_bad_nw_gw_ip = "Bad IP number for router to inner net '%s' in data file\n",
    .file_bad_set_failover = "Bad set_failover flag '%s' in data file\n",
    .file_bad_failover_type = "Bad failover type '%s' in data file\n",
    .file_bad_failover_ded_iface = "Bad dedicated interface '%s' in data file\n",
    .file_bad_clear_log = "Bad clear_log-flag '%s' in data file\n",
    .file_bad_clear_edit = "Bad clear_edit-flag '%s' in data file\n",
    .file_bad_clear_production = "Bad clear_production-flag '%s' in data file\n",
    .file_bad_set_edit = "Bad set_edit-flag '%s' in data file\n",
    .file_bad_set_production = "Bad set_production-flag '%s' in data file\n",
    .file_bad_version = "Bad version number '%s' in data file\n",
    .file_unknown_version = "Unknown version number %lu in data file\n",
    .file_long_password = "Too long password in data file\n",
    .file_bad_password_char = "Illegal character in password: '%c' in data file\n",
    .file_unknown_parameter = "Unknown configuration parameter '%s' in data file\n",
    .cannot_create = "* Couldn't create configuration file, check the diskette *\n",
    .cause_read_only = "The diskette is write-protected or mounted read-only.\n",
    .cause_full = "The diskette is full.\n",
    .cause_permission =
        "You may not write here: mount the diskette with -o uid=$(id -u) so that its files are "
        "yours.\n",
    .cause_not_regular = "fconfig.dat is not a regular file.\n",
    .cause_io = "The diskette could not be written or read (an I/O error).\n",
    .cause_other = "The system reported error number %d.\n",
    .cause_folder_full =
        "There is no room for another file on the diskette: remove one you do not need.\n",
    .cause_file_read_only =
        "fconfig.dat is read-only: make it writable with chmod u+w fconfig.dat (or mattrib -r "
        "a:fconfig.dat for a diskette that is not mounted).\n",
    .cause_attributes =
        "fconfig.dat or its directory is immutable or append-only (lsattr shows which): root can "
        "clear that with chattr -i -a.\n",
    .cause_others_file =
        "fconfig.dat belongs to another user, and you may not replace it here: ask its owner or "
        "root to remove it.\n",
    .cause_gone =
        "The diskette is gone or does not answer: put it back, mount it again and change to it.\n",
    .cause_missing_folder =
        "fconfig.dat is a symbolic link into a directory that does not exist: create the directory "
        "or remove the link.\n",
    .cause_loop = "fconfig.dat is a symbolic link that leads round in a loop: remove it.\n",
    .temp_left = "%s could not be removed: it is empty, remove it.\n",
    .temp_unsafe =
        "%s, left by a save that did not finish, may hold the password in clear: remove it.\n",
    .not_on_diskette =
        "Note: this directory is not on a diskette; fconfig.dat will be written here.\n",
    .cannot_read = "* Couldn't read configuration file, check the diskette *\n",
    .internal_error = "* Internal error *\n",
    .file_too_long_line = "Too long line in data file\n",
    .end_of_file = "* End of file reached.  Your changes are lost. *\n",
    .too_long_line = "Too long line.  Try again.\n",
    .bad_input = "* Bad input *\n",
    .invalid_char = "* Invalid character in %s: '%c' *\n",
    .too_long = "* Too long %s *\n",
    .must_give = "* You have to give a %s *\n",
    .mode_normal_str =
        "Clear as little as possible. This is the alternative that is used if "
        "you answer 'n' to the question above.  Both the preliminary and the "
        "permanent configurations will be updated with the configuration on the "
        "floppy disk.",
    .mode_panic_str =
        "Revert to the factory configuration and then apply the configuration "
        "from the floppy disk.  This will affect the permanent but not the "
        "preliminary configation.",
    .mode_factory_str =
        "Revert to the factory configuration and empty all logs and then apply "
        "the configuration from the floppy disk.  Both the preliminary and the "
        "permanent configurations will be affected.",
    .inside_heading = "Network configuration inside:\n",
    .ask_device = "  Physical device name [%s]: ",
    .bad_ip = "* Bad IP number *",
    .ask_ip = "  IP number [%s]: ",
    .bad_netmask = "* Bad netmask *",
    .ask_netmask = "  Netmask/bits [%s]: ",
    .ask_kill = "  Deactivate other interfaces?",
    .allowed_heading =
        "Computers from which configuration is allowed:\n"
        "\n"
        "  You can select either a single computer or a network.\n"
        "\n",
    .ask_single = "  Configure from a single computer?",
    .bad_network = "* Bad network number *",
    .ask_network = "  Network number [%s]: ",
    .ask_password = "Password [%s]: ",
    .route_heading = "Static routing:\n",
    .route_computer_text =
        "  The computer allowed to configure from is not on a network local\n"
        "  to the firewall/Veloxor.  You must configure a static route to it.\n"
        "  Give the IP number of the router on the network the\n"
        "  firewall/Veloxor is on.\n",
    .route_network_text =
        "  The network allowed to configure from is not on a network local to "
        "the\n"
        "  firewall/Veloxor.  You must configure a static route for it.\n"
        "  Give the IP number of the router on the network the\n"
        "  firewall/Veloxor is on.\n",
    .route_partly_text =
        "  Part of the network you allow configuration from is not local to\n"
        "  the firewall/Veloxor.\n",
    .route_behind_text =
        "  If you want to configure from a computer\n"
        "  behind a router you have to tell me here.  Give the IP number of\n"
        "  the router on the network the firewall/Veloxor is on.\n",
    .ask_route = "Configure a static route?",
    .ask_router = "  The IP number of the router [%s]: ",
    .ask_route_netmask = "  Netmask [%s]: ",
    .other_heading = "Other configuration\n",
    .ask_reset = "  Do you want to reset the rest of the configuration?",
    .select_mode =
        "  Select one of the following alternatives for the rest\n"
        "  of the configuration:\n"
        "\n",
    .bad_mode = "* Bad mode *",
    .ask_mode = "  Update mode (1-3) [%s]: ",
    .show_heading =
        "Selected configuration:\n"
        "\n",
    .show_device = "  Physical device name: %s\n",
    .show_ip = "  IP number: %s\n",
    .show_netmask = "  Netmask: %s\n",
    .show_kill = "  Deactivate other interfaces: %s\n",
    .show_computer = "Computer allowed to configure from:\n",
    .show_network_heading = "Network allowed to configure from:\n",
    .show_network = "  Network number: %s\n",
    .show_password = "Password: %s\n",
    .show_router = "  Router: %s\n",
    .show_mode_kept = "The rest of the configuration is kept.\n",
    .show_mode_permanent = "The permanent configuration is reset.\n",
    .show_mode_all = "** All earlier configuration is reset. **\n",
    .show_mode_unknown = "* Unknown update mode. *\n",
    .check_ip_is_network =
        "With the given netmask, the IP number of the firewall/Veloxor\n"
        "is the same as the network number.\n",
    .check_ip_is_broadcast =
        "With the given netmask, the IP number of the firewall/Veloxor\n"
        "is the same as the broadcast address.\n",
    .check_ip_is_config_ip =
        "The IP number of the firewall/Veloxor is the same as the\n"
        "IP number allowed to configure from.  That is an impossible "
        "configuration.\n",
    .check_bad_config_iface = "Bad configuration interface '%s'.\n",
    .check_router_not_local =
        "The IP number of the router must be on a network that is local to\n"
        "the firewall/Veloxoe. That means it has to be in the following "
        "interval\n",
    .check_router_is_ip =
        "The IP number of the router cannot be the same as the IP number of\n"
        "the firewall/Veloxor.\n",
    .check_router_is_network =
        "With the given netmask the IP number of the router will equal the\n"
        "network number.\n",
    .check_route_network =
        "With the given netmask for the static route the network address will\n"
        "be illegal.  Maybe you mean %s?\n",
    .check_router_is_broadcast =
        "With the given netmask the IP number of the router will be the same as\n"
        "the broadcast address.\n",
    .check_unreachable_route =
        "The firewall/Veloxor will not be reachable from the computers\n"
        "allowed to configure it, not even with the given static route.\n",
    .check_unreachable =
        "The firewall/Veloxor will not be reachable from the \n"
        "computer(s) allowed to configure it.\n",
    .check_bad_failover_type = "Bad failover type '%s'.\n",
    .check_bad_ded_iface = "Bad dedicated interface '%s'.\n",
    .check_ded_not_ethernet = "The dedicated interface must be an ethernet interface.\n",
    .check_ded_is_config_iface =
        "The configuration interface is the same as the dedicated interface.\n",
    .error_found =
        "\n"
        "* An error has been found: *\n",
};

static_assert(messages_fit(msg));

const char *const ERROR_FOUND = msg.error_found;
