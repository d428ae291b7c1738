#!/usr/bin/env python3
"""Checks the port traffic an HDL testbench saw at a core's pins against `korvo sim --trace` of
the same firmware.

usage: check_traffic.py KORVO CORE FIRMWARE.psm TRAFFIC

TRAFFIC holds one line per strobe, in order: "R pp vv" (read_strobe: port_id and in_port),
"W pp vv" (write_strobe: port_id and out_port), "K 0p vv" (k_write_strobe: constant port and
value), and "T n" for an interrupt acknowledged on the n-th rising clock edge after reset was
released (counted from 0). The firmware declares no ports. korvo sim runs it with every port the
testbench read fed, read by read, with the values the testbench gave (a stimulus file per port)
and with the interrupts at the same instruction counts; its R, W and K lines must be the
testbench's, in the same order. Exit status 0 same, 1 different, 2 usage or tool failure.
"""
import os, re, subprocess, sys, tempfile

# An instruction takes two clocks, and so does the slot in which the core takes an interrupt; a
# KCPSM6 that takes an interrupt after n instructions, counted from the first edge on which it
# sees reset low (edge 0), shows interrupt_ack on edge 2 n + LATENCY.
LATENCY = 5
LINE = re.compile(r"^([RWK]) ([0-9A-Fa-f]{2}) ([0-9A-Fa-f]{2})$")


def fail(message):
    print("check_traffic.py: " + message, file=sys.stderr)
    sys.exit(2)


def main():
    if len(sys.argv) != 5:
        fail("usage: check_traffic.py KORVO CORE FIRMWARE.psm TRAFFIC")
    korvo, core, firmware, traffic = sys.argv[1:]
    seen, edges = [], []
    for line in open(traffic):
        line = line.strip()
        if line.startswith("T "):
            edges.append(int(line[2:]))
        elif LINE.match(line):
            seen.append(line.upper())
        elif line:
            fail("%s: not a traffic line: %s" % (traffic, line))
    if not seen:
        fail(traffic + ": no port traffic")
    # The k-th interrupt (from 0) had k interrupt slots before it.
    interrupts = [(edge - 2 * k - LATENCY) // 2 for k, edge in enumerate(edges)]
    with tempfile.TemporaryDirectory(prefix="traffic-") as work:
        reads = {}
        for line in seen:
            kind, port, value = line.split()
            if kind == "R":
                reads.setdefault(port, []).append("$" + value)
        head = []
        for port in range(256):
            key = "%02X" % port
            if key in reads:
                name = os.path.join(work, "in_%s.txt" % key)
                with open(name, "w") as f:
                    f.write("\n".join(reads[key]) + "\n")
                head.append('DSIN $%s, "%s"' % (key, name))
                head.append("DSOUT $%s" % key)
            else:
                head.append("DSOUT $%s" % key)
        source = os.path.join(work, "firmware.psm")
        with open(source, "w") as f:
            f.write("\n".join(head) + "\n" + open(firmware).read())
        # Enough instructions to make every access the testbench saw, and the firmware ends in a
        # loop that makes none.
        limit = 4 * (len(seen) + 1000) + (interrupts[-1] if interrupts else 0) + 100000
        command = [korvo, "sim", "--core", core, "--no-exec", "--trace",
                   "--max-instructions", str(limit)]
        for n in interrupts:
            command += ["--interrupt-at", str(n)]
        run = subprocess.run(command + [source], capture_output=True, text=True)
        if run.returncode not in (0, 5):
            fail("korvo sim failed (%d):\n%s%s" % (run.returncode, run.stdout[-2000:], run.stderr[-2000:]))
    expected = [l.strip().upper() for l in run.stdout.splitlines() if LINE.match(l.strip())]
    for i, (want, got) in enumerate(zip(expected, seen)):
        if want != got:
            print("access %d: korvo sim %s, the testbench saw %s" % (i + 1, want, got))
            print("before it: " + ", ".join(seen[max(0, i - 5):i]))
            return 1
    if len(expected) != len(seen):
        print("korvo sim made %d accesses, the testbench saw %d" % (len(expected), len(seen)))
        return 1
    print("%d accesses and %d interrupts agree with korvo sim" % (len(seen), len(interrupts)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
