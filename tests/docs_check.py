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

Exits 1 and says what is wrong when a check fails.
"""
import pathlib
import re
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


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("messages", "links"):
        raise SystemExit(__doc__)
    root = pathlib.Path(sys.argv[2])
    ok = check_messages(root) if sys.argv[1] == "messages" else check_links(root)
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
