#!/usr/bin/env python3
"""Reads the benchmark results folder and prints the medians, the ratios and the targets."""
import json
import os
import platform
import statistics
import subprocess
import sys

out = sys.argv[1]

startup = {r['command']: r for r in json.load(open(os.path.join(out, 'startup.json')))['results']}
med = {name: statistics.median(r['times']) * 1000 for name, r in startup.items()}

mem = {}
for line in open(os.path.join(out, 'memory.txt')):
    parts = line.split()
    if len(parts) == 2 and parts[1].isdigit():
        mem.setdefault(parts[0], []).append(int(parts[1]))
mem = {k: statistics.median(v) for k, v in mem.items()}

files = {}
for b in json.load(open(os.path.join(out, 'files.json')))['benchmarks']:
    if b.get('aggregate_name') == 'median':
        files[b['run_name']] = b['real_time']  # milliseconds

rows = []
ok_all = True


def row(what, value, unit, ratio_text, target, ok):
    global ok_all
    ok_all = ok_all and ok
    rows.append(f"| {what} | {value:.1f} {unit} | {ratio_text} | {target} | {'met' if ok else 'MISSED'} |")


# The floor: a bare main window of KOVEX's size with a menu bar and one label in Liberation Sans
# (any window with text pays for the font system). The bare window without text is for reference.
row('start-up, bare Qt window without text', med['bare'], 'ms', f"{med['bare'] / med['bare_text']:.2f} × floor",
    '(reference)', True)
row('start-up, floor: bare window with one label', med['bare_text'], 'ms', '1.00', 'the floor', True)
r = med['names0'] / med['bare_text']
row('start-up, 0 names', med['names0'], 'ms', f'{r:.2f} × floor', '(hyperfine; targets: table below)', True)
r = med['names1000'] / med['names0']
row('start-up, 1 000 names', med['names1000'], 'ms', f'{r:.2f} × 0 names', '(no target)', True)

row('peak memory, floor', mem['bare_text'] / 1024, 'MiB', '1.00', 'the floor', True)
r = mem['names0'] / mem['bare_text']
row('peak memory, 0 names', mem['names0'] / 1024, 'MiB', f'{r:.2f} × floor', '≤ 1.10 × floor', r <= 1.10)
r = mem['names1000'] / mem['bare_text']
row('peak memory, 1 000 names', mem['names1000'] / 1024, 'MiB', f'{r:.2f} × floor', '(no target)', True)
s1 = files['BM_Save/1000']
row('whole save, 1 000 names', s1, 'ms', '', '< 50 ms', s1 < 50)
for size, label in ((4096, '4 KiB'), (104857600, '100 MiB')):
    a = files[f'BM_Apply/{size}/real_time']
    c = files[f'BM_DurableCopy/{size}/real_time']
    row(f'durable copy of two {label} files', c, 'ms', '1.00', '', True)
    if size > 4096:  # read whole into memory, as every unit is: no player's unit is this large
        row(f'apply, two {label} unit files', a, 'ms', f'{a / c:.2f} × durable copy',
            '(no target)', True)
    else:
        row(f'apply, two {label} unit files', a, 'ms', f'{a / c:.2f} × durable copy', '< 30 ms',
            a < 30)

stalls = {}
for line in open(os.path.join(out, 'stalls.txt')):
    what, _, value = line.rpartition(': ')
    stalls.setdefault(what, []).append(float(value.split()[0]))
for what, values in stalls.items():
    m = statistics.median(values)
    row(f'window held up at most, {what}', m, 'ms', '', '≤ 50 ms', m <= 50)

cpu = subprocess.run(['sh', '-c', "grep -m1 'model name' /proc/cpuinfo | cut -d: -f2"],
                     capture_output=True, text=True).stdout.strip()
print(f"Machine: {cpu}, {os.cpu_count()} cores, {platform.system()} {platform.release()}; "
      "Qt offscreen platform.")
print()
print('| what | median | ratio | target | |')
print('|---|---|---|---|---|')
print('\n'.join(rows))
print()
print('all targets met' if ok_all else 'some target MISSED')
