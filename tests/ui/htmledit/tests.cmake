vantrel_add_test(NAME tst_htmleditor SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_htmleditor.cpp LIBS vantrel_ui)
