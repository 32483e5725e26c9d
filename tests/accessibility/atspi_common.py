"""What the AT-SPI checks share: the accessibility bus, the game started on
it, the objects on screen and the PASS/FAIL lines. Imported by the checks,
inside a private D-Bus session with a display; a check whose bus cannot start
ends with status 77 (a skip).
"""

import os
import re
import signal
import subprocess
import sys
import time

SKIP = 77


def accessibility_bus_address():
    """The accessibility bus's address, or None with the reason it has none."""
    try:
        out = subprocess.run(
            ["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
             "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
            capture_output=True, text=True, timeout=10)
    except (OSError, subprocess.TimeoutExpired) as error:
        return None, f"dbus-send failed: {error}"
    found = re.search(r'string "([^"]+)"', out.stdout)
    if out.returncode != 0 or not found:
        return None, (out.stderr or out.stdout).strip()
    return found.group(1), ""


address, why = accessibility_bus_address()
if not address:
    print(f"SKIP: the accessibility bus did not start (org.a11y.Bus): {why}")
    sys.exit(SKIP)

import pyatspi  # noqa: E402  (needs the bus above)
from gi.repository import GLib  # noqa: E402

game_dir = sys.argv[1]
failed = []
passed = 0


def check(name, condition, detail=""):
    global passed
    if condition:
        passed += 1
        print(f"PASS: {name}")
    else:
        failed.append(name)
        print(f"FAIL: {name}" + (f"\n      {detail}" if detail else ""))
    return condition


def page_text(number):
    """The story pane's text for a page, as a screen reader reads it: the
    file's lines (ended by CR LF or a lone CR), each followed by a break,
    every CR LF, lone CR and lone LF one "\\n"."""
    with open(os.path.join(game_dir, "text", f"gt{number}.tf"), "rb") as page:
        text = page.read().decode("cp1251")
    shown = re.sub(r"\r\n|\r|\n", "\n", text)
    if text and not text.endswith(("\r", "\r\n")):
        shown += "\n"
    return shown


# What the game's accessible objects say about themselves.
events = []


def on_text_changed(event):
    try:
        role = event.source.getRoleName()
    except Exception:  # the object may be gone
        role = ""
    events.append((event.type, role, event.detail1, event.any_data))


def pump(seconds):
    deadline = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < deadline:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def fresh(obj):
    # Read past libatspi's cache: the test must see what the game says now.
    try:
        obj.clear_cache()
    except Exception:  # an object already gone answers nothing anyway
        pass
    return obj


def states(obj):
    return fresh(obj).getState()


def walk(obj, depth=0):
    if depth > 4:
        return
    for child in obj:
        if child is None:
            continue
        yield child
        yield from walk(child, depth + 1)


def game_app():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "tessaranium":
            return app
    return None


def shown_windows():
    app = game_app()
    if app is None:
        return []
    return [w for w in fresh(app) if w is not None and states(w).contains(pyatspi.STATE_SHOWING)]


def controls(role):
    """The objects of a role in the windows on screen."""
    found = []
    for window in shown_windows():
        for obj in walk(fresh(window)):
            if fresh(obj).getRoleName() == role:
                found.append(obj)
    return found


def showing(obj):
    return states(obj).contains(pyatspi.STATE_SHOWING)


def buttons():
    """The push buttons on screen, top to bottom."""
    shown = [b for b in controls("push button") if showing(b)]
    return sorted(shown, key=lambda b: b.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).y)


def wait_for(what, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline and game.poll() is None:
        try:
            result = what()
        except Exception:  # objects come and go while screens change
            result = None
        if result:
            return result
        pump(0.1)
    return None


def button_named(name):
    return next((b for b in buttons() if b.name == name), None)


def press(button):
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        return False
    return action.doAction(names.index("Press"))


def pane():
    """The story pane: the one label without a name (its text is the page)."""
    panes = [label for label in controls("label") if not fresh(label).name]
    return panes[0] if len(panes) == 1 else None


def pane_text():
    text = fresh(pane()).queryText()
    return text.getText(0, text.characterCount)


def pane_shows(number):
    return wait_for(lambda: pane() and pane_text() == page_text(number), 10)


def difference(number):
    """Where the pane's text departs from the page, for the failure message."""
    if not pane():
        return "no story pane on screen"
    shown, page = pane_text(), page_text(number)
    at = next((i for i, (a, b) in enumerate(zip(shown, page)) if a != b), min(len(shown), len(page)))
    return f"pane ({len(shown)} chars) and gt{number} ({len(page)} chars) differ at {at}: " \
           f"{shown[max(0, at - 20):at + 20]!r} / {page[max(0, at - 20):at + 20]!r}"


game = None


def start_game(extra_env=None):
    """Starts the game from GAME_DIR with its accessibility bridge on."""
    global game
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    env.update(extra_env or {})
    log = open(os.path.join(game_dir, "..", "game.log"), "ab")
    game = subprocess.Popen(["./tessaranium"], cwd=game_dir, env=env, stdout=log, stderr=subprocess.STDOUT)
    return game


def stop_game():
    if game is not None and game.poll() is None:
        game.send_signal(signal.SIGTERM)
        try:
            game.wait(10)
        except subprocess.TimeoutExpired:
            game.kill()
            game.wait()


def summary():
    """Prints the count and ends the check: 1 when any check failed."""
    print(f"{passed} passed, {len(failed)} failed")
    sys.exit(1 if failed else 0)
