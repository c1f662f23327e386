#!/usr/bin/env python3
"""Keeps the documents true to the program.

    docs_check.py messages SOURCE_ROOT
        Every text the program can print must stand in the table "Every line
        Tarn prints" of docs/troubleshooting.md, and every line of that table
        must still be printed. The texts are taken from the sources of app/,
        sourcesafe/ and launch/ themselves: every string literal that reads as
        words (adjacent literals joined, split at line ends), wherever it is
        used, so that a message added in any form is found.

    docs_check.py links SOURCE_ROOT
        Every link between the Markdown documents leads to a file that exists
        and, with a #part, to a heading of that file.

    docs_check.py figures SOURCE_ROOT
        Every figure of characters or of time that a document gives (README,
        docs/, bench/README.md) is stated by one entry of FIGURES, and each
        entry's value is what the code it describes makes of its constants, or
        the dated measurement it records. The "Measured" section of
        bench/README.md is the benchmark's own record and is left out.

    docs_check.py names SOURCE_ROOT
        Every file of the repository and every file beside srcsafe.ini that a
        document names exists (the latter as the code names it); every quote of
        one of Tarn's lines is a line the program prints (the table of
        docs/troubleshooting.md, which the messages check keeps true); every
        switch of Tarn's, option of a script, CMake cache variable, preset,
        label and mutation row named exists, and the default switches listed
        are the ones the code adds.

    docs_check.py package SOURCE_ROOT
        The documents the release zips carry (cmake/packaging.cmake) link to,
        and name, only documents the zips carry too; INSTALL.txt lists exactly
        the zip's files; README says "in both release zips" of exactly those.

Exits 1 and says what is wrong when a check fails.
"""
import fnmatch
import os
import pathlib
import re
import subprocess
import sys

MESSAGE_FOLDERS = ("app", "sourcesafe", "launch")
PAGE = "docs/troubleshooting.md"
INDEX_HEADING = "## Every line Tarn prints"

# Literals that read as words but are not printed as lines of their own.
NOT_PRINTED = {
    "tarn: data_path to put back": "the first line of srcsafe.ini.tarnrestore",
}
# Blocks of literals printed whole, which the page describes as a whole.
WHOLE_BLOCKS = {
    ("app/command_line.cpp", "void CTarnApp::ShowUsage()"):
        "the usage text, shown before \"Not enough command line parameters.\"",
}

ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "\\": "\\", '"': '"', "'": "'", "?": "?", "a": "\a", "0": "\0"}


def decode(body):
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out.append(c)
            i += 1
            continue
        nxt = body[i + 1]
        if nxt == "x":
            digits = re.match(r"[0-9a-fA-F]+", body[i + 2:]).group(0)
            out.append(chr(int(digits, 16)))
            i += 2 + len(digits)
        elif nxt in "01234567":
            digits = re.match(r"[0-7]{1,3}", body[i + 1:]).group(0)
            out.append(chr(int(digits, 8)))
            i += 1 + len(digits)
        else:
            out.append(ESCAPES[nxt])
            i += 2
    return "".join(out)


def literals(text):
    """(offset, text) of each run of adjacent string literals, comments and character literals skipped."""
    runs = []
    i = 0
    last_end = None
    while i < len(text):
        if text.startswith("//", i):
            i = text.find("\n", i)
            i = len(text) if i < 0 else i
        elif text.startswith("/*", i):
            i = text.index("*/", i) + 2
        elif text[i] == "'":
            m = re.compile(r"'(\\.|[^'\\])*'").match(text, i)
            i = m.end()
        elif text[i] == '"':
            m = re.compile(r'"((?:\\.|[^"\\])*)"').match(text, i)
            value = decode(m.group(1))
            if last_end is not None and text[last_end:i].strip() == "":
                offset, before = runs.pop()
                runs.append((offset, before + value))
            else:
                runs.append((i, value))
            last_end = i = m.end()
        else:
            i += 1
    return runs


