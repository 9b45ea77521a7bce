#!/usr/bin/env python3
"""Whole-process and start-up ratios, measured side by side.

For each build tree (configured with -DRALVO_BUILD_BENCHMARKS=ON) given,
runs these alternately, in one interleaved loop, and prints medians:

  text     `ralvo-schedule text` to standard output against startup_core, a
           trivial QCoreApplication program (wall and CPU ratio); and the
           same with -o FILE ("text-o"), whose wall time adds the checked
           writer's two fsyncs and rename, which are the disk's, not the start-up's
  png      `ralvo-schedule page -o x.png` at A4 600 dpi (wall time, peak
           resident memory)
  window   startup_app (exec until the main window is painted) against
           startup_minimal, a Qt Widgets window with a menu and status bar;
           and startup_app_ready (exec until all eleven windows exist: the ten
           made right after the main window's first paint) against the same
  fonts    startup_app_ready with 25 Japanese font families installed against
           the same with the machine's 4 (IPA Gothic, P Gothic, Mincho, P
           Mincho); the settings dialog, made after the first paint, builds
           the font lists

"window" and "fonts" need a display: run under xvfb-run, e.g.

  xvfb-run -a -s "-screen 0 1280x1024x24" scripts/process-bench.py \\
      --runs 30 build/bench [OTHER-TREE...]

The 21 further families come from Debian's font packages, downloaded (not
installed) with `apt-get download` into --font-cache (default
~/.cache/ralvo-bench-fonts) on first use and unpacked there; a private
fontconfig file adds them to the machine's configuration for the "25" runs
only. --only text,png limits the measures. Every run has an empty,
temporary HOME (first-run settings).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

FONT_PACKAGES = ["fonts-horai-umefont", "fonts-ipaexfont-gothic", "fonts-ipaexfont-mincho",
                 "fonts-migmix", "fonts-sawarabi-gothic", "fonts-konatu"]
EXTRA_FAMILIES = 21
TEXT_ARGS = ["text", "--defaults", "--basis", "0", "--year", "2024", "--month", "1",
             "--day", "1", "--cycle", "28", "--utf8"]
PAGE_ARGS = ["page", "--defaults", "--basis", "0", "--year", "2024", "--month", "1",
             "--day", "1", "--cycle", "28", "--name", "サンプル"]


def run_once(command, env):
    """Wall ms, CPU ms and peak resident KiB of one run of `command`."""
    start = time.perf_counter()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(process.pid, 0)
    wall = time.perf_counter() - start
    process.returncode = os.waitstatus_to_exitcode(status)
    error = process.stderr.read().decode(errors="replace")
    process.stderr.close()
    if process.returncode != 0:
        sys.exit(f"{' '.join(command)} exited {process.returncode}: {error.strip()}")
    return wall * 1000, (usage.ru_utime + usage.ru_stime) * 1000, usage.ru_maxrss


def family_files(root):
    """Font files under `root` and the Japanese families of each (fc-scan)."""
    out = subprocess.run(["fc-scan", "--format", "%{file}\t%{family[0]}\t%{lang}\n", root],
                         check=True, capture_output=True, text=True).stdout
    files = {}
    for line in out.splitlines():
        path, family, langs = (line.split("\t") + ["", ""])[:3]
        if "ja" in langs.split("|"):
            files.setdefault(path, set()).add(family)
    return files


def extra_font_dir(cache, work):
    """A folder of font files holding EXTRA_FAMILIES Japanese families."""
    unpacked = os.path.join(cache, "root")
    if not os.path.isdir(unpacked):
        debs = os.path.join(cache, "debs")
        os.makedirs(debs, exist_ok=True)
        subprocess.run(["apt-get", "download"] + FONT_PACKAGES, cwd=debs, check=True,
                       stdout=subprocess.DEVNULL)
        for deb in sorted(os.listdir(debs)):
            subprocess.run(["dpkg-deb", "-x", os.path.join(debs, deb), unpacked], check=True)
    chosen = os.path.join(work, "fonts")
    os.makedirs(chosen)
    families = set()
    for path, names in sorted(family_files(unpacked).items()):
        if len(families) >= EXTRA_FAMILIES:
            break
        if names - families and len(families | names) <= EXTRA_FAMILIES:
            families |= names
            os.symlink(path, os.path.join(chosen, os.path.basename(path)))
    if len(families) != EXTRA_FAMILIES:
        sys.exit(f"only {len(families)} further Japanese families found in {unpacked}")
    return chosen


def font_config(work, name, extra_dir):
    """A fontconfig file: the machine's configuration, a cache of its own and
    optionally `extra_dir`; its caches are built before any timing."""
    path = os.path.join(work, name + ".conf")
    extra = f"<dir>{extra_dir}</dir>" if extra_dir else ""
    with open(path, "w") as conf:
        conf.write(f'<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n'
                   f"<fontconfig><include ignore_missing=\"no\">/etc/fonts/fonts.conf</include>"
                   f"{extra}<cachedir>{os.path.join(work, name + '-cache')}</cachedir></fontconfig>\n")
    env = dict(os.environ, FONTCONFIG_FILE=path)
    subprocess.run(["fc-cache"], env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("trees", nargs="+", help="build trees; the first is the one measured")
    parser.add_argument("--runs", type=int, default=20)
    parser.add_argument("--only", default="text,png,window,fonts")
    parser.add_argument("--font-cache", default=os.path.expanduser("~/.cache/ralvo-bench-fonts"))
    args = parser.parse_args()
    measures = set(args.only.split(","))
    if not os.environ.get("DISPLAY") and measures & {"window", "fonts"}:
        print("no display: window and fonts skipped (run under xvfb-run)")
        measures -= {"window", "fonts"}

    with tempfile.TemporaryDirectory() as work:
        home = os.path.join(work, "home")
        os.makedirs(home, mode=0o700)
        env = dict(os.environ, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_RUNTIME_DIR=home)
        env.pop("QT_QPA_PLATFORM", None)
        png = os.path.join(work, "x.png")
        probes = {}  # name -> (command, env)
        for i, tree in enumerate(args.trees):
            tag = "" if i == 0 else f"@{tree}"
            bench = os.path.join(tree, "benchmarks")
            tool = next((p for p in (os.path.join(tree, "app", "ralvo-schedule"),
                                     os.path.join(tree, "ralvo-schedule")) if os.path.exists(p)),
                        os.path.join(tree, "app", "ralvo-schedule"))
            if "text" in measures:
                probes["core" + tag] = ([os.path.join(bench, "startup_core")], env)
                probes["text" + tag] = ([tool] + TEXT_ARGS, env)
                probes["text-o" + tag] = ([tool] + TEXT_ARGS + ["-o", os.path.join(work, "x.txt")], env)
            if "png" in measures:
                probes["png" + tag] = ([tool] + PAGE_ARGS + ["-o", png], env)
            if "window" in measures:
                probes["minimal" + tag] = ([os.path.join(bench, "startup_minimal")], env)
                probes["app" + tag] = ([os.path.join(bench, "startup_app")], env)
                if os.path.exists(os.path.join(bench, "startup_app_ready")):
                    probes["ready" + tag] = ([os.path.join(bench, "startup_app_ready")], env)
        if "fonts" in measures:
            four = font_config(work, "four", None)
            many = font_config(work, "many", extra_font_dir(args.font_cache, work))
            for i, tree in enumerate(args.trees):
                tag = "" if i == 0 else f"@{tree}"
                # Trees from before the windows were made after the first
                # paint have only startup_app, which then made them all.
                ready = os.path.join(tree, "benchmarks", "startup_app_ready")
                app = [ready if os.path.exists(ready) else os.path.join(tree, "benchmarks", "startup_app")]
                probes["fonts4" + tag] = (app, dict(env, FONTCONFIG_FILE=four))
                probes["fonts25" + tag] = (app, dict(env, FONTCONFIG_FILE=many))

        for command, probe_env in probes.values():  # warm the caches
            run_once(command, probe_env)
        results = {name: [] for name in probes}
        for _ in range(args.runs):
            for name, (command, probe_env) in probes.items():
                results[name].append(run_once(command, probe_env))

    print(f"load average {os.getloadavg()[0]:.2f}; {args.runs} interleaved runs each")
    med = {}
    for name, runs in results.items():
        wall = statistics.median(r[0] for r in runs)
        cpu = statistics.median(r[1] for r in runs)
        rss = max(r[2] for r in runs) / 1024
        med[name] = (wall, cpu)
        print(f"{name:40} wall {wall:7.1f} ms (min {min(r[0] for r in runs):7.1f})  "
              f"cpu {cpu:7.1f} ms  peak {rss:6.1f} MB")
    for i, tree in enumerate(args.trees):
        tag = "" if i == 0 else f"@{tree}"
        print(f"-- {tree}")
        for top, bottom, label in (("text", "core", "text / QCoreApplication"),
                                   ("text-o", "core", "text -o FILE / QCoreApplication"),
                                   ("app", "minimal", "launch→painted / minimal window"),
                                   ("ready", "minimal", "launch→all windows / minimal window"),
                                   ("fonts25", "fonts4", "start-up 25 / 4 Japanese families")):
            if top + tag in med and bottom + tag in med:
                (tw, tc), (bw, bc) = med[top + tag], med[bottom + tag]
                print(f"   {label:36} wall {tw / bw:5.2f}x  cpu {tc / bc:5.2f}x")
        if "png" + tag in med:
            print(f"   {'page -o x.png (A4, 600 dpi)':36} wall {med['png' + tag][0]:7.1f} ms")


if __name__ == "__main__":
    main()
