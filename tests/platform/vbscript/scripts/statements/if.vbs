' Block and one-line If with ElseIf and Else.
Function Grade(n)
    If n >= 90 Then
        Grade = "A"
    ElseIf n >= 75 Then
        Grade = "B"
    ElseIf n >= 60 Then
        Grade = "C"
    Else
        Grade = "F"
    End If
End Function
Print Grade(95) & Grade(80) & Grade(60) & Grade(10) ' => "ABCF"
x = 0
If x = 0 Then x = 1 Else x = 2
Print x                                         ' => 1%
If x = 0 Then x = 1 Else x = 2 : x = x * 10
Print x                                         ' => 20%
If x > 5 Then y = "a" : z = "b"
Print y & z                                     ' => "ab"
If Null Then w = "then" Else w = "else"
Print w                                         ' => "else"
If "True" Then Print "text condition"           ' => "text condition"
If x Then
    If x > 100 Then Print "big" Else Print "small" ' => "small"
End If
