"""Plays the game by keys alone, as a screen reader's user does, and checks
through AT-SPI what has the focus and what each screen says of itself.

Runs inside a private D-Bus session with a display (atspi_keys_test.sh);
starts the game from GAME_DIR with its accessibility bridge on, presses keys
on the real X server (xdotool) and reads the focused object. Five games:
menu to the last page and game over; the console and its answer; the long
way to the code box and the ending password; the two endings of page 38,
the hours. With «Конец» on the last page these are the story's four ways to
game over. Exit status: 0 when every check
passed, 1 when one failed, 77 when the accessibility bus cannot start.

Usage: /usr/bin/python3 atspi_keys_check.py GAME_DIR ROUTE_FILE
"""

import subprocess
import sys

import atspi_common as at
from atspi_common import check, controls, fresh, page_text, pyatspi, shown_windows, states, wait_for, walk

route_file = sys.argv[2]


def key(*names):
    subprocess.run(["xdotool", "key", "--delay", "60", *names], check=False)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "40", text], check=False)


def focused():
    for window in shown_windows():
        for obj in walk(fresh(window)):
            if states(obj).contains(pyatspi.STATE_FOCUSED):
                return obj
    return None


def focus_named(name, seconds=5):
    return wait_for(lambda: (lambda f: f is not None and fresh(f).name == name and f)(focused()), seconds)


def focused_name():
    obj = focused()
    return fresh(obj).name if obj is not None else None


def window_named(part, seconds=10):
    return wait_for(lambda: next((w for w in shown_windows() if part in fresh(w).name), None), seconds)


def text_of(obj):
    text = fresh(obj).queryText()
    return text.getText(0, text.characterCount)


def page_in_focus(number, seconds=10):
    def shown():
        obj = focused()
        return obj is not None and fresh(obj).getRoleName() == "label" and not fresh(obj).name \
            and text_of(obj) == page_text(number) and obj
    return wait_for(shown, seconds)


def to_story(game_number):
    """A new game from the splash to page 1 by keys; returns the story window."""
    g = f"game {game_number}:"
    at.start_game()
    menu = window_named("главное меню", 30)
    check(f"{g} the menu names itself and describes its entries",
          menu is not None and "Запуск" in fresh(menu).description)
    check(f"{g} the menu's start entry has the focus", focus_named("Запуск"), f"focus: {focused_name()}")
    key("Return")
    intro = window_named("вступление")
    check(f"{g} Enter on Запуск opens the intro, which names itself", intro is not None)
    check(f"{g} the intro's text has the focus, readable line by line",
          wait_for(lambda: (lambda f: f is not None and "\n" in text_of(f))(focused()), 5))
    key("Tab")
    check(f"{g} Tab leads to Начать игру", focus_named("Начать игру"), f"focus: {focused_name()}")
    key("space")
    story = window_named("история")
    check(f"{g} Space on Начать игру opens the story, which names itself", story is not None)
    check(f"{g} page 1 has the focus once the story window is up", page_in_focus(1), f"focus: {focused_name()}")
    return story


def choose(caption, page, game_number):
    """Tabs to the caption (at most five times), presses Enter and waits
    for the page it leads to, in focus."""
    for _ in range(5):
        key("Tab")
        if focus_named(caption, 2):
            break
    check(f"game {game_number}: Tab reaches «{caption}»", focused_name() == caption, f"focus: {focused_name()}")
    key("Return")
    return check(f"game {game_number}: Enter on «{caption}» shows page {page} in focus",
                 page_in_focus(page), f"focus: {focused_name()}")


def game_over_named(g):
    over = window_named("игра окончена")
    check(f"{g} the game-over window says the story ended and closing it ends the game",
          over is not None and "История закончилась" in fresh(over).description
          and "завершает игру" in fresh(over).description)


