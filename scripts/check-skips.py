#!/usr/bin/env python3
"""Names every test that ctest reported skipped, with what the test said,
and fails when one is not on the list of expected skips.

Usage: check-skips.py RESULTS.xml...   (ctest --output-junit files)
The list is tests/expected-skips.txt: one "name: why" per line."""

import os
import sys
import xml.etree.ElementTree as ElementTree

LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "expected-skips.txt")


def expected_skips():
    names = {}
    with open(LIST, encoding="utf-8") as lines:
        for line in lines:
            line = line.strip()
            if line and not line.startswith("#"):
                name, _, why = line.partition(": ")
                names[name] = why
    return names


def reason(output):
    """What a skipped test said about it: GoogleTest's line after "Skipped",
    Qt Test's SKIP line, or else the last line of the output."""
    lines = output.strip().splitlines()
    for i, line in enumerate(lines):
        if line.endswith(": Skipped") and i + 1 < len(lines):
            return lines[i + 1].strip()
        if line.startswith("SKIP   : "):
            return line[len("SKIP   : "):].strip()
    return lines[-1].strip() if lines else ""


def skipped_tests(results):
    """(name, what it said) of each skipped test; gtest's cases carry their
    parameter after "  # ", which is not part of the name."""
    for case in ElementTree.parse(results).getroot().iter("testcase"):
        if case.find("skipped") is None:
            continue
        yield case.get("name", "").split("  # ")[0], reason(case.findtext("system-out") or "")


def main(files):
    expected = expected_skips()
    unexpected = 0
    for results in files:
        for name, said in skipped_tests(results):
            known = name in expected
            unexpected += not known
            print(f"{'skipped' if known else 'UNEXPECTED SKIP'}: {name}: "
                  f"{expected[name] if known else said or 'no reason given'}")
    if unexpected:
        print(f"{unexpected} test(s) skipped that should have run; "
              f"a skip that is right goes in {os.path.relpath(LIST)} with its reason")
    return 1 if unexpected else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
