#!/usr/bin/env python3
"""Runs wzam1 --analyse --json on the sample project with a sidecar and checks
the output against analysis.schema.json, plus what a schema cannot say."""
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
shutil.copy(source / "tests/analysis/data/getriebewelle.zm1.json", work)
schema = json.loads((source / "tests/analysis/analysis.schema.json").read_text())
jsonschema.Draft7Validator.check_schema(schema)

for method, exit_code in (("rss", 3), ("wc", 3), ("mc", 3)):
    run = subprocess.run([wzam1, "getriebewelle.zm1", "--analyse", "--method", method, "--json", "-"],
                         cwd=work, capture_output=True, text=True)
    assert run.returncode == exit_code, (method, run.returncode, run.stderr)
    out = json.loads(run.stdout)
    jsonschema.validate(out, schema)
    assert out["samples"] == 20000 and out["seed"] == 11 and out["method"] == method
    assert len(out["closings"]) == 5 and not out["allHold"]
    assert out["correlations"] == [{"elements": [6, 8], "r": 0.6}, {"elements": [2, 3], "r": -0.4}]
    for c in out["closings"]:
        mc = c["monteCarlo"]
        assert mc["min"] <= mc["p0_135"] <= mc["p50"] <= mc["p99_865"] <= mc["max"], c["number"]
        assert sum(mc["histogram"]["counts"]) == 20000, c["number"]
        assert abs(sum(e["sharePercent"] for e in c["contributions"]) - 100) < 1e-9, c["number"]
        # The sample covariances of the elements with the result add up to its sample variance.
        assert abs(sum(e["monteCarloSharePercent"] for e in c["contributions"]) - 100) < 1e-6, c["number"]
        assert mc["shareSamples"] == 20000 and c["shareBasis"]["monteCarloSharePercent"] == "sample covariance"
        assert c["shareBasis"]["sharePercent"] == c["statistical"]["variance"] == c["sensitivities"]["variance"]
        # Every element on the path once, ranked by the ppm its narrowing saves.
        ranked = c["sensitivities"]["elements"]
        assert sorted(e["element"] for e in ranked) == sorted(e["element"] for e in c["contributions"]), c["number"]
        assert [e["rank"] for e in ranked] == list(range(1, len(ranked) + 1)), c["number"]
        saved = [e["ppmSaved"] or 0 for e in ranked]
        assert saved == sorted(saved, reverse=True), (c["number"], saved)
        if c["required"]["lower"] is not None and c["required"]["upper"] is not None:
            assert mc["cpPercentile"] is not None and mc["verdictBasis"] == "percentiles", c["number"]
        # Each interval holds its estimate; the verdict and "fails" say the same.
        for point in ("p0_135", "p99_865"):
            low, high = mc[point + "Interval"]
            assert (low is None or low <= mc[point]) and (high is None or mc[point] <= high), (c["number"], point)
        for side in ("ppmBelow", "ppmAbove"):
            if mc[side] is not None:
                low, high = mc[side + "Interval"]
                assert low <= mc[side] <= high and mc["standardError"][side] >= 0, (c["number"], side)
        assert mc["fails"] == (mc["verdict"] == "fails"), c["number"]
        assert (mc["samplesToDecide"] is None) or mc["verdict"] == "undecided", c["number"]
    first = out["closings"][0]
    assert first["worstCase"]["below"]["status"] == "partly" and first["worstCase"]["fails"]
    assert not first["statistical"]["fails"]
    assert out["closings"][1]["required"] == {"lower": None, "upper": None}
assert out["measured"] == []

# Without correlated pairs every share lies within 0..100 and narrowing never widens s.
settings = json.loads((work / "getriebewelle.zm1.json").read_text())
pairs = settings.pop("correlations")
(work / "getriebewelle.zm1.json").write_text(json.dumps(settings))
run = subprocess.run([wzam1, "getriebewelle.zm1", "--analyse", "--method", "mc", "--json", "-"],
                     cwd=work, capture_output=True, text=True)
assert run.returncode == 3, (run.returncode, run.stderr)
plain = json.loads(run.stdout)
jsonschema.validate(plain, schema)
assert plain["correlations"] == [] and pairs
for c in plain["closings"]:
    assert all(0 <= e["sharePercent"] <= 100 for e in c["contributions"]), c["number"]
    for e in c["sensitivities"]["elements"]:
        assert e["sigmaPerTolerance"] >= 0 and e["sigmaSaved"] >= 0, (c["number"], e)

# Two elements on measured values: one column with a decimal comma, and a column
# chosen by its heading, drawn from the values themselves.
values = [10 + 0.01 * ((i * 37) % 41 - 20) / 20 for i in range(40)]
(work / "e2.csv").write_text("".join(f"{v:.4f}".replace(".", ",") + "\r\n" for v in values))
(work / "e3.csv").write_text("Teil;Maß\n" + "".join(f"{i};{v:.4f}\n" for i, v in enumerate(values)), encoding="utf-8")
settings = json.loads((work / "getriebewelle.zm1.json").read_text())
settings["elements"] += [{"element": 2, "measured": "e2.csv"},
                         {"element": 3, "distribution": "measured", "measured": "e3.csv", "column": "Maß",
                          "resample": True}]
(work / "getriebewelle.zm1.json").write_text(json.dumps(settings))
run = subprocess.run([wzam1, "getriebewelle.zm1", "--analyse", "--method", "mc", "--json", "-"],
                     cwd=work, capture_output=True, text=True)
assert run.returncode in (0, 3, 4), (run.returncode, run.stderr)
out = json.loads(run.stdout)
jsonschema.validate(out, schema)
assert [m["element"] for m in out["measured"]] == [2, 3], out["measured"]
for m in out["measured"]:
    assert m["n"] == 40 and abs(m["mean"] - sum(values) / 40) < 1e-4, m
    assert m["min"] <= m["mean"] <= m["max"] and 0 <= m["normality"]["p"] <= 1, m
assert out["measured"][1]["column"] == "Maß" and out["measured"][1]["resample"]
kinds = {e["element"]: e["distribution"] for c in out["closings"] if c["resolved"] for e in c["contributions"]}
assert kinds.get(2, "measured") == "measured" and kinds.get(3, "measured") == "measured", kinds
print("analysis JSON matches the schema")
