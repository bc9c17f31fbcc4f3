#!/usr/bin/env python3
"""Writes the expected files of the end-to-end cases under cases/en and cases/sv.

The expectations come from a model of the program written here independently
of its source: the texts below and the rules of the dialogue, the summary, the
check and the data file. Rerun it after changing a case or a text, and review
the difference; never fill an expectation in from what the program prints.

Texts are handled as one character per byte (ISO-8859-1), which is also how
the Swedish build writes its letters.
"""
import os
import shutil
import sys

# English text, Swedish text: the words first, then every message.
TEXTS = [
    ('y',
     'j'),
    ('n',
     'n'),
    (' (y/n) [%s] ',
     ' (j/n) [%s] '),
    ('yes',
     'ja'),
    ('no',
     'nej'),
    ('abort',
     'avbryt'),
    ('device name',
     'devicenamn'),
    ('password',
     'lösenord'),
    ('en',
     'sv'),
    ('Norvane Systems installation program version %d.%d\n',
     'Norvane Systems installationsprogram version %d.%d\n'),
    ('Press return to keep the default value\n\n',
     'Tryck return vid en fråga för att behålla inställningen\n\n'),
    ('Please correct the errors above.\n',
     'Var vänlig rätta ovanstående fel.\n'),
    ('Is this configuration correct (yes/no/abort)? ',
     'Stämmer dessa inställningar (ja/nej/avbryt)? '),
    ('The configuration has been saved to the floppy disk.  Now put it in your\nNorvane Firewall/Veloxor and turn it on to use this configuration.\n\n',
     'Inställningarna har nu sparats på disketten.  Stoppa i disketten\ni din Norvane Firewall/Veloxor och slå på strömmen för att\nanvända dessa inställningar.\n\n'),
    ("NB! Since the password is stored in cleartext on the floppy disk\nit's advisable to select a new password immediately.\n\n",
     'OBS! Eftersom lösenordet lagrats i klartext på disketten så bör\ndu byta lösenord omedelbart.\n\n'),
    ('NB! The floppy disk contains a command to erase certain parts of the\nconfiguration during boot with the floppy inserted.\n',
     'OBS! Disketten innehåller ett kommando som får din\nbrandvägg/Veloxor att radera viss information från\nsina inställningar när den startas med disketten isatt.\n'),
    ('Make sure to eject it once the firewall/Veloxor has been restarted\nto avoid future loss of data.\n\n',
     'Det är därför viktigt att du inte glömmer kvar den i\nbrandväggen/Veloxorn efter att den startats om.\n\n'),
    ("Bad configuration interface '%s' in data file\n",
     "Felaktigt konfigurationsinterface '%s' i data-filen\n"),
    ("Bad IP number '%s' in data file\n",
     "Felaktigt ip-nummer '%s' i data-filen\n"),
    ("Bad netmask '%s' in data file\n",
     "Felaktig nätmask '%s' i data-filen\n"),
    ("Bad kill_other_ifaces-flag '%s' in data file\n",
     "Felaktig kill_other_ifaces-flagga '%s' i data-filen\n"),
    ("Bad IP number to configure from '%s' in data file\n",
     "Felaktigt ip-nummer att konfigurera från '%s' i data-filen\n"),
    ("Bad netmask for allowed configuration '%s' in data file\n",
     "Felaktig nätmask att konfigurera ifrån '%s' i data-filen\n"),
    ("Bad network number on inner network '%s' in data file\n",
     "Felaktigt nätverksnummer på inre nät '%s' i data-filen\n"),
    ("Bad netmask on inner network '%s' in data file\n",
     "Felaktig nätmask på inre nät '%s' i data-filen\n"),
    ("Bad IP number for router to inner net '%s' in data file\n",
     "Felaktigt IP-nummer på router till inre nät '%s' i data-filen\n"),
    ("Bad set_failover flag '%s' in data file\n",
     "Felaktig set_failover-flagga '%s' i data-filen\n"),
    ("Bad failover type '%s' in data file\n",
     "Felaktig felskyddstyp '%s' i data-filen\n"),
    ("Bad dedicated interface '%s' in data file\n",
     "Felaktigt reserverat interface '%s' i data-filen\n"),
    ("Bad clear_log-flag '%s' in data file\n",
     "Felaktig clear_log-flagga '%s' i data-filen\n"),
    ("Bad clear_edit-flag '%s' in data file\n",
     "Felaktig clear_edit-flagga '%s' i data-filen\n"),
    ("Bad clear_production-flag '%s' in data file\n",
     "Felaktig clear_production-flagga '%s' i data-filen\n"),
    ("Bad set_edit-flag '%s' in data file\n",
     "Felaktig set_edit-flagga '%s' i data-filen\n"),
    ("Bad set_production-flag '%s' in data file\n",
     "Felaktig set_production-flagga '%s' i data-filen\n"),
    ("Bad version number '%s' in data file\n",
     "Felaktigt versionsnummer '%s' i data-filen\n"),
    ('Unknown version number %lu in data file\n',
     'Okänt versionsnummer %lu i data-filen\n'),
    ('Too long password in data file\n',
     'För långt lösenord i data-filen\n'),
    ("Illegal character in password: '%c' in data file\n",
     "Otillåtet tecken i lösenord: '%c' i data-filen\n"),
    ("Unknown configuration parameter '%s' in data file\n",
     "Okänd inställning '%s' i data-filen\n"),
    ("* Couldn't create configuration file, check the diskette *\n",
     '* Kunde inte skapa konfigurationsfilen, kontrollera disketten *\n'),
    ('* Internal error *\n',
     '* Internt fel *\n'),
    ('* End of file reached.  Your changes are lost. *\n',
     '* Filslut nått.  Dina ändringar är borttappade. *\n'),
    ('Too long line.  Try again.\n',
     'För lång rad.  Försök igen.\n'),
    ('* Bad input *\n',
     '* Felaktig inmatning *\n'),
    ("* Invalid character in %s: '%c' *\n",
     "* Otillåtet tecken i %s: '%c' *\n"),
    ('* Too long %s *\n',
     '* För långt %s *\n'),
    ('* You have to give a %s *\n',
     '* Du måste ange ett %s *\n'),
    ("Clear as little as possible. This is the alternative that is used if you answer 'n' to the question above.  Both the preliminary and the permanent configurations will be updated with the configuration on the floppy disk.",
     "Nollställ så lite som möjligt.  Detta är det alternativ som används om du svarar 'n' på frågan ovan.  Både arbets- och driftsinställningar uppdateras med de inställningar som finns på disketten."),
    ('Revert to the factory configuration and then apply the configuration from the floppy disk.  This will affect the permanent but not the preliminary configation.',
     'Återgå till fabriksinställningen och läs sedan inställningarna på disketten.  Detta påverkar driftsinställningarna.  Arbetsinställningarna påverkas inte.'),
    ('Revert to the factory configuration and empty all logs and then apply the configuration from the floppy disk.  Both the preliminary and the permanent configurations will be affected.',
     'Återgå till fabriksinställningarna och töm alla loggar.  Läs sedan inställningarna från disketten.  Både arbets- och driftsinställningarna påverkas.'),
    ('Network configuration inside:\n',
     'Nätinställningar insida:\n'),
    ('  Physical device name [%s]: ',
     '  Fysiskt devicenamn [%s]: '),
    ('* Bad IP number *',
     '* Felaktigt IP-nummer *'),
    ('  IP number [%s]: ',
     '  IP-nummer [%s]: '),
    ('* Bad netmask *',
     '* Felaktig nätmask *'),
    ('  Netmask/bits [%s]: ',
     '  Nätmask/bitar [%s]: '),
    ('  Deactivate other interfaces?',
     '  Deaktivera övriga interface?'),
    ('Computers from which configuration is allowed:\n\n  You can select either a single computer or a network.\n\n',
     'Tillåtna maskiner att konfigurera ifrån:\n\n  Du kan välja att få konfigurera brandväggen/Veloxorn\n  från en enskild dator eller från ett helt nätverk.\n\n'),
    ('  Configure from a single computer?',
     '  Konfigurera från en enskild dator?'),
    ('* Bad network number *',
     '* Felaktigt nätnummer *'),
    ('  Network number [%s]: ',
     '  Nätnummer [%s]: '),
    ('Password [%s]: ',
     'Lösenord [%s]: '),
    ('Static routing:\n',
     'Statisk routing:\n'),
    ('  The computer allowed to configure from is not on a network local\n  to the firewall/Veloxor.  You must configure a static route to it.\n  Give the IP number of the router on the network the\n  firewall/Veloxor is on.\n',
     '  Datorn du tillåter konfigurering från sitter inte på\n  brandväggens/Veloxorns lokala nät.  Du måste ange\n  en statisk route till den.  Ange routerns IP-nummer\n  på det nät som brandväggen/Veloxorn sitter på.\n'),
    ('  The network allowed to configure from is not on a network local to the\n  firewall/Veloxor.  You must configure a static route for it.\n  Give the IP number of the router on the network the\n  firewall/Veloxor is on.\n',
     '  Nätet du tillåter konfigurering från sitter inte på\n  brandväggens/Veloxorns lokala nät.  Du måste ange\n  en statisk route till den.  Ange routerns IP-nummer\n  på det nät som brandväggen/Veloxorn sitter på.\n'),
    ('  Part of the network you allow configuration from is not local to\n  the firewall/Veloxor.\n',
     '  Delar av nätet du tillåter konfigurering från sitter inte\n  på brandväggens/Veloxorns lokala nät.\n'),
    ('  If you want to configure from a computer\n  behind a router you have to tell me here.  Give the IP number of\n  the router on the network the firewall/Veloxor is on.\n',
     '  Om du vill konfigurera från en dator bakom en router\n  måste du ange den här.  Ange routerns IP-nummer på det\n  nät som brandväggen/Veloxorn sitter på.\n'),
    ('Configure a static route?',
     '  Konfigurera en statisk route?'),
    ('  The IP number of the router [%s]: ',
     '  Routerns IP-nummer [%s]: '),
    ('  Netmask [%s]: ',
     '  Nätmask [%s]: '),
    ('Other configuration\n',
     'Övriga inställningar\n'),
    ('  Do you want to reset the rest of the configuration?',
     '  Vill du nollställa övriga inställningar?'),
    ('  Select one of the following alternatives for the rest\n  of the configuration:\n\n',
     '  Välj ett av följande alternativ för vad som ska ske med de\n  inställningar som redan finns:\n\n'),
    ('* Bad mode *',
     '* Felaktig mode *'),
    ('  Update mode (1-3) [%s]: ',
     '  Uppdateringsmode (1-3) [%s]: '),
    ('Selected configuration:\n\n',
     'Du har nu angett följande inställningar:\n\n'),
    ('  Physical device name: %s\n',
     '  Fysiskt devicenamn: %s\n'),
    ('  IP number: %s\n',
     '  IP-nummer: %s\n'),
    ('  Netmask: %s\n',
     '  Nätmask: %s\n'),
    ('  Deactivate other interfaces: %s\n',
     '  Deaktivera övriga interface: %s\n'),
    ('Computer allowed to configure from:\n',
     'Tillåten maskin att konfigurera ifrån:\n'),
    ('Network allowed to configure from:\n',
     'Tillåtna maskiner att konfigurera ifrån:\n'),
    ('  Network number: %s\n',
     '  Nätnummer: %s\n'),
    ('Password: %s\n',
     'Lösenord: %s\n'),
    ('  Router: %s\n',
     '  Router: %s\n'),
    ('The rest of the configuration is kept.\n',
     'Övriga inställningar rensas ej.\n'),
    ('The permanent configuration is reset.\n',
     'Driftsinställningarna rensas.\n'),
    ('** All earlier configuration is reset. **\n',
     '** Alla tidigare inställningar rensas. **\n'),
    ('* Unknown update mode. *\n',
     '* Okänd uppdateringsmode. *\n'),
    ('With the given netmask, the IP number of the firewall/Veloxor\nis the same as the network number.\n',
     'Med den nätmask du angett är brandväggens/Veloxorns\nIP-nummer samma som nätverkets nummer.\n'),
    ('With the given netmask, the IP number of the firewall/Veloxor\nis the same as the broadcast address.\n',
     'Med den nätmask du angett är brandväggens/Veloxorns\nIP-nummer samma som nätverkets broadcastadress.\n'),
    ('The IP number of the firewall/Veloxor is the same as the\nIP number allowed to configure from.  That is an impossible configuration.\n',
     'Brandväggens/Veloxorns IP-nummer är identiskt med det\nIP-nummer du kan konfigurera från.  Det är inte möjligt.\n'),
    ("Bad configuration interface '%s'.\n",
     "Felaktigt konfigureringsinterface '%s'.\n"),
    ('The IP number of the router must be on a network that is local to\nthe firewall/Veloxoe. That means it has to be in the following interval\n',
     'Routerns IP-nummer måste finnas direkt på\nbrandväggens/Veloxorns lokala nät.\nDet innebär att den måste ha ett IP-nummer i intervallet\n'),
    ('The IP number of the router cannot be the same as the IP number of\nthe firewall/Veloxor.\n',
     'Routerns IP-nummer kan inte vara identiskt med\nbrandväggen/Veloxorn.\n'),
    ('With the given netmask the IP number of the router will equal the\nnetwork number.\n',
     'Med den nätmask du angett är routerns IP-nummer samma som\nnätverkets nummer.\n'),
    ('With the given netmask for the static route the network address will\nbe illegal.  Maybe you mean %s?\n',
     'Med den nätmask du angett för det statiskt routade nätet är\nnätets adress inte en nätadress.  Menar du kanske %s?\n'),
    ('With the given netmask the IP number of the router will be the same as\nthe broadcast address.\n',
     'Med den nätmask du angett är routerns IP-nummer samma som\nnätverkets broadcastadress.\n'),
    ('The firewall/Veloxor will not be reachable from the computers\nallowed to configure it, not even with the given static route.\n',
     'Brandväggens/Veloxorns inre nät är inte nåbart från\nden dator/de datorer som får konfigurera den, inte ens\nvia den statiska route du satt upp.\n'),
    ('The firewall/Veloxor will not be reachable from the \ncomputer(s) allowed to configure it.\n',
     'Brandväggens/Veloxorns inre nät är inte nåbart från\nden dator/de datorer som får konfigurera den.\n'),
    ("Bad failover type '%s'.\n",
     "Felaktig felskyddstyp '%s'.\n"),
    ("Bad dedicated interface '%s'.\n",
     "Felaktigt reserverat interface '%s'.\n"),
    ('The dedicated interface must be an ethernet interface.\n',
     'Det reserverat interfacet måste vara ett ethernet-interface.\n'),
    ('The configuration interface is the same as the dedicated interface.\n',
     'Konfigureringsinterfacet är samma som det reserverat interfacet.\n'),
    ('\n* An error has been found: *\n',
     '\n* Ett fel har hittats: *\n'),
]
SWEDISH = dict(TEXTS)
MODE_TEXTS = [e for e, s in TEXTS if e.startswith(('Clear as little', 'Revert to the'))]
assert len(MODE_TEXTS) == 3
SWEDISH['Too long line in data file\n'] = 'För lång rad i data-filen\n'

