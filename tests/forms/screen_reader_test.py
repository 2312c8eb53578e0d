#!/usr/bin/python3
"""What the Orca screen reader says as the program's windows open, case by case.

The program runs on a virtual display under a window manager, with a D-Bus session bus
and accessibility bus of the test's own; Orca runs beside it with --debug-file, which logs every utterance as
SPEECH OUTPUT: '...' even with no sound. Each case acts as a user of a screen reader does:
text set into the boxes and buttons pressed through AT-SPI, counts typed on the keyboard
into the counter that has the focus. It lets Orca
catch up (it is done when it stops using the processor), and then looks in Orca's log,
written out as Orca ends, for the utterances it expects, in order.

Orca refuses to start while another Orca of the same user runs, and ends every one of
them when started with --replace, so a running Orca makes this test skip instead.

Usage: screen_reader_test.py PROGRAM
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
WARNING = ("Warning!  Operation may not be satisfactory using these figures unless "
           "functional trackage is redesigned.")

# name: (footages set into the boxes, counts typed into the counters, keys pressed in the
# results window, what Orca says: groups of utterances, each group said one after the
# other, the groups in this order)
CASES = {
    "a count typed, then the results of a saturated layout: every line in reading order, "
    "the warning, then OK; the context menu's first item each time it opens": (
        {"Passing Track:": "10", "Functional Track:": "18", "Storage Track:": "100"},
        {"Number of 40' cars": "30"},
        ["shift+F10", "Escape", "Menu", "Escape"],
        # Orca echoes each key; then the count the counter took, and nothing between.
        [["3 ", "0 ", "30"],
         ["Trelvane Analysis dialog Passing trackage is ADEQUATE. Functional trackage is "
          "SATURATED! Move no more than 14.4 cars, or REDESIGN trackage. Yard capacity is "
          "ADEQUATE. Use a max. of 160 cars in service. Based on 30 cars in service: Move 21 "
          "cars for a HEAVY session. Move 15 cars for an AVERAGE session. Move 7 cars for a "
          "LIGHT session. " + WARNING,
          "OK push button."],
         ["Copy Analysis."],
         ["Copy Analysis."]]),
}

# SPEECH OUTPUT: 'the words'{'established': False}, the voice after the words.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)'\s*(\{.*\})?\s*$")


def spoken(log):
    try:
        with open(log, errors="replace") as f:
            return [m.group(1) for m in map(SPEECH.search, f) if m]
    except FileNotFoundError:
        return []


def wait_for(condition, seconds, what):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return
        time.sleep(0.2)
    raise TimeoutError(what)


class Session:
    """A display, a session bus, the accessibility bus and Orca, all of the test's own."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="trelvane-orca-")
        self.processes = []
        home = os.path.join(self.dir, "home")
        runtime = os.path.join(self.dir, "runtime")
        os.makedirs(home)
        os.makedirs(runtime, mode=0o700)
        self.env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime,
                        XDG_CONFIG_HOME=os.path.join(home, ".config"),
                        XDG_DATA_HOME=os.path.join(home, ".local/share"),
                        XDG_CACHE_HOME=os.path.join(home, ".cache"),
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", LC_ALL="C.UTF-8")
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                     "AT_SPI_BUS_ADDRESS", "QT_ACCESSIBILITY"):
            self.env.pop(name, None)
        self.log = os.path.join(self.dir, "orca.log")

    def start(self, command, **kwargs):
        process = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def __enter__(self):
        try:
            return self._bring_up()
        except BaseException:
            if os.path.exists(self.log):
                with open(self.log, errors="replace") as f:
                    print("Orca's log ends:\n" + "".join(f.readlines()[-15:]))
            self.__exit__()
            raise

    def _bring_up(self):
        read, write = os.pipe()
        self.start(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp"], pass_fds=(write,))
        os.close(write)
        with os.fdopen(read) as display:
            self.env["DISPLAY"] = ":" + display.readline().strip()
        # Orca does not come up on a display that no window manager looks after.
        self.start(["openbox", "--sm-disable"])
        bus = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                              "--print-pid=1"], env=self.env, check=True,
                             capture_output=True, text=True).stdout.split()
        self.env["DBUS_SESSION_BUS_ADDRESS"], self.bus_pid = bus[0], int(bus[1])
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        wait_for(lambda: subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
             "org.a11y.Bus.GetAddress"], env=self.env, capture_output=True).returncode == 0,
            15, "the accessibility bus did not start")
        self.orca = self.start(["orca", "--disable", "braille", "--disable", "main-window",
                                "--disable", "splash-window", "--debug-file", self.log])
        self.wait_for_orca()
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
        return self

    def wait_for_orca(self, quiet=1.5, seconds=60):
        """Returns once Orca has used no processor time for `quiet` seconds: it has
        presented every event it was sent."""
        def used():
            with open(f"/proc/{self.orca.pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            return int(fields[11]) + int(fields[12])
        deadline = time.monotonic() + seconds
        last, since = used(), time.monotonic()
        while time.monotonic() < deadline:
            time.sleep(0.25)
            if self.orca.poll() is not None:
                raise RuntimeError("Orca ended")
            now = used()
            if now != last:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= quiet:
                return
        raise TimeoutError("Orca kept busy")

    def utterances(self):
        """Ends Orca, which writes out its log, and returns what it said."""
        self.orca.terminate()
        self.orca.wait(15)
        return spoken(self.log)

    def __exit__(self, *exc):
        self.processes = getattr(self, "processes", [])
        # Only this session's processes, by their own ids: never every Orca of the user.
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if getattr(self, "bus_pid", None):
            os.kill(self.bus_pid, signal.SIGTERM)
        shutil.rmtree(self.dir, ignore_errors=True)


def find(node, name, role=None):
    """The first object under node with that name (and role), depth first."""
    if node is None:
        return None
    if node.name == name and (role is None or node.getRoleName() == role):
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), name, role)
        if found:
            return found
    return None


