#!/usr/bin/env python3
"""Random option combinations against the built program, from a fixed seed.

Checks the documented invariants: the status is 0, 1 or 2, never a signal; status 2 leaves
every named file byte for byte as it was and creates none; every line meets every filter;
--seed and --save-seed/--seed-file replays give the same bytes; --lf and --block-size change
only the line ends and the write sizes.
Usage: random_options.py COMBOGEN [CASES [SEED]]
"""
import os
import random
import subprocess
import sys
import tempfile

PROGRAM = os.path.realpath(sys.argv[1])
CASES = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 15)
failures = []
counts = {"refused": 0, "written": 0, "replayed": 0}


def run(args, cwd):
    done = subprocess.run([PROGRAM] + args, cwd=cwd, capture_output=True, timeout=60)
    if done.returncode not in (0, 1, 2):
        failures.append(f"status {done.returncode}: {args}")
    return done


def snapshot(folder):
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            if not os.path.islink(path):
                with open(path, "rb") as f:
                    files[os.path.relpath(path, folder)] = f.read()
    return files


def pick_case():
    """Options and positional arguments, mostly valid, sometimes not; files by shared names."""
    n = rng.choice([6, 10, 12, 20, 49, 80, rng.randint(1, 80)])
    k = rng.randint(1, min(n, 10))
    lines = rng.choice([1, 5, 50, 300, rng.randint(0, 2000)])
    options = {}
    if rng.random() < 0.3:
        low = rng.randint(0, k * n // 2)
        options["--sum"] = f"{low}:{low + rng.randint(0, 3 * n)}"
    if rng.random() < 0.3:
        low = rng.randint(0, k)
        options["--odd"] = f"{low}:{rng.randint(low, k)}"
    if rng.random() < 0.2:
        options["--max-run"] = str(rng.randint(1, k))
    if rng.random() < 0.3:
        options["--exclude"] = ",".join(str(rng.randint(1, 80)) for _ in range(rng.randint(1, 4)))
    if rng.random() < 0.2:
        options["--unique"] = None
    if rng.random() < 0.2:
        size = rng.randint(1, 12)
        options["--bonus"] = f"{rng.randint(1, size)}:{size}"
    seeding = rng.random()
    if seeding < 0.5:
        options["--seed"] = rng.choice(["a", "draw 7", "x" * 40])
    elif seeding < 0.7:
        options["--save-seed"] = rng.choice(["s.seed", "new.seed", "out.txt", "fixed.txt"])
    elif seeding < 0.8:
        options["--seed-file"] = rng.choice(["old.seed", "fixed.txt", "out.txt"])
    if rng.random() < 0.2:
        options["--stats"] = rng.choice(["st.txt", "./st.txt", "out.txt", "ch.svg"])
    if rng.random() < 0.15:
        options["--chart"] = rng.choice(["ch.svg", "./ch.svg", "st.txt"])
    if rng.random() < 0.1:
        options["--explain"] = None
    positional = [str(lines), str(n), str(k), rng.choice(["0", "1"]),
                  rng.choice(["out.txt", "out.txt", "new.txt", "./out.txt", "missing/o.txt"])]
    form = rng.random()
    if form < 0.3:
        positional.append(rng.choice(["fixed.txt", "fixed.txt", "out.txt"]))
        if form < 0.15:
            low = rng.randint(0, k)
            positional += [str(low), str(rng.randint(low, k))]
    return options, positional


def words(options):
    out = []
    for name, value in options.items():
        out += [name] if value is None else ([f"{name}={value}"] if rng.random() < 0.3
                                             else [name, value])
    return out


def meets_filters(data, options, positional):
    n, k, sort = int(positional[1]), int(positional[2]), positional[3] == "1"
    end = b"\n" if "--lf" in options else b"\r\n"
    text = data.split(end)
    if text[-1] != b"" or len(text) - 1 != int(positional[0]):
        return "line count or line end"
    excluded = {int(v) for v in options.get("--exclude", "").split(",") if v}
    seen = set()
    for line in text[:-1]:
        main, _, bonus = line.decode().partition(" + ")
        numbers = [int(v) for v in main.split(" ")]
        if len(numbers) != k or len(set(numbers)) != k or not all(1 <= v <= n for v in numbers):
            return f"numbers of {line!r}"
        if sort and numbers != sorted(numbers):
            return f"order of {line!r}"
        if excluded & set(numbers):
            return f"--exclude in {line!r}"
        for name, value in (("--sum", sum(numbers)), ("--odd", sum(v % 2 for v in numbers))):
            if name in options:
                low, high = map(int, options[name].split(":"))
                if not low <= value <= high:
                    return f"{name} in {line!r}"
        if "--max-run" in options:
            ordered, run, longest = sorted(numbers), 1, 1
            for a, b in zip(ordered, ordered[1:]):
                run = run + 1 if b == a + 1 else 1
                longest = max(longest, run)
            if longest > int(options["--max-run"]):
                return f"--max-run in {line!r}"
        if ("--bonus" in options) != bool(bonus):
            return f"bonus of {line!r}"
        if "--unique" in options:
            if frozenset(numbers) in seen:
                return f"repeated {line!r}"
            seen.add(frozenset(numbers))
    return None


def check_case(number):
    options, positional = pick_case()
    with tempfile.TemporaryDirectory() as folder:
        with open(os.path.join(folder, "out.txt"), "wb") as f:
            f.write(b"kept\r\n")
        with open(os.path.join(folder, "fixed.txt"), "wb") as f:
            f.write(rng.choice([b"3 7\n", b"1\n", b"2, 4, 6\n"]))
        with open(os.path.join(folder, "old.seed"), "wb") as f:
            f.write(bytes(rng.randrange(256) for _ in range(2068)))
        with open(os.path.join(folder, "s.seed"), "wb") as f:
            f.write(b"OLD")
        before = snapshot(folder)
        args = words(options) + positional
        done = run(args, folder)
        where = f"case {number}: {' '.join(args)}"
        if done.returncode == 2:
            counts["refused"] += 1
            if snapshot(folder) != before:
                failures.append(f"{where}: status 2 changed or created a file")
            if done.stderr.count(b"\n") not in (1, 2) or not done.stderr.startswith(b"combogen: "):
                failures.append(f"{where}: status 2 without a one-line reason: {done.stderr!r}")
            return
        output = os.path.join(folder, positional[4])
        if done.returncode != 0 or not os.path.exists(output) or before.get("out.txt") == \
                snapshot(folder).get(os.path.normpath(positional[4])):
            return  # a silent stop, or a failure report
        with open(output, "rb") as f:
            data = f.read()
        counts["written"] += 1
        wrong = meets_filters(data, options, positional)
        if wrong:
            failures.append(f"{where}: {wrong}")
            return
        # Replays: the same seed, then only the line end or the block size changed.
        replay = dict(options)
        replay.pop("--stats", None)
        replay.pop("--chart", None)
        if "--save-seed" in replay:
            replay["--seed-file"] = replay.pop("--save-seed")
        if "--seed" not in replay and "--seed-file" not in replay:
            return
        counts["replayed"] += 1
        again = os.path.join(folder, "again.txt")
        for extra, expected in (([], data), (["--lf"], data.replace(b"\r\n", b"\n")),
                                (["--block-size", str(rng.choice([128, 1000, 65536]))], data)):
            if os.path.exists(again):
                os.remove(again)
            run(extra + words(replay) + positional[:4] + ["again.txt"] + positional[5:], folder)
            if not os.path.exists(again) or open(again, "rb").read() != expected:
                failures.append(f"{where}: replay with {extra} differs")


for case in range(CASES):
    check_case(case)
print(f"{CASES} cases ({counts['refused']} refused, {counts['written']} written, "
      f"{counts['replayed']} replayed), {len(failures)} failures")
for failure in failures[:20]:
    print("FAIL", failure)
sys.exit(1 if failures else 0)
