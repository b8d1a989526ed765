' A Class takes its name for good: another Class, Sub or Function of that name in a later text is
' Name redefined, while a procedure may be defined again. Me reaches a Class's Public members
' only, as code outside the Class does.
Class Box
    Public Content
    Private mSecret
    Private Sub Hide() : End Sub
    Public Function Peek()
        On Error Resume Next
        x = Me.mSecret : Peek = Err.Number : Err.Clear
        Me.Hide : Peek = Peek & " " & Err.Number : Err.Clear
        Me.Content = "set" : Peek = Peek & " " & Err.Number
    End Function
End Class
Sub Helper() : Print "first" : End Sub
Set b = New Box
Print b.Peek(), b.Content                                                 ' => "438 438 0", "set"
On Error Resume Next
ExecuteGlobal "Class Box : End Class" : Print Err.Number : Err.Clear      ' => 1041&
ExecuteGlobal "Sub Box() : End Sub" : Print Err.Number : Err.Clear        ' => 1041&
ExecuteGlobal "Function box : End Function" : Print Err.Number : Err.Clear ' => 1041&
ExecuteGlobal "Class Helper : End Class" : Print Err.Number : Err.Clear   ' => 1041&
Execute "Class Box : End Class" : Print Err.Number : Err.Clear            ' => 1041&
ExecuteGlobal "Sub Helper() : Print ""again"" : End Sub" : Print Err.Number ' => 0&
On Error GoTo 0
Helper                                                                    ' => "again"
Print TypeName(New Box)                                                   ' => "Box"
