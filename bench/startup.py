#!/usr/bin/env python3
"""Start-up against its floor (a bare window of KOVEX's size with a menu bar and one label), and
KOVEX with 0 and 1 000 names, interleaved, 41 rounds after 3 warm-up rounds: medians of the
time from process start until the window is up (the program writes that moment, on the
monotonic clock; its exit is not counted) and of peak memory (maxrss). PLATFORM xvfb: on a real X server, until
the main window is mapped and exposed, as a user sees it; offscreen: until it has been shown;
bundle: on Xvfb, KOVEX with 0 names linked to Debian's Qt against the same in the unpacked Linux
bundle (BUNDLE_DIR, holding a copy of startup_kovex), on its own Qt and fonts.
Usage: bench/startup.py xvfb|offscreen|bundle BUILD_BENCH_DIR WORK_DIR [BUNDLE_DIR] (run.sh)."""
import os
import statistics
import subprocess
import sys
import time

platform, bench, work = sys.argv[1], sys.argv[2], sys.argv[3]
visible = ['visible'] if platform != 'offscreen' else []
env = dict(os.environ)
xvfb = None
if platform != 'offscreen':
    env['DISPLAY'] = os.environ.get('KOVEX_BENCH_DISPLAY', ':97')
    env.pop('QT_QPA_PLATFORM', None)
    xvfb = subprocess.Popen(['Xvfb', env['DISPLAY'], '-screen', '0', '1280x1024x24', '-nolisten',
                             'tcp'], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(1.5)
else:
    env['QT_QPA_PLATFORM'] = 'offscreen'
cases = {
    'floor': [f'{bench}/startup_bare_window', 'text'] + visible,
    'names0': [f'{bench}/startup_kovex', f'{work}/n0'] + visible,
    'names1000': [f'{bench}/startup_kovex', f'{work}/n1000'] + visible,
}
if platform == 'bundle':
    cases = {
        'floor': [f'{bench}/startup_kovex', f'{work}/n0'] + visible,
        'bundle': [f'{sys.argv[4]}/startup_kovex', sys.argv[4]] + visible,
    }
ROUNDS = 41
times = {c: [] for c in cases}
memory = {c: [] for c in cases}
try:
    for rnd in range(ROUNDS + 3):
        for case, cmd in cases.items():
            start = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
            p = subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            out = p.stdout.read().decode()
            _, status, usage = os.wait4(p.pid, 0)
            shown = [int(line.split()[1]) for line in out.splitlines() if line.startswith('visible ')]
            if status != 0 or not shown:
                sys.exit(f'{case} failed: {status}')
            if rnd >= 3:  # warm-up rounds
                times[case].append((shown[0] - start) / 1e6)
                memory[case].append(usage.ru_maxrss / 1024)
finally:
    if xvfb:
        xvfb.terminate()
t = {c: statistics.median(v) for c, v in times.items()}
m = {c: statistics.median(v) for c, v in memory.items()}
if platform == 'bundle':
    r, rm = t['bundle'] / t['floor'], m['bundle'] / m['floor']
    print(f"| Xvfb, start-up linked to Debian's Qt, 0 names | {t['floor']:.1f} ms | 1.00 | | |")
    print(f"| Xvfb, start-up of the Linux bundle, 0 names | {t['bundle']:.1f} ms | {r:.2f} × Debian's | | |")
    print(f"| Xvfb, peak memory of the Linux bundle | {m['bundle']:.1f} MiB | {rm:.2f} × Debian's | | |")
    sys.exit(0)
r0, rm, r1000 = t['names0'] / t['floor'], m['names0'] / m['floor'], t['names1000'] / t['names0']
P = 'Xvfb' if platform == 'xvfb' else 'offscreen'
print(f"| {P}, start-up, floor | {t['floor']:.1f} ms | 1.00 | the floor | |")
print(f"| {P}, 0 names | {t['names0']:.1f} ms | {r0:.2f} × floor | ≤ 1.10 × floor | {'met' if r0 <= 1.10 else 'MISSED'} |")
print(f"| {P}, 1 000 names | {t['names1000']:.1f} ms | {r1000:.2f} × 0 names | ≤ 1.3 × 0 names | {'met' if r1000 <= 1.3 else 'MISSED'} |")
print(f"| {P}, peak memory, floor | {m['floor']:.1f} MiB | 1.00 | the floor | |")
print(f"| {P}, peak memory, 0 names | {m['names0']:.1f} MiB | {rm:.2f} × floor | ≤ 1.10 × floor | {'met' if rm <= 1.10 else 'MISSED'} |")
