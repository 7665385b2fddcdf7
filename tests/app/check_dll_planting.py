#!/usr/bin/env python3
"""DLLs planted beside the exe are not loaded (Wine told to prefer native ones,
as Windows takes them from the exe's folder): the program narrows the DLL
search. uxtheme.dll is loaded by a system DLL once the window opens;
winspool.drv by the print command, which DRIVER asks for ("print"). Each
control, a program that does not narrow its search, must load its plant.

    check_dll_planting.py WINE_RUN DRIVER PLANTED_DLL PROGRAM CONTROL SPOOLER_CONTROL WORK
"""
import os
import shutil
import subprocess
import sys

wine_run, driver, dll, program, control, spooler_control, work = sys.argv[1:8]
failed = False
cases = ((program, "uxtheme.dll", [driver], False), (control, "uxtheme.dll", [driver], True),
         (program, "winspool.drv", [driver], False), (spooler_control, "winspool.drv", [], True))
for exe, planted, run_by, loaded_expected in cases:
    folder = os.path.join(work, planted + "-" + os.path.basename(exe))
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(exe, folder)
    shutil.copy(dll, os.path.join(folder, planted))
    command = [wine_run] + run_by + [os.path.basename(exe)] + (["print"] if planted == "winspool.drv" and run_by else [])
    code = subprocess.run(command, cwd=folder, capture_output=True,
                          env=dict(os.environ, WINEDLLOVERRIDES=planted + "=n,b")).returncode
    loaded = os.path.exists(os.path.join(folder, planted + ".loaded"))
    print(f"{os.path.basename(exe)}: planted {planted} {'' if loaded else 'not '}loaded, exit code {code}")
    failed |= loaded != loaded_expected or (code != 0 and exe == program)
print("dll planting:", "bad" if failed else "ok")
sys.exit(failed)
