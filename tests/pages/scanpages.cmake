# The scan pages and the status list page. Headless: the pages fed with
# records by hand (no network). In a private network namespace: the pages in
# the running main dialog against simulated access points.
if(TARGET pages)
  trellian_test(scan_pages_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/scan_pages_test.cpp
    LIBS pages test_wizard_pages app res platform_testkit test_support)
  trellian_netns_test(scan_pages_netns SOURCES ${CMAKE_CURRENT_LIST_DIR}/scan_pages_netns_test.cpp
    LIBS pages test_wizard_pages app res platform_testkit test_support DEPENDS apsim Trellian)
endif()
