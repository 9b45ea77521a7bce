#!/usr/bin/env python3
"""Times the application's start-up against a minimal Qt window.

Runs the three probes of benchmarks/startup (built in a tree configured with
-DRALVO_BUILD_BENCHMARKS=ON) alternately, each from exec until its window is
shown (startup_app_ready: until the application's other ten windows, made
after the main window's first paint, exist too), and prints the median
wall-clock and CPU times. Needs a display: run
it under xvfb-run, e.g.

  xvfb-run -a -s "-screen 0 1280x1024x24" scripts/startup-bench.py build/bench 40

Further build trees after the count (e.g. one of an older commit) add their
startup_app to the same interleaved runs, for a side-by-side comparison.
The probes run with an empty, temporary HOME (first-run settings).
"""
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time


def run_once(program, env):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run([program], env=env, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall * 1000, cpu * 1000


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/bench"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    probes = {name: os.path.join(build, "benchmarks", name)
              for name in ("startup_minimal", "startup_app", "startup_app_ready")}
    for other in sys.argv[3:]:
        probes[f"app@{other}"] = os.path.join(other, "benchmarks", "startup_app")
    results = {name: ([], []) for name in probes}
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=home)
        env.pop("QT_QPA_PLATFORM", None)
        for name, program in probes.items():  # warm the caches
            run_once(program, env)
        for _ in range(runs):
            for name, program in probes.items():
                wall, cpu = run_once(program, env)
                results[name][0].append(wall)
                results[name][1].append(cpu)
    print(f"load average: {os.getloadavg()[0]:.2f}, runs: {runs} each, interleaved")
    medians = {}
    for name, (walls, cpus) in results.items():
        medians[name] = statistics.median(walls)
        print(f"{name:24} wall median {statistics.median(walls):6.1f} ms "
              f"(min {min(walls):6.1f})  cpu median {statistics.median(cpus):6.1f} ms")
    for name in ("startup_app", "startup_app_ready"):
        print(f"ratio {name}/minimal (wall medians): "
              f"{medians[name] / medians['startup_minimal']:.2f}")


if __name__ == "__main__":
    main()
