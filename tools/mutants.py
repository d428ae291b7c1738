#!/usr/bin/env python3
"""Measures how many faults the test suite catches.

Applies each mutation of a fixed list (tools/mutants.txt) to a private copy
of the working tree, one at a time, builds, runs the test executables, and
prints the kill rate: killed / (killed + survived). A survivor is a fault no
test noticed, so the survivors show where the tests are weak.

Outcomes, one line per mutation:
  killed     a test executable failed (or ran past its time limit)
  survived   every test executable passed
  stillborn  the mutated code does not compile (outside the rate)
  stale      the original text is not found, or found more than once, in its
             file: the code moved and the list needs an update (outside the
             rate)

The developer's checkout is never touched: the tree (tracked and untracked,
not ignored files, as they are now) is copied into BUILD_DIR/tree, which is
removed at the end, also on Ctrl+C or an error. BUILD_DIR/build is a build
folder of its own that persists between runs, so that a second run only
rebuilds what changed (ccache keeps the mutants' objects too). The test
executables are run directly, those of the mutated layer first (and first of
all the one that killed the mutation in the previous run), stopping at the
first failure; only a survivor runs them all. Before the first mutation the
unmutated tree must build and pass every test executable.

List format (tools/mutants.txt): "[area]" starts an area; each mutation is
  * label
  @ path/of/the/file.cpp
  - the original text, a unique substring of one line of that file
  + the replacement ("+" alone deletes the text)
where the text after "- " and "+ " is taken verbatim; "#" starts a comment.

Exit status: 0 when the run is complete, 1 when the unmutated tree does not
build or pass its tests, 2 for a bad command line or list, 130 when
interrupted.
"""

import argparse
import fcntl
import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

from mutant_list import ListError, Mutation, matches, read_mutations, staleness

ROOT = Path(__file__).resolve().parent.parent
DEFAULT_LIST = Path(__file__).resolve().parent / "mutants.txt"
DEFAULT_BUILD_DIR = ROOT / "build-mutants"

# The test executables to try first, by the folder of the mutated file.
LAYER_FIRST = [("src/core/", ["korvo_core_tests"]), ("src/host/", ["korvo_qtcore_tests"]),
               ("src/cli/", ["korvo_cli_tests"])]
# Phase 2 order among the remaining units (anything else comes after).
UNIT_ORDER = ["korvo_core_tests", "korvo_cli_tests", "korvo_qtcore_tests"]


class Interrupted(Exception):
    pass


@dataclass
class Unit:
    """One test executable (or test script) as ctest knows it."""
    name: str
    command: list
    cwd: str
    env: dict
    target: str  # the ninja target that builds it ("all" for scripts)
    seconds: float = 0.0
    pass_patterns: list = field(default_factory=list)  # ctest's PASS_REGULAR_EXPRESSION


@dataclass
class Result:
    mutation: Mutation
    outcome: str
    seconds: float
    detail: str = ""
    killers: list = field(default_factory=list)


# ------------------------------------------------------------ processes

# Process groups of the children that run now, killed on an interruption.
_running = set()


def run(command, cwd, env=None, timeout=None):
    """Runs a command in a process group of its own; (status, output,
    seconds), status None when it ran past the timeout."""
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               start_new_session=True)
    _running.add(process.pid)
    try:
        output, _ = process.communicate(timeout=timeout)
        status = process.returncode
    except subprocess.TimeoutExpired:
        kill_group(process.pid)
        output, _ = process.communicate()
        status = None
    finally:
        kill_group(process.pid)  # whatever the command left behind
        _running.discard(process.pid)
    return status, output.decode("utf-8", "replace"), time.monotonic() - start


def kill_group(pid):
    try:
        os.killpg(pid, signal.SIGKILL)
    except (ProcessLookupError, PermissionError):
        pass


def on_terminate(signum, frame):
    raise Interrupted()


# ------------------------------------------------------ the private tree


