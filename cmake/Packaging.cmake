# The Debian package: `cpack -G DEB` in a build folder makes tacknote_<version>_<arch>.deb
# from what cmake --install puts under /usr. Build it from a Release build with Debian's
# build flags (-DTACKNOTE_DEBIAN_FLAGS=ON); scripts/check-package.sh does, checks it with
# lintian and installs it on a fresh Debian 12.
set(CPACK_PACKAGE_NAME tacknote)
set(CPACK_PACKAGE_VENDOR "The Tacknote developers")
set(CPACK_PACKAGE_CONTACT "The Tacknote developers <tacknote@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sticky notes on the desktop, with alarms")
# The long description: lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Tacknote puts small coloured notes on the desktop, created and found again\n\
through an icon in the system tray. Notes carry alarms, once or on chosen\n\
weekdays, travel to other computers running Tacknote, are mailed through an\n\
SMTP server and print. Interface in Brazilian Portuguese and English.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PROJECT_HOMEPAGE_URL})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The shared libraries the program links (the Qt 6 libraries and what they need) are
# found by dpkg-shlibdeps; the rest is loaded at run time and named here:
# - Qt's own texts in Portuguese (buttons of message boxes and common dialogs);
# - fonts with the metrics of the note fonts Arial and Courier New, which fontconfig
#   puts in their place;
# - the X11 platform plugin ships with libqt6gui6, pulled in through the libraries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-translations-l10n, fonts-liberation2 | fonts-liberation, fontconfig")
# The desktop's look for Qt windows and the file dialogs of GTK desktops, and a Wayland
# session without XWayland; a session without them still works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-gtk-platformtheme, qt6-wayland")


include(CPack)
