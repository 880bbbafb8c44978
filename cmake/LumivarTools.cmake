# The tools that the Linux program and some tests need beyond the compiler.
# Where CI builds (LUMIVAR_REQUIRE_ALL, on in its presets) a missing one
# stops the configure and is named; elsewhere what needs it is left out with
# a warning, so that a developer without, say, Wine can still build the rest.
option(LUMIVAR_REQUIRE_ALL
       "Fail the configure when a tool is missing that the program or a test needs, instead of leaving them out"
       OFF)

# Says that `missing` (a list of tools) keeps `purpose` from being built or run.
function(lumivar_tools_missing purpose missing)
    list(JOIN missing ", " names)
    set(text "missing ${names}: ${purpose}")
    if(LUMIVAR_REQUIRE_ALL)
        message(FATAL_ERROR "${text} cannot be built or run. scripts/install-deps.sh test "
                            "installs what is missing; -DLUMIVAR_REQUIRE_ALL=OFF leaves "
                            "it out instead.")
    endif()
    message(WARNING "${text} left out (scripts/install-deps.sh test installs what is missing)")
endfunction()

# lumivar_find_tools(<var> <purpose> [PROGRAMS <name>...] [PYTHON_MODULES <module>...])
# Sets <var> to TRUE when every program is on the PATH and every module
# imports in Debian's Python (/usr/bin/python3, which the tests run under);
# each program's path is in the cache as LUMIVAR_TOOL_<name>, with the
# characters a variable cannot hold as _.
function(lumivar_find_tools var purpose)
    cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "PROGRAMS;PYTHON_MODULES")
    set(missing)
    foreach(program IN LISTS arg_PROGRAMS)
        string(MAKE_C_IDENTIFIER "LUMIVAR_TOOL_${program}" cached)
        find_program(${cached} ${program})
        if(NOT ${cached})
            list(APPEND missing ${program})
        endif()
    endforeach()
    foreach(module IN LISTS arg_PYTHON_MODULES)
        execute_process(COMMAND /usr/bin/python3 -c "import ${module}"
                        RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
        if(failed)
            list(APPEND missing "the Python module ${module}")
        endif()
    endforeach()
    if(missing)
        lumivar_tools_missing("${purpose}" "${missing}")
        set(${var} FALSE PARENT_SCOPE)
    else()
        set(${var} TRUE PARENT_SCOPE)
    endif()
endfunction()
