# `format` rewrites every C++ file of the project in the committed style;
# `check-format` fails, listing the places, where a file differs from it.
find_program(LUMIVAR_CLANG_FORMAT NAMES clang-format-14 clang-format)
if(NOT LUMIVAR_CLANG_FORMAT)
    return()
endif()

file(GLOB_RECURSE LUMIVAR_FORMAT_FILES CONFIGURE_DEPENDS
     LIST_DIRECTORIES false RELATIVE ${PROJECT_SOURCE_DIR}
     ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h
     ${PROJECT_SOURCE_DIR}/tests/*.cpp ${PROJECT_SOURCE_DIR}/tests/*.h
     ${PROJECT_SOURCE_DIR}/res/*.h ${PROJECT_SOURCE_DIR}/fuzz/*.cpp
     ${PROJECT_SOURCE_DIR}/bench/*.cpp)

add_custom_target(format
    COMMAND ${LUMIVAR_CLANG_FORMAT} -i ${LUMIVAR_FORMAT_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Formatting the C++ sources" VERBATIM)
add_custom_target(check-format
    COMMAND ${LUMIVAR_CLANG_FORMAT} --dry-run --Werror ${LUMIVAR_FORMAT_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Checking the C++ sources' format (fix with: cmake --build --preset linux --target format)"
    VERBATIM)
