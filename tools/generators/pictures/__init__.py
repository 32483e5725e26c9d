"""Draws the game's pictures; tools/generators/make_pictures.py is the entry point."""
