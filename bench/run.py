#!/usr/bin/env python3
"""Times whole quorvelcon conversions of large synthetic logs.

Each conversion is compared with `cat` copying the same input file in the same run: the ratio
(quorvelcon time / cat time) is the figure that travels between machines. Peak memory is the
converter's maximum resident set size. Prints a Markdown table.

    python3 bench/run.py                 # every case, 100,000 and 1,000,000 QSOs
    python3 bench/run.py --quick         # 100,000 QSOs only

--only SUBSTRING runs only the cases whose name contains SUBSTRING, ignoring case; give it more
than once, or separate several substrings with commas, to run every case that matches any:

    python3 bench/run.py --only ADIF --only Cabrillo
    python3 bench/run.py --only "CT8 to,ARRL to"

--baseline REV also times the quorvelcon of another revision of this repository (anything git
accepts: a commit hash, a tag, HEAD~3, ...) in the same run. Its committed tree is exported
into build/bench-baseline/src, built in Release into build/bench-baseline/build (and reused
while REV names the same commit), and converts the same inputs, which the current tree's
quorvel_loggen writes. The current converter, the baseline converter and `cat` take turns
within each repetition, and the table gives both converters' times and ratios to `cat`:

    python3 bench/run.py --quick --baseline HEAD~3 --only ADIF

--instructions counts, instead of timing, the instructions of each conversion under
callgrind (valgrind), once per case, and prints them per QSO: the figure that does not move
with the machine's load. It uses the 100,000-QSO logs unless --count says otherwise, and
takes --baseline and --only as above:

    python3 bench/run.py --instructions --baseline 079ba53

--process-time times small logs instead (100 QSOs unless --count says otherwise): the best
process time (user and system) of each conversion over --repeat runs, startup and reference
tables included, with --baseline and --only as above:

    python3 bench/run.py --process-time --repeat 40 --only "ADIF to CT8,CT8 to ADIF"
"""
import argparse
import dataclasses
import os
import pathlib
import re
import shutil
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
BASELINE_DIR = ROOT / "build" / "bench-baseline"

# name, input extension, contest code, output extension, options, reference tables, and for
# a format the engine only reads, its format code (the benchmark's own writer makes its input;
# bench/synthetic_writers.h). With "empty" the conversion runs where cqww.cty and stsec.dat are
# empty files, so that the same conversion can be timed with and without its call look-ups.
CASES = [
    ("CT8 to CT8", "bin", 3, "bin", [], "shipped"),
    ("ADIF to CT8", "adi", 3, "bin", [], "shipped"),
    ("CT8 to ADIF", "bin", 3, "adi", [], "shipped"),
    ("ADIF to ADIF, CQWW", "adi", 3, "adi", [], "shipped"),
    ("ADIF to ADIF, ARRL 160, empty country file (no look-ups)", "adi", 7, "adi", ["-cARRL160"],
     "empty"),
    ("ADIF to ADIF, ARRL 160 (every call looked up)", "adi", 7, "adi", ["-cARRL160"], "shipped"),
    ("ADIF to Cabrillo, CQWW", "adi", 3, "cbr", [], "shipped"),
    ("Cabrillo to ADIF, CQWW", "cbr", 3, "adi", [], "shipped"),
    ("ARRL to ADIF, SS", "log", 1, "adi", ["-cSS"], "shipped"),
    ("TR Log to ADIF, CQWW", "dat", 3, "adi", [], "shipped"),
    ("NA to ADIF, CQWW", "qdf", 3, "adi", [], "shipped", 10),
    ("NA (older) to ADIF, CQWW", "qdf", 3, "adi", [], "shipped", 6),
    ("ADIF to TR Log, CQWW", "adi", 3, "dat", [], "shipped"),
    ("CT9 to ADIF, CQWW", "bin", 3, "adi", [], "shipped", 3),
    ("CT (before 8) to ADIF, CQWW", "bin", 3, "adi", [], "shipped", 1),
    ("DX Cluster to ADIF", "dat", 3, "adi", [], "shipped", 11),
    ("DX Info to ADIF", "dat", 3, "adi", [], "shipped", 8),
    ("WRTC to ADIF", "log", 5, "adi", [], "shipped", 7),
    ("ADIF to dBase, CQWW", "adi", 3, "dbf", [], "shipped"),
    ("ADIF to DXBase, CQWW", "adi", 3, "sdf", [], "shipped"),
]


