#!/usr/bin/env python3
"""The layer rule as a check: which folders each folder's #include lines may name.

Every library exports src/ as its include folder, so the compiler lets any file include any
other; this table is what keeps the layers apart. Each quoted (or angle) include is resolved
the way the build resolves it (the including file's folder, then src/, then tests/); the folder
of the file it names must be the includer's own, one the includer may use (directly or through
the layers below it), or a file its folder is explicitly allowed, with the reason.
Windows' own headers are allowed only where the table says so.

  python3 tools/check_layers.py [ROOT]     check the tree (default: this repository); exit 1 on
                                          any forbidden include, listing file:line
  python3 tools/check_layers.py --self-test
                                          plant faults in a temporary tree and see each caught
"""
import os
import re
import sys
import tempfile

# folder -> (folders it may use, {file or folder it may also include: why}, Windows headers?)
# "May use" is transitive: a layer may include whatever the layers it uses may. The src/ rows
# of the libraries mirror the vsi_layer lines of src/CMakeLists.txt, and are checked against
# them.
LAYERS = {
    # The product, from the bottom up.
    "src/platform": ([], {}, False),
    "src/res": ([], {}, False),  # resource names, shared by the .rc file and the code
    "src/framework": (["src/platform"], {}, False),
    "src/controls": (["src/framework", "src/res"], {}, False),
    "src/probes": (["src/framework"], {}, False),
    "src/sysinfo": (["src/framework", "src/probes"], {}, False),
    "src/i18n": (["src/framework"], {}, False),
    "src/calendar": (["src/framework"], {}, False),
    "src/app": (["src/controls", "src/probes", "src/sysinfo", "src/i18n", "src/calendar"], {}, False),
    # The Windows side: the real platform, and the program's entry point that plugs it in.
    "src/platform/win32": (["src/platform", "src/res"], {}, True),
    "src/app/win32": (["src/app", "src/platform/win32"], {}, True),
    # The in-memory platform stands where src/platform/win32 stands.
    "tests/fakes": (["src/framework"], {}, False),
    # Unit tests: their layer and the fake. Some build the shipped window to test their layer in it.
    "tests/unit/res": (["src/res"], {}, False),
    "tests/unit/fakes": (["tests/fakes", "tests/contract"], {}, False),
    "tests/unit/framework": (["src/framework", "tests/fakes"], {}, False),
    "tests/unit/controls": (["src/controls", "tests/fakes"], {}, False),
    "tests/unit/probes": (["src/probes", "tests/fakes"], {}, False),
    "tests/unit/sysinfo": (["src/sysinfo", "tests/fakes"], {
        "src/app/window_descriptions.h": "the start components are read from the shipped main window's description",
    }, False),
    "tests/unit/i18n": (["src/i18n", "tests/fakes"], {
        "src/app/window_descriptions.h": "the dictionary is tried on the shipped descriptions",
        "src/app/main_form.h": "the shipped dictionary is tried on the shipped main window",
        "src/app/program.h": "the shipped dictionary is tried on the shipped main window",
        "src/app/languages.h": "the shipped dictionary has a column for each language of the program",
        "src/controls/ui_labels.h": "the translator must leave the wide labels alone",
    }, False),
    "tests/unit/calendar": (["src/calendar", "tests/fakes"], {
        "src/app/window_descriptions.h": "the calendar is built from its shipped description",
        "src/app/languages.h": "month and day names come from the program's language table",
        "tests/unit/app/facts_fixture.h": "the calendar is also tried inside the shipped main window",
    }, False),
    "tests/unit/app": (["src/app", "tests/fakes", "tests/unit/i18n"], {}, False),
    # What every implementation of a platform interface must answer, the fake's and Win32's alike.
    "tests/contract": (["src/platform"], {}, False),
    # Windows tests and the end-to-end driver: the real platform, under Wine.
    "tests/support": ([], {}, True),
    "tests/win": (["src/app", "src/platform/win32", "tests/support", "tests/contract"], {
        "tests/fakes/fake_locale.h": "the fake's code pages are checked against the system's conversion",
    }, True),
    "tests/e2e": (["tests/support"], {}, True),  # drives the program from outside: none of its code
    "tests/e2e/planted": ([], {}, True),
    # Benchmarks, fuzz targets and the build's tools.
    "bench": (["src/app", "tests/fakes"], {
        "tests/unit/i18n/i18n_test_util.h": "the window is loaded with the shipped dictionary as in the tests",
    }, False),
    "bench/startup": ([], {}, True),  # bare Windows programs to measure against
    "fuzz": (["src/app", "tests/fakes"], {}, False),
    "tools/mldtool": (["src/i18n"], {}, False),
}

