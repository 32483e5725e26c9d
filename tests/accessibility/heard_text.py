"""Whether what Orca spoke holds a text file of the game as the player
needs to hear it. Reads what was spoken from stdin, one utterance a line
(orca_session.sh's spoken_since_mark), and the text from the game's file
(CP1251, lines ended by CR LF, a lone CR or a lone LF).

  heard_text.py whole FILE   the text was spoken whole, in order (at least once)
  heard_text.py first FILE   the words spoken are the text's first line
  heard_text.py later FILE   the words spoken stand together in the text, past
                             its first line (a line read by the arrow keys)
  heard_text.py once FILE    every line was spoken in order, exactly once: the
                             whole text once, and no line, nor any four words
                             of it together, more often than the text holds them

Both sides are compared as words: lower case, letters and digits only. That
is all that speech may change: Orca hands the text to the synthesiser with
its punctuation, which speaks it or not as its punctuation level says, and
speaks a line break as a pause, so case, punctuation and spacing are not
part of what the player hears. Prints why not and exits 1 when it was not.
"""

import re
import sys


def words(text):
    return re.findall(r"[^\W_]+", text.lower())


def lines_of(path):
    with open(path, "rb") as file:
        text = file.read().decode("cp1251")
    return [line for line in re.split(r"\r\n|\r|\n", text) if words(line)]


def count(needle, haystack):
    """How often the words of needle stand together, in order, in haystack."""
    size = len(needle)
    return sum(1 for at in range(len(haystack) - size + 1) if haystack[at:at + size] == needle) if size else 0


def heard_prefix(text, spoken):
    """How many of the text's first words were spoken together, in order."""
    best = 0
    for at in range(len(spoken)):
        length = 0
        while length < len(text) and at + length < len(spoken) and spoken[at + length] == text[length]:
            length += 1
        best = max(best, length)
    return best


def main():
    mode, path = sys.argv[1], sys.argv[2]
    lines = lines_of(path)
    text = [word for line in lines for word in words(line)]
    spoken = words(sys.stdin.read())
    times = count(text, spoken)
    if mode == "whole":
        return 0 if times >= 1 else 1
    if mode == "first":
        if not lines or spoken != words(lines[0]):
            print(f"      {path}: «{' '.join(spoken)}» is not the first line")
            return 1
        return 0
    if mode == "later":
        first = len(words(lines[0])) if lines else 0
        found = [at for at in range(first, len(text)) if spoken and text[at:at + len(spoken)] == spoken]
        if not found:
            print(f"      {path}: «{' '.join(spoken)}» is no later part of the text")
        return 0 if found else 1
    if times != 1:
        got = heard_prefix(text, spoken)
        shown = " ".join(text[got:got + 8])
        print(f"      {path}: the whole text was heard {times} times; at most its first {got} of "
              f"{len(text)} words together, then not «{shown}»")
        return 1
    pieces = [words(line) for line in dict.fromkeys(lines)]
    pieces += [text[at:at + 4] for at in range(len(text) - 3)]
    for piece in pieces:
        heard, held = count(piece, spoken), count(piece, text)
        if heard != held:
            print(f"      {path}: «{' '.join(piece)}» was heard {heard} times, the text holds it {held} times")
            return 1
    return 0


sys.exit(main())
