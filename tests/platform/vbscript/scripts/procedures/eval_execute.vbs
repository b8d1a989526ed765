' Eval, Execute and ExecuteGlobal run text in the running scope; GetRef refers to a procedure.
x = 10
Print Eval("x * 2"), Eval("x = 10"), Eval("x = 11") ' => 20%, True, False
Execute "y = x + 1 : Dim w : w = y"
Print y, w                                      ' => 11%, 11%
Sub Local()
    Dim x
    x = 3
    Execute "x = x * 5 : z = x"
    Print x, z, Eval("x + 1")                   ' => 15%, 15%, 16%
    Execute "g1 = x"
    ExecuteGlobal "g2 = x"
End Sub
Local
Print x, g1, g2                                 ' => 10%, Empty, 10%
Function Calc(a)
    Execute "Calc = a + 1 : a = 0"
End Function
b = 1
Print Calc(b), b                                ' => 2%, 0%
ExecuteGlobal "Function Twice(n) : Twice = n * 2 : End Function"
Print Twice(4)                                  ' => 8%
ExecuteGlobal "Class Box : Public Content : End Class"
Set parcel = New Box : parcel.Content = "kept"
Print TypeName(parcel), parcel.Content          ' => "Box", "kept"
Function Add(a, b) : Add = a + b : End Function
Set f = GetRef("add")
Print f(2, 3), TypeName(f)                      ' => 5%, "Object"
Set g = GetRef("Twice")
Print g(21)                                     ' => 42%
On Error Resume Next
Execute "x = (1"
Print Err.Number                                ' => 1006&
Err.Clear
v = Eval("1 / 0")
Print Err.Number, v                             ' => 11&, Empty
Err.Clear
Set h = GetRef("NoSuchProcedure")
Print Err.Number                                ' => 5&
On Error GoTo 0
Execute "Dim q : q = 1 / 0"                     ' => error 11
