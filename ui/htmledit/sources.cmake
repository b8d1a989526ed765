target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ccolorpickbutton.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cformatbar.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chrproperties.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chrproperties.ui
    ${CMAKE_CURRENT_LIST_DIR}/chtmleditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chtmleditorbridge.h
    ${CMAKE_CURRENT_LIST_DIR}/chtmleditorpage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chtmlurlblocker.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ctableproperties.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ctableproperties.ui
    ${CMAKE_CURRENT_LIST_DIR}/htmlcolors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/htmledit.qrc
)
