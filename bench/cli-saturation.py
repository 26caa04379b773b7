#!/usr/bin/env python3
"""tallyra-cli read on a saturated port: a pseudo-terminal whose far side writes balance lines as
fast as the reader takes them.

Measures how long the tool takes to end after Ctrl+C (SIGINT) and with --count 10, and what its
resident memory does while nobody reads its standard output (a pipe left unread).

Usage: bench/cli-saturation.py [BUILD_DIR] [RUNS]   (defaults build/release, 5)
"""
import os
import pty
import signal
import subprocess
import sys
import threading
import time

build = sys.argv[1] if len(sys.argv) > 1 else "build/release"
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
cli = os.path.join(build, "bin", "tallyra-cli")
LINE = b"ST,+0001234.56 g\r\n" * 200


def flood(master, stop):
    os.set_blocking(master, False)
    while not stop.is_set():
        try:
            os.write(master, LINE)
        except BlockingIOError:
            time.sleep(0.0005)
        except OSError:
            return


def start(args, stdout):
    master, slave = pty.openpty()
    name = os.ttyname(slave)
    os.close(slave)
    proc = subprocess.Popen([cli, "read", "--port", name] + args, stdout=stdout,
                            stderr=subprocess.PIPE)
    # Wait until the port is open (its opening discards what came before).
    seen = b""
    while b"RTS:" not in seen:
        chunk = proc.stderr.read1(4096)
        if not chunk:
            break
        seen += chunk
    threading.Thread(target=lambda: proc.stderr.read(), daemon=True).start()
    stop = threading.Event()
    writer = threading.Thread(target=flood, args=(master, stop), daemon=True)
    writer.start()
    return proc, master, stop, writer


def finish(proc, master, stop, writer):
    stop.set()
    writer.join()
    os.close(master)
    if proc.poll() is None:
        proc.kill()
        proc.wait()


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return -1


def drain(stream):
    threading.Thread(target=lambda: [None for _ in iter(lambda: stream.read(65536), b"")],
                     daemon=True).start()


print("load average before: " + " ".join(open("/proc/loadavg").read().split()[:3]))

interrupts = []
for _ in range(runs):
    proc, master, stop, writer = start([], subprocess.PIPE)
    drain(proc.stdout)
    time.sleep(1.0)
    t0 = time.monotonic()
    proc.send_signal(signal.SIGINT)
    proc.wait(timeout=30)
    interrupts.append((time.monotonic() - t0) * 1000)
    finish(proc, master, stop, writer)
print("Ctrl+C under a saturated port: ended after " +
      ", ".join(f"{t:.0f}" for t in interrupts) + " ms")

counts = []
for _ in range(runs):
    master, slave = pty.openpty()
    name = os.ttyname(slave)
    os.close(slave)
    stop = threading.Event()
    writer = threading.Thread(target=flood, args=(master, stop), daemon=True)
    t0 = time.monotonic()
    proc = subprocess.Popen([cli, "read", "--port", name, "--count", "10"],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    writer.start()
    out, _ = proc.communicate(timeout=30)
    counts.append(((time.monotonic() - t0) * 1000, out.count(b"\n")))
    stop.set()
    writer.join()
    os.close(master)
print("--count 10 under a saturated port, from start: " +
      ", ".join(f"{t:.0f} ms ({n} lines)" for t, n in counts))

# Nobody reads standard output: the pipe fills and the tool must not pile the lines up.
read_end, write_end = os.pipe()
proc, master, stop, writer = start([], write_end)
os.close(write_end)
samples = []
for _ in range(10):
    time.sleep(1.0)
    samples.append(resident_kib(proc.pid))
t0 = time.monotonic()
proc.send_signal(signal.SIGINT)
os.close(read_end)  # a reader that goes away: the tool may end by the broken pipe
try:
    proc.wait(timeout=30)
except subprocess.TimeoutExpired:
    pass
ended = (time.monotonic() - t0) * 1000
finish(proc, master, stop, writer)
print("standard output unread for 10 s: resident memory " +
      " ".join(str(s) for s in samples) + f" KiB (one sample a second); ended {ended:.0f} ms "
      "after Ctrl+C and the reader going away")
print("load average after: " + " ".join(open("/proc/loadavg").read().split()[:3]))
