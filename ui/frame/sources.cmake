target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cdlgpopupalter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmainframe.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cwakeupgridctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/framecommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/framecommandtable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frameicons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/framelayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/frametimers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/idlelockcontroller.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mainmenucontroller.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mdibackground.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mditabcontroller.cpp
    ${CMAKE_CURRENT_LIST_DIR}/modulecommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/navigationpane.cpp
    ${CMAKE_CURRENT_LIST_DIR}/remindercontroller.cpp
    ${CMAKE_CURRENT_LIST_DIR}/statususerpane.cpp
)
