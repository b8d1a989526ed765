# The personnel archive's windows: the frame and the person view over the logic above.
add_library(vantrel_personnel_ui STATIC
    ui/advcelldelegate.cpp
    ui/cadjunctpane.cpp
    ui/camera.qrc
    ui/cchildframepsn.cpp
    ui/cdlgadvresearch.cpp
    ui/cdlgdynctlformbase.cpp
    ui/cdlgdynctlformfordept.cpp
    ui/cdlgdynctlformforpsnbase.cpp
    ui/cdlgdynctlformforpsnsort.cpp
    ui/cdlgdynctlformforrelatarc.cpp
    ui/cdlgdynctlformrecord.cpp
    ui/cdlgpsnbatchworkingage.cpp
    ui/cdlgpsnchangewizard.cpp
    ui/cdlgpsndatapreview.cpp
    ui/cdlgpsnimport.cpp
    ui/cdlgpsnprintrsselect.cpp
    ui/cdlgpsnhistorymanage.cpp
    ui/cdlgpsnselectwizard.cpp
    ui/cdlgpsnstatanalyze.cpp
    ui/cdlgpsnstatanalyzeitem.cpp
    ui/cdlgpsnwakeupitem.cpp
    ui/cdlgpsnwakeupmanage.cpp
    ui/cdlgpsnwakeupsetup.cpp
    ui/cdlgvidcap.cpp
    ui/cpanetoolbar.cpp
    ui/cphotoctrl.cpp
    ui/cphotopane.cpp
    ui/cpsnstattreeview.cpp
    ui/cpicturecap.cpp
    ui/crelatinfopane.cpp
    ui/cviewpsn.cpp
    ui/cviewpsnoutput.cpp
    ui/cviewpsntools.cpp
    ui/frozencolumnview.cpp
    ui/personnelmodule.cpp
    ui/personpane.cpp
    ui/psncelldelegate.cpp
    ui/personnel.qrc
)
target_link_libraries(vantrel_personnel_ui PUBLIC vantrel_personnel vantrel_ui vantrel_idcard)
vantrel_target_defaults(vantrel_personnel_ui)
target_sources(vantrel_personnel_ui PRIVATE ui/cdlgpsnstatchartset.cpp)
