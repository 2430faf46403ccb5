#!/usr/bin/env python3
"""check_layers.py [ROOT]: fails on an include that runs against the layers.

Libraries live in lib/, programs in apps/, and both are included from their
root ("gfx/region.h", "zepkit/import.h"). The rules:
- a library includes only itself and the libraries below it (LIBRARY_USES);
- a program includes any library and its own files, never another program's;
- a test under tests/lib/ includes no program; one under tests/apps/P only P's;
- toolkit headers (Qt, <windows.h>) appear only in the window shells, and the
  system's in lib/sys and lib/gfx, which hold all OS-specific code.
Prints one line per broken rule and exits 1 when there is any."""

import pathlib
import re
import sys

# Each library and the libraries it may include, besides itself.
LIBRARY_USES = {
    "sys": set(),
    "grades": set(),
    "gfx": {"sys"},
    "zep": {"gfx", "sys"},
    "picture": {"zep", "gfx", "sys"},
    "animation": {"zep", "gfx", "sys"},
    "export": {"animation", "zep", "gfx", "sys"},
    "practice": {"animation", "zep", "gfx", "sys"},
    "lookup": {"practice", "animation", "zep", "gfx", "sys"},
}
SOURCE_SUFFIXES = {".h", ".cpp"}
QUOTED = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
ANGLED = re.compile(r'^\s*#\s*include\s+<([^>]+)>', re.M)


def is_toolkit(header):
    return header.startswith("Q") or header.lower() == "windows.h"


def toolkit_allowed(rel):
    """The window shells, their tests, the platform layers and the tests' own."""
    parts = rel.parts
    return parts[:2] in (("lib", "sys"), ("lib", "gfx"), ("tests", "support")) or \
        any(part.startswith("shell_") for part in parts)


def allowed_roots(rel):
    """The roots that a file at rel (relative to the tree) may include, or None
    for a file outside the checked folders."""
    parts = rel.parts
    if parts[0] == "lib" and len(parts) > 2:
        return LIBRARY_USES[parts[1]] | {parts[1]}
    if parts[0] == "apps" and len(parts) > 2:
        return set(LIBRARY_USES) | {parts[1]}
    if parts[:2] == ("tests", "lib"):
        return set(LIBRARY_USES) | {"support"}
    if parts[:2] == ("tests", "apps") and len(parts) > 3:
        return set(LIBRARY_USES) | {"support", parts[2]}
    return None


def check(root):
    programs = {p.name for p in (root / "apps").iterdir() if p.is_dir()}
    known = set(LIBRARY_USES) | programs
    faults = [f"lib/{p.name}: not in the layer table" for p in (root / "lib").iterdir()
              if p.is_dir() and p.name not in LIBRARY_USES]
    for top in ("lib", "apps", "tests"):
        for path in sorted((root / top).rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES:
                continue
            rel = path.relative_to(root)
            text = path.read_text(encoding="utf-8")
            for header in ANGLED.findall(text):
                if is_toolkit(header) and not toolkit_allowed(rel):
                    faults.append(f"{rel}: <{header}> outside the window shells and the platform layer")
            if rel.parts[0] == "lib" and rel.parts[1] not in LIBRARY_USES:
                continue
            roots = allowed_roots(rel)
            if roots is None:
                continue
            for header in QUOTED.findall(text):
                if "/" not in header:
                    continue  # a file of the same folder
                first = header.split("/")[0]
                if first in known and first not in roots:
                    faults.append(f'{rel}: includes "{header}", which its layer may not use')
    return faults


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    faults = check(root)
    for fault in faults:
        print(fault)
    print(f"layer rules: {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
