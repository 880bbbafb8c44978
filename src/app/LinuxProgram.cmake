# The Linux program, build/<preset>/lumivar, and its installation: the
# program, and with it res/linux's desktop entry, icons, metainfo and man page.
find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)

add_executable(lumivar LinuxMain.cpp)
target_link_libraries(lumivar PRIVATE lumivar_app lumivar_qt_host lumivar_qt_services)
set_target_properties(lumivar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
lumivar_warnings(lumivar)

include(GNUInstallDirs)
install(TARGETS lumivar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
add_subdirectory(${PROJECT_SOURCE_DIR}/res/linux ${PROJECT_BINARY_DIR}/res/linux)
