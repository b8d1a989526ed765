# The windows of the application layer: start-up and its login, the connection, lock,
# password and banner dialogs, message boxes, launchers, popup menus and the right check.
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/appwindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/bannerbridge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgappidlelocked.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgappidlelocked.ui
    ${CMAKE_CURRENT_LIST_DIR}/dlgchangepwd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgchangepwd.ui
    ${CMAKE_CURRENT_LIST_DIR}/dlgdbconnect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgdbconnect.ui
    ${CMAKE_CURRENT_LIST_DIR}/dlghtmllogobanner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlglogin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlglogin.ui
    ${CMAKE_CURRENT_LIST_DIR}/launchers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/messagebox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/popupmenus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rightcheck.cpp
)

# The banner page ships in html/ beside the program.
configure_file(${PROJECT_SOURCE_DIR}/res/html/banner.htm ${CMAKE_BINARY_DIR}/app/html/banner.htm
               COPYONLY)
