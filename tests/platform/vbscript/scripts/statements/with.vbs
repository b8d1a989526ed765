' With … End With: .name means the With's object; an inner With holds until its End With.
On Error Resume Next
x = 1 / 0
With Err
    Print .Number, .Description                 ' => 11&, "Division by zero"
    .Clear
    Print .Number, .Number = Err.Number         ' => 0&, True
    .Raise 5
    With Err
        Print .Number                           ' => 5&
    End With
    n = .Number : .Clear
End With
Print n, Err.Number                             ' => 5&, 0&
y = .Number
Print Err.Number, Err.Description               ' => 505&, "Invalid or unqualified reference"
On Error GoTo 0
Function Raised(number)
    On Error Resume Next
    For i = 1 To 3
        With Err
            .Raise number
            Raised = .Number
            Exit For
        End With
    Next
End Function
Print Raised(9), Raised(13)                     ' => 9&, 13&
Class Node
    Public Name, Child
    Public Function Add(text)
        Set Child = New Node
        Child.Name = text
        Set Add = Child
    End Function
End Class
Set root = New Node
With root.Add("a")
    .Add "b"
    With .Child
        .Add("c").Name = .Name & "c"
        inner = .Name & .Child.Name
    End With
    outer = .Name & .Child.Name
End With
Print inner, outer, root.Child.Child.Child.Name ' => "bbc", "ab", "bc"
With 5                                          ' => error 424
    Print "not reached"
End With
