' The text functions, Chinese text included; positions count from 1.
Print Len("abc"), Len(123), Len(""), Len(Null), Len("工资")     ' => 3&, 3&, 0&, Null, 2&
Print Left("abcdef", 3), Left("abc", 10), Right("abcdef", 2), Left(Null, 1) ' => "abc", "abc", "ef", Null
Print Mid("abcdef", 2, 3), Mid("abcdef", 4), Mid("abc", 5), Mid("基本工资", 3, 2) ' => "bcd", "def", "", "工资"
Print InStr("abcabc", "c"), InStr(4, "abcabc", "c"), InStr("abc", "x"), InStr("abc", "") ' => 3&, 6&, 0&, 1&
Print InStr(1, "ABC", "b", 1), InStr(1, "ABC", "b", vbBinaryCompare), InStr(10, "abc", "a"), InStr(Null, "a") ' => 2&, 0&, 0&, Null
Print InStrRev("abcabc", "b"), InStrRev("abcabc", "b", 4), InStrRev("abc", "x"), InStrRev("abc", "") ' => 5&, 2&, 0&, 3&
Print Replace("aXbXc", "X", "-"), Replace("aXbXc", "x", "-", 1, -1, vbTextCompare) ' => "a-b-c", "a-b-c"
Print Replace("aXbXc", "X", "-", 3), Replace("aaa", "a", "b", 1, 2), Replace("abc", "", "x") ' => "b-c", "bba", "abc"
Print Trim("  a b  "), LTrim(" a "), RTrim(" a "), Trim(Null) ' => "a b", "a ", " a", Null
Print UCase("abc 工资"), LCase("ÀBC"), UCase(Null)             ' => "ABC 工资", "àbc", Null
Print Space(3), String(3, "xyz"), String(2, 65), Space(0)      ' => "   ", "xxx", "AA", ""
Print StrComp("a", "b"), StrComp("b", "a"), StrComp("A", "a"), StrComp("A", "a", vbTextCompare) ' => -1%, 1%, -1%, 0%
Print StrComp(Null, "a"), StrReverse("abc"), StrReverse("")     ' => Null, "cba", ""
Print Asc("A"), Asc("abc"), AscW("中"), Chr(65), ChrW(20013), Chr(0) = vbNullChar ' => 65%, 97%, 20013%, "A", "中", True
Print Len("a" & vbCrLf & "b"), vbTab = Chr(9), vbNewLine = vbCrLf ' => 4&, True, True
On Error Resume Next
x = Left("a", -1) : Print Err.Number : Err.Clear ' => 5&
x = Mid("a", 0) : Print Err.Number : Err.Clear  ' => 5&
x = Asc("") : Print Err.Number : Err.Clear      ' => 5&
x = Chr(256) : Print Err.Number : Err.Clear     ' => 5&
x = Space(-1) : Print Err.Number : Err.Clear    ' => 5&
