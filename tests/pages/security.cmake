# The security dialogs of the wireless settings pages (WPA-Personal, WEP key,
# 802.1X, WPA-Enterprise), headless, bound to real variable lists.
trellian_test(security_dialogs_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/security_dialogs_test.cpp
  LIBS pages test_wizard_pages app res platform_testkit test_support)

# The wireless settings pages against one simulated Master (tools/apsim's SNMP
# agent), in a private network namespace.
trellian_netns_test(wireless_page
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/wireless_page_netns_test.cpp
  LIBS pages test_wizard_pages app res platform_testkit test_support
  DEPENDS apsim)
