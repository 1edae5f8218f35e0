# The Exif information dialog (part of pelimon_gui). cexif_dialog_rows.cpp is Qt-free: the rows,
# the clipboard text and the button's messages, which tests check without a window.
pelimon_gui_sources(
    cexif_dialog_rows.cpp
    cexif_dialog_read.cpp
    cexif_dialog.cpp
)
