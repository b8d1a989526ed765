' The byte forms work on the text's bytes, two to a character, low byte first. A part may end
' inside a character: the byte forms and & keep that odd byte, everything else sees the whole
' characters before it.
Print LenB("abc"), LenB(ChrB(65)), LenB(LeftB("abc", 3)), LenB(MidB("abc", 2)), LenB(123) ' => 6&, 1&, 3&, 5&, 6&
Print ChrB(65) & ChrB(0), ChrB(&H2D) & ChrB(&H4E), LeftB("abc", 3) & ChrB(0), ChrB(65) + ChrB(0) ' => "A", "中", "ab", "A"
Print MidB("abc", 3, 2), MidB("abc", 7), MidB("abc", 1, 0), RightB("abc", 4), LeftB("abc", 9) ' => "b", "", "", "bc", "abc"
Print AscB("中"), AscB(MidB("中", 2)), AscB(ChrB(200)), AscB(MidB("abc", 2)), AscB(RightB("abc", 3)) ' => 45%, 78%, 200%, 0%, 0%
Print LeftB("abc", 3), Len(LeftB("abc", 3)), Len(ChrB(65))                        ' => "a", 1&, 0&
Print LenB(LeftB("abc", 3) & "d"), AscB(RightB(LeftB("abc", 3) & "d", 2))            ' => 5&, 100%
Print LenB(Null), MidB(Null, 1), RightB(Null, 1)                                     ' => Null, Null, Null
' Appending one byte at a time builds whole characters.
s = ""
For Each b In Array(72, 0, 105, 0, 33)
    s = s & ChrB(b)
Next
Print s, LenB(s)                                                                     ' => "Hi", 5&
On Error Resume Next
x = ChrB(-1) : Print Err.Number : Err.Clear                ' => 5&
x = ChrB(256) : Print Err.Number : Err.Clear               ' => 5&
x = AscB(LeftB("abc", 0)) : Print Err.Number : Err.Clear   ' => 5&
x = MidB("abc", 2, -1) : Print Err.Number : Err.Clear      ' => 5&
