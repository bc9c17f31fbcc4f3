// The Swedish build's catalog. The texts are written here in UTF-8 for the
// reader; _l1 stores each of them in ISO-8859-1, one byte per letter.
#include "catalog.h"
#include "latin1.h"

constexpr catalog msg = {
    .yes_letter = "j"_l1,
    .no_letter = "n"_l1,
    .yn_suffix = " (j/n) [%s] "_l1,
    .yes_word = "ja"_l1,
    .no_word = "nej"_l1,
    .abort_word = "avbryt"_l1,
    .type_device = "devicenamn"_l1,
    .type_password = "lösenord"_l1,
    .lang_code = "sv"_l1,
    .program_name = "dprep-sv"_l1,
    .help =
        "Användning: dprep-sv [--help | --version]\n"
        "\n"
        "Förbereder startinställningarna för Norvane Firewall/Veloxor på en\n"
        "diskett.  Programmet ställer sina frågor i terminalen och skriver, när du\n"
        "har bekräftat svaren, filen fconfig.dat i den aktuella katalogen, som\n"
        "måste vara disketten: montera den, gå till den med cd och kontrollera med\n"
        "findmnt -T . att det är disketten innan du kör dprep-sv.  En fconfig.dat\n"
        "som redan finns där ger förvalda värden.\n"
        "\n"
        "  --help     skriv ut den här texten och avsluta\n"
        "  --version  skriv ut versionen och avsluta\n"
        "\n"
        "Manualsidan: man dprep-sv\n"_l1,
    .usage_error = "dprep-sv: programmet tar inga argument (se dprep-sv --help)\n"_l1,
    .write_error = "dprep-sv: skrivfel på standard ut\n"_l1,
    .banner = "Norvane Systems installationsprogram version %d.%d\n"_l1,
    .press_return =
        "Tryck return vid en fråga för att behålla inställningen\n"
        "\n"_l1,
    .please_correct = "Var vänlig rätta ovanstående fel.\n"_l1,
    .confirm_question = "Stämmer dessa inställningar (ja/nej/avbryt)? "_l1,
    .saved =
        "Inställningarna har nu sparats på disketten.  Stoppa i disketten\n"
        "i din Norvane Firewall/Veloxor och slå på strömmen för att\n"
        "använda dessa inställningar.\n"
        "\n"_l1,
    .password_note =
        "OBS! Eftersom lösenordet lagrats i klartext på disketten så bör\n"
        "du byta lösenord omedelbart.\n"
        "\n"_l1,
    .erase_warning =
        "OBS! Disketten innehåller ett kommando som får din\n"
        "brandvägg/Veloxor att radera viss information från\n"
        "sina inställningar när den startas med disketten isatt.\n"_l1,
    .eject_warning =
        "Det är därför viktigt att du inte glömmer kvar den i\n"
        "brandväggen/Veloxorn efter att den startats om.\n"
        "\n"_l1,
    .file_bad_config_iface = "Felaktigt konfigurationsinterface '%s' i data-filen\n"_l1,
    .file_bad_ip = "Felaktigt ip-nummer '%s' i data-filen\n"_l1,
    .file_bad_netmask = "Felaktig nätmask '%s' i data-filen\n"_l1,
    .file_bad_kill_other_ifaces = "Felaktig kill_other_ifaces-flagga '%s' i data-filen\n"_l1,
    .file_bad_config_ip = "Felaktigt ip-nummer att konfigurera från '%s' i data-filen\n"_l1,
    .file_bad_config_netmask = "Felaktig nätmask att konfigurera ifrån '%s' i data-filen\n"_l1,
    .file_bad_nw_ip = "Felaktigt nätverksnummer på inre nät '%s' i data-filen\n"_l1,
    .file_bad_nw_netmask = "Felaktig nätmask på inre nät '%s' i data-filen\n"_l1,
    .file_bad_nw_gw_ip = "Felaktigt IP-nummer på router till inre nät '%s' i data-filen\n"_l1,
    .file_bad_set_failover = "Felaktig set_failover-flagga '%s' i data-filen\n"_l1,
    .file_bad_failover_type = "Felaktig felskyddstyp '%s' i data-filen\n"_l1,
    .file_bad_failover_ded_iface = "Felaktigt reserverat interface '%s' i data-filen\n"_l1,
    .file_bad_clear_log = "Felaktig clear_log-flagga '%s' i data-filen\n"_l1,
    .file_bad_clear_edit = "Felaktig clear_edit-flagga '%s' i data-filen\n"_l1,
    .file_bad_clear_production = "Felaktig clear_production-flagga '%s' i data-filen\n"_l1,
    .file_bad_set_edit = "Felaktig set_edit-flagga '%s' i data-filen\n"_l1,
    .file_bad_set_production = "Felaktig set_production-flagga '%s' i data-filen\n"_l1,
    .file_bad_version = "Felaktigt versionsnummer '%s' i data-filen\n"_l1,
    .file_unknown_version = "Okänt versionsnummer %lu i data-filen\n"_l1,
    .file_long_password = "För långt lösenord i data-filen\n"_l1,
    .file_bad_password_char = "Otillåtet tecken i lösenord: '%c' i data-filen\n"_l1,
    .file_unknown_parameter = "Okänd inställning '%s' i data-filen\n"_l1,
    .cannot_create = "* Kunde inte skapa konfigurationsfilen, kontrollera disketten *\n"_l1,
    .cause_read_only = "Disketten är skrivskyddad eller monterad endast för läsning.\n"_l1,
    .cause_full = "Disketten är full.\n"_l1,
    .cause_permission =
        "Du får inte skriva här: montera disketten med -o uid=$(id -u) så att dess filer blir "
        "dina.\n"_l1,
    .cause_not_regular = "fconfig.dat är ingen vanlig fil.\n"_l1,
    .cause_io = "Disketten kunde inte skrivas eller läsas (ett I/O-fel).\n"_l1,
    .cause_other = "Systemet rapporterade felnummer %d.\n"_l1,
    .cause_folder_full =
        "Det finns inte plats för fler filer på disketten: ta bort en som du inte behöver.\n"_l1,
    .cause_file_read_only =
        "fconfig.dat är skrivskyddad: gör den skrivbar med chmod u+w fconfig.dat (eller mattrib -r a:fconfig.dat för en diskett som inte är monterad).\n"_l1,
    .cause_attributes =
        "fconfig.dat eller dess katalog är oföränderlig eller får bara utökas (lsattr visar vilket): root kan ta bort det med chattr -i -a.\n"_l1,
    .cause_others_file =
        "fconfig.dat tillhör en annan användare och du får inte ersätta den här: be dess ägare eller root att ta bort den.\n"_l1,
    .cause_gone =
        "Disketten är borta eller svarar inte: sätt i den igen, montera den och gå till den med cd.\n"_l1,
    .cause_missing_folder =
        "fconfig.dat är en symbolisk länk till en katalog som inte finns: skapa katalogen eller ta bort länken.\n"_l1,
    .cause_loop = "fconfig.dat är en symbolisk länk som leder runt i en slinga: ta bort den.\n"_l1,
    .temp_left = "%s kunde inte tas bort: den är tom, ta bort den.\n"_l1,
    .temp_unsafe =
        "%s, kvar efter en sparning som inte blev klar, kan innehålla lösenordet i klartext: ta bort den.\n"_l1,
    .not_on_diskette =
        "Obs: den här katalogen ligger inte på en diskett; fconfig.dat skrivs här.\n"_l1,
    .cannot_read = "* Kunde inte läsa konfigurationsfilen, kontrollera disketten *\n"_l1,
    .internal_error = "* Internt fel *\n"_l1,
    .file_too_long_line = "För lång rad i data-filen\n"_l1,
    .end_of_file = "* Filslut nått.  Dina ändringar är borttappade. *\n"_l1,
    .too_long_line = "För lång rad.  Försök igen.\n"_l1,
    .bad_input = "* Felaktig inmatning *\n"_l1,
    .invalid_char = "* Otillåtet tecken i %s: '%c' *\n"_l1,
    .too_long = "* För långt %s *\n"_l1,
    .must_give = "* Du måste ange ett %s *\n"_l1,
    .mode_normal_str =
        "Nollställ så lite som möjligt.  Detta är det alternativ som används om "
        "du svarar 'n' på frågan ovan.  Både arbets- och driftsinställningar "
        "uppdateras med de inställningar som finns på disketten."_l1,
    .mode_panic_str =
        "Återgå till fabriksinställningen och läs sedan inställningarna på "
        "disketten.  Detta påverkar driftsinställningarna.  "
        "Arbetsinställningarna påverkas inte."_l1,
    .mode_factory_str =
        "Återgå till fabriksinställningarna och töm alla loggar.  Läs sedan "
        "inställningarna från disketten.  Både arbets- och driftsinställningarna "
        "påverkas."_l1,
    .inside_heading = "Nätinställningar insida:\n"_l1,
    .ask_device = "  Fysiskt devicenamn [%s]: "_l1,
    .bad_ip = "* Felaktigt IP-nummer *"_l1,
    .ask_ip = "  IP-nummer [%s]: "_l1,
    .bad_netmask = "* Felaktig nätmask *"_l1,
    .ask_netmask = "  Nätmask/bitar [%s]: "_l1,
    .ask_kill = "  Deaktivera övriga interface?"_l1,
    .allowed_heading =
        "Tillåtna maskiner att konfigurera ifrån:\n"
        "\n"
        "  Du kan välja att få konfigurera brandväggen/Veloxorn\n"
        "  från en enskild dator eller från ett helt nätverk.\n"
        "\n"_l1,
    .ask_single = "  Konfigurera från en enskild dator?"_l1,
    .bad_network = "* Felaktigt nätnummer *"_l1,
    .ask_network = "  Nätnummer [%s]: "_l1,
    .ask_password = "Lösenord [%s]: "_l1,
    .route_heading = "Statisk routing:\n"_l1,
    .route_computer_text =
        "  Datorn du tillåter konfigurering från sitter inte på\n"
        "  brandväggens/Veloxorns lokala nät.  Du måste ange\n"
        "  en statisk route till den.  Ange routerns IP-nummer\n"
        "  på det nät som brandväggen/Veloxorn sitter på.\n"_l1,
    .route_network_text =
        "  Nätet du tillåter konfigurering från sitter inte på\n"
        "  brandväggens/Veloxorns lokala nät.  Du måste ange\n"
        "  en statisk route till den.  Ange routerns IP-nummer\n"
        "  på det nät som brandväggen/Veloxorn sitter på.\n"_l1,
    .route_partly_text =
        "  Delar av nätet du tillåter konfigurering från sitter inte\n"
        "  på brandväggens/Veloxorns lokala nät.\n"_l1,
    .route_behind_text =
        "  Om du vill konfigurera från en dator bakom en router\n"
        "  måste du ange den här.  Ange routerns IP-nummer på det\n"
        "  nät som brandväggen/Veloxorn sitter på.\n"_l1,
    .ask_route = "  Konfigurera en statisk route?"_l1,
    .ask_router = "  Routerns IP-nummer [%s]: "_l1,
    .ask_route_netmask = "  Nätmask [%s]: "_l1,
    .other_heading = "Övriga inställningar\n"_l1,
    .ask_reset = "  Vill du nollställa övriga inställningar?"_l1,
    .select_mode =
        "  Välj ett av följande alternativ för vad som ska ske med de\n"
        "  inställningar som redan finns:\n"
        "\n"_l1,
    .bad_mode = "* Felaktig mode *"_l1,
    .ask_mode = "  Uppdateringsmode (1-3) [%s]: "_l1,
    .show_heading =
        "Du har nu angett följande inställningar:\n"
        "\n"_l1,
    .show_device = "  Fysiskt devicenamn: %s\n"_l1,
    .show_ip = "  IP-nummer: %s\n"_l1,
    .show_netmask = "  Nätmask: %s\n"_l1,
    .show_kill = "  Deaktivera övriga interface: %s\n"_l1,
    .show_computer = "Tillåten maskin att konfigurera ifrån:\n"_l1,
    .show_network_heading = "Tillåtna maskiner att konfigurera ifrån:\n"_l1,
    .show_network = "  Nätnummer: %s\n"_l1,
    .show_password = "Lösenord: %s\n"_l1,
    .show_router = "  Router: %s\n"_l1,
    .show_mode_kept = "Övriga inställningar rensas ej.\n"_l1,
    .show_mode_permanent = "Driftsinställningarna rensas.\n"_l1,
    .show_mode_all = "** Alla tidigare inställningar rensas. **\n"_l1,
    .show_mode_unknown = "* Okänd uppdateringsmode. *\n"_l1,
    .check_ip_is_network =
        "Med den nätmask du angett är brandväggens/Veloxorns\n"
        "IP-nummer samma som nätverkets nummer.\n"_l1,
    .check_ip_is_broadcast =
        "Med den nätmask du angett är brandväggens/Veloxorns\n"
        "IP-nummer samma som nätverkets broadcastadress.\n"_l1,
    .check_ip_is_config_ip =
        "Brandväggens/Veloxorns IP-nummer är identiskt med det\n"
        "IP-nummer du kan konfigurera från.  Det är inte möjligt.\n"_l1,
    .check_bad_config_iface = "Felaktigt konfigureringsinterface '%s'.\n"_l1,
    .check_router_not_local =
        "Routerns IP-nummer måste finnas direkt på\n"
        "brandväggens/Veloxorns lokala nät.\n"
        "Det innebär att den måste ha ett IP-nummer i intervallet\n"_l1,
    .check_router_is_ip =
        "Routerns IP-nummer kan inte vara identiskt med\n"
        "brandväggen/Veloxorn.\n"_l1,
    .check_router_is_network =
        "Med den nätmask du angett är routerns IP-nummer samma som\n"
        "nätverkets nummer.\n"_l1,
    .check_route_network =
        "Med den nätmask du angett för det statiskt routade nätet är\n"
        "nätets adress inte en nätadress.  Menar du kanske %s?\n"_l1,
    .check_router_is_broadcast =
        "Med den nätmask du angett är routerns IP-nummer samma som\n"
        "nätverkets broadcastadress.\n"_l1,
    .check_unreachable_route =
        "Brandväggens/Veloxorns inre nät är inte nåbart från\n"
        "den dator/de datorer som får konfigurera den, inte ens\n"
        "via den statiska route du satt upp.\n"_l1,
    .check_unreachable =
        "Brandväggens/Veloxorns inre nät är inte nåbart från\n"
        "den dator/de datorer som får konfigurera den.\n"_l1,
    .check_bad_failover_type = "Felaktig felskyddstyp '%s'.\n"_l1,
    .check_bad_ded_iface = "Felaktigt reserverat interface '%s'.\n"_l1,
    .check_ded_not_ethernet = "Det reserverat interfacet måste vara ett ethernet-interface.\n"_l1,
    .check_ded_is_config_iface =
        "Konfigureringsinterfacet är samma som det reserverat interfacet.\n"_l1,
    .error_found =
        "\n"
        "* Ett fel har hittats: *\n"_l1,
};

static_assert(messages_fit(msg));

const char *const ERROR_FOUND = msg.error_found;
