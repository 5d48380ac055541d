#!/usr/bin/env python3
"""Checks of the build itself, run by ctest as part of the test command.

  check_build.py standard BUILD_DIR
      every C++ file of the build is compiled as C++20 and nothing else
  check_build.py googletest SOURCE_DIR BUILD_DIR TOOLCHAIN_FILE TARGET...
      only the tests see GoogleTest, gmock is not built, and a build without GoogleTest's
      sources still has every TARGET (TOOLCHAIN_FILE may be empty)
  check_build.py resources SOURCE_DIR BUILD_DIR TARGET...
      each file the resource script includes rebuilds the resources of every TARGET
  check_build.py imports NEWER_FUNCTIONS KNOWN_DLLS PROGRAM...
      no PROGRAM imports a function named in NEWER_FUNCTIONS, or imports from a DLL not named in
      KNOWN_DLLS
  check_build.py interval BUILD_DIR
      the demo times its screenshots by the interval the shipped program is built with
  check_build.py layers SOURCE_DIR BUILD_DIR
      every folder of src/ is one library of build/<preset>/layers.json; its sources include from
      exactly the folders their library names as used (not those these use in turn) besides their
      own, and platform-free sources nothing beyond the standard library
"""

import json
import re
import subprocess
import sys
import tempfile
from pathlib import Path


def fail(message):
    print(f"FAILED: {message}")
    return 1


def compile_commands(build_dir):
    return json.loads((Path(build_dir) / "compile_commands.json").read_text())


def check_standard(build_dir):
    wrong = []
    for entry in compile_commands(build_dir):
        if not entry["file"].endswith((".cpp", ".cc")):
            continue
        standards = re.findall(r"-std=\S+", entry["command"])
        if standards != ["-std=c++20"]:
            wrong.append(f"{entry['file']}: {standards or 'no -std'}")
    if wrong:
        return fail("not compiled as C++20 alone:\n  " + "\n  ".join(wrong))
    print("every C++ file is compiled with -std=c++20")
    return 0


def targets(build_dir):
    help_text = subprocess.run(["cmake", "--build", build_dir, "--target", "help"],
                               check=True, capture_output=True, text=True).stdout
    return set(re.findall(r"^\.\.\. (\S+)$", help_text, re.MULTILINE))


def check_googletest(source_dir, build_dir, toolchain, expected):
    problems = []
    source = Path(source_dir).resolve()
    for entry in compile_commands(build_dir):
        path = Path(entry["file"]).resolve()
        inside_tests = source / "tests" in path.parents
        if not inside_tests and source in path.parents and "googletest" in entry["command"]:
            problems.append(f"{path.relative_to(source)} is compiled with GoogleTest's headers")
    problems += [f"target {name} is built" for name in sorted(targets(build_dir)) if name.startswith("gmock")]

    with tempfile.TemporaryDirectory() as scratch:
        configure = ["cmake", "-S", source_dir, "-B", scratch, "-DGOOGLETEST_SOURCE=/nonexistent"]
        if toolchain:
            configure.append(f"-DCMAKE_TOOLCHAIN_FILE={toolchain}")
        result = subprocess.run(configure, capture_output=True, text=True)
        if result.returncode != 0:
            problems.append("configuring without GoogleTest fails:\n" + result.stdout + result.stderr)
        else:
            present = targets(scratch)
            problems += [f"target {name} is missing without GoogleTest" for name in expected if name not in present]
    if problems:
        return fail("\n  ".join(problems))
    print(f"only the tests need GoogleTest; without it these still build: {' '.join(expected)}")
    return 0


def resource_inputs(script, generated):
    """Files named by the resource script: #include "..." and quoted file operands, found beside
    the script or among the files the build generates."""
    text = script.read_text(encoding="utf-8")
    names = re.findall(r'^\s*#include\s+"([^"]+)"', text, re.MULTILINE)
    names += re.findall(r'^\s*\w+\s+\w+\s+"([^"]+\.\w+)"\s*$', text, re.MULTILINE)
    return [script.parent / name if (script.parent / name).exists() else generated / name for name in names]


def check_resources(source_dir, build_dir, programs):
    script = Path(source_dir).resolve() / "resources" / "tessaro.rc"
    build = Path(build_dir).resolve()
    inputs = [script] + resource_inputs(script, build / "generated")
    problems = []
    for program in programs:
        makefile = f"CMakeFiles/{program}.dir/build.make"
        for path in inputs:
            # -W: what make would do were this file just changed, without touching it.
            # Make names the files it generates relative to the build folder.
            name = str(path.relative_to(build)) if build in path.parents else str(path)
            dry_run = subprocess.run(["make", "-n", "-W", name, "-f", makefile, f"CMakeFiles/{program}.dir/build"],
                                     cwd=build_dir, capture_output=True, text=True).stdout
            if not re.search(r"windres .*tessaro\.rc", dry_run):
                problems.append(f"changing {path.name} does not rebuild the resources of {program}")
    if problems:
        return fail("\n  ".join(problems))
    print("each of " + ", ".join(p.name for p in inputs) + " rebuilds " + ", ".join(programs))
    return 0


