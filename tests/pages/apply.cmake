# The apply page and its engine (app/CApplyPage*), linked with the pages so
# that the seam shows the real message box and password dialog. The programs
# that talk to simulated access points run in a private network, each as one
# CTest case, so that CI runs them side by side.
if(TARGET app)
  trellian_test(apply_page_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/apply_page_test.cpp
    LIBS pages test_wizard_pages app res platform_testkit test_support LABELS threads)
  foreach(name apply_quav apply_snmp apply_faults apply_sync_faults apply_full_group apply_lossy apply_lost_answers
      apply_kernel_loss)
    trellian_netns_test(${name} SOURCES ${CMAKE_CURRENT_LIST_DIR}/${name}_netns_test.cpp
      LIBS pages test_wizard_pages app res platform_testkit test_support DEPENDS apsim)
  endforeach()
endif()