def block_span(text, marker):
    start = text.index(marker)
    depth = 0
    for i in range(text.index("{", start), len(text)):
        depth += {"{": 1, "}": -1}.get(text[i], 0)
        if depth == 0:
            return start, i
    raise ValueError(marker)


def reads_as_words(piece):
    return bool(re.search(r"[A-Za-z]", piece)) and (
        " " in piece or bool(re.fullmatch(r"[A-Za-z].*[.:!?]", piece)))


def program_texts(root):
    """Each piece of text the program prints: (text, where it is written, whether the page must list it)."""
    texts = []
    for folder in MESSAGE_FOLDERS:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h"):
                continue
            name = path.relative_to(root).as_posix()
            text = path.read_text(encoding="latin-1")
            spans = [block_span(text, marker) for (file, marker) in WHOLE_BLOCKS if file == name]
            for offset, value in literals(text):
                whole = any(start <= offset <= end for start, end in spans)
                line = text.count("\n", 0, offset) + 1
                for piece in value.split("\n"):
                    piece = piece.strip()
                    if reads_as_words(piece) and piece not in NOT_PRINTED:
                        texts.append((piece, "%s:%d" % (name, line), not whole))
    return texts


def page_lines(root):
    """The lines of the table "Every line Tarn prints", with their line numbers on the page."""
    lines = []
    inside = False
    for number, line in enumerate((root / PAGE).read_text(encoding="utf-8").splitlines(), 1):
        if line.startswith("## "):
            inside = line == INDEX_HEADING
        elif inside and line.startswith("| `"):
            m = re.match(r"\| `([^`]*)` \|", line)
            if not m:
                raise SystemExit("%s:%d: the first cell must be the line in one `code` span" % (PAGE, number))
            lines.append((m.group(1), number))
    return lines


def check_messages(root):
    texts = program_texts(root)
    listed = page_lines(root)
    if not texts or not listed:
        print("docs_check: found %d texts in the sources and %d lines on %s" % (len(texts), len(listed), PAGE))
        return False
    ok = True
    for piece, where, _ in (text for text in texts if text[2]):
        if not any(piece in line for line, _ in listed):
            print("%s: %r is printed, but %s does not list it under \"%s\"" % (where, piece, PAGE, INDEX_HEADING[3:]))
            ok = False
    for line, number in listed:
        # Each part between the <placeholders> must still be in the program.
        for part in re.split(r"<[^>]*>", line):
            part = part.strip()
            if re.search(r"[A-Za-z]", part) and not any(part in piece for piece, _, _ in texts):
                print("%s:%d: %r is listed, but the program no longer prints it" % (PAGE, number, part))
                ok = False
    if ok:
        count = sum(1 for text in texts if text[2])
        print("docs_check: the %d texts the program prints are in the %d lines listed on %s" % (count, len(listed), PAGE))
    return ok


def slug(heading):
    text = re.sub(r"\[([^\]]*)\]\([^)]*\)", r"\1", heading)
    text = text.strip().lower().replace("`", "").replace("*", "")
    text = re.sub(r"[^\w\- ]", "", text)
    return text.replace(" ", "-")


def anchors(path):
    found = set()
    fenced = False
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.startswith("```"):
            fenced = not fenced
        elif not fenced and re.match(r"#+ ", line):
            name = slug(line.split(" ", 1)[1])
            n = 0
            while (name if n == 0 else "%s-%d" % (name, n)) in found:
                n += 1
            found.add(name if n == 0 else "%s-%d" % (name, n))
    return found


