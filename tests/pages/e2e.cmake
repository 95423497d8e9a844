# The three flows end to end: the main dialog in process, driven with
# injected input against simulated access points in a private network. The
# second case runs them on a private Xvfb (not headless) and leaves a picture
# of each page in <build>/screens/<flow>.
if(TARGET pages)
  trellian_netns_test(e2e SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e_netns_test.cpp
    LIBS pages test_wizard_pages app res skin controls platform_testkit test_support DEPENDS apsim screenshot TIMEOUT 600)
  add_test(NAME e2e_x11 COMMAND ${CMAKE_SOURCE_DIR}/tools/netns-run $<TARGET_FILE:e2e_tests>)
  set_tests_properties(e2e_x11 PROPERTIES TIMEOUT 600 LABELS x11 ENVIRONMENT
    "TRELLIAN_SOURCE_DIR=${CMAKE_SOURCE_DIR};TRELLIAN_BINARY_DIR=${CMAKE_BINARY_DIR};TRELLIAN_E2E_XVFB=1;XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state")
endif()

# The three flows through the X server: the program Trellian as a process in
# the lab on a private Xvfb, driven by XTEST, once on the bare server and once
# under openbox. The pictures go to <build>/screens/x11-<manager>.
if(TARGET pages AND TARGET Trellian)
  add_executable(e2e_x_tests ${CMAKE_CURRENT_LIST_DIR}/e2e_x_test.cpp)
  target_link_libraries(e2e_x_tests PRIVATE res platform test_support GTest::gtest GTest::gtest_main)
  target_include_directories(e2e_x_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  add_dependencies(e2e_x_tests Trellian apsim)
  foreach(manager bare openbox)
    add_test(NAME e2e_x11_${manager} COMMAND $<TARGET_FILE:e2e_x_tests>)
    set_tests_properties(e2e_x11_${manager} PROPERTIES TIMEOUT 600 LABELS x11 RESOURCE_LOCK xvfb_${manager}
      ENVIRONMENT "TRELLIAN_SOURCE_DIR=${CMAKE_SOURCE_DIR};TRELLIAN_BINARY_DIR=${CMAKE_BINARY_DIR};TRELLIAN_X_WM=${manager}")
  endforeach()
  # Every Xvfb of the tests is started on a named display number whose lock
  # file no live server holds (tests/support/Xvfb.h), so a server inside a
  # private network namespace never shares its socket file with one outside.
endif()