class PrivateTree:
    """A copy of the working tree whose file times only move when a file's
    bytes do, so that the persistent build folder stays incremental."""

    def __init__(self, state_dir):
        self.state_dir = state_dir
        self.tree = state_dir / "tree"
        self.manifest_file = state_dir / "manifest.json"
        self.manifest = {}  # path -> [sha1, mtime_ns]

    def _load_manifest(self):
        try:
            self.manifest = json.loads(self.manifest_file.read_text())
        except (OSError, ValueError):
            self.manifest = {}

    def save_manifest(self):
        temporary = self.manifest_file.with_suffix(".tmp")
        temporary.write_text(json.dumps(self.manifest))
        temporary.replace(self.manifest_file)

    def create(self):
        self._load_manifest()
        # A file left mutated by a run that was killed outright must be
        # compiled again whatever its bytes.
        dirty = self.state_dir / "dirty"
        if dirty.exists():
            self.manifest.pop(dirty.read_text().strip(), None)
            dirty.unlink()
        if self.tree.exists():
            shutil.rmtree(self.tree)
        listed = subprocess.run(["git", "ls-files", "-z", "--cached", "--others",
                                 "--exclude-standard"], cwd=ROOT, check=True,
                                capture_output=True).stdout.decode().split("\0")
        now = time.time_ns()
        manifest = {}
        for relative in sorted(set(filter(None, listed))):
            source = ROOT / relative
            target = self.tree / relative
            if source.is_symlink():
                target.parent.mkdir(parents=True, exist_ok=True)
                os.symlink(os.readlink(source), target)
                continue
            if not source.is_file():
                continue  # deleted in the working tree
            data = source.read_bytes()
            target.parent.mkdir(parents=True, exist_ok=True)
            target.write_bytes(data)
            shutil.copymode(source, target)
            digest = hashlib.sha1(data).hexdigest()
            known = self.manifest.get(relative)
            mtime = known[1] if known and known[0] == digest else now
            os.utime(target, ns=(mtime, mtime))
            manifest[relative] = [digest, mtime]
        self.manifest = manifest
        self.save_manifest()

    def mutate(self, mutation):
        """Applies the mutation; the original bytes, or None when stale
        (with the reason)."""
        path = self.tree / mutation.path
        try:
            data = path.read_bytes()
        except OSError:
            return None, "file not found"
        reason = staleness(data, mutation)
        if reason:
            return None, reason
        (self.state_dir / "dirty").write_text(mutation.path)
        path.write_bytes(data.replace(mutation.original.encode(),
                                      mutation.replacement.encode()))
        return data, ""

    def restore(self, mutation, data):
        path = self.tree / mutation.path
        path.write_bytes(data)
        # Newer than any object built from the mutant: the next build
        # compiles the file again (a ccache hit).
        now = time.time_ns()
        os.utime(path, ns=(now, now))
        entry = self.manifest.get(mutation.path)
        if entry:
            entry[1] = now
        self.save_manifest()
        (self.state_dir / "dirty").unlink(missing_ok=True)

    def remove(self):
        shutil.rmtree(self.tree, ignore_errors=True)


# ---------------------------------------------------------------- build


