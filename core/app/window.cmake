# The window side of the application core, built into vantrel_ui.
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/popupmenus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rightcheck.cpp
    ${CMAKE_CURRENT_LIST_DIR}/vantrelappwindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../util/messagebox.cpp
    ${PROJECT_SOURCE_DIR}/res/vantrel.qrc
)
