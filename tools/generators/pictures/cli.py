"""Names every picture and draws the ones asked for.
"""
import sys

from .shell_screens import make_about, make_menu
from .splash import make_splash
from .scenes import make_gameover, make_intro
from .story_screen import make_engine
from .console import make_console
from .sketches import make_photo_time, make_photo_universe
from .stranger import make_photo_stranger
from .portrait import make_photo_portrait
from .icons import make_cursor, make_icon


MAKERS = {
    'splash': make_splash,
    'menu': make_menu,
    'about': make_about,
    'intro': make_intro,
    'gameover': make_gameover,
    'icon': make_icon,
    'engine': make_engine,
    'console': make_console,
    'photo_universe': make_photo_universe,
    'photo_time': make_photo_time,
    'photo_portrait': make_photo_portrait,
    'photo_stranger': make_photo_stranger,
    'cursor': make_cursor,
}


def main(argv):
    names = argv or list(MAKERS)
    unknown = [n for n in names if n not in MAKERS]
    if unknown:
        sys.exit('unknown picture(s): %s; known: %s' % (', '.join(unknown), ', '.join(MAKERS)))
    for n in names:
        MAKERS[n]()
