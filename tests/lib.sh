# Helpers common to the test scripts, sourced by each:
#   . "$(dirname "$0")/../lib.sh"
# POSIX sh but for `local`, which dash and bash both have. A script reports
# FAIL and SKIP lines naming $subject, the case or scenario it is checking
# (empty: the whole test), and ends with finish.
subject=
failures=0
skips=0

# fail WHAT: a check failed; the script goes on, and finish exits 1.
fail() {
    echo "FAIL${subject:+ $subject}: $*"
    failures=$((failures + 1))
}

# skip WHY: nothing can be checked here; ctest's skip.
skip() {
    echo "SKIP: $*"
    exit 77
}

# skipped WHY: a check that could not be made here, which the script names;
# finish then exits 77 unless something failed.
skipped() {
    echo "SKIP${subject:+ $subject}: $*"
    skips=$((skips + 1))
}

# finish: exits 1 after any failure, else 77 after any check skipped, else 0.
finish() {
    [ "$failures" -eq 0 ] || exit 1
    [ "$skips" -eq 0 ] || exit 77
    exit 0
}

# begin SUBJECT: the checks that follow are of SUBJECT; ok then says
# whether none of them failed.
begin() {
    subject=$1 before=$failures
}
ok() {
    [ "$failures" = "$before" ]
}

# new_scratch: $scratch, an empty folder, removed with what it holds (the
# permissions a test took away given back first) when the script ends.
new_scratch() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/dprep-test.XXXXXX") || exit 2
    trap 'chmod -R u+rwx "$scratch" 2>/dev/null; rm -rf "$scratch"' EXIT
    trap 'exit 2' HUP INT TERM
}

# run_prog PROGRAM [ARG...]: runs a built program as every test runs it: for
# at most 10 seconds, writing no file past a megabyte (so that one that
# prints for ever ends at once), in the C locale or the UTF-8 locale
# DPREP_UTF8 names, under the runner DPREP_RUNNER (valgrind, another user, a
# limit) and through the emulator DPREP_EMULATOR that a build for another
# kind of PC needs (tests/CMakeLists.txt); either is a command of any words.
run_prog() {
    (exec_prog "$@")
}
# exec_prog PROGRAM [ARG...]: the same in place of the (sub)shell that calls it.
exec_prog() {
    ulimit -f 2048
    export LC_ALL="${DPREP_UTF8:-C}"
    exec timeout 10 ${DPREP_RUNNER-} ${DPREP_EMULATOR-} "$@"
}

# session DIR INPUT GOT PROGRAM: PROGRAM run in DIR on INPUT; its standard
# output, standard error and exit status into the folder GOT.
session() {
    (cd "$1" && exec_prog "$4") <"$2" >"$3/stdout" 2>"$3/stderr"
    echo $? >"$3/status"
}

# expect CASE WANT [WHEN CAUSE]: what the program prints on the input of the
# end-to-end case CASE, into the folder WANT as stdout, stderr and status.
# With WHEN and CAUSE (or causes: the lines after the message), on a medium
# that refuses the save: the screen as far
# as the banner when the refusal is seen at the start (WHEN "start"), or as
# far as the confirmation question when only the save meets it ("save");
# then the refused save's message as the case save-refused pins it (its
# second line of standard error: its fconfig.dat cannot be read either), the
# line that names CAUSE, and status 1. In the UTF-8 locale DPREP_UTF8, the
# same text in UTF-8: the cases hold the ISO-8859-1 bytes of the C locale.
expect() {
    cp "$1/stdout" "$2/stdout" || exit 2
    if [ -f "$1/stderr" ]; then cp "$1/stderr" "$2/"; else : >"$2/stderr"; fi
    if [ -f "$1/status" ]; then cp "$1/status" "$2/"; else echo 0 >"$2/status"; fi
    if [ -n "${3-}" ]; then
        local all=${1%/*}
        if [ "$3" = start ]; then
            head -n 2 "$1/stdout" >"$2/stdout"
        else
            q=$(tail -n 1 "$all/abort-a/stdout") LC_ALL=C awk '$0 == ENVIRON["q"] { printf "%s", $0; exit } 1' \
                "$1/stdout" >"$2/stdout"
        fi
        sed -n 2p "$all/save-refused/stderr" >>"$2/stderr"
        for k in $4; do cause "${all##*/}" "$k" >>"$2/stderr"; done
        echo 1 >"$2/status"
    fi
    [ -n "${DPREP_UTF8-}" ] || return 0
    for f in stdout stderr; do
        iconv -f ISO-8859-1 -t UTF-8 "$2/$f" >"$2/utf8" && mv "$2/utf8" "$2/$f" || exit 2
    done
}

