# The setup program Quenby-<version>-setup.exe, made with NSIS from the built program files
# (target "setup"; `make package` builds it beside the zip).
find_program(QUENBY_MAKENSIS NAMES makensis REQUIRED)
set(QUENBY_SETUP ${CMAKE_BINARY_DIR}/Quenby-${PROJECT_VERSION}-setup.exe)
add_custom_command(OUTPUT ${QUENBY_SETUP}
    COMMAND ${QUENBY_MAKENSIS} -V2 -NOCD
            -DVERSION=${PROJECT_VERSION}
            -DVERSION_QUAD=${PROJECT_VERSION_MAJOR}.${QUENBY_VERSION_MINOR}.${QUENBY_VERSION_PATCH}.0
            -DPROGRAM_DIR=${QUENBY_PROGRAM_DIR}
            -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
            -DOUTFILE=${QUENBY_SETUP}
            ${CMAKE_SOURCE_DIR}/installer/Quenby.nsi
    DEPENDS Quenby Lumrik Tessaly quenby_sound ${CMAKE_SOURCE_DIR}/installer/Quenby.nsi
            ${CMAKE_SOURCE_DIR}/resources/icons/quenby.ico
    COMMENT "Making ${QUENBY_SETUP}"
    VERBATIM)
add_custom_target(setup DEPENDS ${QUENBY_SETUP})
