# The Windows program, build/<preset>/Lumivar.exe: one portable file, the C++
# runtime and winpthread linked in (the toolchain's -static), with all its
# resources: the generated Dialogs.rc and res/Lumivar.rc (version record and
# manifest).
set(lumivar_rc ${PROJECT_SOURCE_DIR}/res/Lumivar.rc)
# The manifest names the program's own processor architecture, for itself and
# for the common controls it asks for: Windows refuses to start a 64-bit
# program that asks for the x86 ones.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(LUMIVAR_MANIFEST_ARCH amd64)
else()
    set(LUMIVAR_MANIFEST_ARCH x86)
endif()
configure_file(${PROJECT_SOURCE_DIR}/res/Lumivar.manifest.in Lumivar.manifest @ONLY)
set(lumivar_rc_object ${CMAKE_CURRENT_BINARY_DIR}/Lumivar.res.obj)
get_target_property(version_dir lumivar_version LUMIVAR_VERSION_DIR)
add_custom_command(
    OUTPUT ${lumivar_rc_object}
    COMMAND ${CMAKE_RC_COMPILER} -c 65001 -I ${PROJECT_SOURCE_DIR}/res -I ${version_dir}
            -I ${CMAKE_CURRENT_BINARY_DIR} -O coff
            -i ${lumivar_rc} -o ${lumivar_rc_object}
    DEPENDS ${lumivar_rc} ${CMAKE_CURRENT_BINARY_DIR}/Lumivar.manifest
            ${version_dir}/LumivarVersion.h
    COMMENT "Compiling Lumivar.rc"
    VERBATIM
)

add_executable(Lumivar WIN32 WindowsMain.cpp ${lumivar_rc_object})
target_link_libraries(Lumivar PRIVATE lumivar_app lumivar_win32_host lumivar_win32_power
                                      lumivar_resources_rc)
set_target_properties(Lumivar PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
lumivar_warnings(Lumivar)

# The portable zip of scripts/package.sh: the program with a short README and
# the licence beside it, both as .txt with Windows line ends, for Notepad.
configure_file(${PROJECT_SOURCE_DIR}/res/windows/README.txt.in README.txt @ONLY
               NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS Lumivar RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
        DESTINATION .)
