target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/caboutdlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/caboutdlg.ui
    ${CMAKE_CURRENT_LIST_DIR}/cdialogexx.cpp
)
