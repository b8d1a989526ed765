# The personnel archive's windows: the frame and the person view over the logic above.
add_library(vantrel_personnel_ui STATIC
    ui/advcelldelegate.cpp
    ui/cchildframepsn.cpp
    ui/cdlgadvresearch.cpp
    ui/cdlgdynctlformbase.cpp
    ui/cdlgdynctlformforpsnbase.cpp
    ui/cdlgpsnchangewizard.cpp
    ui/cdlgpsnhistorymanage.cpp
    ui/cdlgpsnselectwizard.cpp
    ui/cpanetoolbar.cpp
    ui/cphotoctrl.cpp
    ui/cphotopane.cpp
    ui/cpsnpersonpane.cpp
    ui/cviewpsn.cpp
    ui/cviewpsntools.cpp
    ui/personnelmodule.cpp
    ui/psncelldelegate.cpp
    ui/personnel.qrc
)
target_link_libraries(vantrel_personnel_ui PUBLIC vantrel_personnel vantrel_ui vantrel_idcard)
vantrel_target_defaults(vantrel_personnel_ui)
