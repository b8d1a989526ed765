target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ctransparentpic.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cuseshgetfileinfo.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filedialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/looktheme.cpp
    ${CMAKE_CURRENT_LIST_DIR}/resources.cpp
    ${CMAKE_CURRENT_LIST_DIR}/screenplacement.cpp
)
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cdesktopalertwnd.cpp
    ${CMAKE_CURRENT_LIST_DIR}/combogridhook.cpp
    ${CMAKE_CURRENT_LIST_DIR}/combotreetip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cpopuptext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/csubclasswnd.cpp
)
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cbcgpadogridctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdeptpane.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmyadogridctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmybcgpgridview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chart3dwidget.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chartpalettes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmychartview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/crotationctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmyfilelistview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmyhtmlview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmytreeview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/gridcelldelegate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keyedrecordwriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/keysetrowsource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recordsetgridmodel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recordsetrowsource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/recordwriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/widgetfillers.cpp
)
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cdropdownlistdept.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdroplistgrid.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cdroplisttree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ceditbrowsectrlfromdb.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ceditbrowsectrlpsn.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ceditbrowsedropctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ceditbrowsegridctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ceditbrowsetreectrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmfceditbrowsectrl.cpp
)
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cdatetimectrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ceditlblctl.cpp
)
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/cmylistctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmymfctabctrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmytoolbarlabel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/cmytreectrl.cpp
)
find_package(Qt6 REQUIRED COMPONENTS PrintSupport)
target_sources(vantrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/gridprint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/itemgridcommands.cpp
)
target_link_libraries(vantrel_ui PUBLIC Qt6::PrintSupport)