def menu_keys_and_the_last_page():
    story = to_story(1)
    if story is None:
        return
    labels = [o for o in walk(fresh(story)) if fresh(o).getRoleName() == "label"]
    check("game 1: the hidden flag mirrors are not in the story window's tree: its one label is the page",
          len(labels) == 1 and text_of(labels[0]) == page_text(1), f"labels: {[text_of(o)[:20] for o in labels]}")
    pane = focused()
    text = fresh(pane).queryText()
    first = text.getTextAtOffset(0, pyatspi.TEXT_BOUNDARY_LINE_START)
    second = text.getTextAtOffset(first[2], pyatspi.TEXT_BOUNDARY_LINE_START)
    box0 = text.getRangeExtents(first[1], first[2] - 1, pyatspi.DESKTOP_COORDS)
    box1 = text.getRangeExtents(second[1], second[2] - 1, pyatspi.DESKTOP_COORDS)
    check("game 1: the page's lines are where the pane draws them, one under another",
          first[0].rstrip("\n") == page_text(1).split("\n")[0] and box0[2] > 0 and box0[3] > 0
          and box1[1] >= box0[1] + box0[3], f"lines {first}, {second}; boxes {box0}, {box1}")
    choose("Виртуальный ресторан", 2, 1)
    choose("Назад", 3, 1)
    key("F8")
    check("game 1: F8 from the page shows page 57 in focus", page_in_focus(57), f"focus: {focused_name()}")
    choose_game_over("Конец", 1)


def choose_game_over(caption, game_number):
    for _ in range(5):
        key("Tab")
        if focus_named(caption, 2):
            break
    key("Return")
    game_over_named(f"game {game_number}:")
    at.stop_game()


def console_by_key():
    if to_story(2) is None:
        return
    key("KP_Separator")
    console = window_named("консоль управления")
    check("game 2: the console key opens the console, which describes itself",
          console is not None and "help" in fresh(console).description)
    check("game 2: the command line has the focus", focus_named("Команда"), f"focus: {focused_name()}")
    type_text("help")
    key("Tab")
    check("game 2: Tab leads to Выполнить", focus_named("Выполнить"), f"focus: {focused_name()}")
    key("Return")
    line = focus_named("Команда")
    check("game 2: Enter on Выполнить runs the command and gives the focus back to the command line", line)
    check("game 2: the answer comes with the command line, for the screen reader to read",
          line and fresh(line).description.startswith(">command^help"), line and fresh(line).description[:60])
    at.stop_game()


def route():
    with open(route_file, encoding="utf-8") as lines:
        return [line.rstrip("\n").rsplit("\t", 1) for line in lines if line.strip()]


def ending_at_page_38(game_number, caption):
    """The two endings chosen on page 38 (the hours), which go to game over
    straight from the page the route passes."""
    if to_story(game_number) is None:
        return
    for step, page in route():
        if not choose(step, int(page), game_number):
            return
        if page == "38":
            break
    choose_game_over(caption, game_number)


def ending_by_the_code_box():
    if to_story(3) is None:
        return
    steps = route()
    for caption, page in steps[:-1]:
        if not choose(caption, int(page), 3):
            return
    caption, page = steps[-1]
    if not choose(caption, int(page), 3):
        return
    key("Tab")
    box = focus_named("Пароль")
    check("game 3: the code box has appeared, and Tab from the page leads into it", box, f"focus: {focused_name()}")
    type_text("abc")
    key("Tab")
    check("game 3: Tab from the code box leads to «Enter parol»", focus_named("Enter parol"))
    key("Return")
    refusal = wait_for(lambda: next((n for n in controls("notification") if at.showing(n)), None), 5)
    check("game 3: a password that opens nothing is told as a notification, and the focus stays",
          refusal is not None and fresh(refusal).name == "Пароль не подошёл" and focused_name() == "Enter parol",
          f"notification: {refusal and fresh(refusal).name}, focus: {focused_name()}")
    key("shift+Tab")
    check("game 3: Shift+Tab leads back into the code box", focus_named("Пароль"))
    type_text("ol")  # over the selected «abc»
    key("Tab")
    key("Return")
    check("game 3: the ending password shows page 57 in focus", page_in_focus(57))
    choose_game_over("Конец", 3)


try:
    menu_keys_and_the_last_page()
    at.stop_game()
    console_by_key()
    at.stop_game()
    ending_by_the_code_box()
    at.stop_game()
    ending_at_page_38(4, "11 часов")
    at.stop_game()
    ending_at_page_38(5, "17 часов")
finally:
    at.stop_game()

at.summary()
