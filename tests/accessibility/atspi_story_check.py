"""Plays the start of the game the way a screen reader does, through AT-SPI.

Runs inside a private D-Bus session with a display; starts the game from
GAME_DIR, finds its controls in the accessibility tree, presses them through
their press actions and reads the story pane back. Exit status: 0 when every
check passed, 1 when one failed, 77 when the accessibility bus cannot start.

Usage: /usr/bin/python3 atspi_story_check.py GAME_DIR
"""

import sys

import atspi_common as at
from atspi_common import (buttons, button_named, check, controls, difference, events, fresh, on_text_changed,
                          page_text, pane, pane_shows, press, pump, pyatspi, showing, states, wait_for)

game = at.start_game()
try:
    pyatspi.Registry.registerEventListener(on_text_changed, "object:text-changed")

    # The menu comes after the splash (about 6.3 s).
    start = wait_for(lambda: button_named("Запуск"), 30)
    check("the game runs", game.poll() is None, f"it ended with status {game.returncode}")
    check("the menu's click areas are push buttons named Запуск, Инфо and Выход",
          start is not None and [b.name for b in buttons()] == ["Запуск", "Инфо", "Выход"],
          f"buttons: {[b.name for b in buttons()]}")
    if start is None:
        sys.exit(1)
    check("the start button's press action is accepted", press(start))

    begin = wait_for(lambda: button_named("Начать игру"), 10)
    check("pressing Запуск shows the intro with its Начать игру button", begin is not None)
    if begin is None:
        sys.exit(1)
    intro = [t for t in controls("label") if showing(t) and t.name]
    check("the intro's text is a label named by its text",
          any("\n" in t.name for t in intro), f"labels: {[t.name[:40] for t in intro]}")
    press(begin)

    check("pressing Начать игру shows the story with page 1 in its pane", pane_shows(1), difference(1))
    check("the story pane is a label without a name, read whole as it takes the focus; its text is the page",
          fresh(pane()).getRoleName() == "label" and fresh(pane()).name == "")
    choices = wait_for(lambda: [b.name for b in buttons()] if len(buttons()) == 3 else None, 5)
    check("page 1's three choices are push buttons named by their captions, top to bottom",
          choices == ["Виртуальный ресторан", "Подводный мир", "Остров Сокровищ"], f"choices: {choices}")
    places = [fresh(b).description for b in buttons()]
    check("each choice says where it stands", places == ["1 из 3", "2 из 3", "3 из 3"], f"descriptions: {places}")

    pump(0.5)  # the game has heard of the listener by now
    events.clear()
    press(buttons()[0])
    check("pressing the first choice turns the pane to page 2", pane_shows(2), difference(2))
    pump(0.5)
    pane_events = [e for e in events if e[1] == "label"]
    removed = [e for e in pane_events if e[0] == "object:text-changed:delete"]
    inserted = [e for e in pane_events if e[0] == "object:text-changed:insert"]
    check("the page turn is reported as one change for the whole page, not one per line",
          len(removed) == 1 and len(inserted) == 1, f"{len(removed)} deletions, {len(inserted)} insertions")
    if removed and inserted:
        at_char = inserted[0][2]
        check("the one change turns page 1's text into page 2's",
              removed[0][2] == at_char and page_text(1)[:at_char] + removed[0][3] == page_text(1)
              and page_text(1)[:at_char] + inserted[0][3] == page_text(2),
              f"at {at_char}: deleted {removed[0][3][:40]!r}, inserted {inserted[0][3][:40]!r}")

    back = wait_for(lambda: [b.name for b in buttons()] == ["Назад"] and buttons()[0], 5)
    check("page 2 shows only its Назад choice; the hidden slots are not showing", bool(back),
          f"choices: {[b.name for b in buttons()]}")
    hidden = [b for b in controls("push button") if not showing(b)]
    check("the two hidden choice slots are in the tree as not visible",
          len(hidden) == 2 and all(not states(b).contains(pyatspi.STATE_VISIBLE) for b in hidden))
    if back:
        press(back)
    check("pressing Назад turns the pane to page 3", pane_shows(3), difference(3))
    choices = wait_for(lambda: [b.name for b in buttons()] if len(buttons()) == 3 else None, 5)
    check("page 3's choices are named by their captions again",
          choices == ["Виртуальный ресторан", "Подводный мир", "Остров Сокровищ"], f"choices: {choices}")
finally:
    pyatspi.Registry.deregisterEventListener(on_text_changed, "object:text-changed")
    at.stop_game()

at.summary()
