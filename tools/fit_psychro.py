#!/usr/bin/env python3
"""Fits the moist-air correlations of src/core/psy/psychro.cpp to the CoolProp
HumidAir reference grid in data/psychro (shared reference data, MIT-licensed
CoolProp 8.0.0 output; see tools/README.md).

At every tabled dry bulb the grid's enthalpy is split into
    h = h_a(t) + W * (h_v0(t) + phi(t) * p_v)
and its volume per kg dry air into a second-virial mixture
    Z = 1 + P/(R T) * [(1-x)^2 B_aa + 2 x (1-x) B_aw + x^2 B_ww].
The per-temperature values are then smoothed into the closed forms printed
below, which the C++ code carries as constants.

Usage: fit_psychro.py PATH/TO/coolprop_sat_101325.csv
"""
import collections
import csv
import sys

import numpy as np

EPS = 18.015268 / 28.966
R = 8.314462618
MA = 28.966e-3


def main(path):
    by_t = collections.defaultdict(list)
    for r in csv.DictReader(open(path)):
        by_t[float(r['Tdb_C'])].append(r)
    ts, ha, hv, phi, baa, baw, bww = [], [], [], [], [], [], []
    for t in sorted(by_t):
        rs = by_t[t]
        w = np.array([float(r['W_kgkg']) for r in rs])
        h = np.array([float(r['h_Jkg_dryair']) for r in rs])
        p = float(rs[0]['P_Pa'])
        pv = p * w / (EPS + w)
        c = np.linalg.lstsq(np.vstack([np.ones_like(w), w, w * pv]).T, h, rcond=None)[0]
        v = np.array([float(r['v_m3kg_dryair']) for r in rs])
        n = (1 / MA) * (1 + w / EPS)
        z = p * v / (n * R * (t + 273.15))
        x = (w / EPS) / (1 + w / EPS)
        bm = (z - 1) * R * (t + 273.15) / p * 1e6
        b = np.linalg.lstsq(np.vstack([(1 - x) ** 2, 2 * x * (1 - x), x ** 2]).T, bm, rcond=None)[0]
        ts.append(t); ha.append(c[0]); hv.append(c[1]); phi.append(c[2])
        baa.append(b[0]); baw.append(b[1]); bww.append(b[2])
    ts = np.array(ts); tk = ts + 273.15
    ha = np.array(ha); hv = np.array(hv); phi = np.array(phi)
    baa = np.array(baa); baw = np.array(baw); bww = np.array(bww)

    a = np.vstack([ts, ts ** 2, ts ** 3]).T
    ca = np.linalg.lstsq(a, ha, rcond=None)[0]
    a = np.vstack([np.ones_like(ts), ts, ts ** 2, ts ** 3]).T
    cv = np.linalg.lstsq(a, hv, rcond=None)[0]
    inv = np.vstack([np.ones_like(tk), 1 / tk, 1 / tk ** 2]).T
    cphi = np.linalg.lstsq(inv, np.log(-phi), rcond=None)[0]
    caa = np.linalg.lstsq(inv, baa, rcond=None)[0]
    caw = np.linalg.lstsq(inv, baw, rcond=None)[0]
    sel = ts >= -10  # B_ww is poorly determined where W is tiny
    cww = np.linalg.lstsq(inv[sel], np.log(-bww[sel]), rcond=None)[0]

    def show(name, c, unit):
        print(f"{name:8s} = {', '.join(f'{x:.10g}' for x in c)}  ({unit})")
    show('h_a', ca / 1000, 'kJ/kg: t, t^2, t^3')
    show('h_v0', cv / 1000, 'kJ/kg: 1, t, t^2, t^3')
    show('ln(-phi)', cphi, 'phi in kJ/kg per kPa: 1, 1/T, 1/T^2')
    show('B_aa', caa, 'cm3/mol: 1, 1/T, 1/T^2')
    show('B_aw', caw, 'cm3/mol: 1, 1/T, 1/T^2')
    show('ln(-B_ww)', cww, 'cm3/mol: 1, 1/T, 1/T^2')


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else '../shared/data/psychro/coolprop_sat_101325.csv')
