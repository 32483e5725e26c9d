"""Draws the game's pictures; tools/make_pictures.py is the entry point."""