def imported_functions(program):
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", program], check=True, capture_output=True, text=True).stdout
    functions = {}
    dll = None
    for line in dump.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1)
            continue
        entry = re.match(r"\s+[0-9a-fA-F]+\s+\d+\s+(\w+)\s*$", line)
        if dll and entry:
            functions[entry.group(1)] = dll
    return functions


def listed_names(list_file):
    names = {line.split("#")[0].strip() for line in Path(list_file).read_text().splitlines()}
    names.discard("")
    return names


def check_imports(newer_list, known_dll_list, programs):
    unavailable = listed_names(newer_list)
    known_dlls = {name.lower() for name in listed_names(known_dll_list)}
    problems = []
    for program in programs:
        imported = imported_functions(program)
        if not imported:
            problems.append(f"{program}: no import table found")
        problems += [f"{Path(program).name} imports {name} from {imported[name]}, which the oldest supported Windows lacks"
                     for name in sorted(unavailable & imported.keys())]
        problems += [f"{Path(program).name} imports from {dll}, which Windows would look for beside the program first"
                     for dll in sorted(set(imported.values())) if dll.lower() not in known_dlls]
    if problems:
        return fail("\n  ".join(problems))
    print(f"no import of any of the {len(unavailable)} functions in {Path(newer_list).name}, "
          f"and only from the DLLs in {Path(known_dll_list).name}")
    return 0


def interval_of(build_dir, target, source):
    for entry in compile_commands(build_dir):
        if entry["file"].endswith(source) and f"CMakeFiles/{target}.dir/" in entry["command"]:
            found = re.search(r"-DTESSARO_SLIDE_INTERVAL_MS=(\d+)", entry["command"])
            return found.group(1) if found else None
    return None


def check_interval(build_dir):
    program = interval_of(build_dir, "Tessaro", "src/startup/main.cpp")
    demo = interval_of(build_dir, "demo_capture", "tools/demo_capture.cpp")
    if program is None or program != demo:
        return fail(f"the program's slide interval is {program} ms, the demo's {demo} ms")
    print(f"the program and the demo both use {program} ms")
    return 0


def check_layers(source_dir, build_dir):
    layers = json.loads((Path(build_dir) / "layers.json").read_text())
    src = Path(source_dir).resolve() / "src"
    folders = sorted(p.name for p in src.iterdir() if p.is_dir())
    problems = [f"src/{folder} is no library of this build" for folder in folders if folder not in layers]
    problems += [f"src/{folder} is a library without a folder" for folder in layers if folder not in folders]

    for folder in folders:
        if folder not in layers:
            continue
        # Exactly the folders its library names: one it reaches only through another is not one it uses.
        allowed = set(layers[folder]["uses"]) | {folder}
        included = set()
        platform_free = layers[folder]["kind"] == "PLATFORM_FREE"
        for source in sorted((src / folder).iterdir()):
            if source.suffix not in (".h", ".cpp"):
                continue
            text = source.read_text(encoding="utf-8")
            name = f"src/{folder}/{source.name}"
            for quoted in re.findall(r'^\s*#\s*include\s+"([^"]+)"', text, re.MULTILINE):
                parts = quoted.split("/")
                included.add(parts[0] if len(parts) > 1 else folder)
                if len(parts) == 1:
                    if not (src / folder / quoted).exists() and platform_free:
                        problems.append(f"{name} includes \"{quoted}\", which is not in its folder")
                elif parts[0] == ".." or parts[0] not in allowed:
                    problems.append(f"{name} includes \"{quoted}\": {folder} does not use {parts[0]}")
            if platform_free:
                for system in re.findall(r'^\s*#\s*include\s+<([^>]+)>', text, re.MULTILINE):
                    if "." in system:
                        problems.append(f"{name} is platform-free but includes <{system}>")
        problems += [f"src/{folder} says it uses {unused}, and includes nothing of it"
                     for unused in sorted(allowed - included - {folder})]
    if problems:
        return fail("\n  ".join(problems))
    print(f"{len(layers)} libraries, one per folder of src/, each including only what it uses")
    return 0


def main(argv):
    if len(argv) >= 3 and argv[1] == "standard":
        return check_standard(argv[2])
    if len(argv) >= 5 and argv[1] == "googletest":
        return check_googletest(argv[2], argv[3], argv[4], argv[5:])
    if len(argv) >= 5 and argv[1] == "resources":
        return check_resources(argv[2], argv[3], argv[4:])
    if len(argv) >= 5 and argv[1] == "imports":
        return check_imports(argv[2], argv[3], argv[4:])
    if len(argv) == 3 and argv[1] == "interval":
        return check_interval(argv[2])
    if len(argv) == 4 and argv[1] == "layers":
        return check_layers(argv[2], argv[3])
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