class Runner:
    def __init__(self, args, state_dir):
        self.args = args
        self.state_dir = state_dir
        self.build = state_dir / "build"
        self.tree = PrivateTree(state_dir)
        self.scratch = state_dir / "scratch"
        self.units = []
        self.history_file = state_dir / "history.json"
        try:
            self.history = json.loads(self.history_file.read_text())
        except (OSError, ValueError):
            self.history = {}

    def log(self, text):
        print(text, flush=True)

    def configure(self):
        command = ["cmake", "-S", str(self.tree.tree), "-B", str(self.build), "-G", "Ninja",
                   "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                   # The developer build's optimisation without debug
                   # information: smaller objects, faster links.
                   "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG",
                   "-DKORVO_SANITIZE=OFF", "-DKORVO_BUILD_BENCH=OFF",
                   "-DKORVO_BUILD_TESTS=ON", "-DKORVO_BUILD_GUI=ON",
                   # Tests are listed when ctest asks, not after every link.
                   "-DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST"]
        if shutil.which("ld.lld"):
            command.append("-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld")
        status, output, _ = run(command, ROOT)
        if status != 0:
            raise SystemExit(f"mutants: cmake failed:\n{tail(output)}")

    def ninja(self, target):
        """Builds a target; the first compiler error, or empty."""
        status, output, _ = run(["ninja", "-C", str(self.build), f"-j{self.args.jobs}", target],
                                ROOT)
        if status == 0:
            return ""
        lines = output.splitlines()
        for wanted in (" error: ", "FAILED"):
            for line in lines:
                if wanted in line:
                    return line.strip()
        return tail(output, 1) or "build failed"

    def discover_units(self):
        status, output, _ = run(["ctest", "--show-only=json-v1"], self.build)
        if status != 0:
            raise SystemExit(f"mutants: ctest cannot list the tests:\n{tail(output)}")
        tests = json.loads(output)["tests"]
        units = {}
        for test in tests:
            command = test.get("command")
            if not command:
                continue
            properties = {p["name"]: p["value"] for p in test.get("properties", [])}
            env = {}
            for assignment in properties.get("ENVIRONMENT", []):
                name, _, value = assignment.partition("=")
                env[name] = value
            program = Path(command[0])
            built = self.build in program.parents
            if built and any(a.startswith("--gtest_filter") for a in command[1:]):
                name, command = program.name, [command[0], "--gtest_fail_fast"]
            elif built:
                name = program.name
            else:
                name = test["name"]
            if name in units:
                continue
            units[name] = Unit(name=name, command=command,
                               cwd=properties.get("WORKING_DIRECTORY", str(self.build)),
                               env=env, target=program.name if built else "all",
                               pass_patterns=properties.get("PASS_REGULAR_EXPRESSION", []))
        order = {name: i for i, name in enumerate(UNIT_ORDER)}
        self.units = sorted(units.values(),
                            key=lambda u: (order.get(u.name, len(order)), u.target == "all",
                                           u.name))

    def environment(self, unit):
        """The unit's environment, with the temporary folder, home and
        settings in the scratch folder, so that a mutant that breaks a
        test's clean-up or its settings override touches nothing outside."""
        if self.scratch.exists():
            shutil.rmtree(self.scratch, ignore_errors=True)
        for sub in ("tmp", "home", "config"):
            (self.scratch / sub).mkdir(parents=True, exist_ok=True)
        env = dict(os.environ)
        env.update({"QT_QPA_PLATFORM": "offscreen", "TMPDIR": str(self.scratch / "tmp"),
                    "HOME": str(self.scratch / "home"),
                    "XDG_CONFIG_HOME": str(self.scratch / "config")})
        env.pop("KORVO_SETTINGS", None)
        env.update(unit.env)
        return env

    def run_unit(self, unit, timeout):
        """(passed, detail, output, seconds)"""
        status, output, seconds = run(unit.command, unit.cwd, self.environment(unit), timeout)
        if status is None:
            return False, f"timeout after {seconds:.0f}s", output, seconds
        if unit.pass_patterns:  # the output decides, whatever the exit status
            passed = any(re.search(p, output, re.DOTALL) for p in unit.pass_patterns)
            detail = "" if passed else "output does not match its pass pattern"
            return passed, detail, output, seconds
        if status != 0:
            return False, first_failure(output) or f"exit status {status}", output, seconds
        return True, "", output, seconds

    def timeout_of(self, unit):
        if self.args.timeout:
            return self.args.timeout
        return max(30.0, 8 * unit.seconds)

    # ------------------------------------------------------------ baseline

    def baseline(self):
        self.log(f"mutants: building the unmutated tree in {self.build}")
        start = time.monotonic()
        error = self.ninja("all")
        if error:
            raise SystemExit(f"mutants: the unmutated tree does not build: {error}")
        self.discover_units()
        self.log(f"mutants: built in {time.monotonic() - start:.0f}s; running "
                 f"{len(self.units)} test executables on the unmutated tree")
        failed = []
        for unit in self.units:
            passed, why, output, unit.seconds = self.run_unit(unit, self.args.timeout or 600)
            if not passed:
                failed.append(f"  {unit.name}: {why}\n{tail(output, 15)}")
        if failed:
            raise SystemExit("mutants: the unmutated tree fails its tests, so no mutation "
                             "can be judged:\n" + "\n".join(failed))
        total = sum(unit.seconds for unit in self.units)
        self.log(f"mutants: the unmutated tree passes ({total:.0f}s of tests)")

    # ------------------------------------------------------------ mutations

    def first_units(self, mutation):
        names = []
        if mutation.label in self.history:
            names.append(self.history[mutation.label])
        for prefix, layer in LAYER_FIRST:
            if mutation.path.startswith(prefix):
                names += layer
        if mutation.path.startswith("src/ide/"):
            stem = Path(mutation.path).stem
            scored = [(similarity(stem, unit.name), unit.name) for unit in self.units
                      if unit.name.startswith("gui_")]
            names += [name for score, name in sorted(scored, reverse=True) if score > 0]
        by_name = {unit.name: unit for unit in self.units}
        first = []
        for name in names:
            if name in by_name and by_name[name] not in first:
                first.append(by_name[name])
        return first

    def judge(self, mutation):
        start = time.monotonic()
        original, reason = self.tree.mutate(mutation)
        if original is None:
            return Result(mutation, "stale", 0.0, reason)
        try:
            killers = []
            details = []
            first = self.first_units(mutation)
            rest = [unit for unit in self.units if unit not in first]
            for phase, units in (("first", first), ("rest", rest)):
                if not units:
                    continue
                if phase == "rest":
                    error = self.ninja("all")
                    if error:
                        return Result(mutation, "stillborn", time.monotonic() - start, error)
                for unit in units:
                    if phase == "first":
                        error = self.ninja(unit.target)
                        if error:
                            return Result(mutation, "stillborn", time.monotonic() - start, error)
                    passed, detail, _, _ = self.run_unit(unit, self.timeout_of(unit))
                    if passed:
                        continue
                    killers.append(unit.name)
                    details.append(detail)
                    if not self.args.keep_going:
                        break
                if killers and not self.args.keep_going:
                    break
            seconds = time.monotonic() - start
            if killers:
                self.history[mutation.label] = killers[0]
                return Result(mutation, "killed", seconds, details[0], killers)
            self.history.pop(mutation.label, None)
            return Result(mutation, "survived", seconds)
        finally:
            self.tree.restore(mutation, original)

    def save_history(self):
        self.history_file.write_text(json.dumps(self.history, indent=1, sort_keys=True))


