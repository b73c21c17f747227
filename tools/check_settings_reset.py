#!/usr/bin/env python3
"""Fails when a setting declared in saver/settings/settings_state.h is not put
back by ResetSettings (directly or through FreeSettings): the tests start each
case from ResetSettings, and a setting it forgets leaks from one test into the
next.

    check_settings_reset.py SOURCE_ROOT
"""
import os
import re
import sys


def body_of(source, function):
    match = re.search(r"^void %s\(\)\n\{\n(.*?)^\}" % function, source, re.M | re.S)
    return match.group(1) if match else ""


def main():
    folder = os.path.join(sys.argv[1], "saver", "settings")
    header = open(os.path.join(folder, "settings_state.h")).read()
    source = open(os.path.join(folder, "settings_state.cpp")).read()
    declared = [m.group(1) for m in re.finditer(r"^extern [^;]*?\b(\w+);(.*)$", header, re.M)
                if "not a setting" not in m.group(2)]
    resets = body_of(source, "ResetSettings") + body_of(source, "FreeSettings")
    if not declared or not body_of(source, "ResetSettings"):
        print("check_settings_reset: no settings or no ResetSettings found")
        return 1
    missed = [name for name in declared if not re.search(r"\b%s\b" % name, resets)]
    for name in missed:
        print("check_settings_reset: ResetSettings does not put back %s" % name)
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
