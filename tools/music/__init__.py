"""Renders the game's music; tools/make_music.py is the entry point."""
