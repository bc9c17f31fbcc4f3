// Runs dprep-en or dprep-sv on a pseudo-terminal, typing each answer only
// once its question is on the screen, and compares what the screen shows,
// the terminal's echo included, with what the operator must see.
//
//   pty_tests <executable> en|sv <the whole run's fconfig.dat>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "terminal.h"

namespace {

constexpr int wait_ms = 10000;  // generous: sanitizer builds start slowly

// The texts of one build, written in UTF-8 here and shown by the program in
// ISO-8859-1. Line ends are "\n" as the program prints them.
struct language {
    const char *code;
    const char *yes;  // the confirmation answer
    const char *device_prompt;
    const char *ip_prompt;
    const char *netmask_prompt;
    const char *kill_prompt;
    const char *single_prompt;
    const char *password_prompt;
    const char *reset_prompt;
    const char *confirm_prompt;
    const char *arrow_refused;  // the refusal of ESC at the device name
    const char *device_shown;   // the summary line for eth2
    const char *too_long_line;
    const char *end_of_file;
    const char *whole_run;  // the screen of the whole run
};

const language english = {
    "en",
    "yes",
    "  Physical device name [eth0]: ",
    "  IP number [0.0.0.0]: ",
    "  Netmask/bits [255.255.255.0]: ",
    "  Deactivate other interfaces? (y/n) [n] ",
    "  Configure from a single computer? (y/n) [y] ",
    "Password []: ",
    "  Do you want to reset the rest of the configuration? (y/n) [n] ",
    "Is this configuration correct (yes/no/abort)? ",
    "* Invalid character in device name: '\\x1b' *\n",
    "  Physical device name: eth2\n",
    "Too long line.  Try again.\n",
    "* End of file reached.  Your changes are lost. *\n",

    "\n"
    "Norvane Systems installation program version 3.1\n"
    "\n"
    "Press return to keep the default value\n"
    "\n"
    "Network configuration inside:\n"
    "  Physical device name [eth0]: \n"
    "  IP number [0.0.0.0]: 192.168.1.1\n"
    "  Netmask/bits [255.255.255.0]: 24\n"
    "  Deactivate other interfaces? (y/n) [n] \n"
    "\n"
    "Computers from which configuration is allowed:\n"
    "\n"
    "  You can select either a single computer or a network.\n"
    "\n"
    "  Configure from a single computer? (y/n) [y] \n"
    "  IP number [0.0.0.0]: 192.168.1.10\n"
    "\n"
    "Password []: secret1\n"
    "\n"
    "Other configuration\n"
    "  Do you want to reset the rest of the configuration? (y/n) [n] \n"
    "\n"
    "Selected configuration:\n"
    "\n"
    "Network configuration inside:\n"
    "  Physical device name: eth0\n"
    "  IP number: 192.168.1.1\n"
    "  Netmask: 255.255.255.0\n"
    "  Deactivate other interfaces: no\n"
    "\n"
    "Computer allowed to configure from:\n"
    "  IP number: 192.168.1.10\n"
    "\n"
    "Password: secret1\n"
    "\n"
    "The rest of the configuration is kept.\n"
    "\n"
    "Is this configuration correct (yes/no/abort)? yes\n"
    "\n"
    "The configuration has been saved to the floppy disk.  Now put it in your\n"
    "Norvane Firewall/Veloxor and turn it on to use this configuration.\n"
    "\n"
    "NB! Since the password is stored in cleartext on the floppy disk\n"
    "it's advisable to select a new password immediately.\n"
    "\n",
};

const language swedish = {
    "sv",
    "ja",
    "  Fysiskt devicenamn [eth0]: ",
    "  IP-nummer [0.0.0.0]: ",
    "  Nätmask/bitar [255.255.255.0]: ",
    "  Deaktivera övriga interface? (j/n) [n] ",
    "  Konfigurera från en enskild dator? (j/n) [j] ",
    "Lösenord []: ",
    "  Vill du nollställa övriga inställningar? (j/n) [n] ",
    "Stämmer dessa inställningar (ja/nej/avbryt)? ",
    "* Otillåtet tecken i devicenamn: '\\x1b' *\n",
    "  Fysiskt devicenamn: eth2\n",
    "För lång rad.  Försök igen.\n",
    "* Filslut nått.  Dina ändringar är borttappade. *\n",

    "\n"
    "Norvane Systems installationsprogram version 3.1\n"
    "\n"
    "Tryck return vid en fråga för att behålla inställningen\n"
    "\n"
    "Nätinställningar insida:\n"
    "  Fysiskt devicenamn [eth0]: \n"
    "  IP-nummer [0.0.0.0]: 192.168.1.1\n"
    "  Nätmask/bitar [255.255.255.0]: 24\n"
    "  Deaktivera övriga interface? (j/n) [n] \n"
    "\n"
    "Tillåtna maskiner att konfigurera ifrån:\n"
    "\n"
    "  Du kan välja att få konfigurera brandväggen/Veloxorn\n"
    "  från en enskild dator eller från ett helt nätverk.\n"
    "\n"
    "  Konfigurera från en enskild dator? (j/n) [j] \n"
    "  IP-nummer [0.0.0.0]: 192.168.1.10\n"
    "\n"
    "Lösenord []: secret1\n"
    "\n"
    "Övriga inställningar\n"
    "  Vill du nollställa övriga inställningar? (j/n) [n] \n"
    "\n"
    "Du har nu angett följande inställningar:\n"
    "\n"
    "Nätinställningar insida:\n"
    "  Fysiskt devicenamn: eth0\n"
    "  IP-nummer: 192.168.1.1\n"
    "  Nätmask: 255.255.255.0\n"
    "  Deaktivera övriga interface: nej\n"
    "\n"
    "Tillåten maskin att konfigurera ifrån:\n"
    "  IP-nummer: 192.168.1.10\n"
    "\n"
    "Lösenord: secret1\n"
    "\n"
    "Övriga inställningar rensas ej.\n"
    "\n"
    "Stämmer dessa inställningar (ja/nej/avbryt)? ja\n"
    "\n"
    "Inställningarna har nu sparats på disketten.  Stoppa i disketten\n"
    "i din Norvane Firewall/Veloxor och slå på strömmen för att\n"
    "använda dessa inställningar.\n"
    "\n"
    "OBS! Eftersom lösenordet lagrats i klartext på disketten så bör\n"
    "du byta lösenord omedelbart.\n"
    "\n",
};

// UTF-8 to ISO-8859-1; the texts above hold nothing beyond U+00FF.
std::string latin1(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        auto c = static_cast<unsigned char>(utf8[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            auto next = static_cast<unsigned char>(utf8[++i]);
            out += static_cast<char>(((c & 0x1F) << 6) | (next & 0x3F));
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

// What the terminal shows for program output: ISO-8859-1, each line feed
// turned into CR LF.
std::string on_screen(std::string_view text) {
    std::string out;
    for (char c : latin1(text)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The file of the whole run, as its end-to-end case expects it, with the
// device name that the session gave.
std::string whole_run_file;

std::string expected_file(const char *device) {
    const std::string from = "config_iface=eth0\n";
    std::string s = whole_run_file;
    std::size_t at = s.find(from);
    if (at != std::string::npos)
        s.replace(at, from.size(), "config_iface=" + std::string(device) + "\n");
    return s;
}

struct step {
    const char *prompt;
    std::string keys;  // typed once the prompt is on the screen
};

// The operator's answers of the whole run; Return is "\r", as from a keyboard.
std::vector<step> whole_run(const language &l) {
    return {
        {l.device_prompt, "\r"},
        {l.ip_prompt, "192.168.1.1\r"},
        {l.netmask_prompt, "24\r"},
        {l.kill_prompt, "\r"},
        {l.single_prompt, "\r"},
        {l.ip_prompt, "192.168.1.10\r"},
        {l.password_prompt, "secret1\r"},
        {l.reset_prompt, "\r"},
        {l.confirm_prompt, std::string(l.yes) + "\r"},
    };
}

// Byte values that do not print are shown as \xHH in reports.
std::string visible(std::string_view s) {
    std::string out;
    for (char c : s) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F && c != '\\') {
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            out += hex;
        }
    }
    return out;
}

struct session {
    const language &lang;
    const char *exe;
    const char *name;
    std::filesystem::path dir;
    terminal t;
    bool ok = true;

    session(const language &l, const char *e, const char *n) : lang(l), exe(e), name(n) {
        char tmpl[] = "/tmp/dprep-pty-XXXXXX";
        if (mkdtemp(tmpl) == nullptr) {
            fail("cannot make a scratch directory");
            return;
        }
        dir = tmpl;
        if (!start(&t, exe, tmpl)) fail("cannot start the program on a pseudo-terminal");
    }
    ~session() {
        if (t.pid > 0) finish(&t, 1000);
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }
    session(const session &) = delete;
    session &operator=(const session &) = delete;

    void fail(const std::string &what) {
        std::printf("FAIL %s %s: %s\n", lang.code, name, what.c_str());
        ok = false;
    }

    // Waits for the question, then answers it.
    bool answer(const char *prompt, std::string_view keys) {
        if (!ok) return false;
        if (!wait_for(&t, latin1(prompt), wait_ms)) {
            fail("the question '" + visible(latin1(prompt)) +
                 "' did not come; the screen ends in '" +
                 visible(t.screen.substr(t.screen.size() > 300 ? t.screen.size() - 300 : 0)) + "'");
            return false;
        }
        type(&t, keys);
        return true;
    }

    bool answer_all(const std::vector<step> &steps) {
        for (const step &s : steps)
            if (!answer(s.prompt, s.keys)) return false;
        return true;
    }

    void expect_status(int want) {
        // After a question that never came the program still waits for it.
        int status = finish(&t, ok ? wait_ms : 1000);
        if (status != want)
            fail("status " + std::to_string(status) + ", expected " + std::to_string(want));
    }

    // Reports the first line where the screen and the expected one part.
    void expect_screen(std::string_view want) {
        const std::string &got = t.screen;
        if (got == want) return;
        std::size_t at = 0;
        while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
        std::size_t line = want.rfind('\n', at == 0 ? 0 : at - 1);
        line = line == std::string_view::npos ? 0 : line + 1;
        fail("the screen differs at byte " + std::to_string(at) + ":\n  expected '" +
             visible(want.substr(line, 120)) + "'\n  shown    '" +
             visible(std::string_view(got).substr(line, 120)) + "'");
    }

    void expect_on_screen(std::string_view part) {
        if (t.screen.find(part) == std::string::npos)
            fail("the screen does not show '" + visible(part) + "'");
    }

    void expect_screen_ends(std::string_view tail) {
        std::string_view got = t.screen;
        if (got.size() < tail.size() || got.substr(got.size() - tail.size()) != tail)
            fail("the screen ends in '" +
                 visible(got.substr(got.size() > tail.size() ? got.size() - tail.size() : 0)) +
                 "', expected '" + visible(tail) + "'");
    }

    // The directory, which stands for the floppy, holds fconfig.dat with
    // exactly this text, or nothing at all when want is empty.
    void expect_floppy(const std::string &want) {
        if (dir.empty()) return;
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        if (want.empty()) {
            if (!names.empty()) fail("the floppy holds " + names.front() + ", expected nothing");
            return;
        }
        if (names.size() != 1 || names.front() != "fconfig.dat") {
            std::string all;
            for (const auto &n : names) all += n + " ";
            fail("the floppy holds: " + all);
            return;
        }
        std::ifstream in(dir / "fconfig.dat", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        if (text.str() != want) fail("fconfig.dat is:\n" + text.str());
    }
};

// The run of the manual, screen for screen.
bool test_whole_run(const language &l, const char *exe) {
    session s(l, exe, "whole run");
    s.answer_all(whole_run(l));
    s.expect_status(0);
    s.expect_screen(on_screen(l.whole_run));
    s.expect_floppy(expected_file("eth0"));
    return s.ok;
}

// An arrow key sends ESC [ A. The echo shows ESC as ^[; the refusal shows it
// as \x1b, so that the message itself moves no cursor. The next answer is
// taken as usual.
bool test_arrow_key(const language &l, const char *exe) {
    session s(l, exe, "arrow key");
    std::vector<step> steps = whole_run(l);
    steps[0].keys = "\x1b[A\r";
    steps.insert(steps.begin() + 1, step{l.device_prompt, "eth2\r"});
    s.answer_all(steps);
    s.expect_status(0);
    s.expect_on_screen(on_screen(std::string(l.device_prompt) + "^[[A\n" + l.arrow_refused +
                                 l.device_prompt + "eth2\n" + l.ip_prompt + "192.168.1.1\n"));
    s.expect_on_screen(on_screen(l.device_shown));
    s.expect_floppy(expected_file("eth2"));
    return s.ok;
}

// Ctrl-D ends the input. It is not echoed, so the message follows the
// question on its line. Typed after part of an answer, it first hands over
// that part without a line feed, which is never taken as an answer.
bool test_end_of_input(const language &l, const char *exe) {
    struct variant {
        const char *name;
        std::size_t answered;  // questions of the whole run answered first
        const char *keys;
        std::string tail;
    };
    std::vector<step> steps = whole_run(l);
    const variant variants[] = {
        {"Ctrl-D at the netmask", 2, "\x04", std::string(l.netmask_prompt) + l.end_of_file},
        {"Ctrl-D at the confirmation", 8, "\x04", std::string(l.confirm_prompt) + l.end_of_file},
        {"Ctrl-D after part of an answer", 2, "24\x04\x04",
         std::string(l.netmask_prompt) + "24" + l.too_long_line + l.end_of_file},
    };
    bool ok = true;
    for (const variant &v : variants) {
        session s(l, exe, v.name);
        s.answer_all(
            std::vector<step>(steps.begin(), steps.begin() + static_cast<long>(v.answered)));
        s.answer(steps[v.answered].prompt, v.keys);
        s.expect_status(1);
        s.expect_screen_ends(on_screen(v.tail));
        s.expect_floppy("");
        ok = s.ok && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 4 || (std::string_view(argv[2]) != "en" && std::string_view(argv[2]) != "sv")) {
        std::fprintf(stderr, "usage: %s <executable> en|sv <fconfig.dat of the whole run>\n",
                     argv[0]);
        return 2;
    }
    std::ifstream file(argv[3], std::ios::binary);
    if (!file) {
        std::perror(argv[3]);
        return 2;
    }
    std::stringstream content;
    content << file.rdbuf();
    whole_run_file = content.str();
    // The program runs in a scratch directory, so a relative name would miss.
    char exe[PATH_MAX];
    if (realpath(argv[1], exe) == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    // Some containers have no pseudo-terminals at all; that is no fault of the program.
    int probe = posix_openpt(O_RDWR | O_NOCTTY);
    if (probe < 0) {
        std::printf("SKIP: no pseudo-terminal: %s\n", std::strerror(errno));
        return 77;
    }
    close(probe);
    const language &l = std::string_view(argv[2]) == "sv" ? swedish : english;
    bool ok = test_whole_run(l, exe);
    ok = test_arrow_key(l, exe) && ok;
    ok = test_end_of_input(l, exe) && ok;
    std::printf("%s: %s\n", l.code, ok ? "all sessions as expected" : "failures above");
    return ok ? 0 : 1;
}
