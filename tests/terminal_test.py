#!/usr/bin/env python3
"""Talk mode and Ctrl-C as a person at a terminal meets them.

Each scenario starts quarn (on a pseudo-terminal, or on pipes where it says
so), types keys, and waits for the text each key must bring; then it checks
the exit status and, for some, files left behind.
Usage: terminal_test.py QUARN
"""
import os
import pty
import select
import signal
import subprocess
import sys
import tempfile
import time

QUARN = os.path.abspath(sys.argv[1])
WORK = tempfile.mkdtemp(prefix="quarn_terminal_")
STATE = os.path.join(WORK, "state")
UP, TAB, CTRL_C, CTRL_D = "\x1b[A", "\t", "\x03", "\x04"

FILES = {
    "loadme.qn": 'print("loaded from file");\n',
    "key.qn": 'print("press a key");\nk = getch();\nprint("after the key ", k);\n',
    "commands.qn": 'print("looping");\nwhile (1) system("sleep 5");\n',
    "line.qn": 'print("type a line");\nlinput(a);\nprint("not reached");\n',
    "fifo.qn": 'open(@1, "pipe", "r");\nlinput(@1, a);\nprint("not reached");\n',
    "order.qn": 'print("first");\nprintf("second ");\nx = undeclared;\n',
    "order_data.qn": 'open(@1, "bad.dat", "r");\nprint("before");\ninput(@1, a);\nprint("after");\n',
    "bad.dat": "1 x\n",
}


class Session:
    """quarn on a pseudo-terminal: type keys, wait for what they bring."""

    def __init__(self, args, env):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(WORK)
            os.execve(QUARN, ["quarn"] + args, env)
        self.seen = ""  # output not yet matched by expect()
        self.log = ""  # all output, for the report of a failure

    def read(self, timeout):
        ready, _, _ = select.select([self.fd], [], [], timeout)
        if not ready:
            return False
        try:
            chunk = os.read(self.fd, 4096)
        except OSError:  # the program ended
            return None
        if not chunk:
            return None
        self.seen += chunk.decode("latin-1")
        self.log += chunk.decode("latin-1")
        return True

    def expect(self, text, timeout=10):
        end = time.time() + timeout
        while text not in self.seen:
            if time.time() > end or self.read(end - time.time()) is None:
                raise AssertionError("waited for %r in %r" % (text, self.log))
        self.seen = self.seen[self.seen.index(text) + len(text):]

    def type(self, keys):
        os.write(self.fd, keys.encode())

    def status(self, timeout=10):
        end = time.time() + timeout
        while time.time() < end:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                self.read(0.1)
                return os.waitstatus_to_exitcode(status)
            self.read(0.1)
        os.kill(self.pid, signal.SIGKILL)
        raise AssertionError("quarn did not end; output %r" % self.seen)


def environment():
    env = dict(os.environ)
    env.update(TERM="xterm", HOME=os.path.join(WORK, "home"), XDG_STATE_HOME=STATE)
    return env


# A scenario: (name, command-line words, steps, exit status).
# A step is (keys to type, text they must bring); a None text waits for nothing.
TERMINAL = [
    ("a function over several lines", [], [
        (None, ">"),
        ("function twice(x) {\r", ".. "),
        ("return x * 2;\r", ".. "),
        ("}\r", ">"),
        ("twice(4)\r", "8.000"),
        ("/* a comment\r", ".. "),
        ("goes on */ 7\r", "7.000"),
        ("y = [1,\r", ".. "),
        ("\r", ">"),  # an empty line abandons the text
        ("y\r", "Variable y not declared"),
        ("z = (1,\r", ".. "),
        (CTRL_C, ">"),
        ("w = 5", "w = 5"),
        (CTRL_C, ">"),  # abandons the line, not the session
        ("w\r", "Variable w not declared"),
        ("twice(1)\r", "2.000"),  # the function is still there
        (CTRL_D, "\r\n"),
    ], 0),
    ("history kept in a file", [], [
        (None, ">"),
        ("h = 41\r", "41.000"),
        (".quit\r", None),
    ], 0),
    ("history loaded at start", [], [
        (None, ">"),
        (UP + UP + "\r", "41.000"),
        (CTRL_D, None),
    ], 0),
    ("Tab completes names, commands and file names", [], [
        (None, ">"),
        ("longvariable = 7\r", "7.000"),
        ("longv" + TAB + "+ 1\r", "8.000"),
        ("function myfunc(a) { return a + 1; }\r", ">"),
        ("myf" + TAB + "(2)\r", "3.000"),
        ("sqr" + TAB + "(16)\r", "4.000"),
        ("retur" + TAB + "5;\r", "5.000"),
        (".fl" + TAB + "\r", "sqrt$1"),
        (".load\r", "File name: "),
        ("loadm" + TAB + "\r", "loaded from file"),
        (CTRL_D, None),
    ], 0),
    ("Ctrl-C ends getch at once and leaves the next key", ["-t", "key.qn"], [
        (None, "press a key"),
        (CTRL_C, "Interrupted"),
        ("1 + 1\r", "2.000\r\n>"),
        ("getche()\r", "getche()\r\n"),
        (CTRL_C, "Interrupted"),
        ("x\r", "Variable x not declared"),
        (CTRL_D, None),
    ], 0),
    ("Ctrl-C ends a script", ["key.qn"], [(None, "press a key"), (CTRL_C, "Interrupted")], 130),
    ("Ctrl-C ends a loop of commands", ["commands.qn"], [(None, "looping"), (CTRL_C, "Interrupted")], 130),
    ("Ctrl-C ends a wait for a console line", ["line.qn"],
     [(None, "type a line"), ("12", "12"), (CTRL_C, "Interrupted")], 130),
]