def build(source_dir, build_dir, targets):
    """Configures SOURCE_DIR in Release into BUILD_DIR and builds TARGETS; exits if that fails."""
    steps = [["cmake", "-S", str(source_dir), "-B", str(build_dir), "-G", "Ninja",
              "-DCMAKE_BUILD_TYPE=Release", "-DQUORVEL_TESTS=OFF"],
             ["cmake", "--build", str(build_dir), "--target"] + targets]
    for step in steps:
        if subprocess.run(step, stdout=subprocess.DEVNULL).returncode != 0:
            sys.exit(f"run.py: failed: {' '.join(step)}\n(run it by hand to see why)")


def resolve_commit(rev):
    """The full hash of the commit that REV names; exits with git's complaint if none."""
    result = subprocess.run(["git", "-C", str(ROOT), "rev-parse", "--verify", "--quiet",
                             f"{rev}^{{commit}}"], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"run.py: --baseline {rev}: not a commit of {ROOT}")
    return result.stdout.strip()


def export_baseline(commit):
    """Exports the tree of COMMIT into BASELINE_DIR/src, unless it already holds that commit.

    `git archive` leaves the repository's worktree list alone. Extracted files get the time of
    extraction rather than the commit's, so a build folder reused across revisions rebuilds
    whatever changed, even when the new revision is older than the last one.
    """
    source = BASELINE_DIR / "src"
    stamp = BASELINE_DIR / "src.commit"
    if source.is_dir() and stamp.is_file() and stamp.read_text().strip() == commit:
        return source
    stamp.unlink(missing_ok=True)
    shutil.rmtree(source, ignore_errors=True)
    source.mkdir(parents=True)
    archive = subprocess.Popen(["git", "-C", str(ROOT), "archive", commit],
                               stdout=subprocess.PIPE)
    extract = subprocess.run(["tar", "-x", "-m", "-C", str(source)], stdin=archive.stdout)
    archive.stdout.close()
    if archive.wait() != 0 or extract.returncode != 0:
        sys.exit(f"run.py: could not export {commit} into {source}")
    stamp.write_text(commit + "\n")
    return source


def run_measured(command, cwd, stdout=subprocess.DEVNULL):
    """Wall seconds, peak resident kilobytes and exit status of one command.

    The peak comes from GNU time, which starts the command itself: the kernel's peak of a
    process started straight from Python would include the Python process it was forked from.
    """
    peak_file = pathlib.Path(cwd) / "peak.txt"
    start = time.perf_counter()
    status = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", str(peak_file)] + command,
                            cwd=cwd, stdout=stdout, stderr=subprocess.DEVNULL).returncode
    elapsed = time.perf_counter() - start
    return elapsed, int(peak_file.read_text().split()[-1]), status


def read_through(path):
    """Reads PATH once, so that the run after it finds the file in the page cache."""
    with open(path, "rb") as source:
        while source.read(1 << 20):
            pass


@dataclasses.dataclass
class Timed:
    """A command to time, run in CWD. RESULT is the file it writes, deleted before every run;
    with TO_STDOUT the command's standard output is what goes into RESULT. INPUT, the file it
    reads, is read through before every run: a machine that drops its page cache now and then
    would otherwise time a read from the disk for whichever command came first after it."""
    command: list
    cwd: pathlib.Path
    result: pathlib.Path
    to_stdout: bool = False
    input: pathlib.Path = None

    def run(self):
        """(wall seconds, peak kilobytes) of one run, or None if the command failed."""
        self.result.unlink(missing_ok=True)
        if self.input is not None:
            read_through(self.input)
        if self.to_stdout:
            with open(self.result, "wb") as out:
                elapsed, peak, status = run_measured(self.command, self.cwd, out)
        else:
            elapsed, peak, status = run_measured(self.command, self.cwd)
        return (elapsed, peak) if status == 0 else None


def best_interleaved(repeat, commands):
    """The fastest run of each command over REPEAT rounds, each round running every command
    once in turn, so that a slow spell of the machine falls on all of them alike. A command
    that fails once is not run again and gives None."""
    best = [None] * len(commands)
    failed = [False] * len(commands)
    for _ in range(repeat):
        for index, command in enumerate(commands):
            if failed[index]:
                continue
            result = command.run()
            if result is None:
                failed[index], best[index] = True, None
            elif best[index] is None or result[0] < best[index][0]:
                best[index] = result
    return best


def generate(loggen, work, ext, contest, count, format_code=None):
    kind = f"-f{format_code}" if format_code else ""
    path = work / f"in-{contest}{kind}-{count}.{ext}"
    if not path.exists():
        command = [str(loggen), str(path), str(count), str(contest), "7"]
        if format_code:
            command.append(str(format_code))
        status = subprocess.run(command, stderr=subprocess.DEVNULL).returncode
        if status != 0:
            path.unlink(missing_ok=True)
            return None
    return path


