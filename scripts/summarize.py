#!/usr/bin/env python3
"""Adds up the test results of the build trees and prints the closing line "N passed, N failed".

Each ctest test that runs a GoogleTest binary counts its test cases (from the binary's XML);
any other ctest test (a script check) counts as one. A binary that crashed or hung before
writing its XML counts as one failure."""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def gtest_counts(xml_path):
    root = ET.parse(xml_path).getroot()
    total = failed = skipped = 0
    for case in root.iter("testcase"):
        if case.get("result") == "suppressed" or case.get("status") == "notrun":
            continue
        total += 1
        if case.find("failure") is not None or case.find("error") is not None:
            failed += 1
        elif case.find("skipped") is not None or case.get("result") == "skipped":
            skipped += 1
    return total - failed - skipped, failed, skipped


def main(trees):
    passed = failed = skipped = 0
    for tree in map(Path, trees):
        junit = tree / "ctest-junit.xml"
        if not junit.exists():
            print(f"{tree}: no ctest results", file=sys.stderr)
            failed += 1
            continue
        for case in ET.parse(junit).getroot().iter("testcase"):
            name = case.get("name")
            ok = case.get("status") == "run" and case.find("failure") is None and case.find("error") is None
            gxml = tree / "test-results" / f"{name}.xml"
            if gxml.exists():
                p, f, s = gtest_counts(gxml)
                if not ok and f == 0:
                    f = 1  # the binary failed after its cases passed (crash on exit, leak report...)
                passed, failed, skipped = passed + p, failed + f, skipped + s
            elif ok:
                passed += 1
            else:
                failed += 1
            if not ok:
                print(f"FAILED: {tree.name}/{name}")
    line = f"{passed} passed, {failed} failed"
    if skipped:
        line += f", {skipped} skipped"
    print(line)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