# --- The model of one run -------------------------------------------------

WS = ' \t\n\v\f\r'
SINGLE = 0xFFFFFFFF
# (mode, clear_log, clear_edit, clear_production, set_edit, set_production, text)
MODES = [(1, 0, 0, 0, 1, 1, MODE_TEXTS[0]),
         (2, 0, 0, 1, 0, 1, MODE_TEXTS[1]),
         (3, 1, 1, 1, 1, 1, MODE_TEXTS[2])]


class Exit(Exception):
    def __init__(self, status):
        self.status = status


def escaped(text):
    """Bytes from outside as the messages show them: control bytes as \\xhh."""
    out = ''
    for ch in text:
        c = ord(ch)
        if (c <= 0x1F and c != 9) or 0x7F <= c <= 0x9F:
            out += '\\x%02x' % c
        else:
            out += ch
    return out


def fmt(text, *args):
    """printf with %s, %c, %d and %lu, arguments already converted."""
    out, i, args = '', 0, list(args)
    while i < len(text):
        if text[i] == '%':
            spec = 'lu' if text.startswith('%lu', i) else text[i + 1]
            out += str(args.pop(0))
            i += 1 + len(spec)
        else:
            out += text[i]
            i += 1
    assert not args
    return out


def format_ip(v):
    return '%d.%d.%d.%d' % (v >> 24 & 255, v >> 16 & 255, v >> 8 & 255, v & 255)


