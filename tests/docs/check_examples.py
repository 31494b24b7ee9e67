#!/usr/bin/env python3
"""Runs the examples of Quarn's documents and compares what Quarn prints with
what the documents show, so that the manuals cannot drift from the program.

    check_examples.py QUARN SOURCE_DIR DOCUMENT...

Fenced blocks are read by their info string:

  talk [ARGS]    a talk-mode session of `quarn ARGS`: lines starting with ">"
                 are typed (so is the line after ">.load", which starts with
                 "File name: "); the other lines are what quarn prints.
  quarn NAME     a script, saved as NAME for the blocks after it
  data NAME      a data file, saved as NAME
  output         follows a quarn block: that script is run (unnamed ones as
                 example.qn) and must print exactly this
  shell          lines starting with "$ " are run by bash, the others are
                 what they print

Standard output and standard error are read together, as a terminal shows
them. Each document runs in a fresh folder of its own, where its files are
saved in document order, with the folder of QUARN first on PATH. A quarn block
with neither a name nor an output block is an error: every example runs.
Without DISPLAY, blocks that open a window are skipped.

Every message quoted at the start of a list item or table cell ('- "text"' or
'| "text"') must be a literal of the program's source, so that a message the
documents name is a message the program can print.
"""
import os
import re
import subprocess
import sys
import tempfile

TIMEOUT = 60


class Block:
    def __init__(self, doc, line, info, text):
        self.doc, self.line, self.text = doc, line, text
        words = info.split()
        self.kind = words[0] if words else ""
        self.args = words[1:]

    def where(self):
        return f"{self.doc}:{self.line}"


def read_blocks(path):
    blocks, info, start, body = [], None, 0, []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if info is None:
                if line.startswith("```"):
                    info, start, body = line[3:].strip(), number, []
            elif line.startswith("```"):
                blocks.append(Block(path, start, info, "\n".join(body)))
                info = None
            else:
                body.append(line)
    return blocks


def opens_window(text):
    return re.search(r"\bscreen\(\s*[^)\s]", text) is not None


class Runner:
    def __init__(self, quarn, folder):
        self.folder = folder
        self.env = dict(os.environ, LC_ALL="C", HOME=folder, XDG_STATE_HOME=folder)
        self.env["PATH"] = os.path.dirname(os.path.abspath(quarn)) + os.pathsep + self.env.get("PATH", "")
        self.quarn = os.path.abspath(quarn)

    def run(self, command, stdin="", shell=False):
        try:
            done = subprocess.run(command, input=stdin.encode(), cwd=self.folder, env=self.env, shell=shell,
                                  executable="/bin/bash" if shell else None, stdout=subprocess.PIPE,
                                  stderr=subprocess.STDOUT, timeout=TIMEOUT)
            return done.stdout.decode("utf-8", "replace")
        except subprocess.TimeoutExpired:
            return f"<no end after {TIMEOUT} s>"

    def save(self, name, text):
        path = os.path.join(self.folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text + "\n")


def talk(block, runner):
    """Returns (expected, actual) for a talk-mode session."""
    typed, expected, previous = [], "", None
    for line in block.text.split("\n"):
        if line.startswith(">"):
            typed.append(line[1:])
            expected += ">"
            previous = line
        elif previous == ">.load" and line.startswith("File name: "):
            typed.append(line[len("File name: "):])
            expected += "File name: "
            previous = line
        else:
            expected += line + "\n"
    expected += ">"
    actual = runner.run([runner.quarn] + block.args, "".join(t + "\n" for t in typed))
    return expected, actual


def shell(block, runner):
    expected, actual = "", ""
    for line in block.text.split("\n"):
        if line.startswith("$ "):
            output = runner.run(line[2:], shell=True)
            if output and not output.endswith("\n"):
                output += "\n"  # the shell's prompt would start the next line
            actual += output
        else:
            expected += line + "\n"
    return expected, actual


def check_document(path, quarn, display):
    failures, ran, skipped = [], 0, 0
    blocks = read_blocks(path)
    with tempfile.TemporaryDirectory() as folder:
        runner = Runner(quarn, folder)
        saved = {}
        for i, block in enumerate(blocks):
            following = blocks[i + 1] if i + 1 < len(blocks) else None
            if block.kind in ("quarn", "data"):
                name = block.args[0] if block.args else None
                if name:
                    runner.save(name, block.text)
                    saved[name] = block.text
                if block.kind == "quarn" and not name and not (following and following.kind == "output"):
                    failures.append(f"{block.where()}: a script that is neither named nor followed by its output")
                continue
            if block.kind == "output":
                previous = blocks[i - 1] if i > 0 else None
                if not previous or previous.kind != "quarn":
                    failures.append(f"{block.where()}: an output block that follows no script")
                    continue
                name = previous.args[0] if previous.args else "example.qn"
                if not previous.args:
                    runner.save(name, previous.text)
                if opens_window(previous.text) and not display:
                    skipped += 1
                    continue
                expected, actual = block.text + "\n", runner.run([runner.quarn, name])
            elif block.kind == "talk":
                if opens_window(block.text) and not display:
                    skipped += 1
                    continue
                expected, actual = talk(block, runner)
            elif block.kind == "shell":
                scripts = " ".join(text for name, text in saved.items() if name in block.text)
                if opens_window(block.text + scripts) and not display:
                    skipped += 1
                    continue
                expected, actual = shell(block, runner)
            else:
                continue
            ran += 1
            if expected != actual:
                failures.append(f"{block.where()}: the example prints\n{indent(actual)}\n  instead of\n{indent(expected)}")
    return failures, ran, skipped


def indent(text):
    return "\n".join("    | " + line for line in text.split("\n"))


def quoted_messages(path):
    """The messages quoted at the start of list items and table cells."""
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if re.match(r'^\s*(- |\| )"', line):
                # A list item may name several messages joined by "or".
                for message in re.findall(r'"([^"]+)"', line.split(" when ")[0]):
                    yield number, message


def source_literals(source_dir):
    texts = []
    for folder in ("driver", "frontend", "exec", "value", "builtins", "files", "graphics", "platform"):
        for root, _, files in os.walk(os.path.join(source_dir, folder)):
            for name in files:
                if name.endswith((".cpp", ".h", ".l", ".y")):
                    with open(os.path.join(root, name), encoding="utf-8", errors="replace") as f:
                        texts.append(f.read())
    return "\n".join(texts)


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    quarn, source_dir, documents = sys.argv[1], sys.argv[2], sys.argv[3:]
    display = bool(os.environ.get("DISPLAY"))
    literals = source_literals(source_dir)
    failures, ran, skipped = [], 0, 0
    for doc in documents:
        path = os.path.join(source_dir, doc)
        found, r, s = check_document(path, quarn, display)
        failures += found
        ran += r
        skipped += s
        for number, message in quoted_messages(path):
            if f'"{message}"' not in literals:
                failures.append(f"{path}:{number}: the program has no message \"{message}\"")
    for failure in failures:
        print(failure)
    note = f", {skipped} skipped without a display" if skipped else ""
    print(f"{ran} examples run{note}, {len(failures)} failures")
    sys.exit(1 if failures or ran == 0 else 0)


if __name__ == "__main__":
    main()
