' Select Case with values, lists of values and expressions, and Case Else.
Function Band(n)
    Select Case n
        Case 0
            Band = "zero"
        Case 1, 2, 3
            Band = "few"
        Case 2 * 2, 10 / 2
            Band = "some"
        Case Else
            Band = "many"
    End Select
End Function
Print Band(0), Band(2), Band(4), Band(5), Band(6), Band(4.5) ' => "zero", "few", "some", "some", "many", "many"
Select Case "b"
    Case "a" : r = 1
    Case "B" : r = 2
    Case "b" : r = 3
End Select
Print r                                         ' => 3%
Dim v : v = 7
Select Case True
    Case v < 5 : r = "low"
    Case v < 10 : r = "mid"
End Select
Print r                                         ' => "mid"
Select Case Null
    Case Null : r = "null matched"
    Case Else : r = "no match"
End Select
Print r                                         ' => "no match"
