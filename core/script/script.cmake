# Host functions, the template and formula languages, the XML reader of the function
# catalogue, and the payroll tables and procedures they read; built into vantrel_core.
target_sources(vantrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/chinesemoney.cpp
    ${CMAKE_CURRENT_LIST_DIR}/hostfunctions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scriptsession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/scriptsessionscope.cpp
    ${CMAKE_CURRENT_LIST_DIR}/templatemerge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/vbsstringliteral.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wageformula.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wagevalues.cpp
    ${PROJECT_SOURCE_DIR}/core/util/cxmldocument.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/payrollprocedures.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wageperiod.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wagecalculator.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wageformulaprogram.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wageround.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wagesetschema.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wageviewsource.cpp
)

# The formula editor's function catalogue ships beside the program.
configure_file(${PROJECT_SOURCE_DIR}/res/funcdescr.xml ${CMAKE_BINARY_DIR}/app/funcdescr.xml
               COPYONLY)
