# The apply page and its engine (app/CApplyPage*). Linked with the pages, so
# that the seam shows the real message box and password dialog.
if(TARGET app)
  trellian_test(apply_page_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_page_test.cpp
    LIBS pages app res platform_testkit test_support LABELS threads)
  trellian_netns_test(apply_quav SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_quav_netns_test.cpp
    LIBS pages app res platform_testkit test_support DEPENDS apsim)
endif()
if(TARGET app)
  trellian_netns_test(apply_snmp SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_snmp_netns_test.cpp
    LIBS pages app res platform_testkit test_support DEPENDS apsim)
endif()
if(TARGET app)
  trellian_netns_test(apply_faults SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_faults_netns_test.cpp
    LIBS pages app res platform_testkit test_support DEPENDS apsim)
endif()
if(TARGET app)
  trellian_netns_test(apply_sync_faults SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_sync_faults_netns_test.cpp
    LIBS pages app res platform_testkit test_support DEPENDS apsim)
endif()
if(TARGET app)
  trellian_netns_test(apply_full_group SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_full_group_netns_test.cpp
    LIBS pages app res platform_testkit test_support DEPENDS apsim)
endif()
