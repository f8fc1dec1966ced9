#!/usr/bin/env python3
"""Runs `vmod check --json` on models and checks each document against the published
schema (validator/vmod-check.schema.json) with a real JSON Schema validator, and against
what the schema cannot say: the counts match the problems, errors come first, the verdict
and the exit status agree, and --strict turns warnings against the verdict.

usage: check_json.py VMOD SCHEMA MODEL...
"""
import json
import subprocess
import sys

import jsonschema

ORDER = {"error": 0, "warning": 1, "info": 2}


def run(vmod, args):
    done = subprocess.run([vmod, "check", "--json", "--no-files"] + args, capture_output=True)
    return done.returncode, done.stdout, done.stderr


def main():
    vmod, schema_path, models = sys.argv[1], sys.argv[2], sys.argv[3:]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator = jsonschema.Draft202012Validator(schema)
    failures = []
    for model in models:
        for strict in (False, True):
            status, out, err = run(vmod, (["--strict"] if strict else []) + [model])
            where = f"{model}{' --strict' if strict else ''}"
            if status not in (0, 3):
                failures.append(f"{where}: exit status {status}: {err.decode(errors='replace')}")
                continue
            try:
                document = json.loads(out.decode("utf-8"))
            except (UnicodeDecodeError, json.JSONDecodeError) as problem:
                failures.append(f"{where}: not JSON: {problem}")
                continue
            for problem in validator.iter_errors(document):
                failures.append(f"{where}: {problem.json_path}: {problem.message}")
            problems = document.get("problems", [])
            counts = {s: sum(1 for p in problems if p.get("severity") == s) for s in ORDER}
            if counts != document.get("counts"):
                failures.append(f"{where}: counts {document.get('counts')} but problems give {counts}")
            ranks = [ORDER.get(p.get("severity"), 9) for p in problems]
            if ranks != sorted(ranks):
                failures.append(f"{where}: problems are not ordered errors, warnings, information")
            ready = counts["error"] == 0 and (not strict or counts["warning"] == 0)
            if document.get("verdict") != ("ready" if ready else "not ready"):
                failures.append(f"{where}: verdict {document.get('verdict')} with counts {counts}")
            if status != (0 if ready else 3):
                failures.append(f"{where}: exit status {status} with verdict {document.get('verdict')}")
            if document.get("strict") is not strict:
                failures.append(f"{where}: strict is {document.get('strict')}")
    for failure in failures:
        print(failure)
    print(f"{len(models)} models checked, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