def run_terminal(name, args, steps, want):
    session = Session(args, environment())
    for keys, text in steps:
        if keys:
            # The editor shows its prompt just before it takes the terminal;
            # a key typed in between meets the terminal's own line editing
            # (Ctrl-D there is an end of file that the editor then drops).
            time.sleep(0.15)
            session.type(keys)
        if text:
            session.expect(text)
    status = session.status()
    assert status == want, "exit status %d, expected %d; output %r" % (status, want, session.seen)
    assert "not reached" not in session.seen and "after the key" not in session.seen, session.seen


def check_history_file():
    path = os.path.join(STATE, "quarn", "history")  # its mode and cap: unit tests
    with open(path) as f:
        entries = f.read().split("\n")[:-1]
    assert entries[-2:] == ["h = 41", ".quit"], entries


def pipes(args, stdin=subprocess.PIPE, stderr=subprocess.PIPE):
    return subprocess.Popen([QUARN] + args, cwd=WORK, stdin=stdin, stdout=subprocess.PIPE, stderr=stderr,
                            env=environment())


def check_prompt_without_terminal():
    quarn = pipes([])
    quarn.stdin.write(b"x = 5\n")
    quarn.stdin.flush()
    out = b""
    while not out.endswith(b">5.000\n>"):  # the prompt is flushed: quarn waits
        out += os.read(quarn.stdout.fileno(), 100)
    quarn.send_signal(signal.SIGINT)  # at the prompt: a new prompt, globals kept
    time.sleep(0.3)
    rest, err = quarn.communicate(b"x + 1\n", timeout=10)
    assert (out + rest, err, quarn.returncode) == (b">5.000\n>\n>6.000\n>", b"", 0), (out + rest, err)


def check_data_line_from_a_pipe():
    fifo = os.path.join(WORK, "pipe")
    os.mkfifo(fifo)
    writer = os.open(fifo, os.O_RDWR)  # a writer that never writes
    quarn = pipes(["fifo.qn"], stdin=subprocess.DEVNULL)
    time.sleep(0.5)
    quarn.send_signal(signal.SIGINT)
    out, err = quarn.communicate(timeout=10)
    os.close(writer)
    assert (out, err, quarn.returncode) == (b"", b"error [2]: Interrupted\n", 130), (out, err, quarn.returncode)


def check_output_order():
    for script, want in [
        ("order.qn", b"first\nsecond error [3]: Variable undeclared not declared\n"),
        ("order_data.qn", b"before\nBad data on line 1\nafter\n"),
    ]:
        quarn = pipes([script], stdin=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        out, _ = quarn.communicate(timeout=10)
        assert out == want, (script, out)


def main():
    for name, text in FILES.items():
        with open(os.path.join(WORK, name), "w") as f:
            f.write(text)
    os.makedirs(os.path.join(WORK, "home"))
    checks = [(s[0], lambda s=s: run_terminal(*s)) for s in TERMINAL]
    checks.insert(2, ("history file written", check_history_file))
    checks += [
        ("Ctrl-C at the prompt without a terminal", check_prompt_without_terminal),
        ("Ctrl-C ends a wait for a data line", check_data_line_from_a_pipe),
        ("errors come after earlier output", check_output_order),
    ]
    failed = 0
    for name, check in checks:
        try:
            check()
        except AssertionError as e:
            print("FAILED: %s: %s" % (name, e))
            failed += 1
    subprocess.run(["rm", "-rf", WORK])
    print("%d of %d checks failed" % (failed, len(checks)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
