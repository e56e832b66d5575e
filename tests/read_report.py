#!/usr/bin/env python3
"""Reads jpg2dds reports (JSON Lines) with Python's JSON parser, as a script
would, and prints a tab-separated row a line: "input output status code
width height format bytes", or "summary converted skipped failed". Paths are
the bytes they name, recovered as the manual tells (surrogateescape); "-" is
null. Fails on a line that is not one whole object of the documented keys."""
import json
import sys

INPUT_KEYS = ["input", "output", "status", "reason", "width", "height", "format", "bytes", "seconds"]


def fail(message):
    sys.exit("read_report: " + message)


def path(value):
    return b"-" if value is None else value.encode("utf-8", "surrogateescape")


def number(value, nullable):
    if value is None and nullable:
        return "-"
    if not isinstance(value, (int, float)) or isinstance(value, bool):
        fail("not a number: %r" % (value,))
    return str(value)


def row(line):
    if not line.endswith("\n"):
        fail("line not whole: %r" % line)
    item = json.loads(line)
    if list(item) == ["summary"]:
        s = item["summary"]
        if list(s) != ["converted", "skipped", "failed", "seconds"]:
            fail("summary keys: %r" % list(s))
        number(s["seconds"], False)
        return b"\t".join(x.encode() for x in ["summary"] + [number(s[k], False)
                                                             for k in ("converted", "skipped", "failed")])
    if list(item) != INPUT_KEYS:
        fail("keys: %r" % list(item))
    if item["status"] not in ("converted", "skipped", "failed"):
        fail("status: %r" % item["status"])
    reason = item["reason"]
    if (reason is None) != (item["status"] != "failed"):
        fail("reason %r for %s" % (reason, item["status"]))
    if reason is not None and (list(reason) != ["code", "text"] or not reason["text"]):
        fail("reason: %r" % reason)
    number(item["seconds"], False)
    rest = [item["status"], "-" if reason is None else reason["code"], number(item["width"], True),
            number(item["height"], True), item["format"] or "-", number(item["bytes"], False)]
    return b"\t".join([path(item["input"]), path(item["output"])] + [x.encode() for x in rest])


for name in sys.argv[1:]:
    with open(name, encoding="utf-8", newline="") as report:
        for line in report:
            sys.stdout.buffer.write(row(line) + b"\n")