def check_links(root):
    documents = [p for p in sorted(root.rglob("*.md"))
                 if not {"build", "dist", ".git"} & set(p.relative_to(root).parts)]
    ok = True
    count = 0
    for document in documents:
        fenced = False
        for number, line in enumerate(document.read_text(encoding="utf-8").splitlines(), 1):
            if line.startswith("```"):
                fenced = not fenced
            if fenced:
                continue
            for target in re.findall(r"\]\(([^)\s]+)\)", re.sub(r"`[^`]*`", "", line)):
                if re.match(r"[a-z]+:", target):
                    continue
                count += 1
                file_part, _, anchor = target.partition("#")
                where = "%s:%d" % (document.relative_to(root).as_posix(), number)
                linked = (document.parent / file_part) if file_part else document
                if not linked.exists():
                    print("%s: the link %s leads to no file" % (where, target))
                    ok = False
                elif anchor and linked.suffix == ".md" and anchor not in anchors(linked):
                    print("%s: the link %s leads to no heading of %s" % (where, target, linked.name))
                    ok = False
    if ok:
        print("docs_check: %d links in %d documents lead where they say" % (count, len(documents)))
    return ok


def documents(root):
    """The documents a reader acts on: every Markdown file of the sources, and INSTALL.txt."""
    found = [p for p in sorted(root.rglob("*.md")) if not {"build", "dist", ".git"} & set(p.relative_to(root).parts)]
    return found + [root / "docs/INSTALL.txt"]


def read(root, name):
    return (root / name).read_text(encoding="utf-8")


def flat(text):
    """Text as a reader takes it in: no Markdown marks, every run of blanks and line ends one blank."""
    return re.sub(r"\s+", " ", text.replace("`", "").replace("*", ""))


def constant(root, name, pattern):
    """The groups of the one match of pattern in the file name; fails when it is not there exactly once."""
    found = re.findall(pattern, read(root, name))
    if len(found) != 1:
        raise LookupError("%s: %r found %d times" % (name, pattern, len(found)))
    return found[0]


def number(root, name, pattern):
    return int(constant(root, name, pattern))


def ini_name(root):
    return constant(root, "sourcesafe/install_paths.cpp", r'm_strIniPath = strFolder \+ "\.\.\\\\([^"]+)"')


def beside_ini(root):
    """How the code names the files beside srcsafe.ini: srcsafe.ini, the endings of
    the lock and of the record, and the pieces of a temporary file's name,
    "<file>.tarn<pid>-<n>.tmp"."""
    tarn, dash = constant(root, "sourcesafe/file_io.cpp",
                          r'strPath \+ "([^"]+)" \+ std::to_string\(GetCurrentProcessId\(\)\) \+ "([^"]+)"')
    return (ini_name(root), constant(root, "sourcesafe/ini_guard.cpp", r'm_strLockPath = strIniPath \+ "([^"]+)"'),
            constant(root, "sourcesafe/ini_guard.cpp", r'm_strRecordPath = strIniPath \+ "([^"]+)"'), tarn, dash,
            constant(root, "sourcesafe/file_io.cpp", r'std::to_string\(n\) \+ "([^"]+)"'))


def record_temp_extra(root):
    """How much longer than srcsafe.ini's path the longest name beside it is: the
    record's temporary file, counted with one digit for <n> and none for <pid>."""
    _, _, record, tarn, dash, tmp = beside_ini(root)
    return len(record) + len(tarn) + len(dash) + 1 + len(tmp)


def max_path(root):
    """The path buffers of tarn.exe's own path and of a file's full path: Windows' MAX_PATH."""
    sizes = {number(root, "sourcesafe/install_paths.cpp", r"const DWORD kBuffer = (\d+);"),
             number(root, "app/command_line.cpp", r"const std::size_t kPathBuffer = (\d+);")}
    return sizes.pop() if len(sizes) == 1 else None



