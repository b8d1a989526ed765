# The session dialogs (idle lock, password change, banner), the tool starters and the banner
# pane, built into vantrel_ui.
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/bannerbridge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgappidlelocked.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgappidlelocked.ui
    ${CMAKE_CURRENT_LIST_DIR}/dlgchangepwd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgchangepwd.ui
    ${CMAKE_CURRENT_LIST_DIR}/dlghtmllogobanner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/launchers.cpp
    ${PROJECT_SOURCE_DIR}/ui/frame/clogobannerpane.cpp
    ${PROJECT_SOURCE_DIR}/ui/frame/dockedpanesizing.cpp
)

# The banner page ships in html/ beside the program.
configure_file(${PROJECT_SOURCE_DIR}/res/html/banner.htm ${CMAKE_BINARY_DIR}/app/html/banner.htm
               COPYONLY)
