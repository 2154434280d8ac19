# The release test: scripts/package makes the zip and the installer, then the installer is
# installed, started, closed and uninstalled in a fresh Wine prefix. Only where the packaging
# tools are present (scripts/setup installs them).
add_executable(varnox_start_close tests/package/StartAndClose.cpp)
target_link_options(varnox_start_close PRIVATE -municode)

find_program(VARNOX_MAKENSIS makensis)
find_program(VARNOX_PYTHON3 python3)
if(VARNOX_MAKENSIS AND VARNOX_PYTHON3)
  add_test(NAME package COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/test_package.sh
    ${CMAKE_BINARY_DIR} $<TARGET_FILE:varnox_start_close>)
  set_tests_properties(package PROPERTIES TIMEOUT 1800)
else()
  message(STATUS "makensis or python3 missing: the package test is left out")
endif()
