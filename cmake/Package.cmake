# The package a parent downloads: Quenby-1.0-x64.zip with the program, its companions, the
# alert sound and the install guide, all at the top of the archive.
install(FILES
    $<TARGET_FILE:Quenby>
    $<TARGET_FILE:Lumrik>
    $<TARGET_FILE:Tessaly>
    ${CMAKE_SOURCE_DIR}/resources/sounds/alert.wav
    ${CMAKE_SOURCE_DIR}/docs/INSTALL.txt
    DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Quenby)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "Quenby-${PROJECT_VERSION}-x64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_STRIP_FILES ON)
include(CPack)
