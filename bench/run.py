#!/usr/bin/env python3
"""Times whole quorvelcon conversions of large synthetic logs.

Each conversion is compared with `cat` copying the same input file in the same run: the ratio
(quorvelcon time / cat time) is the figure that travels between machines. Peak memory is the
converter's maximum resident set size. Prints a Markdown table.

    python3 bench/run.py                 # every case, 100,000 and 1,000,000 QSOs
    python3 bench/run.py --quick         # 100,000 QSOs only
"""
import argparse
import os
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent

# name, input extension, contest code, output extension, options, reference tables. With
# "empty" the conversion runs where cqww.cty and stsec.dat are empty files, so that the same
# conversion can be timed with and without its call look-ups.
CASES = [
    ("CT8 to CT8", "bin", 3, "bin", [], "shipped"),
    ("ADIF to CT8", "adi", 3, "bin", [], "shipped"),
    ("CT8 to ADIF", "bin", 3, "adi", [], "shipped"),
    ("ADIF to ADIF, CQWW", "adi", 3, "adi", [], "shipped"),
    ("ADIF to ADIF, ARRL 160, empty country file (no look-ups)", "adi", 7, "adi", ["-cARRL160"],
     "empty"),
    ("ADIF to ADIF, ARRL 160 (every call looked up)", "adi", 7, "adi", ["-cARRL160"], "shipped"),
    ("ADIF to Cabrillo, CQWW", "adi", 3, "cbr", [], "shipped"),
    ("ARRL to ADIF, SS", "log", 1, "adi", ["-cSS"], "shipped"),
]


def build(build_dir):
    subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build_dir), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DQUORVEL_TESTS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", str(build_dir), "--target", "quorvelcon",
                    "quorvel_loggen", "quorvel_data"], check=True, stdout=subprocess.DEVNULL)


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


def best_of(repeat, make_command, cwd, cleanup, stdout_path=None):
    best = None
    for _ in range(repeat):
        cleanup()
        if stdout_path:
            with open(stdout_path, "wb") as out:
                result = run_measured(make_command(), cwd, out)
        else:
            result = run_measured(make_command(), cwd)
        if result[2] != 0:
            return None
        if best is None or result[0] < best[0]:
            best = result
    return best


def generate(build_dir, work, ext, contest, count):
    path = work / f"in-{contest}-{count}.{ext}"
    if not path.exists():
        status = subprocess.run([str(build_dir / "quorvel_loggen"), str(path), str(count),
                                 str(contest), "7"], stderr=subprocess.DEVNULL).returncode
        if status != 0:
            path.unlink(missing_ok=True)
            return None
    return path


def measure_case(build_dir, work, case, count, repeat):
    name, in_ext, contest, out_ext, options, tables = case
    source = generate(build_dir, work, in_ext, contest, count)
    if source is None:
        return f"| {name} | {count:,} | - | - | - | - | - | format not in this build |"
    folder = work / tables
    folder.mkdir(exist_ok=True)
    if tables == "empty":
        for table in ("cqww.cty", "stsec.dat"):
            (folder / table).write_bytes(b"")
    output = folder / f"out.{out_ext}"
    copy = work / "copy.tmp"
    converter = best_of(repeat, lambda: [str(build_dir / "quorvelcon"), str(source), str(output)]
                        + options, folder, lambda: output.unlink(missing_ok=True))
    cat = best_of(repeat, lambda: ["cat", str(source)], work, lambda: copy.unlink(missing_ok=True),
                  stdout_path=copy)
    if converter is None or cat is None:
        return f"| {name} | {count:,} | - | - | - | - | - | conversion failed |"
    size_mb = source.stat().st_size / 1e6
    qsos_per_second = count / converter[0]
    return (f"| {name} | {count:,} | {size_mb:.1f} | {converter[0]:.3f} | {qsos_per_second:,.0f} "
            f"| {converter[1] / 1024:.1f} | {cat[0]:.3f} | {converter[0] / cat[0]:.1f} |")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=str(ROOT / "build" / "bench"))
    parser.add_argument("--quick", action="store_true", help="100,000 QSOs only")
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()

    build_dir = pathlib.Path(args.build)
    build(build_dir)
    work = build_dir / "work"
    work.mkdir(exist_ok=True)
    counts = [100_000] if args.quick else [100_000, 1_000_000]

    print(f"Machine: {os.cpu_count()} cores; best of {args.repeat} runs each.\n")
    print("quorvelcon s: wall time of the whole conversion; cat s: `cat` copying the same input")
    print("into a file in the same run; ratio to cat: the first divided by the second.\n")
    print("| Conversion | QSOs | Input MB | quorvelcon s | QSOs/s | Peak MB | cat s | ratio to cat |")
    print("|---|---:|---:|---:|---:|---:|---:|---:|")
    for count in counts:
        for case in CASES:
            print(measure_case(build_dir, work, case, count, args.repeat), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
