#!/usr/bin/env python3
"""Reads jpg2dds reports (JSON Lines) with Python's JSON parser, as a script
would, and prints a tab-separated row a line: "input output status code
width height format bytes", or "summary converted skipped failed". Paths are
the bytes they name, recovered as the manual tells (surrogateescape); "-" is
null. Fails on a line that is not one whole object of the documented keys."""
import json
import sys

INPUT_KEYS = ["input", "output", "status", "reason", "width", "height", "format", "bytes", "seconds"]
SUMMARY_KEYS = ["converted", "skipped", "failed", "seconds"]


def row(line):
    assert line.endswith("\n"), "line not whole: %r" % line
    item = json.loads(line)
    if list(item) == ["summary"]:
        assert list(item["summary"]) == SUMMARY_KEYS, line
        assert all(isinstance(item["summary"][k], (int, float)) for k in SUMMARY_KEYS), line
        return ("summary\t%(converted)d\t%(skipped)d\t%(failed)d" % item["summary"]).encode()
    assert list(item) == INPUT_KEYS and item["status"] in ("converted", "skipped", "failed"), line
    reason = item["reason"]
    assert (reason is None) == (item["status"] != "failed"), line
    assert reason is None or (list(reason) == ["code", "text"] and reason["text"]), line
    assert isinstance(item["bytes"], int) and isinstance(item["seconds"], (int, float)), line
    fields = [item["input"], item["output"], item["status"], reason and reason["code"], item["width"],
              item["height"], item["format"], item["bytes"]]
    return b"\t".join(b"-" if f is None else str(f).encode("utf-8", "surrogateescape") for f in fields)


for name in sys.argv[1:]:
    with open(name, encoding="utf-8", newline="") as report:
        for line in report:
            sys.stdout.buffer.write(row(line) + b"\n")
