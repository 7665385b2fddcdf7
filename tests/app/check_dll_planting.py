#!/usr/bin/env python3
"""A DLL planted beside the exe under the name of one that a system DLL loads
once the window opens (uxtheme.dll) is not loaded: the program narrows the DLL
search to System32 first thing at its entry. Each exe runs from a folder of its
own, beside the planted DLL, and is started, shown and closed by DRIVER; Wine
is told to prefer a native uxtheme.dll, as Windows, which has no built-in one,
would take it from the exe's folder. The DLL leaves a marker when loaded. The
control, a bare window without the narrowing, must leave one, or the test would
prove nothing.

    check_dll_planting.py WINE_RUN DRIVER PLANTED_DLL PROGRAM CONTROL WORK
"""
import os
import shutil
import subprocess
import sys

PLANTED_NAME = "uxtheme.dll"


def run_beside_planted_dll(wine_run, driver, dll, exe, folder):
    """The driver's exit code and whether the planted DLL was loaded."""
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(exe, folder)
    shutil.copy(dll, os.path.join(folder, PLANTED_NAME))
    env = dict(os.environ, WINEDLLOVERRIDES=PLANTED_NAME[:-4] + "=n,b")
    code = subprocess.run([wine_run, driver, os.path.basename(exe)], cwd=folder, env=env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode
    return code, os.path.exists(os.path.join(folder, PLANTED_NAME + ".loaded"))


def main():
    wine_run, driver, dll, program, control, work = sys.argv[1:7]
    failures = []
    for name, exe, loaded_expected in (("program", program, False), ("control", control, True)):
        code, loaded = run_beside_planted_dll(wine_run, driver, dll, exe, os.path.join(work, name))
        print(f"{name}: planted {PLANTED_NAME} {'loaded' if loaded else 'not loaded'}, "
              f"exit code {code}")
        if code != 0:
            failures.append(f"{name} did not open and close its window (exit code {code})")
        if loaded != loaded_expected:
            failures.append(f"{name}: planted {PLANTED_NAME} "
                            f"{'loaded' if loaded else 'not loaded, so the test proves nothing'}")
    for failure in failures:
        print("FAIL:", failure)
    print("dll planting:", "bad" if failures else "ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
