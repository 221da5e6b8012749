#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Two-sided distance between each SPLINE of a converted DXF file and the
LWPOLYLINE that follows it (a conversion with the splines kept).

The spline is evaluated independently with scipy's BSpline on its domain
[t[p], t[n]] (homogeneous coordinates for the weights); the polyline is drawn
from its vertices and bulges, closing segment included. Both are sampled with
a spacing of at most h, so each reported distance is at most h above the true
one.

Usage: spline_distance.py FILE.dxf...
Prints one line per spline, counted from 0 in each file:
  <file> <index> control <distance> <h>   a spline with control points
  <file> <index> <other kind> - -         fit points only, no domain, ...
Exit status 2 when numpy or scipy is missing.
"""
import math
import sys

try:
    import numpy as np
    from scipy.interpolate import BSpline
    from scipy.spatial import cKDTree
except ImportError:
    sys.exit(2)


def pairs(path):
    with open(path, "rb") as f:
        data = f.read()
    cut = data.find(b"\x1a")
    if cut >= 0:
        data = data[:cut]
    lines = [line.rstrip(b"\r") for line in data.split(b"\n")]
    for i in range(0, len(lines) - 1, 2):
        yield lines[i].strip(), lines[i + 1]


def number(value):
    try:
        return float(value.strip())
    except ValueError:
        return None


def integer(value):
    try:
        return int(value.strip())
    except ValueError:
        return None


def entities(path):
    """(kind, groups) for every entity, groups as (code, value) bytes."""
    current = None
    for code, value in pairs(path):
        if code == b"0":
            if current is not None:
                yield current
            current = (value.strip(), [])
        elif current is not None:
            current[1].append((code, value))
    if current is not None:
        yield current


def read_spline(groups):
    degree, knots, controls, fits, weights = 3, [], [], [], []
    closed = False
    for code, value in groups:
        if code == b"71":
            v = integer(value)
            degree = degree if v is None else v
        elif code == b"70":
            v = integer(value)
            closed = closed if v is None else bool(v & 1)
        elif code == b"40":
            v = number(value)
            if v is not None:
                knots.append(v)
        elif code == b"10":
            v = number(value)
            if v is not None:
                controls.append([v, 0.0, 1.0])
        elif code == b"20" and controls:
            v = number(value)
            if v is not None:
                controls[-1][1] = v
        elif code == b"41":
            v = number(value)
            if v is not None:
                weights.append(v)
                if controls:
                    controls[-1][2] = v
        elif code == b"11":
            v = number(value)
            if v is not None:
                fits.append(v)
    # One weight per control point: the k-th belongs to the k-th point,
    # whether the writer put them after each point or in one block.
    if weights and len(weights) == len(controls):
        for c, w in zip(controls, weights):
            c[2] = w
    return degree, knots, controls, fits, closed


def read_polyline(groups):
    vertices, closed = [], False
    for code, value in groups:
        if code == b"70":
            v = integer(value)
            closed = closed or (v is not None and bool(v & 1))
        elif code == b"10":
            vertices.append([number(value), 0.0, 0.0])
        elif code == b"20":
            vertices[-1][1] = number(value)
        elif code == b"42":
            vertices[-1][2] = number(value)
    return vertices, closed


def uniform_knots(n, k):
    return [0.0 if j < k else (float(j - k + 1) if j <= n - 1 else float(n - k + 1))
            for j in range(n + k)]


def spline_points(degree, knots, controls, h):
    n = len(controls)
    if degree < 0 or degree >= n:
        return None
    if len(knots) != n + degree + 1:
        knots = uniform_knots(n, degree + 1)
    t = np.array(knots)
    if np.any(np.diff(t) < 0):
        return None
    c = np.array(controls)
    homogeneous = np.column_stack([c[:, 0] * c[:, 2], c[:, 1] * c[:, 2], c[:, 2]])
    curve = BSpline(t, homogeneous, degree, extrapolate=False)
    lo, hi = t[degree], t[n]
    if not hi > lo:
        return None
    # The curve has no point at t[n] itself (and none at all there when the
    # last knot interval is empty): its end is the limit from the left.
    hi = hi - (hi - lo) * 1e-12

    def evaluate(u):
        p = curve(u)
        good = np.isfinite(p).all(axis=1) & (np.abs(p[:, 2]) > 1e-300)
        return p[good, :2] / p[good, 2:3]

    # A coarse pass over the domain and every knot inside it, then each
    # interval cut so finely that neighbouring samples are about h apart.
    coarse = np.unique(np.concatenate([np.linspace(lo, hi, min(4001, 50 * n + 1)),
                                       t[(t > lo) & (t < hi)]]))
    p = curve(coarse)
    xy = p[:, :2] / p[:, 2:3]
    step = np.hypot(*np.diff(xy, axis=0).T)
    step = np.where(np.isfinite(step), step, 0.0)
    pieces = np.clip(np.ceil(step / h), 1, 100000).astype(np.int64)
    if pieces.sum() > 3_000_000:
        pieces = np.maximum(1, (pieces * (3_000_000 / pieces.sum())).astype(np.int64))
    starts = np.repeat(coarse[:-1], pieces)
    widths = np.repeat(coarse[1:] - coarse[:-1], pieces)
    first = np.repeat(np.cumsum(pieces) - pieces, pieces)
    fraction = (np.arange(pieces.sum()) - first) / np.repeat(pieces, pieces)
    u = np.concatenate([starts + widths * fraction, [hi]])
    return evaluate(u)


def polyline_points(vertices, closed, h):
    segments = list(zip(vertices, vertices[1:]))
    if closed and len(vertices) > 1:
        segments.append((vertices[-1], vertices[0]))
    out = [np.array([[vertices[0][0], vertices[0][1]]])] if vertices else []
    for (x1, y1, bulge), (x2, y2, _) in segments:
        chord = math.hypot(x2 - x1, y2 - y1)
        if chord == 0.0:
            continue
        if bulge == 0.0:
            m = max(1, min(200000, math.ceil(chord / h)))
            s = np.linspace(0, 1, m + 1)[1:]
            out.append(np.column_stack([x1 + (x2 - x1) * s, y1 + (y2 - y1) * s]))
            continue
        # The arc of included angle 4 atan(bulge), counter-clockwise for a
        # positive bulge, from the first vertex to the second.
        angle = 4.0 * math.atan(bulge)
        radius = chord / (2.0 * math.sin(abs(angle) / 2.0))
        mx, my = (x1 + x2) / 2.0, (y1 + y2) / 2.0
        nx, ny = -(y2 - y1) / chord, (x2 - x1) / chord
        offset = radius * math.cos(abs(angle) / 2.0) * (1 if bulge > 0 else -1)
        # Centre: for a bulge below 1 on the left of the chord when positive.
        if abs(bulge) > 1:
            offset = -offset
        cx, cy = mx + nx * offset, my + ny * offset
        start = math.atan2(y1 - cy, x1 - cx)
        m = max(1, min(200000, math.ceil(abs(angle) * radius / h)))
        s = np.linspace(0, 1, m + 1)[1:]
        a = start + angle * s
        out.append(np.column_stack([cx + radius * np.cos(a), cy + radius * np.sin(a)]))
    return np.concatenate(out) if out else None


def measure(path):
    items = list(entities(path))
    index = 0
    for i, (kind, groups) in enumerate(items):
        if kind != b"SPLINE":
            continue
        degree, knots, controls, fits, _ = read_spline(groups)
        follower = items[i + 1] if i + 1 < len(items) else (b"", [])
        if not controls:
            print(path, index, "fit" if fits else "empty", "-", "-")
        elif follower[0] != b"LWPOLYLINE":
            print(path, index, "nopolyline", "-", "-")
        else:
            vertices, closed = read_polyline(follower[1])
            size = max(1.0, float(np.ptp(np.array(controls)[:, :2], axis=0).max()))
            # Sampling fine against the 1-unit limit, and against the size.
            h = min(0.01, size / 2000.0) if size < 1e4 else size / 1e6
            try:
                curve = spline_points(degree, knots, controls, h)
            except ValueError:  # a knot vector scipy does not take
                curve = None
            if curve is None or len(curve) == 0:
                print(path, index, "nodomain", "-", "-")
            elif not vertices:
                print(path, index, "novertices", "-", "-")
            else:
                line = polyline_points(vertices, closed, h)
                d1 = cKDTree(line).query(curve)[0].max()
                d2 = cKDTree(curve).query(line)[0].max()
                print(path, index, "control", repr(float(max(d1, d2))), repr(h))
        index += 1


if __name__ == "__main__":
    for name in sys.argv[1:]:
        measure(name)
