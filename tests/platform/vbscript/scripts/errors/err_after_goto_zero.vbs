' On Error GoTo 0 clears Err; Err.Description is the language's text without the name.
On Error Resume Next
x = undefinedFunction(1)
Print Err.Number, Err.Description               ' => 13&, "Type mismatch"
On Error GoTo 0
Print Err.Number, Err.Description, Err.Source   ' => 0&, "", ""
On Error Resume Next
Err.Raise 5
On Error GoTo 0
Print Err.Number                                ' => 0&
