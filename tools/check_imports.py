#!/usr/bin/env python3
"""Checks that shipped Windows programs can start on the oldest system they are for.

Reads each program's import table with objdump and fails, naming the program,
DLL and function, for any DLL or function missing from the allowlist, and for a
32-bit program whose PE subsystem version asks for more than Windows 4.0.

    check_imports.py ALLOWLIST OBJDUMP MAX_SUBSYSTEM PROGRAM...
"""
import subprocess
import sys


def read_allowlist(path):
    """{DLL in capitals: set of function names}; '[DLL]' starts a section."""
    allowed, current = {}, None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("[") and line.endswith("]"):
                current = allowed.setdefault(line[1:-1].upper(), set())
            elif current is None:
                raise SystemExit(f"{path}: '{line}' stands before any [DLL] section")
            else:
                current.add(line)
    return allowed


def read_imports(objdump_text):
    """(subsystem version as (major, minor), {DLL in capitals: [functions]})."""
    imports, current, version = {}, None, [None, None]
    in_table = False
    for line in objdump_text.splitlines():
        words = line.split()
        if line.startswith("MajorSubsystemVersion"):
            version[0] = int(words[1])
        elif line.startswith("MinorSubsystemVersion"):
            version[1] = int(words[1])
        elif line.strip().startswith("DLL Name:"):
            current = imports.setdefault(line.split(":", 1)[1].strip().upper(), [])
            in_table = False
        elif current is not None and "Hint/Ord" in line:
            in_table = True
        elif in_table:
            if not words:
                in_table = False
            elif len(words) >= 3:
                # vma, hint, name (objdump may add a bound address before them)
                current.append(words[-1])
            elif len(words) == 2 and words[1].startswith("<"):
                current.append("ordinal " + words[1])
    return tuple(version), imports


def check(program, allowed, objdump, max_subsystem):
    text = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                          text=True).stdout
    version, imports = read_imports(text)
    faults = []
    if max_subsystem and version > max_subsystem:
        faults.append(f"{program}: subsystem version {version[0]}.{version[1]}, "
                      f"more than {max_subsystem[0]}.{max_subsystem[1]}")
    if not imports:
        faults.append(f"{program}: no import table found")
    for dll, functions in sorted(imports.items()):
        if dll not in allowed:
            faults.append(f"{program}: {dll} is not a system DLL of the allowlist")
            continue
        for function in functions:
            if function not in allowed[dll]:
                faults.append(f"{program}: {dll} {function} is not on the allowlist")
    return faults


def main(argv):
    if len(argv) < 5:
        raise SystemExit(__doc__)
    allowed = read_allowlist(argv[1])
    objdump = argv[2]
    max_subsystem = tuple(int(p) for p in argv[3].split(".")) if argv[3] != "-" else None
    faults = []
    for program in argv[4:]:
        faults += check(program, allowed, objdump, max_subsystem)
    for fault in faults:
        print(fault)
    print(f"{len(argv) - 4} programs checked, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
