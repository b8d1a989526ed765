' Functions and Subs: results, recursion, calls with and without parentheses, Call, Exit.
Print Twice(21), Fact(10), NoResult()           ' => 42%, 3628800&, Empty
Function Twice(x) : Twice = x * 2 : End Function
Function Fact(n)
    If n <= 1 Then
        Fact = 1
    Else
        Fact = n * Fact(n - 1)
    End If
End Function
Function NoResult() : End Function
Function FirstNegative(a)
    FirstNegative = -1
    For i = 0 To UBound(a)
        If a(i) < 0 Then FirstNegative = i : Exit Function
    Next
End Function
Print FirstNegative(Array(3, 1, -4, -1)), FirstNegative(Array(1)) ' => 2%, -1%
Dim log
Sub Note(text) : log = log & text & ";" : End Sub
Sub Guarded(n)
    If n < 0 Then Exit Sub
    Note "ok" & n
End Sub
Note "a"
Note("b")
Call Note("c")
Guarded -1 : Guarded 2
Print log                                       ' => "a;b;c;ok2;"
Print Twice(Twice(2)), twice (3)                ' => 8%, 6%