# Every figure of characters or of time the documents give: the phrases that
# state it (regular expressions on the text as flat() makes it), the value they
# state, how far an "about" may be off, and where the true value comes from: the
# code (a function of the sources) or a measurement (its value, and when and how
# it was taken).
FIGURES = [
    ("MAX_PATH: tarn.exe's own path, a file's full path, any path Windows takes",
     [r"260 characters"], 260, 0, max_path),
    ("-DB:, -PP: and -LOG are told by their first four characters",
     [r"first four characters"], 4,
     0, lambda root: number(root, "app/command_line_rules.cpp", r"kSwitchNameLength = (\d+);")),
    ("the record's temporary file is longer than srcsafe.ini's path by this and the process id's digits",
     [r"23 characters"], 23, 0, record_temp_extra),
    ("a switching -DB: call fails from a srcsafe.ini path of this less the process id's digits",
     [r"237 characters less the digits"], 237, 0, lambda root: max_path(root) - record_temp_extra(root)),
    ("... from this with five-digit process ids",
     [r"232 characters on with five-digit ids"], 232, 0, lambda root: max_path(root) - record_temp_extra(root) - 5),
    ("... from this with six-digit ones, so keep srcsafe.ini's path below it",
     [r"231 characters on with six", r"below 231 characters"], 231,
     0, lambda root: max_path(root) - record_temp_extra(root) - 6),
    ("tarn.exe's path in BIN is longer than srcsafe.ini's path one folder above by this",
     [r"one character longer"], 1, 0, lambda root: len("BIN\\tarn.exe") - len(ini_name(root))),
    ("the rename of a rewrite is retried for this long",
     [r"about (?:a|one) second"], 1.0, 0.1,
     lambda root: number(root, "sourcesafe/file_io.cpp", r"kRenameAttempts = (\d+);") *
     number(root, "sourcesafe/file_io.cpp", r"kRenameRetryMilliseconds = (\d+);") / 1000),
    ("a start that the system lost is tried again after this",
     [r"a tenth of a second apart"], 0.1,
     0, lambda root: number(root, "launch/launcher.cpp", r"kStartRetryDelayMs = (\d+);") / 1000),
    ("scripts/fuzz runs each target this long by default",
     [r"runs for 10 seconds"], 10, 0, lambda root: number(root, "scripts/fuzz", r"seconds=\$\{1:-(\d+)\}")),
    ("scripts/fuzz 600 runs each target ten minutes: its argument is seconds of -max_total_time",
     [r"ten minutes a target"], 600,
     0, lambda root: 600 if constant(root, "scripts/fuzz", r'budget=\$(seconds)\n') and
     constant(root, "scripts/fuzz", r'-max_total_time="\$(budget)"') else None),
    ("scripts/fuzz gives the code-page target three times the others' budget",
     [r"the code-page target 30 seconds"], 30,
     0, lambda root: 10 * number(root, "scripts/fuzz", r"budget=\$\(\(seconds \* (\d+)\)\)")),
    ("... and so thirty minutes in a run of ten minutes a target",
     [r"the code-page target thirty minutes"], 1800,
     0, lambda root: 600 * number(root, "scripts/fuzz", r"budget=\$\(\(seconds \* (\d+)\)\)")),
    ("bench/run's target for a switch and switch back of 10 MB",
     [r"at most 0\.5 s"], 0.5, 0, lambda root: number(root, "bench/run", r"t10 <= (\d+)") / 1000),
    ("scripts/test from a fresh clone: 8 min 46 s, time .ci/run on a new clone, Debian 12, 2 cores, 2026-12-09",
     [r"about 9 minutes", r"8 min 46 s"], 526, 0.05, lambda root: 526),
    ("scripts/demo from a fresh clone: 98 s, on the same machine, 2026-12-08",
     [r"about 2 minutes", r"98 s"], 98, 0.25, lambda root: 98),
    ("scripts/coverage: measured when it was written, 2026-12-08 (commit e414d38)",
     [r"about three minutes"], 180, 0.25, lambda root: 180),
    ("scripts/mutants: 98 faults, 40 min 5 s, measured 2026-12-09 (commit b6eb7a2)",
     [r"about 40 minutes"], 2405, 0.1, lambda root: 2405),
    ("a full bench/run on a quiet machine, measured 2026-12-08 (commit d99973b)",
     [r"about a minute and a half"], 90, 0.25, lambda root: 90),
]

