# What a Windows user downloads, made by `cmake --build --preset mingw --target package`:
#   Tessaro-<version>-win64.zip  a folder Tessaro/ with Tessaro.scr, the 46 demo slides and README.txt
#   Tessaro-<version>-win64.msi  Tessaro.scr and the slides for the 64-bit System32, built with
#                                wixl from installer/tessaro.wxs
#   SHA256SUMS                   the checksums of both
# Tessaro.scr, then the MSI, are signed when the environment names a certificate; the same commit
# makes the same bytes anywhere, at any time (tools/downloads.py). Also the tests of both: the
# MSI's tables read with msiinfo on this machine, and the ZIP and the MSI's install, upgrade and
# removal under Wine (package_tests).

find_program(TESSARO_WIXL wixl)
if(NOT TESSARO_WIXL OR NOT TARGET demo_slides)
  message(STATUS "No package target: it needs wixl and the demo slides (tools/install-deps.sh installs both)")
  return()
endif()
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(TESSARO_DOWNLOADS_TOOL ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/downloads.py)

set(TESSARO_PACKAGE_NAME Tessaro-${PROJECT_VERSION}-win64)
set(TESSARO_ZIP ${CMAKE_BINARY_DIR}/${TESSARO_PACKAGE_NAME}.zip)
set(TESSARO_MSI ${CMAKE_BINARY_DIR}/${TESSARO_PACKAGE_NAME}.msi)
set(TESSARO_SUMS ${CMAKE_BINARY_DIR}/SHA256SUMS)
set(TESSARO_PACKAGE_SOURCES ${CMAKE_BINARY_DIR}/package-sources)
# The commit's time and how the downloads are signed, written at every build and changed only
# when they change.
set(TESSARO_RELEASE_SETTINGS ${TESSARO_PACKAGE_SOURCES}/release-settings.json)
add_custom_target(release_settings
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TESSARO_PACKAGE_SOURCES}
  COMMAND ${TESSARO_DOWNLOADS_TOOL} settings ${TESSARO_RELEASE_SETTINGS} ${CMAKE_SOURCE_DIR}
  BYPRODUCTS ${TESSARO_RELEASE_SETTINGS}
  VERBATIM)

# The same for every version, so that Windows Installer sees one product line: a newer version
# replaces an older one. Never change it.
set(TESSARO_UPGRADE_CODE CF4DAE16-D2A0-4F8B-B2DE-E87C591F0BC0)

set(TESSARO_SLIDE_DIR ${CMAKE_BINARY_DIR}/demo)
set(TESSARO_SLIDE_FILES)
foreach(number RANGE 1 46)
  if(number LESS 10)
    set(number 0${number})
  endif()
  list(APPEND TESSARO_SLIDE_FILES ${TESSARO_SLIDE_DIR}/ZUMIK${number}.DAT)
endforeach()

# The slides' File elements, for the WiX source to include.
set(slide_elements "")
foreach(slide IN LISTS TESSARO_SLIDE_FILES)
  cmake_path(GET slide FILENAME name)
  string(APPEND slide_elements "  <File Id=\"${name}\" Source=\"$(var.SlideDir)/${name}\"/>\n")
endforeach()
file(CONFIGURE OUTPUT ${TESSARO_PACKAGE_SOURCES}/slides.wxi @ONLY CONTENT
  "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!-- Written by cmake/package.cmake. -->\n<Include>\n${slide_elements}</Include>\n")

