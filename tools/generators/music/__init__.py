"""Renders the game's music; tools/generators/make_music.py is the entry point."""