# cause LANGUAGE CAUSE: the line that says why a save was refused, as the
# program of that language (en, sv) prints it in the C locale.
cause() {
    case $1-$2 in
    en-read-only) echo "The diskette is write-protected or mounted read-only." ;;
    en-full) echo "The diskette is full." ;;
    en-permission) echo 'You may not write here: mount the diskette with -o uid=$(id -u) so that its files are yours.' ;;
    en-error-27) echo "The system reported error number 27." ;;
    en-file-read-only) echo "fconfig.dat is read-only: make it writable with chmod u+w fconfig.dat (or mattrib -r a:fconfig.dat for a diskette that is not mounted)." ;;
    en-folder-full) echo "There is no room for another file on the diskette: remove one you do not need." ;;
    en-others-file) echo "fconfig.dat belongs to another user, and you may not replace it here: ask its owner or root to remove it." ;;
    en-attributes) echo "fconfig.dat or its directory is immutable or append-only (lsattr shows which): root can clear that with chattr -i -a." ;;
    en-temp-left) echo "fcXXXXXX.tmp could not be removed: it is empty, remove it." ;;
    sv-read-only) printf 'Disketten \344r skrivskyddad eller monterad endast f\366r l\344sning.\n' ;;
    sv-full) printf 'Disketten \344r full.\n' ;;
    sv-permission) printf 'Du f\345r inte skriva h\344r: montera disketten med -o uid=$(id -u) s\345 att dess filer blir dina.\n' ;;
    sv-error-27) echo "Systemet rapporterade felnummer 27." ;;
    sv-file-read-only) printf 'fconfig.dat \344r skrivskyddad: g\366r den skrivbar med chmod u+w fconfig.dat (eller mattrib -r a:fconfig.dat f\366r en diskett som inte \344r monterad).\n' ;;
    sv-folder-full) printf 'Det finns inte plats f\366r fler filer p\345 disketten: ta bort en som du inte beh\366ver.\n' ;;
    sv-others-file) printf 'fconfig.dat tillh\366r en annan anv\344ndare och du f\345r inte ers\344tta den h\344r: be dess \344gare eller root att ta bort den.\n' ;;
    sv-attributes) printf 'fconfig.dat eller dess katalog \344r of\366r\344nderlig eller f\345r bara ut\366kas (lsattr visar vilket): root kan ta bort det med chattr -i -a.\n' ;;
    sv-temp-left) printf 'fcXXXXXX.tmp kunde inte tas bort: den \344r tom, ta bort den.\n' ;;
    *) echo "cause: no $2 in $1" >&2 && exit 2 ;;
    esac
}

# same WANT GOT: fails on each of stdout, stderr and status that differs
# between the two folders. WANT may be a case, which leaves out an empty
# stderr and a status of 0.
same() {
    local want=0 got f w
    [ ! -f "$1/status" ] || read -r want <"$1/status"
    read -r got <"$2/status"
    [ "$got" = "$want" ] || fail "status $got, expected $want"
    for f in stdout stderr; do
        # Two empty files need no cmp: most cases' standard error.
        [ -s "$1/$f" ] || [ -s "$2/$f" ] || continue
        w=$1/$f
        [ -f "$w" ] || w=/dev/null
        cmp -s "$w" "$2/$f" || { fail "$f differs" && diff "$w" "$2/$f" | head -n 20; }
    done
}

# entries DIR: $entries, the names in DIR, dot files too, each followed by a
# blank; found by the shell itself, with no process started.
entries() {
    local f
    entries=
    for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
        [ -e "$f" ] || [ -L "$f" ] && entries="$entries${f##*/} "
    done
}

# debian_archive [security]: the address of Debian's archive, or of its
# security archive, as this machine's apt sources name it (apt itself reads
# them, one-line and deb822 alike), so that no mirror is written into the
# tree: the first source whose Release file says Debian made it (labelled
# Debian, or Debian-Security), or, only where apt has read no lists yet,
# whose suite says so (a plain codename, or CODENAME-security). Status 1:
# none.
debian_archive() {
    local f='$(TARGET_OF)|$(ORIGIN)|$(LABEL)|$(RELEASE)|$(REPO_URI)'
    { apt-get indextargets --format "$f" && apt-get indextargets --no-release-info --format "$f"; } 2>/dev/null |
        awk -F'|' -v want="${1:-main}" '
            $2 != "$(ORIGIN)" { read = 1 }
            $1 == "deb" && ($2 == "Debian" || $2 == "$(ORIGIN)" && !read) {
                kind = $3 == "Debian-Security" || $4 ~ /-security$/ ? "security" : $3 == "Debian" || $4 !~ /-/ ? "main" : ""
                if (kind == want) { sub(/\/$/, "", $5); print $5; found = 1; exit }
            }
            END { exit !found }'
}