def scan(s, pattern):
    """The standard formatted input with %d, %s and literal dots: the count."""
    pos, count, values = 0, 0, []
    for item in pattern:
        if item == '.':
            if pos >= len(s):
                return (count if count else -1), values
            if s[pos] != '.':
                return count, values
            pos += 1
            continue
        while pos < len(s) and s[pos] in WS:
            pos += 1
        if pos >= len(s):
            return (count if count else -1), values
        if item == '%s':
            count += 1
            while pos < len(s) and s[pos] not in WS:
                pos += 1
            continue
        start = pos
        if s[pos] in '+-':
            pos += 1
        digits = pos
        while pos < len(s) and s[pos].isdigit() and s[pos] in '0123456789':
            pos += 1
        if pos == digits:
            return count, values
        values.append(int(s[start:pos]))
        count += 1
    return count, values


def parse_ip(s):
    n, v = scan(s, ['%d', '.', '%d', '.', '%d', '.', '%d', '%s'])
    if n not in (4, -1) or len(v) < 4 or any(not 0 <= x <= 255 for x in v[:4]):
        return None
    return v[0] << 24 | v[1] << 16 | v[2] << 8 | v[3]


def prefix(k):
    return 0 if k == 0 else (SINGLE << (32 - k)) & SINGLE


def parse_mask(s):
    ip = parse_ip(s)
    if ip is None:
        n, v = scan(s, ['%d', '%s'])
        if n not in (1, -1) or not v or not 0 <= v[0] <= 32:
            return None
        ip = prefix(v[0])
    return ip if ip in [prefix(k) for k in range(33)] else None


def parse_ul(s):
    """(accepted, value): the value is stored even when refused."""
    pos = 0
    while pos < len(s) and s[pos] in WS:
        pos += 1
    neg = pos < len(s) and s[pos] == '-'
    if pos < len(s) and s[pos] in '+-':
        pos += 1
    start = pos
    while pos < len(s) and s[pos] in '0123456789':
        pos += 1
    if pos == start:
        return False, 0
    v = min(int(s[start:pos]), SINGLE)
    if neg:
        v = -v % (1 << 32)
    return pos == len(s), v


def is_alnum(ch):
    return ch in 'ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'


def lower(text):
    return ''.join(chr(ord(c) + 32) if 'A' <= c <= 'Z' else c for c in text)


def matches(line, word):
    return 0 < len(line) <= len(word) and lower(line) == lower(word[:len(line)])


def check_ifacename(name):
    if len(name) > 15:
        return 1
    if name.startswith('eth'):
        rest = name[3:]
    elif name.startswith('tr'):
        rest = name[2:]
    else:
        return 1
    return 0 if rest and all(c in '0123456789' for c in rest) else 1


def check_failover_type(word):
    return 0 if word in ('master', 'slave', 'standalone') else 1


