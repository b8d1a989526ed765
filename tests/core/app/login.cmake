# The login and connection dialogs, driven headless on each backend.
vantrel_add_test(NAME tst_login SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_login.cpp LIBS vantrel_ui DATABASE)
