#!/usr/bin/env python3
"""The map of the README's Layout, enforced: an include that reaches a library the including
one may not use, Qt outside the desktop program (Qt Core aside where named), a hand-written
source over 600 lines or a function over 100 lines not named in scripts/layout-exceptions.txt,
and (with --format) a file that clang-format would change. Prints each finding; exit 1 if any.

    scripts/check-layout.py [--format]
"""
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Which library may use which, as the README draws it: each one's own links; what they reach
# is allowed too.
LINKS = {
    "ui": {"summary", "replay", "interchange", "coach", "playout", "opponents", "storage",
           "places", "validation", "cli", "practice", "progresscache", "outcome", "safefile",
           "history", "engine", "stats", "pokerlib", "vocabulary"},
    "cli": {"places", "validation", "coach", "interchange", "playout", "opponents", "storage",
            "practice", "safefile", "vocabulary", "pokerlib"},
    "practice": {"coach", "interchange", "playout", "replay", "typical", "opponents", "history",
                 "engine", "vocabulary"},
    "playout": {"typical", "opponents", "history", "engine", "pokerlib", "vocabulary"},
    "typical": {"opponents", "engine", "pokerlib"},
    "summary": {"coach", "history", "outcome", "pokerlib"},
    "coach": {"playout", "history", "engine", "stats", "pokerlib"},
    "interchange": {"history", "pokerlib", "safefile", "lineformat", "vocabulary"},
    "replay": {"history", "lineformat", "outcome"},
    "outcome": {"history"},
    "progresscache": {"history", "safefile"},
    "opponents": {"engine", "vocabulary", "pokerlib"},
    "storage": {"engine", "history", "safefile"},
    "engine": {"rules", "stats", "lineformat", "vocabulary", "pokerlib"},
    "history": {"lineformat", "vocabulary", "pokerlib"},
    "stats": {"vocabulary", "pokerlib"},
    "validation": {"lineformat"},
    "rules": {"pokerlib"}, "lineformat": set(), "vocabulary": set(), "places": set(),
    "pokerlib": set(), "safefile": set(),
}
# Qt Widgets in the desktop program only; the Progress window's cache file reads with Qt Core.
QT_CORE_ALSO = {"progresscache"}
QT_WIDGETS = re.compile(r"#\s*include\s*<(QtWidgets/|Q(Widget|Dialog|MainWindow|Application|"
                        r"Label|PushButton|LineEdit|Painter|Abstract\w*View|Table\w*|Tree\w*)\b)")
QT_ANY = re.compile(r"#\s*include\s*<Q[A-Za-z]+")
OURS = re.compile(r'#\s*include\s*"([a-z_]+)/')
LONGEST_FILE = 600
LONGEST_FUNCTION = 100


def reach(library, seen=None):
    seen = set() if seen is None else seen
    for used in LINKS.get(library, ()):
        if used not in seen:
            seen.add(used)
            reach(used, seen)
    return seen


def sources(top):
    for folder, _, files in os.walk(os.path.join(ROOT, top)):
        for name in files:
            if name.endswith((".cpp", ".h")):
                yield os.path.join(folder, name)


def blank_literals(text):
    """Comments, strings and characters blanked out, line breaks kept."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|R"(\w*)\(.*?\)\1"|"(?:\\.|[^"\\\n])*"|'
                         r"'(?:\\.|[^'\\\n])+'", re.S)
    return pattern.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


FUNCTION_HEAD = re.compile(r"\)\s*(const\s*)?(noexcept\s*)?(override\s*|final\s*)?"
                           r"(->\s*[\w:<>,\s*&]+)?$|\)\s*:\s*[\w:]+\s*[({]")
CONTROL = re.compile(r"\b(if|for|while|switch|catch|else|do)\s*$|\b(if|for|while|switch|catch)"
                     r"\s*\(")


def long_functions(path):
    """(name, first line, lines) of each function body longer than LONGEST_FUNCTION."""
    text = blank_literals(open(path, encoding="utf-8", errors="replace").read())
    found, stack, start = [], [], 0
    for i, c in enumerate(text):
        if c == "{":
            head = " ".join(text[start:i].split())
            is_function = (not any(kind == "function" for kind, _, _ in stack) and
                           FUNCTION_HEAD.search(head) is not None and
                           CONTROL.search(head[:head.find("(") + 1]) is None)
            names = re.findall(r"([~\w:]+)\s*\(", head) if is_function else []
            stack.append(("function" if is_function else "block", i, names[0] if names else ""))
            start = i + 1
        elif c == "}":
            if stack:
                kind, opened, name = stack.pop()
                if kind == "function":
                    first = text.count("\n", 0, opened) + 1
                    lines = text.count("\n", opened, i) + 1
                    if lines > LONGEST_FUNCTION:
                        found.append((name, first, lines))
            start = i + 1
        elif c == ";":
            start = i + 1
    return found


def exceptions():
    kept = set()
    path = os.path.join(ROOT, "scripts", "layout-exceptions.txt")
    for line in open(path, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if line:
            kept.add(line.split()[0])
    return kept


def main():
    findings = []
    kept = exceptions()
    used = set()
    for top in sorted(LINKS):
        allowed = reach(top) | {top}
        for path in sources(top):
            rel = os.path.relpath(path, ROOT)
            text = open(path, encoding="utf-8", errors="replace").read()
            for number, line in enumerate(text.splitlines(), 1):
                included = OURS.match(line.strip())
                if included and included.group(1) in LINKS and included.group(1) not in allowed:
                    findings.append(f"{rel}:{number}: {top}/ may not use {included.group(1)}/")
                if top != "ui" and (QT_WIDGETS.match(line.strip()) or
                                    (top not in QT_CORE_ALSO and QT_ANY.match(line.strip()))):
                    findings.append(f"{rel}:{number}: Qt outside the desktop program")
            lines = text.count("\n")
            if lines > LONGEST_FILE:
                used.add(rel)
                if rel not in kept:
                    findings.append(f"{rel}: {lines} lines (at most {LONGEST_FILE})")
            if path.endswith(".cpp"):
                for name, first, length in long_functions(path):
                    used.add(f"{rel}:{name}")
                    if f"{rel}:{name}" not in kept:
                        findings.append(f"{rel}:{first}: {name} is {length} lines "
                                        f"(at most {LONGEST_FUNCTION})")
    # An exception no longer needed goes, so that the list only shrinks.
    findings += [f"scripts/layout-exceptions.txt: {name} is no longer long"
                 for name in sorted(kept - used)]
    if "--format" in sys.argv[1:]:
        clang_format = shutil.which("clang-format")
        if clang_format is None:
            findings.append("clang-format is not installed")
        else:
            files = subprocess.run(["git", "ls-files", "*.cpp", "*.h"], cwd=ROOT, check=True,
                                   capture_output=True, text=True).stdout.split()
            result = subprocess.run([clang_format, "--dry-run", *files], cwd=ROOT,
                                    capture_output=True, text=True)
            unformatted = sorted({line.split(":", 1)[0] for line in result.stderr.splitlines()
                                  if ": warning:" in line})
            findings += [f"{name}: not formatted by .clang-format" for name in unformatted]
    for finding in findings:
        print(finding)
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