class Run:
    def __init__(self, lang, stdin, before):
        self.lang, self.inp, self.pos = lang, stdin, 0
        self.out, self.err = '', ''
        self.before = before

    def t(self, english):
        return english if self.lang == 'en' else SWEDISH[english]

    def say(self, english, *args):
        self.out += fmt(self.t(english), *args)

    # Line input and prompts.
    def my_gets(self, sz):
        while True:
            if self.pos >= len(self.inp):
                self.say('* End of file reached.  Your changes are lost. *\n')
                raise Exit(1)
            chunk = self.inp[self.pos:self.pos + sz - 1]
            lf = chunk.find('\n')
            if lf >= 0:
                self.pos += lf + 1
                return chunk[:lf]
            self.pos += len(chunk)
            self.say('Too long line.  Try again.\n')
            lf = self.inp.find('\n', self.pos)
            self.pos = len(self.inp) if lf < 0 else lf + 1

    def prompt_ul(self, p, error, formatter, parser, field):
        while True:
            self.say(p, formatter(self.o[field]))
            s = self.my_gets(256)
            if s == '':
                return
            ok, value = parser(s)
            if value is not None:
                self.o[field] = value
            if ok:
                return
            self.out += self.t(error) + '\n'

    def prompt_ip(self, p, error, field, parse=parse_ip):
        def parser(s):
            v = parse(s)
            return v is not None, v
        self.prompt_ul(p, error, format_ip, parser, field)

    def prompt_bool(self, prompt, value):
        while True:
            self.say(prompt)
            self.say(' (y/n) [%s] ', self.t('y') if value else self.t('n'))
            s = self.my_gets(20)
            if s == '':
                return value
            if matches(s, self.t('yes')):
                return 1
            if matches(s, self.t('no')):
                return 0
            self.say('* Bad input *\n')

    def prompt_string(self, prompt, type_, field, length):
        while True:
            self.say(prompt, self.o[field])
            s = self.my_gets(256)
            if s == '':
                if self.o[field]:
                    return
                self.say('* You have to give a %s *\n', self.t(type_))
                continue
            bad = [c for c in s if not is_alnum(c)]
            if bad:
                self.say("* Invalid character in %s: '%c' *\n", self.t(type_), escaped(bad[0]))
            elif len(s) >= length:
                self.say('* Too long %s *\n', self.t(type_))
            else:
                self.o[field] = s
                return

    def print_folded(self, text, col, margin, width):
        need_delim, i = False, 0
        while i < len(text):
            j = text.find(' ', i)
            j = len(text) if j < 0 else j
            word = text[i:j]
            if col > 0 and col + len(word) + need_delim > width:
                self.out += '\n'
                col, need_delim = 0, False
            if col < margin:
                self.out += ' ' * (margin - col)
                col, need_delim = margin, False
            if need_delim:
                self.out += ' '
                col += 1
            self.out += word
            col += len(word)
            need_delim = True
            while j < len(text) and text[j] == ' ':
                j += 1
            i = j
        self.out += '\n'

    # The dialogue.
    def ask(self):
        o = self.o
        self.say('Network configuration inside:\n')
        self.prompt_string('  Physical device name [%s]: ', 'device name', 'config_iface', 16)
        self.prompt_ip('  IP number [%s]: ', '* Bad IP number *', 'ip')
        self.prompt_ip('  Netmask/bits [%s]: ', '* Bad netmask *', 'netmask', parse_mask)
        o['kill_other_ifaces'] = self.prompt_bool('  Deactivate other interfaces?',
                                                  o['kill_other_ifaces'])
        self.out += '\n'
        self.say('Computers from which configuration is allowed:\n\n'
                 '  You can select either a single computer or a network.\n\n')
        single = self.prompt_bool('  Configure from a single computer?',
                                  o['config_netmask'] == SINGLE)
        if single:
            o['config_netmask'] = SINGLE
            self.prompt_ip('  IP number [%s]: ', '* Bad IP number *', 'config_ip')
        else:
            self.prompt_ip('  Network number [%s]: ', '* Bad network number *', 'config_ip')
            self.prompt_ip('  Netmask/bits [%s]: ', '* Bad netmask *', 'config_netmask',
                           parse_mask)
        self.ask_route()
        self.out += '\n'
        o['set_failover'] = 0
        self.prompt_string('Password [%s]: ', 'password', 'password', 64)
        self.ask_mode()

    def ask_route(self):
        o = self.o
        setup = 0
        mask = o['netmask'] & o['config_netmask']
        same = o['ip'] & mask == o['config_ip'] & mask
        if not (same and mask == o['netmask']):
            self.out += '\n'
            self.say('Static routing:\n')
            if same:
                self.say('  Part of the network you allow configuration from is not local to\n'
                         '  the firewall/Veloxor.\n')
                self.say('  If you want to configure from a computer\n'
                         '  behind a router you have to tell me here.  Give the IP number of\n'
                         '  the router on the network the firewall/Veloxor is on.\n')
                setup = self.prompt_bool('Configure a static route?', o['nw_gw_ip'] != 0)
            else:
                if o['config_netmask'] == SINGLE:
                    self.say('  The computer allowed to configure from is not on a network local\n'
                             '  to the firewall/Veloxor.  You must configure a static route to it.\n'
                             '  Give the IP number of the router on the network the\n'
                             '  firewall/Veloxor is on.\n')
                else:
                    self.say('  The network allowed to configure from is not on a network local to the\n'
                             '  firewall/Veloxor.  You must configure a static route for it.\n'
                             '  Give the IP number of the router on the network the\n'
                             '  firewall/Veloxor is on.\n')
                setup = 1
        if setup:
            if o['nw_ip'] == 0 and o['nw_netmask'] == 0:
                o['nw_netmask'] = o['config_netmask'] & 0xFFFFFF00
                o['nw_ip'] = o['nw_netmask'] & o['config_ip']
            self.prompt_ip('  The IP number of the router [%s]: ', '* Bad IP number *', 'nw_gw_ip')
            self.prompt_ip('  Network number [%s]: ', '* Bad network number *', 'nw_ip')
            self.prompt_ip('  Netmask [%s]: ', '* Bad netmask *', 'nw_netmask', parse_mask)
        else:
            o['nw_ip'] = o['nw_netmask'] = o['nw_gw_ip'] = 0

    def ask_mode(self):
        o = self.o
        self.out += '\n'
        self.say('Other configuration\n')
        keep = self.prompt_bool('  Do you want to reset the rest of the configuration?',
                                o['update_mode'] != 1)
        if not keep:
            o['update_mode'] = 1
            return
        while keep:
            self.out += '\n'
            self.say('  Select one of the following alternatives for the rest\n'
                     '  of the configuration:\n\n')
            for row in MODES:
                self.out += '%4d. ' % row[0]
                self.print_folded(self.t(row[6]), 6, 6, 70)
            self.prompt_ul('  Update mode (1-3) [%s]: ', '* Bad mode *', str, parse_ul,
                           'update_mode')
            if any(row[0] == o['update_mode'] for row in MODES):
                keep = 0

    def show(self):
        o = self.o
        self.out += '\n'
        self.say('Selected configuration:\n\n')
        self.say('Network configuration inside:\n')
        self.say('  Physical device name: %s\n', o['config_iface'])
        self.say('  IP number: %s\n', format_ip(o['ip']))
        self.say('  Netmask: %s\n', format_ip(o['netmask']))
        self.say('  Deactivate other interfaces: %s\n',
                 self.t('yes') if o['kill_other_ifaces'] else self.t('no'))
        self.out += '\n'
        if o['config_netmask'] == SINGLE:
            self.say('Computer allowed to configure from:\n')
            self.say('  IP number: %s\n', format_ip(o['config_ip']))
        else:
            self.say('Network allowed to configure from:\n')
            self.say('  Network number: %s\n', format_ip(o['config_ip']))
            self.say('  Netmask: %s\n', format_ip(o['config_netmask']))
        self.out += '\n'
        self.say('Password: %s\n', o['password'])
        if o['nw_gw_ip'] != 0:
            self.out += '\n'
            self.say('Static routing:\n')
            self.say('  Network number: %s\n', format_ip(o['nw_ip']))
            self.say('  Netmask: %s\n', format_ip(o['nw_netmask']))
            self.say('  Router: %s\n', format_ip(o['nw_gw_ip']))
        self.out += '\n'
        self.say({1: 'The rest of the configuration is kept.\n',
                  2: 'The permanent configuration is reset.\n',
                  3: '** All earlier configuration is reset. **\n'}.get(
                      o['update_mode'], '* Unknown update mode. *\n'))

    def check(self):
        o = self.o
        h = ~o['netmask'] & SINGLE

        def error(english, *args):
            self.say('\n* An error has been found: *\n')
            self.out += '\n'
            self.say(english, *args)
            return 1

        if o['ip'] & h == 0:
            return error('With the given netmask, the IP number of the firewall/Veloxor\n'
                         'is the same as the network number.\n')
        if o['ip'] & h == h:
            return error('With the given netmask, the IP number of the firewall/Veloxor\n'
                         'is the same as the broadcast address.\n')
        if o['ip'] == o['config_ip']:
            return error('The IP number of the firewall/Veloxor is the same as the\n'
                         'IP number allowed to configure from.  That is an impossible '
                         'configuration.\n')
        if check_ifacename(o['config_iface']):
            return error("Bad configuration interface '%s'.\n", o['config_iface'])
        both = o['netmask'] & o['config_netmask']
        reachable = o['ip'] & both == o['config_ip'] & both
        gw = o['nw_gw_ip']
        if gw == 0:
            if not reachable:
                return error('The firewall/Veloxor will not be reachable from the \n'
                             'computer(s) allowed to configure it.\n')
        else:
            if gw & o['netmask'] != o['ip'] & o['netmask']:
                error('The IP number of the router must be on a network that is local to\n'
                      'the firewall/Veloxoe. That means it has to be in the following '
                      'interval\n')
                self.out += format_ip((o['ip'] & o['netmask']) + 1 & SINGLE) + '-'
                self.out += format_ip((o['ip'] | h) - 1 & SINGLE) + '.\n'
                return 1
            if gw == o['ip']:
                return error('The IP number of the router cannot be the same as the IP number of\n'
                             'the firewall/Veloxor.\n')
            if gw & h == 0:
                return error('With the given netmask the IP number of the router will equal the\n'
                             'network number.\n')
            if o['nw_ip'] & ~o['nw_netmask'] & SINGLE:
                return error('With the given netmask for the static route the network address '
                             'will\nbe illegal.  Maybe you mean %s?\n',
                             format_ip(o['nw_ip'] & o['nw_netmask']))
            if gw & h == h:
                return error('With the given netmask the IP number of the router will be the '
                             'same as\nthe broadcast address.\n')
            m = o['nw_netmask'] & o['config_netmask']
            if o['nw_ip'] & m == o['config_ip'] & m:
                reachable = True
            if not reachable:
                return error('The firewall/Veloxor will not be reachable from the computers\n'
                             'allowed to configure it, not even with the given static route.\n')
        if o['set_failover']:
            if check_failover_type(o['failover_type']):
                return error("Bad failover type '%s'.\n", o['failover_type'])
            if check_ifacename(o['failover_ded_iface']):
                return error("Bad dedicated interface '%s'.\n", o['failover_ded_iface'])
            if lower(o['failover_ded_iface'][:3]) != 'eth':
                return error('The dedicated interface must be an ethernet interface.\n')
            if o['config_iface'] == o['failover_ded_iface']:
                return error('The configuration interface is the same as the dedicated '
                             'interface.\n')
        return 0

    # The data file.
    def warn(self, english, *args):
        self.err += fmt(self.t(english), *args)

    def load_file(self):
        o = self.o
        if self.before is None:
            return
        lines = self.before.split('\n')
        if lines[-1] == '':
            lines.pop()
        for line in lines:
            line = line.rstrip('\r')
            if len(line) > 254:
                self.warn('Too long line in data file\n')
                continue
            self.take_line(line)

    def take_line(self, line):
        o = self.o
        key = next((k for k in KEYS if lower(line[:len(k[0])]) == k[0]), None)
        if key is None:
            if line:
                self.warn("Unknown configuration parameter '%s' in data file\n", escaped(line))
            return
        name, how, message = key
        field = name[:-1]
        value = line[len(name):]
        if how == 'ip':
            v = parse_ip(value)
            if v is None:
                self.warn(message, escaped(value))
            else:
                o[field] = v
        elif how == 'flag':
            if value in ('0', '1'):
                o[field] = int(value)
            else:
                self.warn(message, escaped(value))
        elif how == 'iface':
            if check_ifacename(value):
                self.warn(message, escaped(value))
            else:
                o[field] = value
        elif how == 'type':
            if len(value) > 15 or check_failover_type(value):
                self.warn(message, escaped(value))
            else:
                o[field] = value
        elif how == 'version':
            ok, o['file_version'] = parse_ul(value)
            if not ok:
                self.warn(message, escaped(value))
            if not 2 <= o['file_version'] <= 6:
                self.warn('Unknown version number %lu in data file\n', o['file_version'])
        elif how == 'password':
            bad = [c for c in value if not is_alnum(c)]
            if len(value) > 63:
                self.warn('Too long password in data file\n')
            elif bad:
                self.warn("Illegal character in password: '%c' in data file\n", escaped(bad[0]))
            else:
                o['password'] = value

    def file_text(self):
        o = self.o
        text = 'file_version=6\n'
        for key in ('config_iface', 'ip', 'netmask', 'kill_other_ifaces', 'config_ip',
                    'config_netmask', 'password', 'nw_ip', 'nw_netmask', 'nw_gw_ip',
                    'set_failover', 'failover_type', 'failover_ded_iface', 'clear_log',
                    'clear_edit', 'clear_production', 'set_edit', 'set_production'):
            v = o[key]
            if key == 'set_failover':
                v = 0
            elif key in IP_FIELDS:
                v = format_ip(v)
            text += '%s=%s\n' % (key, v)
        return text + 'set_password=1\nlanguage=%s\nset_language=1\n' % self.t('en')

    # The main flow.
    def main(self):
        self.out += '\n'
        self.say('Norvane Systems installation program version %d.%d\n', 3, 1)
        self.o = o = dict(
            file_version=1, ip=0, netmask=0xFFFFFF00, config_ip=0, config_netmask=SINGLE,
            config_iface='eth0', nw_ip=0, nw_netmask=0, nw_gw_ip=0, set_failover=0,
            failover_type='standalone', failover_ded_iface='eth1', kill_other_ifaces=0,
            clear_log=-1, clear_edit=-1, clear_production=-1, set_edit=-1,
            set_production=-1, update_mode=SINGLE, password='')
        self.load_file()
        o['update_mode'] = 1
        self.out += '\n'
        self.say('Press return to keep the default value\n\n')
        while True:
            self.ask()
            self.show()
            if self.check():
                self.out += '\n'
                self.say('Please correct the errors above.\n')
                self.out += '\n'
                continue
            while True:
                self.out += '\n'
                self.say('Is this configuration correct (yes/no/abort)? ')
                s = self.my_gets(256)
                if matches(s, self.t('yes')):
                    answer = 'yes'
                elif matches(s, self.t('no')):
                    answer = 'no'
                elif matches(s, self.t('abort')):
                    raise Exit(0)
                else:
                    continue
                break
            if answer == 'yes':
                break
        row = next(r for r in MODES if r[0] == o['update_mode'])
        for i, flag in enumerate(('clear_log', 'clear_edit', 'clear_production', 'set_edit',
                                  'set_production')):
            o[flag] = row[1 + i]
        self.after = self.file_text()
        self.out += '\n'
        self.say('The configuration has been saved to the floppy disk.  Now put it in your\n'
                 'Norvane Firewall/Veloxor and turn it on to use this configuration.\n\n')
        self.say("NB! Since the password is stored in cleartext on the floppy disk\n"
                 "it's advisable to select a new password immediately.\n\n")
        if o['update_mode'] != 1:
            self.say('NB! The floppy disk contains a command to erase certain parts of the\n'
                     'configuration during boot with the floppy inserted.\n')
            self.say('Make sure to eject it once the firewall/Veloxor has been restarted\n'
                     'to avoid future loss of data.\n\n')
        raise Exit(0)

    def run(self):
        self.after = None
        try:
            self.main()
        except Exit as e:
            return e.status


