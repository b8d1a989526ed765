vantrel_add_test(NAME tst_gridctrl SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_gridctrl.cpp LIBS vantrel_ui DATABASE)
