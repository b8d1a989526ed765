# Host functions, templates, formulas, the XML reader and the payroll tables they read.
set(funcdescr "VANTREL_FUNCDESCR=\"${CMAKE_BINARY_DIR}/app/funcdescr.xml\"")
vantrel_add_test(NAME tst_hostfunctions DATABASE LIBS vantrel_core
                 SOURCES script/tst_hostfunctions.cpp script/wagefixture.cpp)
target_compile_definitions(tst_hostfunctions PRIVATE ${funcdescr})
vantrel_add_test(NAME tst_templatemerge DATABASE LIBS vantrel_core
                 SOURCES script/tst_templatemerge.cpp script/wagefixture.cpp)
vantrel_add_test(NAME tst_wageformula DATABASE LIBS vantrel_core
                 SOURCES script/tst_wageformula.cpp script/wagefixture.cpp)
vantrel_add_test(NAME tst_vbsstringliteral DATABASE LIBS vantrel_core
                 SOURCES script/tst_vbsstringliteral.cpp)
vantrel_add_test(NAME tst_chinesemoney SOURCES script/tst_chinesemoney.cpp LIBS vantrel_core)
vantrel_add_test(NAME tst_cxmldocument SOURCES util/tst_cxmldocument.cpp LIBS vantrel_core)
target_compile_definitions(tst_cxmldocument PRIVATE ${funcdescr})
vantrel_add_test(NAME tst_wagesetschema DATABASE LIBS vantrel_core
                 SOURCES payroll/tst_wagesetschema.cpp)
# Registers a function on the embedded database's own handle.
find_package(SQLite3 REQUIRED)
vantrel_add_test(NAME tst_wageviewsource DATABASE LIBS vantrel_core SQLite::SQLite3
                 SOURCES payroll/tst_wageviewsource.cpp script/wagefixture.cpp)
