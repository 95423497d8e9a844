# The main dialog with the real pages and the skin: closing while busy, the
# buttons' look while busy, the About box, what a frame leaves behind. Its
# discovery tasks bind UDP 55000, so it runs in a private network namespace.
if(TARGET pages)
  trellian_netns_test(main_window SOURCES ${CMAKE_CURRENT_LIST_DIR}/main_window_netns_test.cpp
    LIBS pages test_wizard_pages app res platform_testkit test_support DEPENDS Trellian apsim)
endif()