# Builds the MSI of a version into output, with program as its Tessaro.scr, made by the target
# or file program_source.
function(tessaro_add_msi output version program program_source)
  # One product code per version, the same on every build of it: installing the same version
  # again finds the product already there instead of adding a second one.
  string(UUID product_code NAMESPACE ${TESSARO_UPGRADE_CODE} NAME "Tessaro ${version} win64" TYPE SHA1 UPPER)
  # wixl takes file paths relative to the WiX source only.
  set(wxs_dir ${CMAKE_SOURCE_DIR}/installer)
  file(RELATIVE_PATH icon ${wxs_dir} ${CMAKE_SOURCE_DIR}/resources/tessaro.ico)
  file(RELATIVE_PATH slide_dir ${wxs_dir} ${TESSARO_SLIDE_DIR})
  file(RELATIVE_PATH shown_output ${CMAKE_BINARY_DIR} ${output})
  cmake_path(GET output PARENT_PATH output_dir)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${output_dir}
    COMMAND ${TESSARO_WIXL} -a x64 -I ${TESSARO_PACKAGE_SOURCES} -o ${output}.partial
      -D Version=${version}
      -D "Manufacturer=${TESSARO_COMPANY_NAME}"
      -D UpgradeCode=${TESSARO_UPGRADE_CODE}
      -D ProductCode=${product_code}
      -D IconFile=${icon}
      -D "ProgramFile=$<PATH:RELATIVE_PATH,${program},${wxs_dir}>"
      -D SlideDir=${slide_dir}
      ${wxs_dir}/tessaro.wxs
    COMMAND ${TESSARO_DOWNLOADS_TOOL} stamp-msi ${output}.partial ${TESSARO_RELEASE_SETTINGS}
    COMMAND ${CMAKE_COMMAND} -E rename ${output}.partial ${output}
    DEPENDS ${wxs_dir}/tessaro.wxs ${TESSARO_PACKAGE_SOURCES}/slides.wxi ${CMAKE_SOURCE_DIR}/resources/tessaro.ico
      ${program_source} ${TESSARO_SLIDE_FILES} ${TESSARO_RELEASE_SETTINGS}
    COMMENT "Building ${shown_output}"
    VERBATIM)
endfunction()

# Tessaro.scr as the downloads carry it, signed first: a failed signing leaves no download.
set(shipped_program ${CMAKE_BINARY_DIR}/shipped/Tessaro.scr)
add_custom_command(
  OUTPUT ${shipped_program}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/shipped
  COMMAND ${TESSARO_DOWNLOADS_TOOL} sign $<TARGET_FILE:Tessaro> ${shipped_program} ${TESSARO_ZIP} ${TESSARO_MSI} ${TESSARO_SUMS}
  DEPENDS Tessaro ${TESSARO_RELEASE_SETTINGS}
  COMMENT "Signing Tessaro.scr, where a certificate is named"
  VERBATIM)

set(unsigned_msi ${TESSARO_PACKAGE_SOURCES}/${TESSARO_PACKAGE_NAME}.msi)
tessaro_add_msi(${unsigned_msi} ${PROJECT_VERSION} ${shipped_program} ${shipped_program})
add_custom_command(
  OUTPUT ${TESSARO_MSI}
  COMMAND ${TESSARO_DOWNLOADS_TOOL} sign ${unsigned_msi} ${TESSARO_MSI} ${TESSARO_ZIP} ${TESSARO_SUMS}
  DEPENDS ${unsigned_msi}
  COMMENT "Building ${TESSARO_PACKAGE_NAME}.msi"
  VERBATIM)

configure_file(installer/README.txt.in ${TESSARO_PACKAGE_SOURCES}/README.txt @ONLY NEWLINE_STYLE CRLF)
add_custom_command(
  OUTPUT ${TESSARO_ZIP}
  COMMAND ${TESSARO_DOWNLOADS_TOOL} zip ${TESSARO_ZIP} ${TESSARO_RELEASE_SETTINGS} Tessaro
    ${TESSARO_PACKAGE_SOURCES}/README.txt ${shipped_program} ${TESSARO_SLIDE_FILES}
  DEPENDS ${shipped_program} ${TESSARO_PACKAGE_SOURCES}/README.txt ${TESSARO_SLIDE_FILES} ${TESSARO_RELEASE_SETTINGS}
  COMMENT "Building ${TESSARO_PACKAGE_NAME}.zip"
  VERBATIM)

add_custom_command(
  OUTPUT ${TESSARO_SUMS}
  COMMAND ${TESSARO_DOWNLOADS_TOOL} sums ${TESSARO_SUMS} ${TESSARO_ZIP} ${TESSARO_MSI}
  DEPENDS ${TESSARO_ZIP} ${TESSARO_MSI}
  VERBATIM)

