# Checks the GtkSourceView language files: every file of the table is recognised by its name, and the
# style at each position is the one the table expects. A style scheme made for the check gives each
# style of the language its own colour, so the colour at a position tells the style.
# Run as: python3 gtksourceview_positions.py SOURCE_DIR
import os
import sys
import tempfile

import gi

gi.require_version("GtkSource", "4")
from gi.repository import GtkSource  # noqa: E402

source_dir = sys.argv[1]
languages = GtkSource.LanguageManager()
# The system folders stay on the path: they hold the schema and the default styles the files build on.
languages.set_search_path([os.path.join(source_dir, "editors", "gtksourceview")] + languages.get_search_path())


def probe_scheme(language, folder):
    styles = language.get_style_ids()
    with open(os.path.join(folder, "probe.xml"), "w") as scheme:
        scheme.write('<style-scheme id="probe" name="probe" version="1.0">\n')
        for number, style in enumerate(styles, 1):
            scheme.write(f'<style name="{style}" foreground="#0000{number:02x}"/>\n')
        scheme.write("</style-scheme>\n")
    schemes = GtkSource.StyleSchemeManager()
    schemes.set_search_path([folder])
    return styles, schemes.get_scheme("probe")


def style_at(styles, at):
    found = "-"
    for tag in at.get_tags():
        colour = tag.props.foreground_rgba if tag.props.foreground_set else None
        if colour and round(colour.red * 255) == 0 and 0 < round(colour.blue * 255) <= len(styles):
            found = styles[round(colour.blue * 255) - 1]
    return found


def main():
    failures = []
    opened = {}
    with open(os.path.join(source_dir, "tests", "editors", "positions.tsv"), encoding="utf-8") as table, \
            tempfile.TemporaryDirectory() as folder:
        for row in table:
            if row.startswith("#") or not row.strip():
                continue
            name, line, column, text, kind, _ = row.rstrip("\n").split("\t")
            line, column = int(line), int(column)
            if name not in opened:
                language = languages.guess_language(name, None)
                if language is None:
                    failures.append(f"{name}: no language")
                    opened[name] = None
                    continue
                styles, scheme = probe_scheme(language, folder)
                buffer = GtkSource.Buffer(language=language, style_scheme=scheme)
                with open(os.path.join(source_dir, name), encoding="utf-8") as content:
                    buffer.set_text(content.read())
                buffer.ensure_highlight(buffer.get_start_iter(), buffer.get_end_iter())
                opened[name] = (language.get_id(), styles, buffer)
            if opened[name] is None:
                continue
            language_id, styles, buffer = opened[name]
            start = buffer.get_iter_at_line_offset(line - 1, column - 1)
            end = start.copy()
            end.forward_chars(len(text))
            found = buffer.get_text(start, end, True)
            style = style_at(styles, start)
            expected = "-" if kind == "-" else f"{language_id}:{kind}"
            if found != text or style != expected:
                failures.append(f'{name}:{line}:{column}: "{found}" is {style}, expected "{text}" as {expected}')
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


sys.exit(main())
