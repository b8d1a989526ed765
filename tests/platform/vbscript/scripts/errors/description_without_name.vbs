Option Explicit
' Err.Description is the language's own text; the name is only in the host's report.
On Error Resume Next
Dim value
value = missing + 1
Print Err.Number, Err.Description               ' => 500&, "Variable is undefined"
Err.Clear
value = NoSuchFunction(1)
Print Err.Number, Err.Description               ' => 13&, "Type mismatch"
