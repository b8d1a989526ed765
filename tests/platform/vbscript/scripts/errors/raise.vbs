' Err.Raise: standard numbers get the standard text; own numbers keep their own.
On Error Resume Next
Err.Raise 6
Print Err.Number, Err.Description               ' => 6&, "Overflow"
Err.Raise vbObjectError + 1, "Payroll", "Rate missing"
Print Err.Number, Err.Source, Err.Description   ' => -2147221503&, "Payroll", "Rate missing"
Err.Raise 12345
Print Err.Description                           ' => "Unknown runtime error"
Err.Number = 5
Print Err.Number, Err.Description               ' => 5&, "Unknown runtime error"
On Error GoTo 0
Err.Raise 5                                     ' => error 5
