# The session dialogs (idle lock, password change) and the tool starters, built into vantrel_ui.
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dlgappidlelocked.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgappidlelocked.ui
    ${CMAKE_CURRENT_LIST_DIR}/dlgchangepwd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dlgchangepwd.ui
    ${CMAKE_CURRENT_LIST_DIR}/launchers.cpp
)

