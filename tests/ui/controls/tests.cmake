vantrel_add_test(NAME tst_gridctrl SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_gridctrl.cpp LIBS vantrel_ui DATABASE)
vantrel_add_test(NAME tst_cpopuptext SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_cpopuptext.cpp LIBS vantrel_ui)
vantrel_add_test(NAME tst_csubclasswnd SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_csubclasswnd.cpp LIBS vantrel_ui)