add_custom_target(package DEPENDS ${TESSARO_SUMS})
add_dependencies(package demo_slides release_settings)

# The MSI's tables, read on this machine.
find_program(TESSARO_MSIINFO msiinfo REQUIRED)
add_test(NAME PackageMsi.HasTheTablesOfAPerMachine64BitPackageAndItsFiles
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/package/check_msi.py
    ${TESSARO_MSIINFO} ${TESSARO_MSI} ${PROJECT_VERSION} "${TESSARO_COMPANY_NAME}" ${TESSARO_UPGRADE_CODE})

# Under Wine: the ZIP's files, and install, upgrade and removal with msiexec. Two more MSIs serve
# only the upgrade test: an older version, which carries the quick-cycle program as its
# Tessaro.scr so that the test can tell whose files are installed, and this version built again.
if(NOT TESSARO_TESTS)
  return()
endif()
set(TESSARO_OLDER_TEST_VERSION 0.9.0)
if(NOT TESSARO_OLDER_TEST_VERSION VERSION_LESS PROJECT_VERSION)
  message(FATAL_ERROR "The upgrade test's older version ${TESSARO_OLDER_TEST_VERSION} is not older than ${PROJECT_VERSION}")
endif()
set(older_msi ${CMAKE_BINARY_DIR}/package-tests/Tessaro-${TESSARO_OLDER_TEST_VERSION}-win64.msi)
set(rebuilt_msi ${CMAKE_BINARY_DIR}/package-tests/rebuilt/${TESSARO_PACKAGE_NAME}.msi)
tessaro_add_msi(${older_msi} ${TESSARO_OLDER_TEST_VERSION} $<TARGET_FILE:TessaroQuickCycle> TessaroQuickCycle)
tessaro_add_msi(${rebuilt_msi} ${PROJECT_VERSION} ${shipped_program} ${shipped_program})
add_custom_target(package_test_msis DEPENDS ${older_msi} ${rebuilt_msi})
add_dependencies(package_test_msis package)

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
set(TESSARO_PACKAGE_TEST_SOURCES tests/package/zip_test.cpp tests/package/msi_test.cpp)
add_executable(package_tests EXCLUDE_FROM_ALL
  tests/e2e/e2e_main.cpp tests/package/zip_reader.cpp tests/package/package_support.cpp ${TESSARO_PACKAGE_TEST_SOURCES})
target_link_libraries(package_tests PRIVATE tessaro_e2e_harness GTest::gtest ZLIB::ZLIB msi advapi32)
target_compile_definitions(package_tests PRIVATE
  "TESSARO_OLDER_TEST_VERSION=\"${TESSARO_OLDER_TEST_VERSION}\"" "TESSARO_UPGRADE_CODE=\"{${TESSARO_UPGRADE_CODE}}\"")
target_compile_options(package_tests PRIVATE ${TESSARO_WARNINGS})
add_dependencies(package_tests package package_test_msis Tessaro TessaroQuickCycle)

gtest_add_tests(TARGET package_tests SOURCES ${TESSARO_PACKAGE_TEST_SOURCES} TEST_LIST TESSARO_PACKAGE_TESTS)
set_tests_properties(${TESSARO_PACKAGE_TESTS} PROPERTIES FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 300)

# Signing, with a certificate the test makes, in this build folder's package target, which the
# test leaves unsigned again; Windows' trust check of the signed files runs under Wine.
add_executable(trust_check EXCLUDE_FROM_ALL tests/package/trust_check.cpp)
target_link_libraries(trust_check PRIVATE wintrust)
tessaro_use_wide_entry(trust_check)
add_dependencies(package_tests trust_check)
add_test(NAME PackageSigning.SignedDownloadsVerifyAndRebuildUnsignedOnesBuild
  COMMAND ${CMAKE_SOURCE_DIR}/tests/package/signing_test.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR} ${TESSARO_WINE_STATE})
set_tests_properties(PackageSigning.SignedDownloadsVerifyAndRebuildUnsignedOnesBuild PROPERTIES
  FIXTURES_REQUIRED wine_session RESOURCE_LOCK desktop TIMEOUT 300)
