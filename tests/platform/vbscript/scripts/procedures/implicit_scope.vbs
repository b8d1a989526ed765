' A name assigned without Dim in a procedure is the script's variable when the script has one by
' then, else the procedure's own: a helper's scratch variable never reaches its caller's.
Dim declared
declared = 100
assigned = 1
Print IsEmpty(onlyRead)                         ' => True
Sub Helper()
    declared = declared + 1
    assigned = assigned + 1
    onlyRead = "helper's own"
    laterGlobal = "helper's own"
    i = 42
End Sub
Sub Caller()
    Dim i
    i = 7
    Helper
    Print i                                     ' => 7%
End Sub
Caller
Print declared, assigned, IsEmpty(onlyRead), IsEmpty(laterGlobal) ' => 101%, 2%, True, True
laterGlobal = 0
Helper
Print laterGlobal                               ' => "helper's own"
Function Counter()
    n = n + 1
    Counter = n
End Function
Print Counter(), Counter(), IsEmpty(n)          ' => 1%, 1%, True
