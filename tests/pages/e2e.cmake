# The three flows end to end: the main dialog in process, driven with
# injected input against simulated access points in a private network. The
# second case runs the create flow on a private Xvfb (not headless) and
# leaves a picture of each page in <build>/screens/create.
if(TARGET pages)
  trellian_netns_test(e2e SOURCES ${CMAKE_CURRENT_LIST_DIR}/e2e_netns_test.cpp
    LIBS pages app res skin controls platform_testkit test_support DEPENDS apsim screenshot TIMEOUT 600)
  add_test(NAME e2e_x11 COMMAND ${CMAKE_SOURCE_DIR}/tools/netns-run $<TARGET_FILE:e2e_tests>
    --gtest_filter=Flows.Create*)
  set_tests_properties(e2e_x11 PROPERTIES TIMEOUT 600 LABELS x11 ENVIRONMENT
    "TRELLIAN_SOURCE_DIR=${CMAKE_SOURCE_DIR};TRELLIAN_BINARY_DIR=${CMAKE_BINARY_DIR};TRELLIAN_E2E_XVFB=1;XDG_STATE_HOME=${CMAKE_BINARY_DIR}/test-state")
endif()
