# Host functions, templates, formulas, the XML reader and the payroll tables they read.
vantrel_add_test(NAME tst_wagesetschema DATABASE LIBS vantrel_core
                 SOURCES payroll/tst_wagesetschema.cpp)