FIGURE_WORDS = r"(?:a tenth of a|half a|an?|one|two|three|four|five|six|seven|eight|nine|ten|twenty|thirty)"
# A number with a unit of length in characters or of time; "a character" is no figure.
FIGURE = re.compile(r"\b(?:\d+(?:\.\d+)?\s?(?:characters?|seconds?|s|ms|minutes?|min)\b|"
                    r"(?!an? character)" + FIGURE_WORDS + r" (?:characters?|seconds?|minutes?)\b)", re.I)
NUMBER_WORDS = {"a tenth of a": 0.1, "half a": 0.5, "a": 1, "an": 1, "one": 1, "two": 2, "three": 3, "four": 4,
                "five": 5, "six": 6, "seven": 7, "eight": 8, "nine": 9, "ten": 10, "twenty": 20, "thirty": 30}
UNITS = {"character": 1, "characters": 1, "s": 1, "second": 1, "seconds": 1, "ms": 0.001, "min": 60,
         "minute": 60, "minutes": 60}


def stated(phrase):
    """The value a phrase states: its figures in characters or seconds, added up ("6 min 4 s")."""
    total = 0
    for figure in FIGURE.findall(phrase):
        amount, unit = re.fullmatch(r"(.*?)\s?([a-z]+)", figure.lower()).groups()
        total += (NUMBER_WORDS[amount] if amount in NUMBER_WORDS else float(amount)) * UNITS[unit]
    if re.search(r"and a half", phrase):  # "about a minute and a half"
        total *= 1.5
    return total


def check_figures(root):
    texts = {}
    for document in documents(root):
        text = document.read_text(encoding="utf-8")
        if document.relative_to(root).as_posix() == "bench/README.md":
            text = text[:text.index("\n## Measured")]
        texts[document.relative_to(root).as_posix()] = flat(text)
    ok = True
    covered = {name: [] for name in texts}
    for what, phrases, value, slack, source in FIGURES:
        try:
            actual = source(root)
        except (LookupError, OSError, TypeError) as failure:
            actual = None
            print("docs_check: %s: %s" % (what, failure))
        if actual is None or abs(actual - value) > slack * abs(actual) + 1e-9:
            print("docs_check: the documents say %s for %s, but the code or measurement gives %s"
                  % (value, what, actual))
            ok = False
        for phrase in phrases:
            spans = [(name, m.span()) for name, text in texts.items() for m in re.finditer(phrase, text, re.I)]
            if not spans:
                print("docs_check: no document says %r any more (%s): drop it from FIGURES" % (phrase, what))
                ok = False
            for name, span in spans:
                amount = stated(texts[name][span[0]:span[1]])
                if abs(amount - value) > slack * value + 1e-9:
                    print("%s: %r states %s, but FIGURES has %s for %s" % (name, phrase, amount, value, what))
                    ok = False
                covered[name].append(span)
    count = 0
    for name, text in texts.items():
        for m in FIGURE.finditer(text):
            count += 1
            if not any(start <= m.start() and m.end() <= end for start, end in covered[name]):
                print("%s: %r is a figure that no entry of FIGURES states (...%s...)"
                      % (name, m.group(0), text[max(0, m.start() - 40):m.end() + 20]))
                ok = False
    if ok:
        print("docs_check: the %d figures in %d documents come from the %d entries of FIGURES, "
              "which match the code and the measurements" % (count, len(texts), len(FIGURES)))
    return ok


# Earlier builds' temporary files, which INSTALL.txt names so that they can be removed.
EARLIER_NAMES = {"~tarn<pid>-<n>.tmp", "~tarn*.tmp"}
SOURCE_FOLDERS = r"(?:\.ci|app|bench|cmake|demo|docs|launch|scripts|sourcesafe|tests|tools)"