# Windows' own headers (and the compiler's intrinsics, which only src/platform/compiler.h needs).
WINDOWS_HEADER = re.compile(
    r"^(windows|winternl|winnt|winbase|winuser|wingdi|winreg|winnetwk|winsock2?|ws2\w*|winperf|winspool|"
    r"wincrypt|winioctl|commctrl|commdlg|shellapi|shlobj|shlwapi|objbase|ole\w*|psapi|delayimp|dbt|"
    r"uxtheme|dwmapi|iphlpapi|lm\w*|tlhelp32|dbghelp|mmsystem|sddl|aclapi|userenv|setupapi|"
    r"knownfolders|richedit|intrin|cpuid)\.h$", re.IGNORECASE)
WINDOWS_HEADER_FILES = {"src/platform/compiler.h": "picks the compiler's intrinsics header"}

SOURCE_ROOTS = ["src", "tests", "bench", "fuzz", "tools"]
EXTENSIONS = (".h", ".hpp", ".cpp", ".cc", ".c", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
LAYER_LINE = re.compile(r"^\s*vsi_layer\(\s*vsi_(\w+)\s+([\w/]+)((?:\s+\w+)*)\s*\)", re.MULTILINE)


def zone_of(path):
    """The table's folder that holds `path` (relative, with /), or None."""
    folder = os.path.dirname(path)
    while folder:
        if folder in LAYERS:
            return folder
        folder = os.path.dirname(folder)
    return None


def may_use(zone):
    """Every folder `zone` may include, through the folders it uses."""
    seen, todo = set(), [zone]
    while todo:
        for used in LAYERS[todo.pop()][0]:
            if used not in seen:
                seen.add(used)
                todo.append(used)
    return seen


def resolve(root, includer, name, quoted):
    """The file `name` names, relative to root, or None (a system or a missing header)."""
    bases = ([os.path.dirname(includer)] if quoted else []) + ["src", "tests"]
    for base in bases:
        candidate = os.path.normpath(os.path.join(base, name)).replace(os.sep, "/")
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def check_table_against_cmake(root):
    """The src/ rows of the libraries must say what their link lines say."""
    cmake = os.path.join(root, "src", "CMakeLists.txt")
    if not os.path.isfile(cmake):
        return []
    with open(cmake, encoding="utf-8") as f:
        lines = LAYER_LINE.findall(f.read())
    folder_of = {lib: "src/" + folder for lib, folder, _ in lines}
    problems = []
    for lib, folder, deps in lines:
        zone = "src/" + folder
        linked = {folder_of.get(d[4:], d) for d in deps.split()}
        if zone not in LAYERS:
            problems.append(f"src/CMakeLists.txt: layer {zone} is not in the table of tools/check_layers.py")
            continue
        listed = {u for u in LAYERS[zone][0] if u != "src/res"}  # res is headers only: no library
        if listed != linked:
            problems.append(f"src/CMakeLists.txt: vsi_{lib} links {sorted(linked)} but the table of "
                            f"tools/check_layers.py says {zone} uses {sorted(listed)}")
    return problems


def check(root):
    """Every forbidden include under root, as 'file:line: message' lines."""
    problems = check_table_against_cmake(root)
    for top in SOURCE_ROOTS:
        for folder, dirs, files in os.walk(os.path.join(root, top)):
            dirs.sort()
            for name in sorted(files):
                if not name.endswith(EXTENSIONS):
                    continue
                path = os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/")
                problems += check_file(root, path)
    return problems


def check_file(root, path):
    zone = zone_of(path)
    if zone is None:
        return [f"{path}: its folder is not in the table of tools/check_layers.py"]
    uses, also, windows = LAYERS[zone]
    allowed = may_use(zone) | {zone}
    problems = []
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if not m:
                continue
            quoted, name = m.group(1) == '"', m.group(2)
            where = f"{path}:{number}"
            target = resolve(root, path, name, quoted)
            if target is None:
                if quoted:
                    problems.append(f'{where}: #include "{name}" names no file of the tree')
                elif WINDOWS_HEADER.match(os.path.basename(name)) and not windows \
                        and path not in WINDOWS_HEADER_FILES:
                    problems.append(f"{where}: #include <{name}>: a Windows header outside the Windows side ({zone})")
                continue
            target_zone = zone_of(target)
            if target_zone in allowed or target in also or any(target.startswith(a + "/") for a in also):
                continue
            shown = f'"{name}"' if quoted else f"<{name}>"
            problems.append(f"{where}: #include {shown}: {zone} may not use {target_zone or target}")
    return problems


def self_test():
    """Plants each fault in a small tree and sees the check report it; and a clean tree pass."""
    cmake_ok = "\n".join([
        "vsi_layer(vsi_platform platform)", "vsi_layer(vsi_framework framework vsi_platform)",
        "vsi_layer(vsi_controls controls vsi_framework)", "vsi_layer(vsi_probes probes vsi_framework)",
        "vsi_layer(vsi_sysinfo sysinfo vsi_framework vsi_probes)", "vsi_layer(vsi_i18n i18n vsi_framework)",
        "vsi_layer(vsi_calendar calendar vsi_framework)",
        "vsi_layer(vsi_app app vsi_controls vsi_probes vsi_sysinfo vsi_i18n vsi_calendar)", ""])
    base = {
        "src/CMakeLists.txt": cmake_ok,
        "src/platform/system.h": "#pragma once\n#include <string>\n",
        "src/framework/component.h": '#include "platform/system.h"\n',
        "src/probes/perf_data.h": '#include "framework/component.h"\n',
        "src/app/main_form.h": '#include "probes/perf_data.h"\n#include "platform/system.h"\n',
        "src/platform/win32/win32_system.cpp": '#include <windows.h>\n#include "platform/system.h"\n',
        "tests/fakes/fake_system.h": '#include "platform/system.h"\n',
        "tests/unit/calendar/calendar_fixture.h": '#include "app/window_descriptions.h"\n',
        "src/app/window_descriptions.h": "#pragma once\n",
    }
    # (what is planted, files changed or added, the text the report must hold; None: no report)
    cases = [
        ("a clean tree", {}, None),
        ("the platform including the program", {"src/platform/x.h": '#include "app/main_form.h"\n'},
         "src/platform/x.h:1: #include \"app/main_form.h\": src/platform may not use src/app"),
        ("a probe including a sibling layer", {"src/probes/y.cpp": '\n#include "sysinfo/z.h"\n',
                                               "src/sysinfo/z.h": ""},
         "src/probes/y.cpp:2: #include \"sysinfo/z.h\": src/probes may not use src/sysinfo"),
        ("the fake including a probe", {"tests/fakes/perf_data_builder.h": '#include "probes/perf_data.h"\n'},
         "tests/fakes may not use src/probes"),
        ("an angle include of our own header", {"src/framework/w.h": "#include <app/main_form.h>\n"},
         "src/framework may not use src/app"),
        ("a relative include climbing out", {"src/framework/v.h": '#include "../app/main_form.h"\n'},
         "src/framework may not use src/app"),
        ("Windows outside the Windows side", {"src/framework/u.cpp": "#include <windows.h>\n"},
         "a Windows header outside the Windows side (src/framework)"),
        ("an include of nothing", {"src/app/t.cpp": '#include "app/missing.h"\n'}, "names no file of the tree"),
        ("a folder the table does not know", {"src/newlayer/s.h": ""}, "src/newlayer/s.h: its folder is not in the table"),
        ("a link line the table does not say",
         {"src/CMakeLists.txt": cmake_ok.replace("framework vsi_platform)", "framework vsi_platform vsi_app)")},
         "vsi_framework links ['src/app', 'src/platform'] but the table"),
    ]
    failed = 0
    for what, planted, expected in cases:
        with tempfile.TemporaryDirectory() as root:
            for rel, text in {**base, **planted}.items():
                os.makedirs(os.path.dirname(os.path.join(root, rel)), exist_ok=True)
                with open(os.path.join(root, rel), "w", encoding="utf-8") as f:
                    f.write(text)
            problems = check(root)
        if expected is None:
            ok = not problems
        else:
            ok = len(problems) == 1 and expected in problems[0]
        print(f"{'ok  ' if ok else 'FAIL'} {what}: {problems if problems else 'no report'}")
        failed += not ok
    return 1 if failed else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    problems = check(root)
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} forbidden include(s): see the table in tools/check_layers.py")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
