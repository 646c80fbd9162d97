#!/usr/bin/env python3
"""Holds every source file's includes against the table of layers in
docs/architecture.md ("What each folder may include").

Each row names a folder, the project paths its files may include (a path
ending in / is a folder and everything under it) and the system headers
they may include: "standard" for the C++ standard library alone (lower-case
names without an extension), "any", or a list of exact header names added to
the standard library. A file may always include files of its own folder.
Usage: check_layer_includes.py SOURCE_DIR
"""
import pathlib
import re
import sys

TABLE_TITLE = "## What each folder may include"
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
SOURCE_SUFFIXES = {".h", ".cpp", ".in"}


def backticked(cell):
    return re.findall(r"`([^`]+)`", cell)


def read_table(architecture):
    lines = architecture.read_text(encoding="utf-8").splitlines()
    start = lines.index(TABLE_TITLE)
    rules = {}
    for line in lines[start + 1 :]:
        if line.startswith("#"):
            break
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) != 3 or not cells[0].startswith("`"):
            continue
        project = backticked(cells[1])
        system = backticked(cells[2])
        for folder in backticked(cells[0]):
            rules[folder] = (project, system)
    return rules


def rule_for(path, rules):
    """The row of the deepest folder that holds the file."""
    best = None
    for folder in rules:
        if path.startswith(folder) and "/" not in path[len(folder) :]:
            if best is None or len(folder) > len(best):
                best = folder
    return best


def allowed_project(header, folder, project):
    if header.startswith(folder) and "/" not in header[len(folder) :]:
        return True
    return any(
        header.startswith(entry) if entry.endswith("/") else header == entry for entry in project
    )


def allowed_system(header, system):
    if "any" in system:
        return True
    # The standard library's names are lower-case words without an extension;
    # Qt's class headers (QWidget) are not.
    standard = re.fullmatch(r"[a-z_0-9]+", header) is not None
    return ("standard" in system and standard) or header in system


def main():
    root = pathlib.Path(sys.argv[1])
    rules = read_table(root / "docs" / "architecture.md")
    if not rules:
        print(f"no rows under '{TABLE_TITLE}' in docs/architecture.md")
        return 1
    faults = []
    checked = 0
    for top in ("startup", "rain", "config", "runtime"):
        for file in sorted((root / top).rglob("*")):
            if file.suffix not in SOURCE_SUFFIXES or not file.is_file():
                continue
            path = file.relative_to(root).as_posix()
            folder = rule_for(path, rules)
            if folder is None:
                faults.append(f"{path}: its folder has no row in the table")
                continue
            project, system = rules[folder]
            checked += 1
            for kind, header in INCLUDE.findall(file.read_text(encoding="utf-8")):
                # Generated headers of the build are included by name alone.
                if kind == '"' and "/" in header:
                    if not allowed_project(header, folder, project):
                        faults.append(f"{path}: includes {header}, not allowed for {folder}")
                elif kind == "<" and not allowed_system(header, system):
                    faults.append(f"{path}: includes <{header}>, not allowed for {folder}")
    for fault in faults:
        print(fault)
    print(f"{checked} files checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