IP_FIELDS = ('ip', 'netmask', 'config_ip', 'config_netmask', 'nw_ip', 'nw_netmask', 'nw_gw_ip')
KEYS = [
    ('config_iface=', 'iface', "Bad configuration interface '%s' in data file\n"),
    ('ip=', 'ip', "Bad IP number '%s' in data file\n"),
    ('netmask=', 'ip', "Bad netmask '%s' in data file\n"),
    ('kill_other_ifaces=', 'flag', "Bad kill_other_ifaces-flag '%s' in data file\n"),
    ('config_ip=', 'ip', "Bad IP number to configure from '%s' in data file\n"),
    ('config_netmask=', 'ip', "Bad netmask for allowed configuration '%s' in data file\n"),
    ('nw_ip=', 'ip', "Bad network number on inner network '%s' in data file\n"),
    ('nw_netmask=', 'ip', "Bad netmask on inner network '%s' in data file\n"),
    ('nw_gw_ip=', 'ip', "Bad IP number for router to inner net '%s' in data file\n"),
    ('set_failover=', 'flag', "Bad set_failover flag '%s' in data file\n"),
    ('failover_type=', 'type', "Bad failover type '%s' in data file\n"),
    ('failover_ded_iface=', 'iface', "Bad dedicated interface '%s' in data file\n"),
    ('clear_log=', 'flag', "Bad clear_log-flag '%s' in data file\n"),
    ('clear_edit=', 'flag', "Bad clear_edit-flag '%s' in data file\n"),
    ('clear_production=', 'flag', "Bad clear_production-flag '%s' in data file\n"),
    ('set_edit=', 'flag', "Bad set_edit-flag '%s' in data file\n"),
    ('set_production=', 'flag', "Bad set_production-flag '%s' in data file\n"),
    ('file_version=', 'version', "Bad version number '%s' in data file\n"),
    ('set_language=', 'ignored', None),
    ('language=', 'ignored', None),
    ('set_password=', 'ignored', None),
    ('password=', 'password', None),
]
# --- The cases --------------------------------------------------------------