def prepare_case(loggen, work, case, count):
    """(input file, folder to run in, output file, options) of one case and size, or None
    when no input could be written."""
    name, in_ext, contest, out_ext, options, tables = case[:6]
    source = generate(loggen, work, in_ext, contest, count, case[6] if len(case) > 6 else None)
    if source is None:
        return None
    folder = work / tables
    folder.mkdir(exist_ok=True)
    if tables == "empty":
        for table in ("cqww.cty", "stsec.dat"):
            (folder / table).write_bytes(b"")
    return source, folder, folder / f"out.{out_ext}", options


def measure_case(converters, loggen, work, case, count, repeat):
    """Input file, best (seconds, peak KB) of each converter, then of `cat`, on one case and
    size; None entries for commands that failed. None altogether when no input could be
    written."""
    prepared = prepare_case(loggen, work, case, count)
    if prepared is None:
        return None
    source, folder, output, options = prepared
    commands = [Timed([str(converter), str(source), str(output)] + options, folder, output,
                      input=source) for converter in converters]
    commands.append(Timed(["cat", str(source)], work, work / "copy.tmp", to_stdout=True,
                          input=source))
    return source, best_interleaved(repeat, commands)


def single_row(name, count, measured):
    if measured is None:
        return f"| {name} | {count:,} | - | - | - | - | - | format not in this build |"
    source, (converter, cat) = measured
    if converter is None or cat is None:
        return f"| {name} | {count:,} | - | - | - | - | - | conversion failed |"
    size_mb = source.stat().st_size / 1e6
    qsos_per_second = count / converter[0]
    return (f"| {name} | {count:,} | {size_mb:.1f} | {converter[0]:.3f} | {qsos_per_second:,.0f} "
            f"| {converter[1] / 1024:.1f} | {cat[0]:.3f} | {converter[0] / cat[0]:.1f} |")


def comparison_row(name, count, measured):
    if measured is None:
        return f"| {name} | {count:,} | - | - | - | - | - | - | format not in this build |"
    source, (current, baseline, cat) = measured

    def program_cells(timing):
        if timing is None:
            return ["conversion failed", "conversion failed"]
        return [f"{timing[0]:.3f}", f"{timing[0] / cat[0]:.2f}" if cat else "cat failed"]

    cells = [name, f"{count:,}", f"{source.stat().st_size / 1e6:.1f}"]
    cells += program_cells(baseline) + program_cells(current)
    cells.append(f"{current[0] / baseline[0]:.2f}" if current and baseline else "-")
    cells.append(f"{current[1] / 1024:.1f}" if current else "-")
    return "| " + " | ".join(cells) + " |"


def count_instructions(command, cwd):
    """Instructions callgrind counts for one run of COMMAND in CWD, or None if it failed."""
    summary = pathlib.Path(cwd) / "callgrind.out"
    status = subprocess.run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={summary}",
                             "--dump-instr=no"] + command, cwd=cwd, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL).returncode
    found = re.search(r"^summary: (\d+)", summary.read_text(), re.M) if status == 0 else None
    summary.unlink(missing_ok=True)
    return int(found.group(1)) if found else None


def instruction_row(converters, loggen, work, case, count):
    """One table row: instructions per QSO of each converter on CASE with COUNT QSOs."""
    prepared = prepare_case(loggen, work, case, count)
    if prepared is None:
        return f"| {case[0]} | {count:,} |" + " - |" * len(converters)
    source, folder, output, options = prepared
    counts = []
    for converter in converters:
        output.unlink(missing_ok=True)
        counts.append(count_instructions([str(converter), str(source), str(output)] + options,
                                         folder))
    per_qso = [f"{total / count:,.0f}" if total else "failed" for total in counts]
    cells = [case[0], f"{count:,}"] + list(reversed(per_qso))  # baseline first, as in the header
    if len(counts) == 2:
        current, baseline = counts
        cells.append(f"{current / baseline:.3f}" if current and baseline else "-")
    return "| " + " | ".join(cells) + " |"


def print_instructions(converters, loggen, work, cases, count):
    if len(converters) == 2:
        print("| Conversion | QSOs | baseline instructions per QSO | current | "
              "current/baseline |")
        print("|---|---:|---:|---:|---:|")
    else:
        print("| Conversion | QSOs | instructions per QSO |")
        print("|---|---:|---:|")
    for case in cases:
        print(instruction_row(converters, loggen, work, case, count), flush=True)


def process_milliseconds(command, cwd, output):
    """Process time (user + system) of one run of COMMAND in ms, from the kernel's account of
    the child itself, which is exact to the microsecond; None if it failed."""
    output.unlink(missing_ok=True)
    with open(os.devnull, "wb") as sink:
        child = subprocess.Popen(command, cwd=cwd, stdout=sink, stderr=sink)
        _, status, usage = os.wait4(child.pid, 0)
        child.returncode = status
    return (usage.ru_utime + usage.ru_stime) * 1000 if status == 0 else None


