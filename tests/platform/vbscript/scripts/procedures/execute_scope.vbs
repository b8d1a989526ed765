' What Execute creates stays where it ran: at script level in the script, in a procedure in that
' call of the procedure, for its later statements, Execute and Eval texts. ExecuteGlobal always
' works in the script's scope, and what it defines can be called afterwards, also through GetRef.
Execute "made = 5 : Dim declared : declared = made + 1"
Print made, declared, Eval("made * declared")         ' => 5%, 6%, 30%
Sub Counts(k)
    Execute "t = k"
    Execute "t = t + 1 : Dim u : u = t * 2"
    Execute "Dim list(2) : list(1) = u"
    Execute "Execute ""deep = list(1) + 1"""
    Execute "fresh = 7"
    Print Eval("t"), Eval("u"), Eval("list(1)"), Eval("deep"), fresh ' => 4%, 8%, 8%, 9%, 7%
    ExecuteGlobal "shared = t"
End Sub
Counts 3
Print IsEmpty(t), IsEmpty(u), IsEmpty(fresh), shared  ' => True, True, True, Empty
Counts 10                                             ' => 11%, 22%, 22%, 23%, 7%
Function Again(n)
    If n > 0 Then
        Execute "mine = n"
        Again = Again(n - 1)
        Again = Again + Eval("mine")
    End If
End Function
Print Again(3)                                        ' => 6%
ExecuteGlobal "Sub Hello(n) : Print n : End Sub"
Hello 3                                               ' => 3%
Sub Later()
    ExecuteGlobal "Function Square(n) : Square = n * n : End Function"
    Print Square(3)                                   ' => 9%
End Sub
Later
Set square = GetRef("Square")
Print square(5), Square(4)                            ' => 25%, 16%
Set greet = GetRef("Hello")
greet "hi"                                            ' => "hi"
