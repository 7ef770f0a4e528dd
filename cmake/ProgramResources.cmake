# The version of the product, written once into generated/QuenbyVersion.h from the project's
# version, and the version resources and manifests of the three program files.
if(PROJECT_VERSION_MINOR STREQUAL "")
    set(QUENBY_VERSION_MINOR 0)
else()
    set(QUENBY_VERSION_MINOR ${PROJECT_VERSION_MINOR})
endif()
if(PROJECT_VERSION_PATCH STREQUAL "")
    set(QUENBY_VERSION_PATCH 0)
else()
    set(QUENBY_VERSION_PATCH ${PROJECT_VERSION_PATCH})
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/QuenbyVersion.h.in ${CMAKE_BINARY_DIR}/generated/QuenbyVersion.h)
set(QUENBY_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${QUENBY_VERSION_MINOR}.${QUENBY_VERSION_PATCH}.0)
set(QUENBY_PROGRAM_RC_DIR ${CMAKE_SOURCE_DIR}/resources/program)
set(QUENBY_MANIFEST ${CMAKE_BINARY_DIR}/generated/Program.manifest)
configure_file(${QUENBY_PROGRAM_RC_DIR}/Program.manifest.in ${QUENBY_MANIFEST} @ONLY)
configure_file(${QUENBY_PROGRAM_RC_DIR}/Library.manifest.in ${CMAKE_BINARY_DIR}/generated/Library.manifest @ONLY)

foreach(program Quenby Lumrik Tessaly)
    target_sources(${program} PRIVATE ${QUENBY_PROGRAM_RC_DIR}/${program}.rc)
    target_include_directories(${program} PRIVATE ${CMAKE_BINARY_DIR}/generated ${QUENBY_PROGRAM_RC_DIR})
endforeach()
# A change of the manifest must rebuild the resources that embed it.
set_source_files_properties(${QUENBY_PROGRAM_RC_DIR}/Quenby.rc ${QUENBY_PROGRAM_RC_DIR}/Tessaly.rc
    TARGET_DIRECTORY Quenby Tessaly PROPERTIES OBJECT_DEPENDS "${QUENBY_MANIFEST};${QUENBY_PROGRAM_RC_DIR}/VersionInfo.rc")
set_source_files_properties(${QUENBY_PROGRAM_RC_DIR}/Lumrik.rc
    TARGET_DIRECTORY Lumrik PROPERTIES OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/Library.manifest;${QUENBY_PROGRAM_RC_DIR}/VersionInfo.rc")