def print_process_times(converters, loggen, work, cases, count, repeat):
    header = ["baseline ms", "current ms"] if len(converters) == 2 else ["ms"]
    print(f"| Conversion | QSOs | {' | '.join(header)} |")
    print("|---|---:|" + "---:|" * len(header))
    for case in cases:
        prepared = prepare_case(loggen, work, case, count)
        if prepared is None:
            continue
        source, folder, output, options = prepared
        best = []
        for converter in converters:
            command = [str(converter), str(source), str(output)] + options
            times = [process_milliseconds(command, folder, output) for _ in range(repeat)]
            best.append(None if None in times else min(times))
        cells = [f"{ms:.2f}" if ms is not None else "failed" for ms in reversed(best)]
        print(f"| {case[0]} | {count:,} | " + " | ".join(cells) + " |", flush=True)


def selected_cases(only):
    """The cases whose names contain any of the comma separated substrings in ONLY."""
    wanted = [part.strip().lower() for item in only for part in item.split(",") if part.strip()]
    if not wanted:
        return CASES
    cases = [case for case in CASES if any(part in case[0].lower() for part in wanted)]
    if not cases:
        names = "\n  ".join(case[0] for case in CASES)
        sys.exit(f"run.py: no case matches --only {', '.join(only)}; the cases are:\n  {names}")
    return cases


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=str(ROOT / "build" / "bench"))
    parser.add_argument("--quick", action="store_true", help="100,000 QSOs only")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--baseline", metavar="REV",
                        help="also time the quorvelcon of this git revision, in the same run")
    parser.add_argument("--only", metavar="SUBSTRING", action="append", default=[],
                        help="run only the cases whose name contains SUBSTRING (ignoring case); "
                             "repeatable, or comma separated")
    parser.add_argument("--instructions", action="store_true",
                        help="count instructions per QSO under callgrind instead of timing")
    parser.add_argument("--process-time", action="store_true",
                        help="best process time of small logs (100 QSOs) instead of timing")
    parser.add_argument("--count", type=int,
                        help="QSOs per log for --instructions (default 100,000) and "
                             "--process-time (default 100)")
    args = parser.parse_args()

    cases = selected_cases(args.only)
    commit = resolve_commit(args.baseline) if args.baseline else None
    build_dir = pathlib.Path(args.build)
    build(ROOT, build_dir, ["quorvelcon", "quorvel_loggen", "quorvel_data"])
    converters = [build_dir / "quorvelcon"]
    if commit:
        baseline_build = BASELINE_DIR / "build"
        build(export_baseline(commit), baseline_build, ["quorvelcon", "quorvel_data"])
        converters.append(baseline_build / "quorvelcon")
    work = build_dir / "work"
    work.mkdir(exist_ok=True)
    counts = [100_000] if args.quick else [100_000, 1_000_000]
    loggen = build_dir / "bench" / "quorvel_loggen"  # bench/CMakeLists.txt builds it
    if args.instructions:
        print_instructions(converters, loggen, work, cases, args.count or 100_000)
        return 0
    if args.process_time:
        print_process_times(converters, loggen, work, cases, args.count or 100, args.repeat)
        return 0

    print(f"Machine: {os.cpu_count()} cores; best of {args.repeat} runs each.\n")
    if commit:
        print(f"baseline: quorvelcon of {args.baseline} ({commit[:12]}); current: quorvelcon of")
        print("the working tree. s: wall time of the whole conversion; ratio to cat: that time")
        print("divided by the time of `cat` copying the same input into a file, the three taking")
        print("turns in every repetition; current/baseline: the two times divided.\n")
        print("| Conversion | QSOs | Input MB | baseline s | baseline ratio to cat | current s "
              "| current ratio to cat | current/baseline | Peak MB (current) |")
        print("|---|---:|---:|---:|---:|---:|---:|---:|---:|")
        row = comparison_row
    else:
        print("quorvelcon s: wall time of the whole conversion; cat s: `cat` copying the same "
              "input")
        print("into a file in the same run; ratio to cat: the first divided by the second.\n")
        print("| Conversion | QSOs | Input MB | quorvelcon s | QSOs/s | Peak MB | cat s "
              "| ratio to cat |")
        print("|---|---:|---:|---:|---:|---:|---:|---:|")
        row = single_row
    for count in counts:
        for case in cases:
            measured = measure_case(converters, loggen, work, case, count, args.repeat)
            print(row(case[0], count, measured), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
