# Host functions, the template and formula languages, the XML reader of the function
# catalogue, and the payroll tables and procedures they read; built into vantrel_core.
target_sources(vantrel_core PRIVATE
    ${PROJECT_SOURCE_DIR}/core/payroll/payrollprocedures.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wageperiod.cpp
    ${PROJECT_SOURCE_DIR}/core/payroll/wagesetschema.cpp
)
