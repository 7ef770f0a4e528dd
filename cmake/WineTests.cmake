# Helpers that turn Google Test programs run under Wine into many ctest entries, so that a hang or a
# crash costs one entry its timeout and names it, while the others still run and report.

# The tests of one source file: their suites as a gtest filter ("A.*:B.*") and their full names
# ("A.One;A.Two"). A new test in the file makes CMake run again.
function(quenby_tests_in source out_filter out_tests)
    file(STRINGS ${source} lines REGEX "^TEST(_F)?\\([A-Za-z0-9_]+, *[A-Za-z0-9_]+\\)")
    set(patterns "")
    set(tests "")
    foreach(line IN LISTS lines)
        string(REGEX REPLACE "^TEST(_F)?\\(([A-Za-z0-9_]+), *([A-Za-z0-9_]+)\\).*" "\\2;\\3" parts "${line}")
        list(GET parts 0 suite)
        list(GET parts 1 name)
        list(APPEND patterns "${suite}.*")
        list(APPEND tests "${suite}.${name}")
    endforeach()
    list(REMOVE_DUPLICATES patterns)
    list(JOIN patterns ":" filter)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
    set(${out_filter} "${filter}" PARENT_SCOPE)
    set(${out_tests} "${tests}" PARENT_SCOPE)
endfunction()
