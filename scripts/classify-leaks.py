#!/usr/bin/env python3
"""Reads LeakSanitizer reports and lists the leaks made by this project's code.

A leak counts as ours when one of the first frames below the allocator
(operator new, malloc, ...) lies in a source file of this tree (not in
build folders or tests). Usage: classify-leaks.py SOURCE_ROOT REPORT...
"""
import re
import sys

ALLOCATORS = re.compile(r"in (operator new|malloc|calloc|realloc|__interceptor_|strdup|posix_memalign)")
FRAME = re.compile(r"^\s+#(\d+) 0x[0-9a-f]+ in (.*?) (\S+)$")
HEAD = re.compile(r"^(Direct|Indirect) leak of (\d+) byte")
NEAREST = 4


def leaks(text):
    block = None
    for line in text.splitlines():
        head = HEAD.match(line)
        if head:
            if block:
                yield block
            block = {"kind": head.group(1), "bytes": int(head.group(2)), "frames": []}
        elif block is not None:
            frame = FRAME.match(line)
            if frame:
                block["frames"].append((frame.group(2), frame.group(3)))
    if block:
        yield block


def ours(block, root):
    frames = [f for f in block["frames"] if not ALLOCATORS.search("in " + f[0])]
    for function, location in frames[:NEAREST]:
        if location.startswith(root + "/") and "/build" not in location and "/tests/" not in location:
            return function, location
    return None


def main():
    root = sys.argv[1].rstrip("/")
    total = own = 0
    own_bytes = 0
    for path in sys.argv[2:]:
        try:
            text = open(path, errors="replace").read()
        except OSError:
            continue
        for block in leaks(text):
            total += 1
            where = ours(block, root)
            if where and block["kind"] == "Direct":
                own += 1
                own_bytes += block["bytes"]
                print(f"  ours: {block['bytes']} bytes in {where[0]} at {where[1]}")
    print(f"  {total} leak reports, {own} direct leaks from our code ({own_bytes} bytes)")
    return 1 if own else 0


if __name__ == "__main__":
    sys.exit(main())
