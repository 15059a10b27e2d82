#!/usr/bin/env python3
"""A plain peer for the whole-process benchmark: the same five-argument run written the
obvious way in Python, random.sample per line.

Usage: peer.py <LineCount> <PoolSize> <PickCount> <SortOutput> <output file>
Lines are two-digit numbers joined by single blanks and ended by CR LF, as combogen writes them.
"""
import random
import sys


def main(argv):
    line_count, pool_size, pick_count, sort_output = (int(a) for a in argv[1:5])
    labels = ["%02d" % v for v in range(pool_size + 1)]
    population = range(1, pool_size + 1)
    sample = random.sample
    with open(argv[5], "w", newline="\r\n", encoding="ascii") as out:
        for _ in range(line_count):
            numbers = sample(population, pick_count)
            if sort_output:
                numbers.sort()
            out.write(" ".join([labels[v] for v in numbers]) + "\n")


if __name__ == "__main__":
    main(sys.argv)