def press(node):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) in ("Press", "press", "click"):
            actions.doAction(i)
            return
    actions.doAction(0)


def input_window_title(program):
    """The input window's caption, from the version the program gives."""
    version = subprocess.run([program, "--version"], capture_output=True, text=True,
                             check=True).stdout.split()[-1]
    return f"Trelvane   v{version}"


def run_case(session, program, footages, counts, keys):
    """Acts in the program as the case says, and returns how it ended."""
    import pyatspi
    title = input_window_title(program)
    app = session.start([program])
    desktop = pyatspi.Registry.getDesktop(0)
    name = os.path.basename(program)

    def window(title, role):
        for candidate in desktop:
            if candidate is not None and candidate.name == name:
                found = find(candidate, title, role)
                if found:
                    return found
        return None
    wait_for(lambda: window(title, "frame"), 30, "the input window did not reach AT-SPI")
    frame = window(title, "frame")
    session.wait_for_orca()
    for box, footage in footages.items():
        find(frame, box, "text").queryEditableText().setTextContents(footage)
    for counter, count in counts.items():
        find(frame, counter, "spin button").queryComponent().grabFocus()
        session.wait_for_orca()
        # Typed on the keyboard, as a user does: the digits come in quick succession.
        subprocess.run(["xdotool", "type", "--delay", "100", count], env=session.env, check=True)
        session.wait_for_orca()
    press(find(frame, "Analyze", "push button"))
    wait_for(lambda: window("Trelvane Analysis", "dialog"), 30,
             "the results window did not open")
    session.wait_for_orca()
    for key in keys:
        subprocess.run(["xdotool", "key", key], env=session.env, check=True)
        session.wait_for_orca()
    press(find(window("Trelvane Analysis", "dialog"), "OK", "push button"))
    wait_for(lambda: not window("Trelvane Analysis", "dialog"), 15,
             "the results window did not close")
    press(find(frame, "Exit", "push button"))
    try:
        return app.wait(15)
    except subprocess.TimeoutExpired:
        return "still running"


def heard_in_order(said, groups):
    """Whether each group of utterances was said one after the other, the groups in order."""
    at = 0
    for group in groups:
        while at < len(said) and said[at:at + len(group)] != group:
            at += 1
        if at == len(said):
            return False
        at += len(group)
    return True


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    program = os.path.abspath(sys.argv[1])
    others = subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                            capture_output=True, text=True).stdout.split()
    if others:
        print(f"SKIP: another Orca of this user runs ({', '.join(others)}); Orca would refuse "
              "to start beside it")
        return SKIP
    failures = 0
    for name, (footages, counts, keys, expected) in CASES.items():
        started = time.monotonic()
        with Session() as session:
            status = run_case(session, program, footages, counts, keys)
            said = session.utterances()
        print(f"--- {name} ({time.monotonic() - started:.1f} s)")
        for line in said:
            print(f"    SPEECH OUTPUT: '{line}'")
        if not heard_in_order(said, expected):
            print("FAIL: expected, each group whole and the groups in this order:")
            for group in expected:
                print("    " + " / ".join(f"'{line}'" for line in group))
            failures += 1
        elif status != 0:
            print(f"FAIL: the program ended with {status}")
            failures += 1
        else:
            print("ok")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
