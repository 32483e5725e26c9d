"""Starts Debian's Orca for a test, as /usr/bin/orca does, with five changes:
its debug log is line-buffered, so a test can read what it spoke while it
runs; it speaks at its fastest rate, so that reading a long text through
(say-all, which waits for the speech) takes seconds rather than minutes; its
start-up watchdog waits a minute rather than ten seconds, since
speech-dispatcher may take that long to come up on a busy machine; it keeps
the process name python3, so no `orca --replace` elsewhere on the machine
kills it; and it starts although other Orcas run for this user
(other sessions on the machine), whose processes it never touches.

Usage: /usr/bin/python3 reader_launch.py DEBUG_LOG
(named without "orca", so that no pkill -f orca elsewhere on the machine hits it)
"""

import builtins
import sys

import orca.settings
from orca.acss import ACSS

ORCA = "/usr/bin/orca"
log_path = sys.argv[1]

real_open = builtins.open


def line_buffered_open(file, mode="r", *args, **kwargs):
    if file == log_path and "w" in mode:
        return real_open(file, mode, 1, encoding="utf-8")
    return real_open(file, mode, *args, **kwargs)


launcher = {"__name__": "orca_launcher", "__file__": ORCA}
with real_open(ORCA, encoding="utf-8") as source:
    exec(compile(source.read(), ORCA, "exec"), launcher)
launcher["open"] = line_buffered_open
launcher["setProcessName"] = lambda name: False
launcher["otherOrcas"] = lambda: []
orca.settings.timeoutTime = 60
orca.settings.voices[orca.settings.DEFAULT_VOICE] = ACSS({ACSS.RATE: 100})
sys.argv = ["orca", "--debug-file", log_path]
sys.exit(launcher["main"]())
