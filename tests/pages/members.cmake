# The member pages and the manual IP dialog, headless.
trellian_test(member_pages_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/member_page_test.cpp ${CMAKE_CURRENT_LIST_DIR}/manual_ip_dlg_test.cpp
  LIBS pages test_wizard_pages app res platform_testkit test_support)
trellian_test(modify_member_page_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/modify_members_page_test.cpp
  LIBS pages test_wizard_pages app res platform_testkit test_support)
