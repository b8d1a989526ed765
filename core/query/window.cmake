# The widget side of the reference-list fillers, built into vantrel_ui.
target_sources(vantrel_ui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/widgetfillers.cpp)
