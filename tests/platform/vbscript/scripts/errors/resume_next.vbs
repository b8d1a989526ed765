' On Error Resume Next records the error in Err and goes on with the next statement.
On Error Resume Next
x = 1 / 0
Print Err.Number, Err.Description, Err.Source   ' => 11&, "Division by zero", "Microsoft VBScript runtime error"
Print x                                         ' => Empty
Err.Clear
Print Err.Number, Err = 0                       ' => 0&, True
y = CInt("abc") : Print "same line goes on"     ' => "same line goes on"
Print Err.Number                                ' => 13&
On Error Resume Next
Print Err.Number                                ' => 0&
If 1 / 0 > 5 Then Print "a failing condition enters the block" ' => "a failing condition enters the block"
Sub Fails() : Dim a(1) : a(5) = 1 : Print "not reached" : End Sub
Err.Clear
Fails
Print Err.Number                                ' => 9&
If Err Then Print "Err's value is its Number"  ' => "Err's value is its Number"
On Error GoTo 0
Print Err.Number                                ' => 0&
z = Null + CStr(Null)                           ' => error 94
