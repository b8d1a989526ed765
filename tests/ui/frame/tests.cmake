vantrel_add_test(NAME tst_mainframe SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_mainframe.cpp
                 LIBS vantrel_ui DATABASE)
