# The application layer's windows, driven headless on each backend.
vantrel_add_test(NAME tst_login SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_login.cpp LIBS vantrel_ui DATABASE)
vantrel_add_test(NAME tst_session SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_session.cpp
                 LIBS vantrel_ui DATABASE)
vantrel_add_test(NAME tst_appwindow SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_appwindow.cpp
                 LIBS vantrel_ui DATABASE)
# The banner page is looked up beside the program, which is the test binary here.
configure_file(${PROJECT_SOURCE_DIR}/res/html/banner.htm
               ${CMAKE_CURRENT_BINARY_DIR}/html/banner.htm COPYONLY)