def similarity(stem, unit_name):
    """How much a source file's name and a GUI test's name share."""
    words = [w for w in re.split(r"[_/]", stem) if len(w) >= 3]
    test_words = [w for w in unit_name.split("_") if w not in ("gui", "test") and len(w) >= 3]
    return sum(1 for a in words for b in test_words if a.startswith(b) or b.startswith(a))


def first_failure(output):
    """The first failed test in a GoogleTest or QtTest report."""
    for line in output.splitlines():
        found = (re.match(r"\[  FAILED  \] (\S+)", line) or
                 re.match(r"FAIL!  : (\S+?\(.*?\))", line) or re.match(r"FAIL!  : (\S+)", line))
        if found:
            return found.group(1).rstrip(",")
    return ""


def tail(text, count=20):
    return "\n".join(text.rstrip().splitlines()[-count:])


# ---------------------------------------------------------------- report


def report_line(index, total, result):
    m = result.mutation
    what = result.detail
    if result.outcome == "killed":
        what = ", ".join(result.killers) + (f" ({result.detail})" if result.detail else "")
    return (f"{index:3}/{total} {result.outcome:<9} {result.seconds:6.1f}s  {m.label}  "
            f"[{m.path}]" + (f"  {what}" if what else ""))


def summary(results, wall):
    counts = {name: 0 for name in ("killed", "survived", "stillborn", "stale")}
    for result in results:
        counts[result.outcome] += 1
    judged = counts["killed"] + counts["survived"]
    lines = ["", "mutants: " + ", ".join(f"{counts[name]} {name}" for name in counts) +
             f" of {len(results)}; wall time {wall / 60:.1f} min"]
    if judged:
        lines.append(f"mutants: kill rate {counts['killed']}/{judged} = "
                     f"{100.0 * counts['killed'] / judged:.1f}%")
        areas = {}
        for result in results:
            if result.outcome in ("killed", "survived"):
                killed, total = areas.get(result.mutation.area, (0, 0))
                areas[result.mutation.area] = (killed + (result.outcome == "killed"), total + 1)
        lines.append("mutants: killed by area: " + ", ".join(
            f"{area} {killed}/{total}" for area, (killed, total) in areas.items()))
    for outcome in ("survived", "stillborn", "stale"):
        chosen = [r for r in results if r.outcome == outcome]
        if chosen:
            lines.append(f"{outcome}:")
            lines += [f"  {r.mutation.label}  [{r.mutation.path}]"
                      + (f"  {r.detail}" if r.detail else "") for r in chosen]
    return "\n".join(lines)


