# A Qt Test program made of the .cpp files of tests/<name> and the shared
# main. Each test class registered in the sources (BALKOR_REGISTER_TEST) is
# one CTest entry <name>.<Class>: after every build the program lists its
# classes, and CTest reads that list, so no class can be left out by hand.
function(balkor_qt_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${name}/*.cpp)
  set(target test_${name})
  add_executable(${target} ${sources} ${PROJECT_SOURCE_DIR}/tests/support/QtTestMain.cpp)
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_include_directories(${target} PRIVATE
    ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/tests/${name})
  target_compile_definitions(${target} PRIVATE
    BALKOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}" BALKOR_BINARY_DIR="${PROJECT_BINARY_DIR}")
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} Qt6::Test)

  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_classes.txt)
  set(ctest_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_tests.cmake)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${target}> -DOUTPUT=${list_file}
            -P ${PROJECT_SOURCE_DIR}/cmake/ListQtTests.cmake
    VERBATIM)
  file(WRITE ${ctest_file}.in
    "if(NOT EXISTS \"${list_file}\")\n"
    "  add_test(${name}.NOT_BUILT \"${target}_not_built\")\n"
    "  return()\n"
    "endif()\n"
    "file(STRINGS \"${list_file}\" classes)\n"
    "foreach(class IN LISTS classes)\n"
    "  add_test(${name}.\${class} \"$<TARGET_FILE:${target}>\" \${class})\n"
    "  set_tests_properties(${name}.\${class} PROPERTIES\n"
    "    ENVIRONMENT \"QT_QPA_PLATFORM=offscreen\" TIMEOUT 300)\n"
    "endforeach()\n")
  file(GENERATE OUTPUT ${ctest_file} INPUT ${ctest_file}.in)
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${ctest_file})
endfunction()

# Runs one test class of test_<name> once more under the openbox window
# manager on a virtual X display (test <name>.<test_name>; SCREEN WxH, default
# 1280x900), where both are installed: for what only a real window manager
# shows (stacking, focus). Without a D-Bus session (see scripts/lsan.supp).
find_program(XVFB_RUN xvfb-run)
find_program(OPENBOX openbox)
function(balkor_qt_test_under_window_manager name test_name class)
  cmake_parse_arguments(ARG "" "SCREEN" "" ${ARGN})
  if(NOT ARG_SCREEN)
    set(ARG_SCREEN 1280x900)
  endif()
  if(NOT XVFB_RUN OR NOT OPENBOX)
    return()
  endif()
  add_test(NAME ${name}.${test_name}
    COMMAND ${XVFB_RUN} -a -s "-screen 0 ${ARG_SCREEN}x24"
            ${PROJECT_SOURCE_DIR}/scripts/with-window-manager.sh
            $<TARGET_FILE:test_${name}> ${class})
  set_tests_properties(${name}.${test_name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;DBUS_SESSION_BUS_ADDRESS=disabled:" TIMEOUT 180
    # One at a time: two xvfb-run started together may pick the same free
    # display number, and the screen comparisons want the cores they can get.
    RESOURCE_LOCK virtual_display)
endfunction()
