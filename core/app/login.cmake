# The login and the connection setting, built into vantrel_ui. ConnectionSetting needs no
# widgets and is tested on its own.
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/connectionsetting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgdbconnect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgdbconnect.ui
    ${CMAKE_CURRENT_LIST_DIR}/dlglogin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlglogin.ui
)
