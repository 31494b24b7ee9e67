#!/usr/bin/env python3
"""Writes the table of inverse.qn and the file inverse.out: the inverse
trigonometric and hyperbolic functions checked against values computed with
mpmath at high precision.

Run it again (with python3-mpmath installed) after changing the cases; the
generated files are checked in, so the test itself needs no Python.

On a branch cut the reference is evaluated an infinitesimal step off the cut,
on the side that Quarn takes: asin and acos take the cut beyond 1 from below
and the cut below -1 from above; atan gives +pi/2 on both cuts of the
imaginary axis; asinh takes the cut above i from the right and the one below
-i from the left; acosh and atanh take every cut from above.
"""
import os

import mpmath as mp

BEGIN = "cases = // written by inverse_reference.py"
END = "// end of cases"
FUNCS = ["asin", "acos", "atan", "asinh", "acosh", "atanh"]

# (function, x, y): the faults once seen, the sides of every cut, the poles,
# and well-conditioned points both where the closed forms are kept and where
# the stable computation takes over (near 0, far out, huge, the cancelling
# half-planes).
CASES = [
    # reproducers
    ("acosh", -3, 0), ("acosh", -0.0, -1), ("acosh", -1000, 0), ("acosh", -0.5, 1e-20),
    ("asin", -1e8, 0), ("acos", -1e9, 0), ("asin", -1000, 0), ("acos", -1000, 0),
    ("asin", -1e200, 0), ("acos", 3e154, 0), ("asin", 2e154, -1e154), ("acosh", 1e300, 1e300),
    ("asinh", 0, -1e10), ("asinh", -1e200, 3), ("atan", -1, -1e17), ("atan", 0, -1e10),
    ("atanh", -1e17, 1), ("atanh", -1e8, 0),
    ("asin", 1e-8, 1e-8), ("acos", 1e-8, 1e-8), ("atan", 1e-8, 1e-8), ("asinh", 1e-8, 1e-8),
    ("acosh", 1e-8, 1e-8), ("atanh", 1e-8, 1e-8), ("asin", 1e-300, -1e-300),
    ("atan", 0, 1), ("atan", 0, -1), ("atanh", 1, 0), ("atanh", -1, 0),
    ("atanh", 1, 1e-310), ("atan", -1e-310, -1),
    # the side of every cut
    ("asin", 2, 0), ("asin", -2, 0), ("acos", 2, 0), ("acos", -2, 0), ("acos", -5, 0),
    ("atan", 0, 2), ("atan", 0, -2), ("atan", 0, 1e20),
    ("asinh", 0, 2), ("asinh", 0, -2), ("asinh", 0, -30),
    ("acosh", 0.5, 0), ("acosh", -0.5, 0), ("acosh", -2, 0), ("acosh", 0, 0),
    ("atanh", 2, 0), ("atanh", -2, 0), ("atanh", 1e9, 0),
    # real arguments: the series near 0, values whose square overflows
    ("asinh", 1e-4, 0), ("asinh", -5e-4, 0), ("asinh", 1e-9, 0), ("asinh", 30, 0), ("asinh", -3e300, 0),
    ("asinh", 1.7e308, 0), ("atanh", 1e-4, 0), ("atanh", -0.9, 0), ("acosh", 10, 0),
    ("acosh", 1e300, 0),
    # well-conditioned points
    ("asin", 0.3, 0.7), ("asin", -1.5, -2), ("asin", 2, 3), ("asin", -30, 40), ("asin", 0.05, -0.1),
    ("acos", 0.3, 0.7), ("acos", -1.5, -2), ("acos", 2, 3), ("acos", -30, 40), ("acos", 1e3, -2e3),
    ("atan", 0.3, 0.7), ("atan", -1.5, -2), ("atan", 2, 3), ("atan", -3e5, 7e5), ("atan", 0.02, -0.05),
    ("asinh", 0.3, 0.7), ("asinh", -1.5, -2), ("asinh", 2, 3), ("asinh", -30, -40), ("asinh", 40, -30),
    ("acosh", 0.3, 0.7), ("acosh", -1.5, -2), ("acosh", 2, 3), ("acosh", -30, 40), ("acosh", 0.6, -0.2),
    ("atanh", 0.3, 0.7), ("atanh", -1.5, -2), ("atanh", 2, 3), ("atanh", -3e5, 7e5), ("atanh", -0.05, 0.02),
]


def reference(f, x, y):
    mp.mp.dps = 700
    z = mp.mpc(x, y)
    step = mp.mpf(10) ** -600 * max(1, abs(z))
    if f in ("asin", "acos") and y == 0 and abs(x) > 1:
        z = mp.mpc(x, -step if x > 0 else step)
    elif f == "atan" and x == 0 and abs(y) > 1:
        z = mp.mpc(step, y)
    elif f == "asinh" and x == 0 and abs(y) > 1:
        z = mp.mpc(step if y > 0 else -step, y)
    elif f in ("acosh", "atanh") and y == 0:
        z = mp.mpc(x, step)
    if f == "atan" and x == 0 and abs(y) == 1:
        return 0.0, mp.inf if y > 0 else -mp.inf
    if f == "atanh" and y == 0 and abs(x) == 1:
        return mp.inf if x > 0 else -mp.inf, 0.0
    w = getattr(mp, f)(z)
    # Parts below the step's echo are zero.
    parts = []
    for p in (w.real, w.imag):
        parts.append(0.0 if abs(p) < mp.mpf(10) ** -500 * abs(w) else p)
    return parts


def number(v):
    if v == mp.inf: return "inf"
    if v == -mp.inf: return "-inf"
    s = repr(float(v))
    return "-0" if s == "-0.0" else s


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    rows = []
    for f, x, y in CASES:
        re, im = reference(f, x, y)
        rows.append("    [%d, %s, %s, %s, %s]" % (FUNCS.index(f), number(x), number(y), number(re), number(im)))
    path = os.path.join(here, "inverse.qn")
    with open(path) as source:
        text = source.read()
    head, rest = text.split(BEGIN + "\n", 1)
    _, tail = rest.split(END + "\n", 1)
    with open(path, "w") as out:
        out.write(head + BEGIN + "\n" + "\n".join(rows) + ";\n" + END + "\n" + tail)
    with open(os.path.join(here, "inverse.out"), "w") as out:
        out.write("%d results checked, 0 off\n" % len(CASES))


if __name__ == "__main__":
    main()
