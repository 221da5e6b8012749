#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Writes bracket.dxf, the bundled example: a bracket outline whose curved
# edges are splines (cubic, rational, closed and fit-point forms) between
# straight lines, as a CAD program would export it for a cutter.
import math

import ezdxf

doc = ezdxf.new("R2000")
doc.layers.add("KONTUR", color=7)
doc.layers.add("BOHRUNG", color=1)
msp = doc.modelspace()

# Straight edges of the outline.
msp.add_line((0, 0), (120, 0), dxfattribs={"layer": "KONTUR"})
msp.add_line((120, 0), (120, 30), dxfattribs={"layer": "KONTUR"})
msp.add_line((0, 60), (0, 0), dxfattribs={"layer": "KONTUR"})

# The curved top edge: a clamped cubic through its control polygon.
msp.add_open_spline(
    [(120, 30), (100, 32), (85, 70), (55, 75), (30, 40), (10, 62), (0, 60)],
    degree=3, dxfattribs={"layer": "KONTUR"})

# A hole: a full circle as a closed rational quadratic spline (nine points).
w = math.sqrt(0.5)
cx, cy, r = 30.0, 20.0, 8.0
ring = [(1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1), (0, -1), (1, -1), (1, 0)]
msp.add_rational_spline(
    [(cx + r * x, cy + r * y) for x, y in ring],
    weights=[1, w, 1, w, 1, w, 1, w, 1], degree=2,
    knots=[0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4],
    dxfattribs={"layer": "BOHRUNG"})

# A slot drawn through fit points only.
spline = msp.add_spline(dxfattribs={"layer": "BOHRUNG"})
spline.fit_points = [(70, 15), (80, 22), (92, 18), (100, 10)]

doc.header["$INSUNITS"] = 4  # millimetres
doc.saveas("bracket.dxf")
