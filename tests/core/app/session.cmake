vantrel_add_test(NAME tst_session SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_session.cpp
                 LIBS vantrel_ui DATABASE)