def table_lines(root):
    return [line for line, _ in page_lines(root)]


QUOTE_WILDCARDS = r"\.\.\.|<[^>]*>|(?<![\w-])[NRTWX](?![\w-])"


def quote_matches(quote, line):
    """Whether a quote fits a line of the table, each with the parts that change in a run left open: "...",
    <...> or a lone X, N, R, T or W in the quote, <...> in the line; a quote may stop after a ":"."""
    quote += "..." if quote.endswith(":") else ""

    def pattern(text, wildcards):
        return ".*?".join(re.escape(part) for part in re.split(wildcards, text))
    return bool(re.fullmatch(pattern(quote, QUOTE_WILDCARDS), re.sub(r"<[^>]*>", "\0", line), re.S) or
                re.fullmatch(pattern(line, r"<[^>]*>"), re.sub(QUOTE_WILDCARDS, "\0", quote), re.S))


def quotes(text, markdown):
    """Quoted texts: "..." outside code, and `...` code spans in Markdown."""
    found = []
    body = re.sub(r"```.*?```", "", text, flags=re.S) if markdown else text
    if markdown:
        found += re.findall(r"`([^`]+)`", body)
        body = re.sub(r"`[^`]*`", "", body)
    found += re.findall(r'"([^"]{3,300}?)"', body, flags=re.S)
    return [re.sub(r"\s+", " ", q).strip() for q in found]


def code_texts(text, markdown):
    """What a reader types: code spans, fenced blocks and indented lines (in INSTALL.txt the indented lines)."""
    if not markdown:
        return [line for line in text.splitlines() if line.startswith("    ")]
    blocks = re.findall(r"```[^\n]*\n(.*?)```", text, flags=re.S)
    rest = re.sub(r"```.*?```", "", text, flags=re.S)
    return blocks + re.findall(r"`([^`\n]+)`", rest) + [line for line in rest.splitlines() if line.startswith("    ")]


def check_quotes(name, text, lines, problems):
    starts = {tuple(line.split()[:2]) for line in lines if len(line.split()) >= 2}
    for quote in quotes(text, name.endswith(".md")):
        words = quote.lstrip(".").split()
        if len(words) >= 2 and tuple(words[:2]) in starts and not any(quote_matches(quote, line) for line in lines):
            problems.append("%s: %r reads like a line of Tarn's, but the program prints no such line" % (name, quote))


def cmake_cache_names(root):
    names = set()
    for path in [root / "CMakeLists.txt"] + sorted((root / "cmake").glob("*.cmake")) + [root / "tests/CMakeLists.txt"]:
        text = path.read_text(encoding="utf-8")
        names |= set(re.findall(r"option\((\w+)", text)) | set(re.findall(r"set\((\w+) [^)]*CACHE", text))
    return names


def repository_text(root, tracked):
    return "\n".join((root / name).read_text(encoding="utf-8", errors="replace") for name in tracked
                     if (root / name).is_file() and not name.startswith("tests/fuzz/corpus/"))


def tracked_files(root):
    """The repository's files, as git lists them; in a copy that is no work tree
    of its own (the mutation check's, inside build/), the files it holds
    outside build/ and dist/."""
    listed = subprocess.run(["git", "ls-files"], cwd=root, capture_output=True, text=True)
    if listed.returncode == 0 and listed.stdout.strip():
        return set(listed.stdout.split())
    return {p.relative_to(root).as_posix() for p in root.rglob("*")
            if p.is_file() and not {"build", "dist", ".git"} & set(p.relative_to(root).parts)}


