# The message box, the password dialogs, the group name page and the
# completion pages, headless, with the program's texts and skin.
file(GLOB DIALOG_PAGES_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/dialogs/*.cpp)
trellian_test(dialog_pages_tests SOURCES ${DIALOG_PAGES_TEST_SOURCES}
  LIBS pages test_wizard_pages app res platform_testkit test_support)
