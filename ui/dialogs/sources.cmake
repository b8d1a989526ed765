target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/caboutdlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/caboutdlg.ui
    ${CMAKE_CURRENT_LIST_DIR}/cdialogexx.cpp
)
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cdlgbatchupdate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdlggridcolfmt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdlgnameset.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdlgresetorder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdlgscrollable.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cprogressdlg.cpp
)
