# Helpers that turn Google Test programs run under Wine into many ctest entries, so that a hang or a
# crash costs one entry its timeout and names it, while the others still run and report.

# The test suites (the first argument of each TEST/TEST_F) of one source file, as a gtest filter.
function(quenby_suites_of source out_filter)
    file(STRINGS ${source} lines REGEX "^TEST(_F)?\\([A-Za-z0-9_]+,")
    set(patterns "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+),.*" "\\2.*" pattern "${line}")
        list(APPEND patterns ${pattern})
    endforeach()
    list(REMOVE_DUPLICATES patterns)
    list(JOIN patterns ":" filter)
    # A new test in the file must make a new filter.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    set(${out_filter} "${filter}" PARENT_SCOPE)
endfunction()

# The tests (Suite.Name) of one source file.
function(quenby_tests_of source out_tests)
    file(STRINGS ${source} lines REGEX "^TEST(_F)?\\([A-Za-z0-9_]+, *[A-Za-z0-9_]+\\)")
    set(tests "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\).*" "\\2.\\3" test "${line}")
        list(APPEND tests ${test})
    endforeach()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    set(${out_tests} "${tests}" PARENT_SCOPE)
endfunction()
