#!/usr/bin/env python3
"""Checks the folders' layers: no two folders include each other, and a folder includes
only from its own layer and the layers below it. Prints each offending include and exits
with status 1 when there is one.

Layers, from the bottom: core/base, the platform interfaces (platform/), their system
implementations (platform/system/), the rest of core/, then gui/ and platform/desktop/,
then the programs in app/."""
import collections
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOPS = ("core", "platform", "gui", "app")
INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')


def layer(folder):
    if folder == "core/base" or folder.startswith("core/base/"):
        return 0
    if folder == "platform":
        return 1
    if folder.startswith("platform/system"):
        return 2
    if folder.startswith("core"):
        return 3
    if folder.startswith(("gui", "platform/desktop")):
        return 4
    return 5


def main():
    edges = collections.defaultdict(lambda: collections.defaultdict(list))
    for top in TOPS:
        for path, _, names in os.walk(os.path.join(ROOT, top)):
            for name in names:
                if not name.endswith((".h", ".cpp", ".in")):
                    continue
                source = os.path.relpath(os.path.join(path, name), ROOT)
                folder = os.path.dirname(source)
                with open(os.path.join(path, name), encoding="utf-8", errors="replace") as f:
                    for line in f:
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        target = os.path.dirname(match.group(1))
                        if target and target != folder and target.startswith(TOPS):
                            edges[folder][target].append(f"{source} includes {match.group(1)}")
    problems = []
    for folder, targets in sorted(edges.items()):
        for target, includes in sorted(targets.items()):
            if folder in edges.get(target, {}):
                problems.append(f"{folder} and {target} include each other: {includes[0]}")
            if layer(target) > layer(folder):
                problems.append(f"{folder} includes from a higher layer: {includes[0]}")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
