#!/usr/bin/env python3
"""The schema of panel files and the reader agree on every panel file of the tests.

Usage: CheckSchema.py SCHEMA TESTS WORK FILE_OR_FOLDER...

TESTS is the tools' test program: its table of every class writes each file into WORK as
good-N.json, its table of bad files each case as case-N-X.json, X telling what the schema must say: S refuses it (so does the reader), M and W
take it (the reader refuses it for a fault of meaning, or warns). The example panels and the fuzz
corpus (the other files given) are good files: the schema takes them. Exit status 77 (skipped)
when python3-jsonschema is missing.
"""
import json
import os
import pathlib
import subprocess
import sys

try:
    import jsonschema
except ImportError:
    print("skipped: python3-jsonschema is not installed (apt install python3-jsonschema)")
    sys.exit(77)

schema_file, tests, work = sys.argv[1:4]
work = pathlib.Path(work)
work.mkdir(parents=True, exist_ok=True)
for old in work.glob("*.json"):
    old.unlink()
subprocess.run([tests, "--gtest_filter=KesPanelFileTest.*"], check=True,
               stdout=subprocess.DEVNULL, env=dict(os.environ, KES_SCHEMA_CASES=str(work)))

schema = json.loads(pathlib.Path(schema_file).read_text())
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)

files = sorted(work.glob("*.json"))
if len(files) < 20:
    sys.exit(f"only {len(files)} cases were written into {work}")
for given in sys.argv[4:]:
    path = pathlib.Path(given)
    files += sorted(path.glob("*.json")) if path.is_dir() else [path]

disagreements = []
for path in files:
    expected = path.stem.rsplit("-", 1)[1] if path.stem.startswith("case-") else "good"
    document = json.loads(path.read_text(encoding="utf-8"))
    errors = [error.message for error in validator.iter_errors(document)]
    if expected == "S" and not errors:
        disagreements.append(f"{path.name}: the reader refuses it, the schema takes it")
    elif expected != "S" and errors:
        disagreements.append(f"{path.name}: the schema refuses it ({errors[0][:200]})")
print(f"{len(files)} panel files checked against {schema_file}")
if disagreements:
    sys.exit("the schema and the reader disagree:\n  " + "\n  ".join(disagreements))
