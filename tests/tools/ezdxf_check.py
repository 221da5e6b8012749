#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Converts DXF files with tessarin-cli and reads every output with ezdxf.

For each input, with the splines replaced and with them kept, it checks that
the conversion exits with 0, that ezdxf loads the output, that audit()
reports no error the input did not already have, and that there is one new
LWPOLYLINE per input SPLINE, on the spline's layer and with its owner.

Usage: ezdxf_check.py CLI OUTDIR FILE_OR_FOLDER...
Exit status 0 all good, 1 a check failed, 77 skipped (ezdxf or the files
are missing).
"""
import collections
import os
import subprocess
import sys

SKIP = 77

try:
    import ezdxf
    from ezdxf import recover
except ImportError:
    print("SKIPPED: python3-ezdxf is not installed (apt-get install python3-ezdxf)")
    sys.exit(SKIP)


def load(path):
    """Strict loading where ezdxf manages it, else its recovering loader."""
    try:
        return ezdxf.readfile(path), "strict"
    except ezdxf.DXFStructureError:
        doc, _ = recover.readfile(path)
        return doc, "recover"


def audit_errors(doc):
    auditor = doc.audit()
    return collections.Counter((e.code, e.message) for e in auditor.errors)


def entities(doc, dxftype):
    return [e for e in doc.entitydb.values() if e.dxftype() == dxftype]


def raw_pairs(path):
    """The file's group pairs, trimmed, by the converter's own line rules."""
    with open(path, "rb") as f:
        data = f.read().split(b"\x1a")[0]
    lines = [line.replace(b"\r", b"").strip() for line in data.split(b"\n")]
    return list(zip(lines[0::2], lines[1::2]))


def first_handles(path, dxftype):
    """The handle of every entity of a type, in file order; None where an
    entity has none."""
    handles, current = [], False
    for code, value in raw_pairs(path):
        if code == b"0":
            if current:
                handles.append(None)
            current = value == dxftype
        elif current and code == b"5":
            handles.append(value.decode("ascii"))
            current = False
    if current:
        handles.append(None)
    return handles


def written_polylines(source, target):
    """Handles of the LWPOLYLINEs the converter wrote: those whose handle the
    input does not hold (ezdxf invents handles for files that have none)."""
    known = {value.upper() for code, value in raw_pairs(source) if code == b"5"}
    return [h for h in first_handles(target, b"LWPOLYLINE")
            if h is not None and h.upper().encode("ascii") not in known]


def check(cli, source, outdir, keep):
    name = os.path.basename(source)
    target = os.path.join(outdir, ("kept-" if keep else "") + name)
    args = [cli, source, target] + (["1", "1", "10", "1000", "TRUE"] if keep else [])
    run = subprocess.run(args, capture_output=True, text=True)
    if run.returncode != 0:
        return [f"exit status {run.returncode}: {run.stderr.strip()}"]
    problems = []
    before, mode = load(source)
    try:
        after = ezdxf.readfile(target) if mode == "strict" else recover.readfile(target)[0]
    except Exception as error:  # noqa: BLE001 - any failure to load is the finding
        return [f"ezdxf cannot load the output: {error}"]
    spline_handles = first_handles(source, b"SPLINE")
    if spline_handles and None not in spline_handles:
        splines = [before.entitydb[handle] for handle in spline_handles]
    else:  # ezdxf invented the handles; its order is the file's then
        splines = entities(before, "SPLINE")
    new = [after.entitydb[handle] for handle in written_polylines(source, target)]
    if len(new) != len(splines):
        problems.append(f"{len(splines)} splines but {len(new)} new polylines")
    kept = len(entities(after, "SPLINE"))
    if kept != (len(splines) if keep else 0):
        problems.append(f"{kept} splines left in the output")
    for spline, polyline in zip(splines, new):
        if polyline.dxf.layer != spline.dxf.layer:
            problems.append(f"polyline {polyline.dxf.handle} on layer {polyline.dxf.layer!r}, "
                            f"spline {spline.dxf.handle} on {spline.dxf.layer!r}")
        if spline.dxf.hasattr("owner") and polyline.dxf.owner != spline.dxf.owner:
            problems.append(f"polyline {polyline.dxf.handle} owned by {polyline.dxf.owner}, "
                            f"spline by {spline.dxf.owner}")
    extra = audit_errors(after) - audit_errors(before)
    for (code, message), count in extra.items():
        problems.append(f"new audit error {code} ({count}x): {message}")
    return problems


def main():
    if len(sys.argv) < 4:
        print(__doc__)
        return 2
    cli, outdir, places = sys.argv[1], sys.argv[2], sys.argv[3:]
    files = []
    for place in places:
        if os.path.isdir(place):
            files += sorted(os.path.join(place, f) for f in os.listdir(place)
                            if f.lower().endswith(".dxf"))
        elif os.path.isfile(place):
            files.append(place)
    if not files:
        print(f"SKIPPED: no DXF files in {' '.join(places)}")
        return SKIP
    os.makedirs(outdir, exist_ok=True)
    failed = 0
    for source in files:
        for keep in (False, True):
            problems = check(cli, source, outdir, keep)
            label = f"{os.path.basename(source)}{' (splines kept)' if keep else ''}"
            if problems:
                failed += 1
                print(f"FAIL {label}")
                for problem in problems:
                    print(f"     {problem}")
            else:
                print(f"ok   {label}")
    print(f"{len(files)} files, {failed} failed checks")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
