# The Debian package: `cpack -G DEB` in a build folder (a Release build) makes
# pelimon_<version>_amd64.deb from what `cmake --install` installs, under /usr. Its Depends come
# from dpkg-shlibdeps (package dpkg-dev), which looks up the package of every shared library the
# program links.
set(CPACK_PACKAGE_NAME pelimon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The pelimon developers")
set(CPACK_PACKAGE_CONTACT "The pelimon developers <pelimon@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reduce batches of photographs")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "pelimon writes a reduced copy of each photograph of a folder into an output\n"
    "folder: sized by a rule, in an output format, at a quality or a target file\n"
    "size, optionally sharpened, greyed, sepia-toned or contrast-adjusted, named by\n"
    "a rule, with or without its Exif data. It reads BMP, JPEG, PNG, GIF, WebP,\n"
    "HEIF/HEIC, AVIF, JPEG XL and TIFF files and camera RAW files. The window is\n"
    "Japanese; batches also run from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # pelimon_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/pelimon/pelimon")
# The window needs Qt's platform plugins (only recommended by Qt's own packages).
if(PELIMON_BUILD_GUI)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
endif()
# The window's Japanese texts need a CJK font; the file managers' unattended preset runs tell how
# they went through notify-send.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, libnotify-bin")
# Nautilus shows "Reduce with pelimon" through its Python extensions; choosing a preset from the
# KDE menu asks with kdialog or zenity.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-nautilus, kdialog | zenity")

include(CPack)
