#!/usr/bin/env python3
"""Runs wzam1 --allocate --json on the sample project with targets in its
settings file, checks the output against allocation.schema.json, and what a
schema cannot say: "feasible" agrees with the figures of the fresh analysis,
fixed elements stay, ISO grades keep their letters, cost never costs more than
proportional, and the project file is left as it was."""
import json
import pathlib
import shutil
import subprocess
import sys

import jsonschema

wzam1, source, work = sys.argv[1], pathlib.Path(sys.argv[2]), pathlib.Path(sys.argv[3])
shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
shutil.copy(source / "examples/getriebewelle.zm1", work)
shutil.copy(source / "tests/analysis/data/getriebewelle_allocation.json", work / "getriebewelle.zm1.json")
schema = json.loads((source / "tests/analysis/allocation.schema.json").read_text())
jsonschema.Draft7Validator.check_schema(schema)
project_bytes = (work / "getriebewelle.zm1").read_bytes()


def meets(target, figures):
    if "ppm" in target:
        return (figures["ppmBelow"] or 0) + (figures["ppmAbove"] or 0) <= target["ppm"]
    return figures["cpk"] is not None and figures["cpk"] >= target["cpk"]


results = {}
for method, exit_code in (("proportional", 0), ("cost", 0), ("iso", 3)):
    run = subprocess.run([wzam1, "getriebewelle.zm1", "--allocate", "--method", method, "--json", "-"],
                         cwd=work, capture_output=True, text=True)
    assert run.returncode == exit_code, (method, run.returncode, run.stderr)
    out = json.loads(run.stdout)
    jsonschema.validate(out, schema)
    assert out["project"] == "getriebewelle"
    assert [a["closing"] for a in out["allocations"]] == [1, 2], method
    for a in out["allocations"]:
        assert a["method"] == method and a["problem"] is None
        assert a["feasible"] == meets(a["target"], a["achieved"]), (method, a["closing"])
        for e in a["elements"]:
            if e["fixed"]:
                assert e["after"] == e["before"] and e["cost"] is None, (method, e["element"])
            if method == "iso" and e["after"]["iso"] is not None and e["before"]["iso"] is not None:
                letters = e["before"]["iso"].rstrip("0123456789")
                assert e["after"]["iso"].rstrip("0123456789") == letters, e
                assert 5 <= int(e["after"]["iso"][len(letters):]) <= 16, e
    results[method] = out
    assert (work / "getriebewelle.zm1").read_bytes() == project_bytes, method

for p, c in zip(results["proportional"]["allocations"], results["cost"]["allocations"]):
    assert c["proportionalCost"] == p["cost"] and c["cost"] <= p["cost"] * (1 + 1e-12), (p["cost"], c["cost"])
first = results["iso"]["allocations"][0]
assert first["feasible"] and first["cost"] < first["costBefore"], first["cost"]
second = results["iso"]["allocations"][1]
assert not second["feasible"] and any(e["atLimit"] for e in second["elements"])
print("allocation JSON matches the schema")
