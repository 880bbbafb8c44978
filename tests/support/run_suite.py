#!/usr/bin/python3
"""Runs a test program that holds many cases as one CTest test, and gives
CTest its result: the program's own exit status when a case failed, else 77
(CTest's SKIP_RETURN_CODE) when a case said it skipped, else 0. CTest's
SKIP_REGULAR_EXPRESSION would call the whole program skipped even when
another of its cases failed.

    run_suite.py PROGRAM [ARGS...]
"""

import re
import subprocess
import sys

SKIPPED = 77
# Qt Test's line for a QSKIP, GoogleTest's for a GTEST_SKIP.
SKIP_LINE = re.compile(rb"^(SKIP   : |\[  SKIPPED \] )", re.M)


def status(returncode, output):
    """The exit status to give CTest for a run that ended with `returncode`
    and wrote `output` (bytes)."""
    if returncode == 0 and SKIP_LINE.search(output):
        return SKIPPED
    # Killed by a signal: the shell's way of saying so.
    return 128 - returncode if returncode < 0 else returncode


def main(argv):
    # Passed on as it comes, so that a run cut off by CTest's timeout still
    # shows how far it got.
    process = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    output = bytearray()
    for line in process.stdout:
        output += line
        sys.stdout.buffer.write(line)
        sys.stdout.buffer.flush()
    return status(process.wait(), bytes(output))


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
