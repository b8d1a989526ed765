' Select Case with values, lists, ranges (To), Is comparisons and Case Else.
Function Band(n)
    Select Case n
        Case 0
            Band = "zero"
        Case 1, 2, 3
            Band = "few"
        Case 4 To 9
            Band = "some"
        Case Is >= 100
            Band = "huge"
        Case Else
            Band = "many"
    End Select
End Function
Print Band(0), Band(2), Band(9), Band(10), Band(500), Band(4.5) ' => "zero", "few", "some", "many", "huge", "some"
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
