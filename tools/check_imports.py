#!/usr/bin/env python3
"""Checks that shipped Windows programs can start on the oldest system they are for.

Reads each program's import table with objdump and fails, naming the program,
DLL and function, for any DLL or function missing from the allowlist, for a
32-bit program whose PE subsystem version asks for more than Windows 4.0, and
for a program without its application manifest (resource type 24, id 1).

    check_imports.py ALLOWLIST OBJDUMP MAX_SUBSYSTEM PROGRAM...
"""
import struct
import subprocess
import sys

RT_MANIFEST = 24
MANIFEST_ID = 1


def resource_ids(data, base, offset):
    """The (id, offset to data or subdirectory, is directory) of one resource directory."""
    named, numbered = struct.unpack_from("<HH", data, base + offset + 12)
    entries = []
    for i in range(named + numbered):
        name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
        if not name & 0x80000000:
            entries.append((name, target & 0x7FFFFFFF, bool(target & 0x80000000)))
    return entries


def has_manifest(path):
    """True when the PE file has a resource of type 24 with id 1."""
    with open(path, "rb") as f:
        data = f.read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    if rva == 0:
        return False
    for i in range(sections):
        header = optional + optional_size + 40 * i
        size, address, _, raw = struct.unpack_from("<IIII", data, header + 8)
        if address <= rva < address + max(size, 1):
            base = raw + rva - address
            for type_id, target, is_dir in resource_ids(data, base, 0):
                if type_id == RT_MANIFEST and is_dir:
                    return any(i == MANIFEST_ID for i, _, _ in resource_ids(data, base, target))
    return False


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
    if not has_manifest(program):
        faults.append(f"{program}: no application manifest (resource type 24, id 1)")
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
