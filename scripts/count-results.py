#!/usr/bin/env python3
"""Counts test cases over ctest's JUnit reports: a GoogleTest program counts its own
cases (from its report in test-results/); any other ctest entry counts as one case.
A program that failed without reporting a failed case (a crash) counts one failure."""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

passed = failed = 0
for build in sys.argv[1:]:
    build = Path(build)
    junit = build / "ctest-junit.xml"
    if not junit.exists():
        failed += 1
        continue
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name")
        ok = case.get("status") in ("run", "passed") and case.find("failure") is None
        report = build / "test-results" / f"{name}.xml"
        if report.exists():
            try:
                root = ET.parse(report).getroot()
                tests = int(root.get("tests", 0))
                bad = int(root.get("failures", 0)) + int(root.get("errors", 0))
            except ET.ParseError:
                tests, bad = 1, 1
            if not ok and bad == 0:
                bad = 1
                tests += 1
            passed += tests - bad
            failed += bad
        else:
            passed += ok
            failed += not ok
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