def check_names(root):
    problems = []
    tracked = tracked_files(root)
    folders = {str(pathlib.PurePosixPath(name).parent) for name in tracked}
    # What the scripts make and git ignores counts as held.
    folders |= {line.strip("/") for line in read(root, ".gitignore").splitlines() if line.strip("/")}
    log = constant(root, "sourcesafe/install_paths.cpp", r'm_strLogPath = strFolder \+ "([^"]+)"')
    # srcsafe.ini, its lock, its record, and a temporary file of either (also as "*" in a pattern).
    beside = re.compile("{0}(?:{1}|{2}|(?:{2})?{3}(?:<pid>{4}<n>|\\*){5})".format(
        *map(re.escape, beside_ini(root))))
    lines = table_lines(root)
    scripts = {name for name in tracked if name.startswith("scripts/") or name == "bench/run" or
               (name.startswith("tests/") and name.endswith(".sh"))}
    cache = cmake_cache_names(root)
    presets = set(re.findall(r'"name": "([\w-]+)"', read(root, "CMakePresets.json")))
    labels = set(re.findall(r"LABELS (\w+)", read(root, "tests/CMakeLists.txt")))
    rows = set(re.findall(r"^\[([\w.-]+)\]$", read(root, "tests/mutants/catalogue.txt"), flags=re.M))
    added = re.findall(r'strParameters \+= " (-[^"]+)"', read(root, "app/default_switches.cpp"))
    own = {"-" + s for s in re.findall(r'HasSwitchPrefix\(strArg, "-([^"]+)"\)',
                                       read(root, "app/command_line_rules.cpp"))}
    for document in documents(root):
        name = document.relative_to(root).as_posix()
        text = document.read_text(encoding="utf-8")
        others = repository_text(root, tracked - {name})
        check_quotes(name, text, lines, problems)
        for path in re.findall(r"(?<![\w./\\:-])(%s/[\w.*<>/-]*[\w*>/])" % SOURCE_FOLDERS, text):
            pattern = re.sub(r"<[^>]*>", "*", path.rstrip("/"))
            if not any(fnmatch.fnmatch(f, pattern) or fnmatch.fnmatch(f, pattern + "/*") for f in tracked | folders):
                problems.append("%s: names %s, which the repository does not hold" % (name, path))
        for file in re.findall(r"(?:srcsafe\.ini\.tarn|~tarn)[\w<>*.-]*[\w>*]|tarnlog\.xml", text):
            file = re.sub(r"<process(?: id)?>", "<pid>", file)
            if not (beside.fullmatch(file) or file == log or file in EARLIER_NAMES):
                problems.append("%s: names %s, a file the program never makes" % (name, file))
        for switch in re.findall(r"(?<![\w-])(-[A-Za-z]{2}:)", text):
            if switch.upper() not in own:
                problems.append("%s: names the switch %s; Tarn's own are %s" % (name, switch, ", ".join(sorted(own))))
        for variable in sorted(set(re.findall(r"\b(TARN_[A-Z0-9_]+)\b", text))):
            if not re.search(r"\b%s\b" % variable, others):
                problems.append("%s: names %s, which nothing else in the repository has" % (name, variable))
        code = "\n".join(code_texts(text, name.endswith(".md")))
        for variable in sorted(set(re.findall(r"-D([A-Z][A-Z0-9_]+)=", code)) - cache):
            problems.append("%s: -D%s is no cache variable of the project" % (name, variable))
        for preset in re.findall(r"--preset[ =]([\w-]+)", code) + re.findall(r"preset `([\w-]+)`", text):
            if preset not in presets:
                problems.append("%s: names the preset %s, which CMakePresets.json does not have" % (name, preset))
        for label in re.findall(r"(?<![\w-])-LE? (\w+)", code):
            if label not in labels:
                problems.append("%s: names the test label %s, which no test has" % (name, label))
        for script, rest in re.findall(r"(?<![\w/])(%s/[\w.-]+)((?: +[^\s`'\"]+)*)" % SOURCE_FOLDERS, code):
            if script not in scripts:
                continue
            for option in re.findall(r"(?<![\w-])(--[a-z][\w-]*)", rest):
                if not re.search(r"(?<![\w-])%s\b" % re.escape(option), read(root, script)):
                    problems.append("%s: %s %s: the script has no such option" % (name, script, option))
            if script == "scripts/mutants":
                for row in re.findall(r"(?<![\w-])([a-z][\w.]*(?:-[\w.]+)+)", rest):
                    if row not in rows:
                        problems.append("%s: scripts/mutants %s: the catalogue has no such row" % (name, row))
        if name == "README.md":
            table = re.findall(r"^\| `(-[^`]+)` \| .* \| .* \|$", text, flags=re.M)
            if table != added:
                problems.append("README.md: the default switches are listed as %s; the code adds %s" % (table, added))
    for problem in problems:
        print(problem)
    if not problems:
        print("docs_check: every file, message, switch, variable, preset, label and row that the %d documents "
              "name exists" % len(documents(root)))
    return not problems


