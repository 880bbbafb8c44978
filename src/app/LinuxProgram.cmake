# The Linux program, build/<preset>/lumivar, and its installation: the
# program, its desktop entry and its icon in the hicolor theme.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)

add_executable(lumivar LinuxMain.cpp)
target_link_libraries(lumivar PRIVATE lumivar_app lumivar_qt_host lumivar_qt_services)
set_target_properties(lumivar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
lumivar_warnings(lumivar)

# The theme takes PNG pictures: the icon's two sizes, written from the .ico
# by a small tool at build time, so they always match it.
add_executable(lumivar_icon_export ${PROJECT_SOURCE_DIR}/src/platform/qt/IconExport.cpp)
target_link_libraries(lumivar_icon_export PRIVATE Qt6::Gui)
lumivar_warnings(lumivar_icon_export)

get_target_property(lumivar_icon lumivar_resources LUMIVAR_ICON_FILE)
set(icon_dir ${CMAKE_CURRENT_BINARY_DIR}/icons)
add_custom_command(
    OUTPUT ${icon_dir}/16x16/lumivar.png ${icon_dir}/32x32/lumivar.png
    COMMAND lumivar_icon_export ${lumivar_icon} ${icon_dir} lumivar
    DEPENDS lumivar_icon_export ${lumivar_icon}
    COMMENT "Writing the desktop icons from Lumivar.ico"
    VERBATIM
)
add_custom_target(lumivar_desktop_icons ALL
    DEPENDS ${icon_dir}/16x16/lumivar.png ${icon_dir}/32x32/lumivar.png)

include(GNUInstallDirs)
install(TARGETS lumivar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/res/linux/lumivar.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16x16 32x32)
    install(FILES ${icon_dir}/${size}/lumivar.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
endforeach()
