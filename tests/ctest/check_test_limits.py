"""Every test of the suite has a time limit, and the German pass of the window's
tests runs under the German locale. Reads what CTest itself would run:

  check_test_limits.py <build folder>

A test without a TIMEOUT would hang for CTest's default of 1500 s when a modal
dialog waits for nobody; an environment that goes missing on its way to the
tests silently turns the German pass into a second pass in the C locale.
"""
import json
import subprocess
import sys

LONGEST = 1800  # seconds: the benchmarks' build, the slowest test there is


def faults(tests):
    out = []
    for test in tests:
        name = test["name"]
        props = {p["name"]: p["value"] for p in test.get("properties", [])}
        limit = props.get("TIMEOUT")
        if limit is None:
            out.append(f"{name}: no TIMEOUT")
        elif not 0 < float(limit) <= LONGEST:
            out.append(f"{name}: TIMEOUT {limit} outside 0 .. {LONGEST} s")
        if name.startswith("de_DE."):
            env = props.get("ENVIRONMENT", [])
            if not any(v.startswith("LC_ALL=de_DE") for v in env):
                out.append(f"{name}: German pass without LC_ALL=de_DE... (environment {env})")
    return out


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    shown = subprocess.run(["ctest", "--show-only=json-v1"], cwd=argv[1], capture_output=True, text=True, check=True)
    tests = json.loads(shown.stdout)["tests"]
    found = faults(tests)
    for f in found:
        print(f)
    print(f"{len(tests)} tests, {len(found)} faults")
    return 1 if found or not tests else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
