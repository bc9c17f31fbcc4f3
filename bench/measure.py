#!/usr/bin/env python3
"""Measures one executable on a whole scripted session.

The session reads an existing fconfig.dat, keeps every answer and confirms,
so the program writes a new file. It runs RUNS times, each in a fresh
directory, first in memory (the program's own cost) and then on disk (with
the syncs of the save). Prints the median wall time and the peak resident
memory (VmHWM from /proc, read as the traced program exits), then whether
one run under tests/memcheck (valgrind) met its targets, and what ldd
lists. Exits 1 when the program misses its targets: no heap allocation at
all (its stdio buffers are static and the file is read and written without
stdio), no memory error or leak, and nothing but the C library among the
shared libraries.

Usage: measure.py EXECUTABLE [RUNS]
"""

import ctypes
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

# The suite's valgrind runner, which fails a session on any heap allocation.
MEMCHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "memcheck")

# The file of the whole-run end-to-end case: a complete, valid configuration.
BEFORE_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e",
                           "cases", "en", "whole-run", "after.dat")
with open(BEFORE_PATH) as before_file:
    BEFORE = before_file.read()

# Empty answers keep every default; those beyond the questions reach the
# confirmation, which only repeats. "y" confirms in English; in Swedish it
# brings the question back and "j" confirms.
ANSWERS = "\n" * 12 + "y\nj\n"


PTRACE_TRACEME, PTRACE_CONT, PTRACE_SETOPTIONS = 0, 7, 0x4200
PTRACE_O_TRACEEXIT, PTRACE_EVENT_EXIT = 0x40, 6
libc = ctypes.CDLL(None, use_errno=True)
libc.ptrace.argtypes = [ctypes.c_long, ctypes.c_long, ctypes.c_void_p, ctypes.c_void_p]
libc.ptrace.restype = ctypes.c_long


def trace_me():
    libc.ptrace(PTRACE_TRACEME, 0, None, None)


def peak_of_traced(pid):
    """Runs a child stopped by PTRACE_TRACEME to its end; returns its exit
    status and the VmHWM that /proc shows as it exits, in KiB (None if it
    could not be read). The rusage figure would not do: its maximum carries
    over the size of the Python process that forked the child."""
    _, status = os.waitpid(pid, 0)  # stopped at exec
    traced = libc.ptrace(PTRACE_SETOPTIONS, pid, None, ctypes.c_void_p(PTRACE_O_TRACEEXIT)) == 0
    peak = None
    libc.ptrace(PTRACE_CONT, pid, None, None)
    while True:
        _, status = os.waitpid(pid, 0)
        if os.WIFEXITED(status) or os.WIFSIGNALED(status):
            return os.waitstatus_to_exitcode(status), peak
        signal_to_pass = 0
        if traced and status >> 16 == PTRACE_EVENT_EXIT:
            with open(f"/proc/{pid}/status") as f:
                for line in f:
                    if line.startswith("VmHWM:"):
                        peak = int(line.split()[1])
        elif os.WSTOPSIG(status) != signal.SIGTRAP:
            signal_to_pass = os.WSTOPSIG(status)
        libc.ptrace(PTRACE_CONT, pid, None, ctypes.c_void_p(signal_to_pass))


def run_once(exe, base, traced=False):
    """One session in a fresh directory under base: its wall time in
    seconds, or with traced its peak resident memory in KiB."""
    work = tempfile.mkdtemp(dir=base)
    try:
        path = os.path.join(work, "fconfig.dat")
        with open(path, "w") as f:
            f.write(BEFORE)
        old = os.stat(path).st_ino
        with tempfile.TemporaryFile() as stdin:
            stdin.write(ANSWERS.encode())
            stdin.seek(0)
            start = time.perf_counter()
            child = subprocess.Popen([exe], cwd=work, stdin=stdin,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     preexec_fn=trace_me if traced else None)
            if traced:
                status, result = peak_of_traced(child.pid)
            else:
                _, status = os.waitpid(child.pid, 0)
                status = os.waitstatus_to_exitcode(status)
                result = time.perf_counter() - start
            child.returncode = status
        if status != 0:
            sys.exit(f"{exe}: session ended with status {status}")
        # The save puts a new file in the old one's place.
        if os.stat(path).st_ino == old:
            sys.exit(f"{exe}: session did not write fconfig.dat")
        return result
    finally:
        shutil.rmtree(work)


def timed(exe, base, runs):
    median = statistics.median(run_once(exe, base) for _ in range(runs))
    peaks = [run_once(exe, base, traced=True) for _ in range(3)]
    return median, None if None in peaks else max(peaks)


def memcheck(exe):
    """One session under tests/memcheck, the suite's valgrind runner: None
    when it finds no heap allocation, memory error or leak, else its report;
    False without valgrind."""
    if shutil.which("valgrind") is None:
        return False
    work = tempfile.mkdtemp()
    try:
        with open(os.path.join(work, "fconfig.dat"), "w") as f:
            f.write(BEFORE)
        run = subprocess.run([MEMCHECK, exe], cwd=work, input=ANSWERS.encode(),
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    finally:
        shutil.rmtree(work)
    return run.stderr.decode(errors="replace") if run.returncode == 99 else None


def libraries(exe):
    """What ldd lists, less the vDSO and the dynamic loader."""
    out = subprocess.run(["ldd", exe], capture_output=True, text=True).stdout
    names = [line.split()[0] for line in out.splitlines() if line.strip()]
    return out, [n for n in names if not n.startswith(("linux-vdso", "/lib64/ld-linux", "ld-linux"))]


def main():
    exe = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    name = os.path.basename(exe)
    ok = True

    memory = "/dev/shm" if os.access("/dev/shm", os.W_OK) else None
    disk = tempfile.gettempdir()
    for where, base in (("in memory", memory), ("on disk", disk)):
        if base is None:
            continue
        median, rss = timed(exe, base, runs)
        rss = f"{rss} KiB" if rss is not None else "not measurable (no ptrace)"
        print(f"{name}: {runs} sessions {where} ({base}): median wall time "
              f"{median * 1000:.2f} ms, peak resident memory (VmHWM) {rss}")

    report = memcheck(exe)
    if report is False:
        print(f"{name}: valgrind not found, no heap figures")
    elif report is None:
        print(f"{name}: valgrind (tests/memcheck): no heap allocation, memory error or leak")
    else:
        print(f"{name}: target MISSED: heap allocations, memory errors or leaks:\n{report}")
        ok = False

    listing, others = libraries(exe)
    print(f"{name}: ldd:")
    for line in listing.splitlines():
        print(f"    {line.strip()}")
    if any(not n.startswith("libc.so") for n in others):
        print(f"{name}: target MISSED: shared libraries besides the C library")
        ok = False
    print(f"{name}: {'targets met' if ok else 'targets missed'}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