def shipped_documents(root):
    """The sources of the documents in the release zips, with the names they have there."""
    text = read(root, "cmake/packaging.cmake")
    shipped = dict(re.findall(r"^tarn_package_text\((\S+) (\S+)\)$", text, flags=re.M))
    shipped.update(re.findall(r'configure_file\("\$\{CMAKE_SOURCE_DIR\}/(\S+)" "\$\{CMAKE_BINARY_DIR\}/package/(\S+)"',
                              text))
    return shipped


def check_package(root):
    problems = []
    shipped = shipped_documents(root)
    names = set(shipped.values()) | {"tarn.exe"}
    for source in shipped:
        path = root / source
        text = path.read_text(encoding="utf-8")
        body = re.sub(r"```.*?```", "", text, flags=re.S)
        for target in re.findall(r"\]\(([^)\s#]+)[^)]*\)", body):
            if not re.match(r"[a-z]+:", target):
                linked = os.path.normpath((path.parent / target).relative_to(root).as_posix())
                if linked not in shipped:
                    problems.append("%s: links to %s, which the zips do not carry" % (source, target))
        prose = re.sub(r"\]\([^)]*\)", "]", body)
        for mentioned in re.findall(r"\b[\w-]+\.md\b", prose):
            problems.append("%s: names %s, which has another name in the zips, or none" % (source, mentioned))
        for mentioned in set(re.findall(r"\b[A-Z]{2,}\.txt\b", prose)) - names:
            problems.append("%s: names %s, which the zips do not carry" % (source, mentioned))
    install = read(root, "docs/INSTALL.txt")
    section = install[install.index("What is in this package"):install.index("\n\n\n", install.index("What is"))]
    listed = set(re.findall(r"^  (\S+)  ", section, flags=re.M))
    if listed != names:
        problems.append("docs/INSTALL.txt: lists %s as the zip's files, which are %s" % (sorted(listed), sorted(names)))
    readme = read(root, "README.md")
    documents_part = readme[readme.index("## Documents"):readme.index("\n## ", readme.index("## Documents") + 3)]
    for bullet in re.split(r"\n- ", documents_part)[1:]:
        source = re.match(r"\[[^\]]*\]\(([^)]+)\)", bullet).group(1)
        if ("in both release zips" in re.sub(r"\s+", " ", bullet)) != (source in shipped):
            problems.append("README.md: the list of documents says wrongly whether %s is in the zips" % source)
    for problem in problems:
        print(problem)
    if not problems:
        print("docs_check: the %d documents of the zips link to and name only what the zips carry" % len(shipped))
    return not problems


def main():
    checks = {"messages": check_messages, "links": check_links, "figures": check_figures, "names": check_names,
              "package": check_package}
    if len(sys.argv) != 3 or sys.argv[1] not in checks:
        raise SystemExit(__doc__)
    sys.exit(0 if checks[sys.argv[1]](pathlib.Path(sys.argv[2])) else 1)


if __name__ == "__main__":
    main()
