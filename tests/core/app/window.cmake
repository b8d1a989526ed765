vantrel_add_test(NAME tst_appservices SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_appservices.cpp LIBS vantrel_ui DATABASE)
