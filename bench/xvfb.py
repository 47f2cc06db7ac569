#!/usr/bin/env python3
"""Time to a visible main window on a real X server (Xvfb), as a user sees it: from process
start until the window is mapped and exposed. Runs the floor (a bare window with a menu bar and
one label) and KOVEX with 0 and 100 000 names interleaved, 21 rounds, and prints medians of time
and of peak memory (maxrss). Usage: bench/xvfb.py BUILD_BENCH_DIR WORK_DIR (run by run.sh)."""
import os
import statistics
import subprocess
import sys
import time

bench, work = sys.argv[1], sys.argv[2]
env = dict(os.environ, DISPLAY=os.environ.get('KOVEX_BENCH_DISPLAY', ':97'))
env.pop('QT_QPA_PLATFORM', None)
xvfb = subprocess.Popen(['Xvfb', env['DISPLAY'], '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
time.sleep(1.5)
cases = {
    'floor': [f'{bench}/startup_bare_window', 'text', 'visible'],
    'names0': [f'{bench}/startup_kovex', f'{work}/n0', 'visible'],
    'names100000': [f'{bench}/startup_kovex', f'{work}/n100000', 'visible'],
}
times = {c: [] for c in cases}
memory = {c: [] for c in cases}
try:
    for rnd in range(24):
        for case, cmd in cases.items():
            start = time.perf_counter()
            p = subprocess.Popen(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            _, status, usage = os.wait4(p.pid, 0)
            elapsed = time.perf_counter() - start
            if status != 0:
                sys.exit(f'{case} failed: {status}')
            if rnd >= 3:  # warm-up rounds
                times[case].append(elapsed * 1000)
                memory[case].append(usage.ru_maxrss / 1024)
finally:
    xvfb.terminate()
t = {c: statistics.median(v) for c, v in times.items()}
m = {c: statistics.median(v) for c, v in memory.items()}
r0, rm, r100 = t['names0'] / t['floor'], m['names0'] / m['floor'], t['names100000'] / t['names0']
print(f"| Xvfb, start-up to a visible window, floor | {t['floor']:.1f} ms | 1.00 | the floor | |")
print(f"| Xvfb, 0 names | {t['names0']:.1f} ms | {r0:.2f} × floor | ≤ 1.10 × floor | {'met' if r0 <= 1.10 else 'MISSED'} |")
print(f"| Xvfb, 100 000 names | {t['names100000']:.1f} ms | {r100:.2f} × 0 names | ≤ 1.3 × 0 names | {'met' if r100 <= 1.3 else 'MISSED'} |")
print(f"| Xvfb, peak memory, floor | {m['floor']:.1f} MiB | 1.00 | the floor | |")
print(f"| Xvfb, peak memory, 0 names | {m['names0']:.1f} MiB | {rm:.2f} × floor | ≤ 1.10 × floor | {'met' if rm <= 1.10 else 'MISSED'} |")
