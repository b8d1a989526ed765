' Escape and Unescape, the byte forms (two bytes to a character) and the engine's name.
Print Escape("a b&c"), Escape("@*_+-./Az09"), Escape("工"), Escape("é"), Escape(Null) ' => "a%20b%26c", "@*_+-./Az09", "%u5DE5", "%E9", Null
Print Unescape("a%20b%u5DE5"), Unescape("100%"), Unescape("%zz%4"), Unescape("%u12"), Unescape(Null) ' => "a b工", "100%", "%zz%4", "%u12", Null
Print Unescape(Escape("x=1&y=工资 ~")) = "x=1&y=工资 ~"                  ' => True
Print LenB("abc"), LenB(""), LenB("工资"), LenB(Null)                     ' => 6&, 0&, 4&, Null
Print LeftB("abcd", 4), RightB("abcd", 2), MidB("abcd", 3, 4), MidB("abcd", 5), LeftB(Null, 2) ' => "ab", "d", "bc", "cd", Null
Print AscB("A"), AscB("中"), AscB(ChrB(65)), AscB(123)                    ' => 65%, 45%, 65%, 49%
Print ScriptEngine, ScriptEngineMajorVersion, ScriptEngineMinorVersion, TypeName(ScriptEngineBuildVersion) ' => "VBScript", 5&, 8&, "Long"
On Error Resume Next
x = AscB("") : Print Err.Number : Err.Clear         ' => 5&
x = ChrB(256) : Print Err.Number : Err.Clear        ' => 5&
x = MidB("abc", 0) : Print Err.Number : Err.Clear   ' => 5&
x = LeftB("abc", -1) : Print Err.Number : Err.Clear ' => 5&
