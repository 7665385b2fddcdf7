#!/usr/bin/env python3
"""A DLL planted beside the exe as uxtheme.dll, which a system DLL loads once the
window opens, is not loaded (Wine told to prefer a native one, as Windows takes
it from the exe's folder): the program narrows the DLL search. The control, a
bare window, must load it. DRIVER opens and closes each window.

    check_dll_planting.py WINE_RUN DRIVER PLANTED_DLL PROGRAM CONTROL WORK
"""
import os
import shutil
import subprocess
import sys

wine_run, driver, dll, program, control, work = sys.argv[1:7]
failed = False
for exe, loaded_expected in ((program, False), (control, True)):
    folder = os.path.join(work, os.path.basename(exe))
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    shutil.copy(exe, folder)
    shutil.copy(dll, os.path.join(folder, "uxtheme.dll"))
    code = subprocess.run([wine_run, driver, os.path.basename(exe)], cwd=folder, capture_output=True,
                          env=dict(os.environ, WINEDLLOVERRIDES="uxtheme=n,b")).returncode
    loaded = os.path.exists(os.path.join(folder, "uxtheme.dll.loaded"))
    print(f"{os.path.basename(exe)}: planted uxtheme.dll {'' if loaded else 'not '}loaded, exit code {code}")
    failed |= loaded != loaded_expected or (code != 0 and exe == program)
print("dll planting:", "bad" if failed else "ok")
sys.exit(failed)
