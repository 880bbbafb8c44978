# The downloads, made by CPack (scripts/package.sh, into dist/): the Linux
# program as a Debian package, the Windows program as a portable zip. The
# version in their names is the project's.
set(CPACK_PACKAGE_NAME lumivar)
set(CPACK_PACKAGE_VENDOR "The Lumivar developers")
set(CPACK_PACKAGE_CONTACT "The Lumivar developers <maintainers@lumivar.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "power the computer off at a time of day you choose")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    # The Windows program is 32-bit: one download for every Windows.
    set(CPACK_PACKAGE_FILE_NAME Lumivar-${PROJECT_VERSION}-win32)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # The summary comes first by itself.
    set(CPACK_PACKAGE_DESCRIPTION
        "Lumivar powers the computer off at a time of day you choose. Pick one of
three slots (Sunday to Thursday, Friday and Saturday, or a custom time), set
its time and arm it: the window retreats to the notification area, a
countdown appears thirty seconds before the time, and then the machine shuts
down through systemd-logind. The user interface is in Simplified Chinese.")
    # The libraries from the binary; besides them the Qt platform plugin that
    # puts windows on an X display, and the font for the Chinese texts.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei | fonts-noto-cjk")
    # The power-off asks logind, which must be running and know the session.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "default-logind | logind")
    # For a Wayland session without XWayland.
    set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
        OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endif()

include(CPack)
