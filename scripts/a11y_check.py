"""What a screen reader finds in the running console, and what its actions do.

Started by scripts/a11y-check.sh with the console running on the same display and session bus.
Prints one line per check and exits non-zero when any fails.
"""

import socket
import sys
import time

import pyatspi

failures = []


def check(what, ok, seen=""):
    print(("ok   " if ok else "FAIL ") + what + (f"  (saw {seen!r})" if not ok else ""))
    if not ok:
        failures.append(what)


def wait_for(find, seconds=10.0):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    return None


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "quenzo":
            return app
    return None


def find(root, role, name=None, startswith=None):
    for node in walk(root):
        if node.getRoleName() != role:
            continue
        if name is not None and node.name != name:
            continue
        if startswith is not None and not node.name.startswith(startswith):
            continue
        return node
    return None


def act(node, action):
    actions = node.queryAction()
    for i in range(actions.nActions):
        if actions.getName(i) == action:
            actions.doAction(i)
            return True
    return False


def status(app):
    cell = find(app, "label", startswith="READY") or find(app, "label", startswith="LISTEN") or find(
        app, "label", startswith="CONNECT")
    return cell.name if cell else None


app = wait_for(application)
if app is None:
    print("FAIL the console never appeared on the accessibility bus")
    sys.exit(1)

console = wait_for(lambda: find(app, "dialog", startswith="Quenzo - "))
check("the console is announced as a dialog", console is not None)
if console is None:
    sys.exit(1)

spin = find(console, "spin button")
check("the up-down control is a spin button", spin is not None)
if spin is not None:
    value = spin.queryValue().currentValue
    check("the spin button reports the local port", value == 1234, value)

address = find(console, "text", name="MODULE IP")
check("the address control is found by its label", address is not None)
if address is not None:
    text = address.queryText().getText(0, -1)
    check("the address control reads as its address", text == "192.168.0.7", text)

server = find(console, "check box", name="SERVER")
check("SERVER is a check box", server is not None)
connect = find(console, "push button", name="CONNECT")
check("CONNECT is a push button", connect is not None)
if server is not None and connect is not None:
    # The server role listens on the local port and sends nothing anywhere.
    check("SERVER has a Toggle action", act(server, "Toggle"))
    listen = wait_for(lambda: find(console, "push button", name="LISTEN"), 3)
    check("toggling SERVER runs its handler: CONNECT reads LISTEN", listen is not None)
    check("SERVER reads as checked", server.getState().contains(pyatspi.STATE_CHECKED))

    # F1 opens a message box (there is no help); while it is open, LISTEN must do nothing.
    pyatspi.Registry.generateKeyboardEvent(0xFFBE, None, pyatspi.KEY_SYM)  # F1
    box = wait_for(lambda: find(app, "dialog", name="quenzo") or find(app, "alert"), 5)
    check("F1 opens a message box", box is not None)
    if listen is not None and box is not None:
        act(listen, "Press")
        time.sleep(0.5)
        check("LISTEN does nothing while the message box is open", status(app) == "READY", status(app))
        ok = find(box, "push button", name="OK")
        if ok is not None:
            act(ok, "Press")
        time.sleep(0.5)
        act(listen, "Press")
        listening = wait_for(lambda: (status(app) or "").startswith("LISTENING"), 3)
        check("LISTEN works again once the box is closed", bool(listening), status(app))

    # A press whose handler opens a message box answers at once, and the box can then be read and
    # answered: LISTEN on a port something else holds says "Can not create Socket!".
    stop = find(console, "push button", name="STOP")
    check("the listening console offers STOP", stop is not None)
    if stop is not None and listen is not None:
        act(stop, "Press")
        check("STOP returns to READY", bool(wait_for(lambda: status(app) == "READY", 3)), status(app))
        holder = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        holder.bind(("0.0.0.0", 1234))
        holder.listen(1)
        started = time.monotonic()
        act(listen, "Press")
        took = time.monotonic() - started
        check("a press whose handler opens a box answers within 100 ms", took < 0.1, f"{took * 1000:.0f} ms")
        failed = wait_for(lambda: find(app, "label", name="Can not create Socket!"), 5)
        check("the box that press opened is found", failed is not None)
        box = wait_for(lambda: find(app, "dialog", name="quenzo") or find(app, "alert"), 5)
        ok = find(box, "push button", name="OK") if box is not None else None
        check("the box has an OK button", ok is not None)
        if ok is not None:
            act(ok, "Press")
            gone = wait_for(lambda: find(app, "label", name="Can not create Socket!") is None, 5)
            check("pressing OK over AT-SPI closes the box", bool(gone))
        holder.close()

print(f"{len(failures)} failed" if failures else "all accessibility checks passed")
sys.exit(1 if failures else 0)
