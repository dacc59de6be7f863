#!/usr/bin/env python3
"""Source files over 400 lines and functions over 60 lines, in the folders given (default src/).

    python3 scripts/check_sizes.py [folder ...]

Prints the five longest files and functions, then every one over its limit, and exits 1 when
there is one. A function is counted from the line of its opening brace to its closing brace: the
brace that follows a parameter list at the top level, in a namespace or in a class body (lambdas
and blocks within a function count towards that function).
"""
import pathlib
import re
import sys

FILE_LIMIT = 400
FUNCTION_LIMIT = 60
SOURCE_ENDINGS = {".cpp", ".h"}


def code_only(text):
    """The text with comments, strings and character literals blanked, line breaks kept."""
    pattern = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)
    return pattern.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


def functions(text):
    """(name, first line, line count) of each function body in the file."""
    code = code_only(text)
    found = []
    scopes = []  # for each open brace: "function", "scope" (namespace, class, enum) or "block"
    start_line = 0
    name = ""
    line = 1
    for i, ch in enumerate(code):
        if ch == "\n":
            line += 1
        elif ch == "{":
            inside_function = "function" in scopes
            before = code[max(0, i - 400):i]
            statement = re.split(r"[;{}]", before)[-1]
            is_function = (not inside_function and re.search(r"\)\s*(const|override|final|noexcept|\s)*"
                                                             r"(->\s*[\w:<>&*, ]+)?\s*(:[^;]*)?$", statement)
                           and not re.match(r"\s*(namespace|class|struct|enum|union)\b", statement))
            if is_function:
                match = re.search(r"([~\w:]+)\s*\([^()]*(\([^()]*\)[^()]*)*\)[^()]*$", statement)
                name = match.group(1) if match else "?"
                start_line = line
                scopes.append("function")
            else:
                scopes.append("block" if inside_function else "scope")
        elif ch == "}" and scopes:
            if scopes.pop() == "function":
                found.append((name, start_line, line - start_line + 1))
    return found


def main(folders):
    files = sorted(p for folder in folders for p in pathlib.Path(folder).rglob("*") if p.suffix in SOURCE_ENDINGS)
    lengths = []
    bodies = []
    for path in files:
        text = path.read_text(encoding="utf-8")
        lengths.append((text.count("\n"), str(path)))
        bodies.extend((count, f"{path}:{first} {name}") for name, first, count in functions(text))
    lengths.sort(reverse=True)
    bodies.sort(reverse=True)
    print("longest files:", ", ".join(f"{p} ({n})" for n, p in lengths[:5]))
    print("longest functions:", ", ".join(f"{w} ({n})" for n, w in bodies[:5]))
    over = [f"file {p}: {n} lines" for n, p in lengths if n > FILE_LIMIT]
    over += [f"function {w}: {n} lines" for n, w in bodies if n > FUNCTION_LIMIT]
    for item in over:
        print("over the limit:", item)
    return 1 if over else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:] or ["src"]))
