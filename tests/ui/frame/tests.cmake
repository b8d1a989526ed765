vantrel_add_test(NAME tst_mainframe SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_mainframe.cpp
                 LIBS vantrel_ui DATABASE)
vantrel_add_test(NAME tst_frametimers SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_frametimers.cpp
                 LIBS vantrel_ui)
vantrel_add_test(NAME tst_framereminders SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_framereminders.cpp
                 LIBS vantrel_ui)
target_link_libraries(tst_framereminders PRIVATE vantrel_testsupport)
vantrel_add_test(NAME tst_framecommands SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_framecommands.cpp
                 LIBS vantrel_ui DATABASE)
target_link_libraries(tst_frametimers PRIVATE vantrel_testsupport)