def list_mutations(mutations):
    areas = {}
    for index, mutation in enumerate(mutations, 1):
        try:
            reason = staleness((ROOT / mutation.path).read_bytes(), mutation)
        except OSError:
            reason = "file not found"
        areas[mutation.area] = areas.get(mutation.area, 0) + 1
        state = f"stale: {reason}" if reason else "ok"
        print(f"{index:3} {mutation.area:<10} {mutation.label}  [{mutation.path}]  {state}")
    print(f"\n{len(mutations)} mutations: " +
          ", ".join(f"{area} {count}" for area, count in areas.items()))


# ---------------------------------------------------------------- main


def parse_arguments():
    parser = argparse.ArgumentParser(
        prog="tools/mutants.py", description=__doc__,
        formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--list", action="store_true",
                        help="list the mutations and whether each still applies; build nothing")
    parser.add_argument("--only", action="append", default=[], metavar="SUBSTRING",
                        help="run only the mutations whose label, area or file contains "
                             "SUBSTRING (any case; may be repeated)")
    parser.add_argument("--jobs", "-j", type=int, default=os.cpu_count() or 2, metavar="N",
                        help="parallel build jobs (default: the number of processors)")
    parser.add_argument("--keep-going", action="store_true",
                        help="run every test executable for every mutation, naming all that "
                             "kill it (slower)")
    parser.add_argument("--timeout", type=float, default=0, metavar="SECONDS",
                        help="time limit of one test executable (default: 8 times its time "
                             "on the unmutated tree, at least 30 s); past it the mutation "
                             "counts as killed")
    parser.add_argument("--mutants", type=Path, default=DEFAULT_LIST, metavar="FILE",
                        help="the list of mutations (default: tools/mutants.txt)")
    parser.add_argument("--build-dir", type=Path, default=DEFAULT_BUILD_DIR, metavar="DIR",
                        help="where the private tree and the persistent build folder live "
                             "(default: build-mutants/)")
    args = parser.parse_args()
    if args.jobs < 1:
        parser.error("--jobs needs at least 1")
    if args.timeout < 0:
        parser.error("--timeout cannot be negative")
    return args


def main():
    args = parse_arguments()
    try:
        mutations = read_mutations(args.mutants)
    except ListError as error:
        print(f"mutants: {error}", file=sys.stderr)
        return 2
    selected = [m for m in mutations if matches(m, args.only)]
    if args.list:
        list_mutations(selected)
        return 0
    if not selected:
        print("mutants: no mutation matches --only", file=sys.stderr)
        return 2

    state_dir = args.build_dir.resolve()
    state_dir.mkdir(parents=True, exist_ok=True)
    lock = open(state_dir / "lock", "w")
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except OSError:
        print(f"mutants: another run uses {state_dir}", file=sys.stderr)
        return 2

    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGTERM, on_terminate)
    signal.signal(signal.SIGHUP, on_terminate)
    runner = Runner(args, state_dir)
    results = []
    wall_start = time.monotonic()
    try:
        runner.log(f"mutants: copying the working tree to {runner.tree.tree}")
        runner.tree.create()
        runner.configure()
        runner.baseline()
        runner.log(f"mutants: {len(selected)} mutations\n")
        for index, mutation in enumerate(selected, 1):
            result = runner.judge(mutation)
            results.append(result)
            runner.log(report_line(index, len(selected), result))
        runner.log(summary(results, time.monotonic() - wall_start))
        return 0
    except (KeyboardInterrupt, Interrupted):
        for pid in list(_running):
            kill_group(pid)
        print("\nmutants: interrupted", file=sys.stderr)
        if results:
            print(summary(results, time.monotonic() - wall_start), file=sys.stderr)
        return 130
    except SystemExit as failure:
        if isinstance(failure.code, str):
            print(failure.code, file=sys.stderr)
            return 1
        raise
    finally:
        signal.signal(signal.SIGINT, signal.SIG_IGN)  # clean up undisturbed
        runner.save_history()
        runner.tree.remove()
        shutil.rmtree(runner.scratch, ignore_errors=True)
        lock.close()


if __name__ == "__main__":
    sys.exit(main())
