"""The Nautilus extension against a stand-in for Nautilus's Python API: its menu holds "open" and
one item per preset for local images and folders, nothing for other files, and nothing at all
(never an exception) when pelimon is not installed.
    nautilus_extension_test.py EXTENSION"""
import os
import sys
import tempfile
import time
import types


class Item:
    def __init__(self, name, label):
        self.name, self.label, self.submenu, self.handlers = name, label, None, []

    def set_submenu(self, menu):
        self.submenu = menu

    def connect(self, signal, handler):
        self.handlers.append(handler)


class Menu:
    def __init__(self):
        self.items = []

    def append_item(self, item):
        self.items.append(item)


class File:
    def __init__(self, uri, mime):
        self.uri, self.mime = uri, mime

    def get_uri(self):
        return self.uri

    def get_mime_type(self):
        return self.mime


def load(extension):
    nautilus = types.SimpleNamespace(MenuProvider=type("MenuProvider", (), {}),
                                     MenuItem=lambda name, label: Item(name, label), Menu=Menu)
    repository = types.ModuleType("gi.repository")
    repository.GObject = types.SimpleNamespace(GObject=type("GObject", (), {}))
    repository.Nautilus = nautilus
    gi = types.ModuleType("gi")
    gi.require_version = lambda name, version: None
    gi.repository = repository
    sys.modules.update({"gi": gi, "gi.repository": repository})
    module = types.ModuleType("pelimon_extension")
    module.__file__ = extension
    with open(extension, encoding="utf-8") as source:
        exec(compile(source.read(), extension, "exec"), module.__dict__)
    return module


def fake_programs(folder, presets):
    """pelimon and the helper on PATH; pelimon lists `presets`, the helper records its arguments."""
    for name, body in (("pelimon", "printf '" + "".join(p + "\\n" for p in presets) + "'"),
                       ("pelimon-desktop-action", 'printf "%s\\n" "$@" > "$0.called"')):
        path = os.path.join(folder, name)
        with open(path, "w") as script:
            script.write("#!/bin/sh\n" + body + "\n")
        os.chmod(path, 0o755)


def main():
    module = load(sys.argv[1])
    menu = module.PelimonMenu()
    photo = File("file:///home/me/My%20Photos/a.jpg", "image/jpeg")
    folder = File("file:///home/me/trip", "inode/directory")
    with tempfile.TemporaryDirectory() as bin_folder:
        os.environ["PATH"] = bin_folder
        assert menu.get_file_items([photo]) == [], "a menu without pelimon"

        fake_programs(bin_folder, ["web", "thumb 320"])
        items = menu.get_file_items([photo, folder])
        assert len(items) == 1, items
        labels = [item.label for item in items[0].submenu.items]
        assert len(labels) == 3 and "web" in labels[1] and "thumb 320" in labels[2], labels
        assert menu.get_file_items(None, [photo]) != [], "the Nautilus 3 signature"

        items[0].submenu.items[2].handlers[0](None)
        called = os.path.join(bin_folder, "pelimon-desktop-action.called")
        for _ in range(500):  # the helper runs on its own
            if os.path.exists(called) and os.path.getsize(called) > 0:
                break
            time.sleep(0.01)
        with open(called) as recorded:
            assert recorded.read().split("\n")[:4] == ["preset", "thumb 320", "/home/me/My Photos/a.jpg",
                                                       "/home/me/trip"]

        for other in (File("file:///home/me/notes.txt", "text/plain"), File("sftp://host/a.jpg", "image/jpeg")):
            assert menu.get_file_items([photo, other]) == [], other.uri
    print("ok")


main()