def lines(*answers):
    return ''.join(a + '\n' for a in answers)


# Device, IP, netmask, deactivate, single computer, its IP, password, reset.
BASE = ['', '192.168.1.1', '24', '', '', '192.168.1.10', 'secret1', '']
# A second pass that keeps every answer of a run like BASE's.
KEEP = [''] * 8
WORDS = {'en': dict(yes='yes', no='no', y='y', n='n', abort='a'),
         'sv': dict(yes='ja', no='nej', y='j', n='n', abort='a')}
SAVED_BASE = ('file_version=6\nconfig_iface=eth0\nip=192.168.1.1\nnetmask=255.255.255.0\n'
              'kill_other_ifaces=0\nconfig_ip=192.168.1.10\nconfig_netmask=255.255.255.255\n'
              'password=secret1\nnw_ip=0.0.0.0\nnw_netmask=0.0.0.0\nnw_gw_ip=0.0.0.0\n'
              'set_failover=0\nfailover_type=standalone\nfailover_ded_iface=eth1\n'
              'clear_log=0\nclear_edit=0\nclear_production=0\nset_edit=1\nset_production=1\n'
              'set_password=1\nlanguage=%s\nset_language=1\n')
# Every key, with values other than the defaults; the flags are mode 3's.
ALL_KEYS = ['file_version=6', 'config_iface=eth2', 'ip=10.0.0.1', 'netmask=255.255.255.0',
            'kill_other_ifaces=1', 'config_ip=172.16.0.0', 'config_netmask=255.255.0.0',
            'password=Secret42', 'nw_ip=172.16.0.0', 'nw_netmask=255.255.0.0',
            'nw_gw_ip=10.0.0.254', 'set_failover=0', 'failover_type=master',
            'failover_ded_iface=eth3', 'clear_log=1', 'clear_edit=1', 'clear_production=1',
            'set_edit=1', 'set_production=1', 'set_password=1', 'language=%s',
            'set_language=1']
