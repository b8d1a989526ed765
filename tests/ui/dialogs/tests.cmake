vantrel_add_test(NAME tst_dialogbase SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_dialogbase.cpp LIBS vantrel_ui)
