# The project's version and TESSARO_COMPANY_NAME reach the program through generated files in
# build/<preset>/generated, which every target sees: version.h, included by the resource script
# and the tests, and the manifest that the resource script embeds.

# Three numbers without leading zeros, as the About box writes them; the MSI allows at most
# 255.255.65535.
if(NOT PROJECT_VERSION MATCHES "^(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)\\.(0|[1-9][0-9]*)$"
   OR PROJECT_VERSION_MAJOR GREATER 255 OR PROJECT_VERSION_MINOR GREATER 255 OR PROJECT_VERSION_PATCH GREATER 65535)
  message(FATAL_ERROR "The project version must be major.minor.revision, at most 255.255.65535, not ${PROJECT_VERSION}")
endif()

set(TESSARO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(resources/version.h.in ${TESSARO_GENERATED_DIR}/version.h @ONLY)
configure_file(resources/tessaro.manifest.in ${TESSARO_GENERATED_DIR}/tessaro.manifest @ONLY)
include_directories(${TESSARO_GENERATED_DIR})