# Keeps every answer of a file like ALL_KEYS: device, IP, netmask, deactivate,
# single computer, network, its netmask, router, route network, route netmask,
# password, reset.
KEEP_ALL_KEYS = [''] * 12
# A small file for the reader's cases: enough for a consistent run.
SMALL = ['ip=10.0.0.1', 'netmask=255.255.255.0', 'config_ip=10.0.0.5', 'password=abc1']
KEEP_SMALL = [''] * 7  # device, IP, netmask, deactivate, single, its IP, password; reset


def route(router, network='', mask=''):
    """Answers from the start to the password with a single computer 10.1.2.3."""
    return ['', '192.168.1.1', '24', '', '', '10.1.2.3', router, network, mask, 'secret1', '']


def both(name, answers, before=None):
    """The same case in both languages; answers may hold word names as {yes}."""
    for lang in ('en', 'sv'):
        w = WORDS[lang]
        text = lines(*(a.format(**w) if '{' in a else a for a in answers))
        b = before.replace('%LANG%', 'sv' if lang == 'en' else 'en') if before else None
        yield lang, name, text, b


def cases():
    yield from both('whole-run', BASE + ['{yes}'])
    yield 'en', 'confirm-y', lines(*BASE, 'y'), None
    yield 'en', 'confirm-YE', lines(*BASE, 'YE'), None
    yield 'en', 'confirm-refused', lines(*BASE, 'yess', ' yes', 'yes ', 'yes please', '',
                                         'ja', 'j', 'Y'), None
    yield 'sv', 'confirm-j', lines(*BASE, 'j'), None
    yield 'sv', 'confirm-refused', lines(*BASE, 'yes', 'y', 'jaa', ' ja', 'ja ', '', 'JA'), None
    # n: the dialogue again, the last answers as defaults; one is changed.
    yield from both('confirm-no', BASE + ['{n}', '', '', '', '{y}', '', '', '', '', '{yes}'])
    yield 'sv', 'confirm-nej', lines(*BASE, 'nej', *KEEP, 'ja'), None
    saved = lines(*ALL_KEYS) % 'en'
    yield 'en', 'abort-a', lines(*KEEP_ALL_KEYS, 'a'), saved
    yield 'en', 'abort-Ab', lines(*BASE, 'Ab'), None
    yield 'sv', 'abort-a', lines(*KEEP_ALL_KEYS, 'a'), saved
    yield 'sv', 'abort-AV', lines(*KEEP_ALL_KEYS, 'AV'), saved
    yield 'sv', 'abort-avbryt', lines(*BASE, 'avbryt'), None
    yield 'en', 'bool-other-language', lines('', '192.168.1.1', '24', 'j', 'ja', 'y', *BASE[4:],
                                             'yes'), None
    yield 'sv', 'bool-other-language', lines('', '192.168.1.1', '24', 'y', 'yes', 'j', *BASE[4:],
                                             'ja'), None
    yield from both('mode-2-warnings', BASE[:-1] + ['{y}', '2', '{yes}'])
    yield from both('mode-3-warnings', BASE[:-1] + ['{y}', '3', '{yes}'])
    yield from both('eof-at-confirm', BASE)
    yield from both('eof-mid-dialogue', ['', '192.168.1.1'])
    for lang in ('en', 'sv'):
        yield lang, 'last-line-without-lf', lines(*BASE) + WORDS[lang]['yes'], None
    yield from both('confirm-255', BASE + ['y' * 255, '{yes}'])
    yield from both('confirm-254', BASE + ['y' * 254, '{yes}'])

    # Refusals of every prompt, one run.
    yield from both('prompt-refusals', [
        'eth0:1', 'eth0123456789012', 'eth012345678901',
        '1.2.3', '256.0.0.0', '1.2.3.4x', '1.2.3.4/24', '192.168.1.1',
        '255.0.255.0', '33', '/24', '255.255.255.0',
        'maybe', 'yess', ' {y}', '{y} ', 'nope', 'N',
        '{n}', '10.0.0', '192.168.1.x', '192.168.1.0', 'x', '24',
        '', 'pass word', 'pw-1', 'p' * 64, 'p' * 63,
        '', '{yes}'])
    # The yes/no buffer: 18 characters are a line, 19 are not.
    yield from both('bool-buffer', ['', '192.168.1.1', '24', 'y' * 18, 'n' * 19, '{y}',
                                    *BASE[4:], '{yes}'])

    # NUL, ESC and other control bytes are characters of the answer.
    yield from both('nul-in-answers', ['eth0\0', '', '192.168.1.1\0', '192.168.1.1', '24',
                                       '{y}\0', '', *BASE[4:], '{yes}\0', '{yes}'])
    yield from both('bytes-shown', ['\x1b[A', 'eth\t0', 'eth\xe40', 'eth\xa0', 'eth\xff',
                                    'eth\x7f', 'eth\x80', 'eth\x9f', 'eth\x01', 'eth\x08',
                                    'eth\x0b', 'eth\r', 'eth\x1f', 'eth0', *BASE[1:],
                                    '{yes}'])

    # Dialogue.
    yield from both('route-computer', route('192.168.1.254') + ['{yes}'])
    yield from both('partly-local-route',
                    ['', '192.168.1.1', '24', '', '{n}', '192.168.0.0', '16', '{y}',
                     '192.168.1.254', '', '', 'secret1', '', '{yes}'])
    yield from both('partly-local-no-route',
                    ['', '192.168.1.1', '24', '', '{n}', '192.168.0.0', '16', '',
                     'secret1', '', '{yes}'])
    yield from both('wholly-local-network',
                    ['', '192.168.1.1', '24', '', '{n}', '192.168.1.128', '25', 'secret1', '',
                     '{yes}'])
    yield from both('correction-pass',
                    ['', '192.168.1.1', '24', '', '', '192.168.1.1', 'secret1', '',
                     '', '', '', '', '', '192.168.1.10', '', '', '{yes}'])
    yield from both('mode-menu-numbers', BASE[:-1] + ['{y}', '4', '0', '', '2', '{yes}'])
    yield from both('mode-menu-letters', BASE[:-1] + ['{y}', 'abc', '', '2x', '', '{yes}'])
    yield from both('mode-3-then-no', BASE[:-1] + ['{y}', '3', '{n}'] + KEEP + ['', '{yes}'])
    yield from both('network-as-computer',
                    ['', '192.168.1.1', '24', '', '{n}', '192.168.1.10', '32', 'secret1', '',
                     '{n}', '', '', '', '', '', '', '', '', '{yes}'])

    # Each rule of the check reached through the answers, then corrected.
    yield from both('check-rule1', ['', '192.168.1.0', '24', '', '', '192.168.1.10', 'secret1',
                                    '', '', '192.168.1.1', *KEEP[2:], '{yes}'])
    yield from both('check-rule2', ['', '192.168.1.255', '24', '', '', '192.168.1.10',
                                    'secret1', ''])
    yield from both('check-rule5', ['', '192.168.1.1', '24', '', '', '10.0.0.5', '', '', '',
                                    'secret1', '', '', '', '', '', '', '', '192.168.1.254',
                                    '', '', '', '', '{yes}'])
    yield from both('check-rule6', route('192.168.2.1') + ['', '', '', '', '', '',
                                                           '192.168.1.254', '', '', '', '',
                                                           '{yes}'])
    yield from both('check-rule7', route('192.168.1.1') + [''])
    yield from both('check-rule8', route('192.168.1.0') + ['', '', '', '', '', '',
                                                           '192.168.1.2', '', '', '', '',
                                                           '{yes}'])
    yield from both('check-rule9', route('192.168.1.254', '10.1.2.3', '16') + [
        '', '', '', '', '', '', '', '10.1.0.0', '', '', '', '{yes}'])
    yield from both('check-rule10', route('192.168.1.255'))
    yield from both('check-rule11', route('192.168.1.254', '10.9.0.0', '16') + [
        '', '', '', '', '', '', '', '10.1.0.0', '', '', '', '{yes}'])

    # The data file.
    yield from both('file-all-keys', KEEP_ALL_KEYS + ['{yes}'], lines(*ALL_KEYS) % '%LANG%')
    yield from both('file-crlf', KEEP_ALL_KEYS + ['{yes}'],
                    '\r\n'.join(ALL_KEYS).replace('ip=10.0.0.1', 'ip=10.0.0.1\r') % '%LANG%'
                    + '\r\n\r\n\r\n')
    yield from both('file-upper-keys', KEEP_SMALL + ['', '{yes}'], lines(
        'IP=10.0.0.1', 'NetMask=255.255.255.0', 'Config_IP=10.0.0.5', 'CONFIG_IFACE=eth3',
        'config_iface=ETH0', 'PASSWORD=Abc123', 'Kill_Other_Ifaces=1', 'LANGUAGE=%LANG%'))
    yield from both('file-unknown-lines', KEEP_SMALL + ['', '{yes}'], lines(
        *SMALL, 'ip = 10.0.0.2', ' ip=10.0.0.3', 'ipaddress=10.0.0.4', 'nonsense',
        '\x1b[Afoo=1', '# comment', 'ip\t=10.0.0.6'))
    yield from both('file-versions', KEEP_SMALL + ['', '{yes}'], lines(
        'file_version=7', 'file_version=abc', 'file_version=6x', 'file_version=2', *SMALL))
    yield from both('file-passwords', KEEP_SMALL + ['', '{yes}'], lines(
        *SMALL, 'password=' + 'Ab1' * 21, 'password=' + 'x' * 64, 'password=ab-cd',
        'password=ab\x01', 'password=p\xe4ss'))
    yield from both('file-empty-password', KEEP_SMALL[:-1] + ['', 'new1', '', '{yes}'],
                    lines(*SMALL, 'password='))
    yield from both('file-failover', KEEP_SMALL + ['', '{yes}'], lines(
        *SMALL, 'set_failover=1', 'failover_type=Master', 'failover_type=' + 'a' * 16,
        'failover_type=slave', 'failover_type=slave ', 'failover_ded_iface=tr0',
        'failover_ded_iface=eth1:1', 'set_failover=2'))
    yield from both('file-noncontiguous-netmask', KEEP_SMALL + ['', '{yes}'], lines(
        'ip=10.1.0.1', 'netmask=255.0.255.0', 'config_ip=10.2.0.2', 'password=abc1'))
    yield from both('file-two-ip-lines', KEEP_SMALL + ['', '{yes}'], lines(
        *SMALL, 'ip=10.0.0.2', 'ip=10.0.0.300', 'ip='))
    yield from both('file-mode-2-flags', KEEP_SMALL + ['', '{yes}'], lines(
        *SMALL, 'clear_log=0', 'clear_edit=0', 'clear_production=1', 'set_edit=0',
        'set_production=1', 'clear_log=2', 'set_edit=yes'))
    yield from both('file-long-lines', KEEP_SMALL + ['', '{yes}'], lines(*SMALL) + lines(
        'ip=10.0.0.9'.ljust(254),
        'ip=10.0.0.7'.ljust(255),
        'x' * 600,
        'netmask=255.255.0.0'.ljust(254) + '\r',
        'config_ip=10.0.0.6'.ljust(255) + '\r',
        'password=' + 'a' * 245,
        'Q' * 254))
    yield from both('file-control-bytes', KEEP_SMALL + ['', '{yes}'], lines(
        *SMALL, 'ip=1.2.3.4\0junk', 'password=ab\x1bc', 'config_iface=eth0\0',
        'failover_type=slave\x7f', 'nw_ip=\xe4\t\x9b', '\x1b[Afoo=1', 'kill_other_ifaces=1\x00'))


# --- Writing the cases ----------------------------------------------------------

def write(path, text):
    with open(path, 'wb') as f:
        f.write(text.encode('latin-1'))


def main():
    top = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'cases')
    seen = set()
    for lang, name, stdin, before in cases():
        assert (lang, name) not in seen, name
        seen.add((lang, name))
        run = Run(lang, stdin, before)
        status = run.run()
        d = os.path.join(top, lang, name)
        shutil.rmtree(d, ignore_errors=True)
        os.makedirs(d)
        write(os.path.join(d, 'stdin'), stdin)
        write(os.path.join(d, 'stdout'), run.out)
        if run.err:
            write(os.path.join(d, 'stderr'), run.err)
        if status:
            write(os.path.join(d, 'status'), '%d\n' % status)
        if before is not None:
            write(os.path.join(d, 'before.dat'), before)
        if run.after is not None:
            write(os.path.join(d, 'after.dat'), run.after)
    print('%d cases written' % len(seen), file=sys.stderr)


if __name__ == '__main__':
    main()
